#include "device/discovery_device_ids.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/debug_output.h"
#include "platform/folders.h"

namespace zrv::device {
namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

std::optional<DeviceKind> ParseKind(std::string_view word) {
  for (const auto& row : kDeviceKindTable) {
    if (EqualsIgnoringCase(word, row.kind_name)) return row.kind;
  }
  // A kind number in plain decimal: no sign, no leading zero.
  if (word.empty() || word.size() > 5 || word[0] == '0') return std::nullopt;
  int64_t number = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
  }
  return KindOfNumber(number);
}

// One to four hexadecimal digits, optionally after "0x".
std::optional<uint16_t> ParseId(std::string_view word) {
  if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) word.remove_prefix(2);
  if (word.empty() || word.size() > 4) return std::nullopt;
  uint16_t value = 0;
  for (char c : word) {
    int digit = 0;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    value = static_cast<uint16_t>(value * 16 + digit);
  }
  return value;
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && std::isspace(static_cast<unsigned char>(line[at]))) ++at;
    size_t end = at;
    while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) ++end;
    if (end > at) words.push_back(line.substr(at, end - at));
    at = end;
  }
  return words;
}

bool TableHasRowWithoutIds(DeviceKind kind) {
  for (const auto& record : kInterfaceTable) {
    if (record.kind == kind && record.vendor_id == 0 && record.product_id == 0) return true;
  }
  return false;
}

}  // namespace

DeviceIdOverrides DeviceIdOverrides::Parse(std::string_view text, std::string_view source) {
  DeviceIdOverrides result;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // byte-order mark of some editors
  int line_number = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++line_number;
    if (size_t comment = line.find('#'); comment != std::string_view::npos) line = line.substr(0, comment);
    const std::vector<std::string_view> words = Words(line);
    if (words.empty()) continue;

    auto skip = [&](const char* why) {
      platform::DebugPrintf("%.*s:%d: %s; line ignored", static_cast<int>(source.size()), source.data(), line_number,
                            why);
    };
    if (words.size() != 3) {
      skip("expected kind, vendor id and product id");
      continue;
    }
    const std::optional<DeviceKind> kind = ParseKind(words[0]);
    const std::optional<uint16_t> vendor = ParseId(words[1]);
    const std::optional<uint16_t> product = ParseId(words[2]);
    if (!kind) {
      skip("unknown device kind");
    } else if (!vendor || !product) {
      skip("ids must be hexadecimal numbers of at most four digits");
    } else if (*vendor == 0 && *product == 0) {
      skip("ids 0 0 identify nothing");
    } else if (!TableHasRowWithoutIds(*kind)) {
      skip("the device table identifies this kind already");
    } else {
      result.ids_[*kind] = UsbIds{*vendor, *product};
    }
  }
  return result;
}

DeviceIdOverrides DeviceIdOverrides::Load(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return {};
  std::ifstream in(file, std::ios::binary);
  std::string text;
  if (in.is_open()) text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!in.is_open() || in.bad()) {
    platform::DebugPrintf("%s: cannot be read; no device ids loaded", file.string().c_str());
    return {};
  }
  return Parse(text, file.string());
}

std::filesystem::path DeviceIdOverrides::InstalledFile() { return platform::DefaultDataDir() / kDeviceIdsFileName; }

std::optional<UsbIds> DeviceIdOverrides::For(DeviceKind kind) const {
  auto it = ids_.find(kind);
  if (it == ids_.end()) return std::nullopt;
  return it->second;
}

void DeviceIdOverrides::Apply(InterfaceRecord& record) const {
  if (record.vendor_id != 0 || record.product_id != 0) return;
  if (auto ids = For(record.kind)) {
    record.vendor_id = ids->vendor_id;
    record.product_id = ids->product_id;
  }
}

void DeviceIdOverrides::Apply(DeviceKindRow& row) const {
  if (row.vendor_id != 0 || row.product_id != 0) return;
  if (auto ids = For(row.kind)) {
    row.vendor_id = ids->vendor_id;
    row.product_id = ids->product_id;
  }
}

}  // namespace zrv::device
