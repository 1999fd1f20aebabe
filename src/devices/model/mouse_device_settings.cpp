#include "devices/model/mouse_device_settings.h"

#include <array>

#include "devices/model/slow_link.h"

namespace zrv::devices {
namespace {

constexpr int64_t kSettingsAreaLimit = 0x10000;  // offsets are 16 bits
constexpr size_t kClearedByte = 9;

}  // namespace

bool MouseDeviceSettings::Read(DeviceLinks& links) {
  previous_ = record_;
  device::DeviceLink& link = links.Command();
  link.SetPaused(false);
  if (!links.Connected() || !ProbeIfSlow(link)) return false;
  std::array<uint8_t, 1> active{};
  if (link.ReadSettings(active, 0) != 1) return false;
  MouseSettingsReadBytes record{};
  if (link.ReadSettings(record, uint32_t{active[0]} * kMouseSettingsStride) != 1) return false;
  record[kClearedByte] = 0;
  record_ = record;
  profile_ = active[0];
  return true;
}

int MouseDeviceSettings::Write(DeviceLinks& links, int profile_index, const MouseSettingsBytes& record) {
  if (!links.Connected() || profile_index < 0 ||
      (int64_t{profile_index} + 1) * int64_t{kMouseSettingsStride} > kSettingsAreaLimit) {
    return 0;
  }
  device::DeviceLink& link = links.Command();
  if (!ProbeIfSlow(link)) return 0;
  link.Begin();
  if (!ProbeIfSlow(link)) return 0;
  const int result = link.WriteSettings(record, static_cast<uint32_t>(profile_index) * kMouseSettingsStride);
  // Sent, but the sequence could not be ended: the mouse may not have taken it.
  if (!ProbeIfSlow(link)) return -1;
  link.End();
  return result;
}

}  // namespace zrv::devices
