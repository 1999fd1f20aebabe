#pragma once
// Vendor and product ids for the interface-table rows that ship without them (mouse pad, headset).
//
// They come from the installation file DefaultData/DeviceIds.txt, so that the ids of a real device
// can be filled in without rebuilding. One entry per line:
//
//   # kind   vendor  product
//   MousePad 320F    5100
//   7        0x320F  0x5200
//
// The kind is its number or its kind name ("MousePad", "HD", ...); the ids are hexadecimal, with
// or without "0x". "#" starts a comment. A line that does not fit is ignored with a debug line; a
// later line for the same kind replaces an earlier one. Ids only fill rows whose vendor and product
// id are both 0: the rows that identify a device by themselves never change.

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string_view>

#include "device/device_tables.h"

namespace zrv::device {

inline constexpr const char* kDeviceIdsFileName = "DeviceIds.txt";

struct UsbIds {
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  bool operator==(const UsbIds&) const = default;
};

class DeviceIdOverrides {
 public:
  DeviceIdOverrides() = default;

  // source names the text in debug lines.
  static DeviceIdOverrides Parse(std::string_view text, std::string_view source);
  // A missing or unreadable file gives no ids (with a debug line when it exists but cannot be read).
  static DeviceIdOverrides Load(const std::filesystem::path& file);
  // DefaultData/DeviceIds.txt in the program folder.
  static std::filesystem::path InstalledFile();

  std::optional<UsbIds> For(DeviceKind kind) const;
  bool empty() const { return ids_.empty(); }

  // Fill in the ids of a row without ids whose kind has an entry.
  void Apply(InterfaceRecord& record) const;
  void Apply(DeviceKindRow& row) const;

 private:
  std::map<DeviceKind, UsbIds> ids_;
};

}  // namespace zrv::device
