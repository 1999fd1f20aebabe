#include "device/device_tables.h"

namespace zrv::device {
namespace {

InterfaceRecord Row(uint16_t vendor_id, uint16_t product_id, uint16_t interface_number, uint16_t collection,
                    uint16_t kind, uint16_t role, uint16_t usage_page, uint16_t usage) {
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
    Row(0x320F, 0x505B, 1, 4, kKindKeyboard, kRoleCommand, 0xFF1C, 0x92),
    Row(0x320F, 0x505B, 1, 3, kKindKeyboard, kRoleNotification, 0x000C, 0x01),
    Row(0x320F, 0x1000, 1, 4, kKindMouse, kRoleCommand, 0xFF1C, 0x92),
    Row(0x320F, 0x1000, 1, 3, kKindMouse, kRoleNotification, 0x000C, 0x01),
    Row(0, 0, 1, 4, kKindMousePad, kRoleCommand, 0xFF1C, 0x92),
    Row(0, 0, 1, 3, kKindMousePad, kRoleNotification, 0x000C, 0x01),
    // The headset's command link is its consumer collection, alone on interface 3.
    Row(0, 0, 3, 0, kKindHeadset, kRoleCommand, 0x000C, 0x01),
}};

bool SameInterface(const InterfaceRecord& a, const InterfaceRecord& b) {
  return a.vendor_id == b.vendor_id && a.product_id == b.product_id && a.interface_number == b.interface_number &&
         a.collection == b.collection && a.kind == b.kind && a.role == b.role && a.usage_page == b.usage_page &&
         a.usage == b.usage;
}

std::string_view KindName(uint16_t kind) {
  const uint16_t table_kind = kind == kKindWirelessMouse ? kKindMouse : kind;
  for (const auto& row : kDeviceKindTable) {
    if (row.kind == table_kind) return row.kind_name;
  }
  return {};
}

}  // namespace zrv::device
