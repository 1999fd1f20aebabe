#include "device/device_tables.h"

namespace zrv::device {
namespace {

InterfaceRecord Row(uint16_t vendor_id, uint16_t product_id, uint16_t interface_number, uint16_t collection,
                    DeviceKind kind, uint16_t role, uint16_t usage_page, uint16_t usage) {
  InterfaceRecord record;
  record.vendor_id = vendor_id;
  record.product_id = product_id;
  record.interface_number = interface_number;
  record.collection = collection;
  record.kind = kind;
  record.role = role;
  record.usage_page = usage_page;
  record.usage = usage;
  return record;
}

}  // namespace

const std::array<InterfaceRecord, kInterfaceTableSize> kInterfaceTable{{
    Row(0x320F, 0x505B, 1, 4, DeviceKind::kKeyboard, kRoleCommand, 0xFF1C, 0x92),
    Row(0x320F, 0x505B, 1, 3, DeviceKind::kKeyboard, kRoleNotification, 0x000C, 0x01),
    Row(0x320F, 0x1000, 1, 4, DeviceKind::kMouse, kRoleCommand, 0xFF1C, 0x92),
    Row(0x320F, 0x1000, 1, 3, DeviceKind::kMouse, kRoleNotification, 0x000C, 0x01),
    Row(0, 0, 1, 4, DeviceKind::kMousePad, kRoleCommand, 0xFF1C, 0x92),
    Row(0, 0, 1, 3, DeviceKind::kMousePad, kRoleNotification, 0x000C, 0x01),
    // The headset's command link is its consumer collection, alone on interface 3.
    Row(0, 0, 3, 0, DeviceKind::kHeadset, kRoleCommand, 0x000C, 0x01),
}};

bool SameInterface(const InterfaceRecord& a, const InterfaceRecord& b) {
  return a.vendor_id == b.vendor_id && a.product_id == b.product_id && a.interface_number == b.interface_number &&
         a.collection == b.collection && a.kind == b.kind && a.role == b.role && a.usage_page == b.usage_page &&
         a.usage == b.usage;
}

std::optional<DeviceKind> KindOfNumber(int64_t number) {
  switch (number) {
    case KindNumber(DeviceKind::kKeyboard): return DeviceKind::kKeyboard;
    case KindNumber(DeviceKind::kMouse): return DeviceKind::kMouse;
    case KindNumber(DeviceKind::kMousePad): return DeviceKind::kMousePad;
    case KindNumber(DeviceKind::kWirelessMouse): return DeviceKind::kWirelessMouse;
    case KindNumber(DeviceKind::kHeadset): return DeviceKind::kHeadset;
    default: return std::nullopt;
  }
}

std::string_view KindName(DeviceKind kind) {
  const DeviceKind table_kind = kind == DeviceKind::kWirelessMouse ? DeviceKind::kMouse : kind;
  for (const auto& row : kDeviceKindTable) {
    if (row.kind == table_kind) return row.kind_name;
  }
  return {};
}

}  // namespace zrv::device
