#include "update/app_version.h"

#include <charconv>

namespace zrv::update {

std::string_view AppVersionText() { return ZRV31_APP_VERSION; }

int VersionNumberFromText(std::string_view text) {
  std::string digits;
  for (char c : text) {
    if (c == '.') continue;
    if (c < '0' || c > '9') return 0;
    digits += c;
  }
  int value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size() || digits.empty()) return 0;
  return value;
}

int InstalledAppVersion() { return VersionNumberFromText(AppVersionText()); }

}  // namespace zrv::update
