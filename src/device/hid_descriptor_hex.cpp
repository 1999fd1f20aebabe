// Report descriptors written as hexadecimal text, as tools print them.

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

#include "device/hid_descriptor.h"

namespace zrv::device {

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
    unsigned value = 0;
    const char* end = word.data() + word.size();
    if (word.empty() || word.size() > 2 || std::from_chars(word.data(), end, value, 16).ptr != end) {
      error = "not a hexadecimal byte at character " + std::to_string(start) + ": '" +
              text.substr(start, std::min<size_t>(pos - start, 16)) + "'";
      return false;
    }
    bytes.push_back(static_cast<uint8_t>(value));
  }
  out = std::move(bytes);
  return true;
}

}  // namespace zrv::device
