#include <array>
#include <cstdio>

#include "cli/commands.h"
#include "device/device_attach.h"
#include "device/discovery_scan.h"

namespace zrv::cli {
namespace {

using device::DeviceLink;

// Stands in for a device model: attaching needs no more than its links and its record.
class InfoDevice : public device::AttachableDevice {
 public:
  explicit InfoDevice(device::InterfaceRecord record) : record_(std::move(record)) {}
  DeviceLink& CommandLink() override { return command_; }
  DeviceLink& NotificationLink() override { return notification_; }
  const device::InterfaceRecord& Record() const override { return record_; }
  void SetRecord(const device::InterfaceRecord& record) override { record_ = record; }

 private:
  DeviceLink command_;
  DeviceLink notification_;
  device::InterfaceRecord record_;
};

std::string Hex(const uint8_t* bytes, size_t size) {
  std::string text;
  char byte[4];
  for (size_t i = 0; i < size; ++i) {
    std::snprintf(byte, sizeof byte, i == 0 ? "%02x" : " %02x", bytes[i]);
    text += byte;
  }
  return text;
}

// Attaches one command collection as discovery would, reads the information block inside a
// configuration sequence, detaches again. 0 success, 1 failure.
int ShowDevice(const device::DeviceIdOverrides& ids, const device::FoundInterface& found, std::ostream& out) {
  // A list of its own for each device, so that two devices of one kind are both shown.
  device::InterfaceList list(ids);
  const std::optional<size_t> index = list.Claim(found.probed, found.path);
  if (!index) return 1;
  const device::InterfaceRecord record = list.Get(*index);
  InfoDevice device(record);
  device::DeviceAttacher attacher(list);
  attacher.AddDevice(device);

  out << device::KindName(record.kind) << "  " << found.path << '\n';
  if (!attacher.Attach(*index).changed) {
    out << "  the command collection cannot be opened\n";
    return 1;
  }
  DeviceLink& link = device.CommandLink();
  std::array<uint8_t, DeviceLink::kInfoBlockSize> info{};
  link.Begin();
  const int result = link.ReadInfo(info);
  link.End();
  attacher.Detach(*index);
  if (result != device::kLinkOk) {
    out << "  the information block cannot be read (" << result << ")\n";
    return 1;
  }
  out << "  info " << Hex(info.data(), info.size()) << '\n';
  return 0;
}

}  // namespace

int RunInfo(const Args& args, std::ostream& out, std::ostream& err) {
  if (!args.empty()) {
    err << "zrv31ctl info: takes no arguments\n";
    return 2;
  }
  const auto ids = device::DeviceIdOverrides::Load(device::DeviceIdOverrides::InstalledFile());
  const device::InterfaceList table(ids);
  std::vector<device::FoundInterface> found;
  if (!device::FindSupportedInterfaces(table, found)) {
    err << "zrv31ctl info: the HID interfaces could not be listed\n";
    return 1;
  }
  int status = 0;
  int shown = 0;
  for (const auto& interface : found) {
    if (table.Get(interface.index).role != device::kRoleCommand) continue;
    ++shown;
    if (ShowDevice(ids, interface, out) != 0) status = 1;
  }
  if (shown == 0) {
    err << "zrv31ctl info: no supported device found\n";
    return 1;
  }
  return status;
}

}  // namespace zrv::cli
