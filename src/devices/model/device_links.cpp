#include "devices/model/device_links.h"

namespace zrv::devices {

void DeviceLinks::Configure(device::DeviceKind kind) {
  kind_ = kind;
  const std::string_view kind_name = device::KindName(kind);
  for (size_t row = 0; row < device::kDeviceKindCount; ++row) {
    if (device::kDeviceKindTable[row].kind_name != kind_name || kind_name.empty()) continue;
    const device::DeviceXmlRow& page = device::kDeviceXmlTable[row];
    kind_name_ = std::string(kind_name);
    key_button_count_ = page.key_buttons;
    key_slot_count_ = page.key_slots;
    break;
  }
}

void DeviceLinks::SetRecord(const device::InterfaceRecord& record) {
  record_ = record;
  if (record.kind != device::DeviceKind::kNone) kind_ = record.kind;
}

}  // namespace zrv::devices
