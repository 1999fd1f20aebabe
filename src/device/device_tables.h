#pragma once
// Which HID interfaces belong to a supported device, which device kinds the program shows and
// which page layouts they use.
//
// The three tables are fixed. The mouse-pad and headset rows carry vendor and product id 0 and so
// match nothing by themselves; their identifiers come from the installation file DeviceIds.txt in
// DefaultData (see discovery_device_ids.h), applied when the interface list is copied at start-up.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zrv::device {

// Device kinds. The numbers are data: the device reports them, DeviceIds.txt may name them, the
// tool description and the debug traces carry them. KindNumber and KindOfNumber convert at those
// boundaries; everything else uses the enumerators.
enum class DeviceKind : uint16_t {
  kNone = 0,  // no device kind (a record that names none, a base model)
  kKeyboard = 1,
  kMouse = 2,
  kMousePad = 3,
  kHeadsetAlias = 4,   // an older number of a headset: only its selector look knows it
  kHub = 5,            // a hub: only its selector look knows it
  kWirelessMouse = 6,  // a mouse behind a slow (wireless) link
  kHeadset = 7,
};

constexpr uint16_t KindNumber(DeviceKind kind) { return static_cast<uint16_t>(kind); }
// The device kind of a number, for the five kinds the program drives (keyboard, both mice, mouse
// pad, headset); nothing for any other number.
std::optional<DeviceKind> KindOfNumber(int64_t number);
// Both kinds of mouse: on their own or behind a receiver.
constexpr bool IsMouse(DeviceKind kind) { return kind == DeviceKind::kMouse || kind == DeviceKind::kWirelessMouse; }

// Roles of a collection.
inline constexpr uint16_t kRoleCommand = 0;         // vendor collection 0xFF1C / 0x92
inline constexpr uint16_t kRoleNotification = 255;  // consumer control 0x000C / 0x01

// One supported HID interface (one top-level collection).
struct InterfaceRecord {
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  uint16_t interface_number = 0;  // "&mi_" in the path
  uint16_t collection = 0;        // "&col" in the path; 0 when the interface has one collection
  DeviceKind kind = DeviceKind::kNone;
  uint16_t role = 0;
  uint16_t present = 0;  // 1 while the interface is attached
  uint16_t usage_page = 0;
  uint16_t usage = 0;
  uint16_t has_partner = 0;  // non-zero: the record at `partner` is the same device over another link
  uint16_t partner = 0;
  std::string path;  // the interface path while present, empty otherwise
};

// Two records describe the same interface when every identifying value is equal; presence, path
// and partner do not count.
bool SameInterface(const InterfaceRecord& a, const InterfaceRecord& b);

inline constexpr size_t kInterfaceTableSize = 7;
extern const std::array<InterfaceRecord, kInterfaceTableSize> kInterfaceTable;

// A device kind the main window shows: its selector item and the interface record that identifies it.
struct DeviceKindRow {
  std::string_view item_layout;      // selector-item layout file
  std::string_view group;            // selector group name
  std::string_view power_container;  // container that receives the power indicator
  std::string_view kind_name;        // also names the data folders and templates
  int display_index = 0;
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  DeviceKind kind = DeviceKind::kNone;
  uint16_t role = 0;
};

// The page of each device kind, in the order of kDeviceKindTable.
struct DeviceXmlRow {
  std::string_view page_layout;
  std::string_view lighting_name;
  int key_buttons = 0;  // LED positions of the device picture
  int key_slots = 0;
};

inline constexpr size_t kDeviceKindCount = 4;

// Layout paths keep the separators they were written with; the skin resolves them.
inline constexpr std::array<DeviceKindRow, kDeviceKindCount> kDeviceKindTable{{
    {"XML\\CustomControlXML\\DeviceOption.xml", "tab_header_device", "device_power_switch", "mouse", 1, 0x320F, 0x1000,
     DeviceKind::kMouse, kRoleCommand},
    {"XML\\CustomControlXML\\DeviceOption.xml", "tab_header_device", "device_power_switch", "keyboard", 0, 0x320F,
     0x505B, DeviceKind::kKeyboard, kRoleCommand},
    {"XML\\CustomControlXML\\DeviceOption.xml", "tab_header_device", "device_power_switch", "MousePad", 2, 0, 0,
     DeviceKind::kMousePad, kRoleCommand},
    {"XML\\CustomControlXML\\DeviceOption.xml", "tab_header_device", "device_power_switch", "HD", 3, 0, 0,
     DeviceKind::kHeadset, kRoleCommand},
}};

inline constexpr std::array<DeviceXmlRow, kDeviceKindCount> kDeviceXmlTable{{
    {"XML\\DeviceXml\\mousedevice.xml", "orvex_light", 6, 7},
    {"XML\\DeviceXml\\keyboarddevice.xml", "orvex_light", 126, 126},
    {"XML\\DeviceXml\\mousepaddevice.xml", "orvex_light", 15, 0},
    {"XML\\DeviceXml\\hs6533device.xml", "orvex_light", 13, 0},
}};

// The kind name of a device kind as kDeviceKindTable gives it ("mouse" also for kind 6); empty for
// an unknown kind.
std::string_view KindName(DeviceKind kind);

}  // namespace zrv::device
