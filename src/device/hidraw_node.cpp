#include "device/hidraw_node.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <system_error>

#include "device/hid_path.h"

namespace zrv::device {
namespace {

constexpr std::string_view kHidrawName = "hidraw";
// The largest report descriptor the kernel accepts.
constexpr size_t kMaxDescriptorSize = 4096;

bool IsDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

std::string BaseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool ParseHex(std::string_view text, uint32_t& value) {
  if (text.empty()) return false;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  return ec == std::errc() && end == text.data() + text.size();
}

// HID_ID=BBBB:VVVVVVVV:PPPPPPPP (bus, vendor, product in hexadecimal).
bool ParseHidId(std::string_view id, uint16_t& vendor_id, uint16_t& product_id) {
  size_t first = id.find(':');
  size_t second = first == std::string_view::npos ? first : id.find(':', first + 1);
  if (second == std::string_view::npos) return false;
  uint32_t bus = 0, vendor = 0, product = 0;
  if (!ParseHex(id.substr(0, first), bus) || !ParseHex(id.substr(first + 1, second - first - 1), vendor) ||
      !ParseHex(id.substr(second + 1), product) || vendor > 0xFFFF || product > 0xFFFF) {
    return false;
  }
  vendor_id = static_cast<uint16_t>(vendor);
  product_id = static_cast<uint16_t>(product);
  return true;
}

std::optional<std::string> DevType(const std::string& syspath) {
  auto uevent = ReadSysfsAttribute(syspath, "uevent");
  return uevent ? UeventValue(*uevent, "DEVTYPE") : std::nullopt;
}

// Interface number and version from the USB interface directly above the HID device and the USB
// device above that (lineage: node, HID device, then its ancestors). False when the HID device does
// not sit on a USB interface.
bool ReadUsbFacts(const std::vector<SysfsDevice>& lineage, HidrawNode& node) {
  if (lineage.size() < 3 || lineage[2].subsystem != "usb" || DevType(lineage[2].syspath) != "usb_interface") {
    return false;
  }
  uint32_t value = 0;
  auto number = ReadSysfsText(lineage[2].syspath, "bInterfaceNumber");
  if (number && ParseHex(*number, value) && value <= 0xFF) node.interface_number = static_cast<int>(value);

  if (lineage.size() < 4 || lineage[3].subsystem != "usb" || DevType(lineage[3].syspath) != "usb_device") return true;
  auto bcd = ReadSysfsText(lineage[3].syspath, "bcdDevice");
  if (bcd && ParseHex(*bcd, value) && value <= 0xFFFF) node.attributes.version = static_cast<uint16_t>(value);
  return true;
}

// The version of a HID device on another transport: sysfs shows it only on the input devices the
// kernel's HID input driver made for it (input/inputN/id/version). A device without any (vendor
// collections only) keeps 0.
void ReadInputVersion(const std::string& hid_syspath, HidrawNode& node) {
  std::vector<std::string> inputs;
  std::error_code ec;
  std::filesystem::directory_iterator it(hid_syspath + "/input", ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (name.starts_with("input")) inputs.push_back(std::move(name));
  }
  std::sort(inputs.begin(), inputs.end());
  for (const auto& input : inputs) {
    uint32_t value = 0;
    auto version = ReadSysfsText(hid_syspath + "/input/" + input + "/id", "version");
    if (version && ParseHex(*version, value) && value <= 0xFFFF) {
      node.attributes.version = static_cast<uint16_t>(value);
      return;
    }
  }
}

}  // namespace

int InterfaceFromPhys(std::string_view phys) {
  size_t at = phys.rfind("input");
  if (at == std::string_view::npos) return -1;
  std::string_view digits = phys.substr(at + 5);
  if (!IsDigits(digits) || digits.size() > 3) return -1;
  int value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return value <= 0xFF ? value : -1;
}

bool DescribeHidrawNode(SysfsSource& sysfs, const std::string& syspath, HidrawNode& node, std::string& error) {
  node = HidrawNode{};
  node.sysname = BaseName(syspath);
  std::string_view name(node.sysname);
  if (name.substr(0, kHidrawName.size()) != kHidrawName || !IsDigits(name.substr(kHidrawName.size()))) {
    error = "not a hidraw node: " + syspath;
    return false;
  }
  node.number = node.sysname.substr(kHidrawName.size());

  const std::vector<SysfsDevice> lineage = sysfs.Lineage(syspath, 3);
  if (lineage.size() < 2 || lineage[1].subsystem != "hid") {
    error = node.sysname + " has no HID device above it";
    return false;
  }
  const std::string& hid = lineage[1].syspath;
  node.hid_name = BaseName(hid);
  if (node.hid_name.find('#') != std::string::npos) {
    error = node.sysname + ": unusable HID device name " + node.hid_name;
    return false;
  }
  auto uevent = ReadSysfsAttribute(hid, "uevent");
  auto hid_id = uevent ? UeventValue(*uevent, "HID_ID") : std::nullopt;
  if (!hid_id || !ParseHidId(*hid_id, node.attributes.vendor_id, node.attributes.product_id)) {
    error = node.hid_name + ": no usable HID_ID";
    return false;
  }
  node.dev = ReadSysfsText(syspath, "dev").value_or(std::string());

  if (!ReadUsbFacts(lineage, node)) ReadInputVersion(hid, node);
  if (node.interface_number < 0) {
    auto phys = UeventValue(*uevent, "HID_PHYS");
    if (phys) node.interface_number = InterfaceFromPhys(*phys);
  }

  auto bytes = ReadSysfsAttribute(hid, "report_descriptor", kMaxDescriptorSize + 1);
  if (!bytes || bytes->empty() || bytes->size() > kMaxDescriptorSize) {
    error = node.hid_name + ": report descriptor unreadable";
    return false;
  }
  std::string parse_error;
  std::span<const uint8_t> descriptor(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size());
  if (!ParseReportDescriptor(descriptor, node.descriptor, parse_error) || node.descriptor.collections.empty()) {
    error = node.hid_name + ": report descriptor refused: " + (parse_error.empty() ? "no collection" : parse_error);
    return false;
  }
  return true;
}

std::vector<std::string> HidrawPaths(const std::string& dev_root, const HidrawNode& node) {
  std::vector<std::string> paths;
  const size_t count = node.descriptor.collections.size();
  const std::string prefix = dev_root + "/" + node.sysname + "#" + node.hid_name + "#";
  for (size_t i = 0; i < count; ++i) {
    const int collection = count > 1 ? static_cast<int>(i + 1) : 0;
    paths.push_back(prefix + FormatPathTokens(node.attributes.vendor_id, node.attributes.product_id,
                                              node.interface_number, collection));
  }
  return paths;
}

bool ParseHidrawPath(std::string_view dev_root, std::string_view path, HidrawPathParts& parts) {
  if (path.size() <= dev_root.size() || path.substr(0, dev_root.size()) != dev_root) return false;
  std::string_view rest = path.substr(dev_root.size());
  if (rest.substr(0, 1 + kHidrawName.size()) != "/hidraw") return false;
  rest.remove_prefix(1 + kHidrawName.size());
  size_t hash = rest.find('#');
  if (hash == std::string_view::npos || !IsDigits(rest.substr(0, hash))) return false;
  std::string_view number = rest.substr(0, hash);
  rest.remove_prefix(hash + 1);
  hash = rest.find('#');
  if (hash == 0 || hash == std::string_view::npos) return false;
  std::string_view hid_name = rest.substr(0, hash);
  if (hid_name.find('/') != std::string_view::npos) return false;
  parts.number = std::string(number);
  parts.hid_name = std::string(hid_name);
  return true;
}

}  // namespace zrv::device
