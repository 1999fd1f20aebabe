// Report descriptors written as hexadecimal text, as tools print them.

#include <cctype>

#include "device/hid_descriptor.h"

namespace zrv::device {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool ParseHexBytes(const std::string& text, std::vector<uint8_t>& out, std::string& error) {
  out.clear();
  std::vector<uint8_t> bytes;
  size_t pos = 0;
  while (true) {
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
    if (pos == text.size()) break;
    const size_t start = pos;
    while (pos < text.size() && !std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
    std::string_view word(text.data() + start, pos - start);
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) word.remove_prefix(2);
    const int high = word.size() == 2 ? HexDigit(word[0]) : word.size() == 1 ? 0 : -1;
    const int low = word.empty() ? -1 : HexDigit(word.back());
    if (high < 0 || low < 0) {
      error = "not a hexadecimal byte at character " + std::to_string(start) + ": '" +
              text.substr(start, std::min<size_t>(pos - start, 16)) + "'";
      return false;
    }
    bytes.push_back(static_cast<uint8_t>(high * 16 + low));
  }
  out = std::move(bytes);
  return true;
}

}  // namespace zrv::device
