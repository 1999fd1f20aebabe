#pragma once
// The program's own version, as the update service knows it.

#include <string>
#include <string_view>

namespace zrv::update {

// The build's version text ("1.0.3").
std::string_view AppVersionText();

// A dotted version as one decimal number: the dots are dropped ("1.0.3" -> 103, "2.3.0.2" -> 2302);
// 0 when anything but digits and dots is left or the number does not fit.
int VersionNumberFromText(std::string_view text);

// The installed program's version: VersionNumberFromText(AppVersionText()).
int InstalledAppVersion();

}  // namespace zrv::update
