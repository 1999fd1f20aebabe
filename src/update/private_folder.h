#pragma once
// Downloaded installers are run, so the folder they lie in must be one that no other user can
// write, and no other user can swap for another one: the folder itself (not a symbolic link)
// belongs to this user and is writable by nobody else; each folder above it belongs to this user
// or to root and is writable by nobody else, or only with the sticky bit (as /tmp).

#include <filesystem>
#include <string>

namespace zrv::update {

// True when `dir` is such a folder; otherwise `why` (when given) says what is wrong.
bool IsPrivateFolder(const std::filesystem::path& dir, std::string* why = nullptr);

// Creates a missing folder (mode 0700, parents as usual) and then checks it as above.
bool EnsurePrivateFolder(const std::filesystem::path& dir, std::string* why = nullptr);

}  // namespace zrv::update
