#include "devices/model/keyboard_device_settings.h"

#include <array>

namespace zrv::devices {
namespace {

constexpr int64_t kSettingsAreaLimit = 0x10000;  // offsets are 16 bits

}  // namespace

bool KeyboardDeviceSettings::Read(DeviceLinks& links) {
  previous_ = decoded_;
  links.Command().SetPaused(false);
  if (!links.Connected()) return false;
  std::array<uint8_t, 1> active{};
  if (links.Command().ReadSettings(active, 0) != 1) return false;
  const uint8_t profile = active[0];
  KeyboardSettingsBytes record{};
  if (links.Command().ReadSettings(record, uint32_t{profile} * kKeyboardSettingsSize) != 1) return false;
  record[kSettingsProfileByte] = profile;
  record[kSettingsClearedByte] = 0;
  record_ = record;
  decoded_ = DecodeKeyboardSettings(record_);
  return true;
}

bool KeyboardDeviceSettings::RecordFits(int profile_index) {
  return profile_index >= 0 && (int64_t{profile_index} + 1) * int64_t{kKeyboardSettingsSize} <= kSettingsAreaLimit;
}

int KeyboardDeviceSettings::Write(DeviceLinks& links, int profile_index, const KeyboardSettingsBytes& record) {
  if (!links.Connected()) return 0;
  links.Command().Begin();
  const int result =
      links.Command().WriteSettings(record, static_cast<uint32_t>(profile_index) * kKeyboardSettingsSize);
  links.Command().End();
  return result;
}

}  // namespace zrv::devices
