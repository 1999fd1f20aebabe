#pragma once
// Where a downloaded installer goes, and its download.

#include "update/http_client.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace zrv::update {

inline constexpr size_t kMaxFileNameBytes = 100;

// A file name made from text of the server: "/", "\", ".." and control characters removed,
// leading dots and blanks dropped, at most kMaxFileNameBytes bytes (whole UTF-8 characters);
// "update" when nothing is left.
std::string SafeFileName(std::string_view name);

// The extension of the file an address serves (".../setup-2.1.sh?x=1" -> ".sh"); empty when the
// file has none of 1-10 letters and digits.
std::string ServedExtension(std::string_view url);

// download folder + SafeFileName(name) + ServedExtension(url).
std::filesystem::path InstallerFile(const std::filesystem::path& download_dir, std::string_view name,
                                    std::string_view url);

// Downloads an installer to `file` (in the download folder, which must be private; it is created
// when missing). Row status 5 when the file is complete and in place, 8 otherwise (nothing left).
int DownloadInstaller(HttpClient& client, std::string_view url, const std::filesystem::path& file,
                      const ProgressCallback& progress);

}  // namespace zrv::update
