#include "device/hid_path.h"

#include <cctype>
#include <cstdio>

namespace zrv::device {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

size_t FindIgnoringCase(std::string_view text, std::string_view token) {
  if (token.empty() || token.size() > text.size()) return std::string_view::npos;
  for (size_t i = 0; i + token.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < token.size() && std::tolower(static_cast<unsigned char>(text[i + k])) ==
                                   std::tolower(static_cast<unsigned char>(token[k]))) {
      ++k;
    }
    if (k == token.size()) return i;
  }
  return std::string_view::npos;
}

}  // namespace

uint16_t ParsePathNumber(std::string_view path, std::string_view token) {
  size_t at = FindIgnoringCase(path, token);
  if (at == std::string_view::npos) return 0;
  std::string_view rest = path.substr(at + token.size());
  // "%x" accepts an optional "0x" prefix before the digits.
  if (rest.size() >= 3 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X') && HexDigit(rest[2]) >= 0) {
    rest.remove_prefix(2);
  }
  uint32_t value = 0;
  for (char c : rest) {
    int digit = HexDigit(c);
    if (digit < 0) break;
    value = value * 16 + static_cast<uint32_t>(digit);  // wraps like the unsigned conversion
  }
  return static_cast<uint16_t>(value);
}

std::string FormatPathTokens(uint16_t vendor_id, uint16_t product_id, int interface_number, int collection) {
  char buffer[64];
  int n = std::snprintf(buffer, sizeof buffer, "vid_%04x&pid_%04x", vendor_id, product_id);
  std::string tokens(buffer, static_cast<size_t>(n));
  if (interface_number >= 0) {
    n = std::snprintf(buffer, sizeof buffer, "&mi_%02x", interface_number & 0xFF);
    tokens.append(buffer, static_cast<size_t>(n));
  }
  if (collection > 0) {
    n = std::snprintf(buffer, sizeof buffer, "&col%02x", collection & 0xFF);
    tokens.append(buffer, static_cast<size_t>(n));
  }
  return tokens;
}

}  // namespace zrv::device
