#include "update/private_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace zrv::update {
namespace {

namespace fs = std::filesystem;

bool Refuse(std::string* why, const fs::path& dir, const char* reason) {
  if (why != nullptr) *why = dir.string() + ": " + reason;
  return false;
}

}  // namespace

bool IsPrivateFolder(const fs::path& dir, std::string* why) {
  struct stat info {};
  if (lstat(dir.c_str(), &info) != 0) return Refuse(why, dir, std::strerror(errno));
  if (!S_ISDIR(info.st_mode)) return Refuse(why, dir, "not a folder (or a symbolic link)");
  if (info.st_uid != geteuid()) return Refuse(why, dir, "belongs to another user");
  if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) return Refuse(why, dir, "writable by other users");

  std::error_code error;
  fs::path parent = fs::canonical(fs::absolute(dir, error).parent_path(), error);
  if (error) return Refuse(why, dir, "its parent folder cannot be resolved");
  for (fs::path above = parent;; above = above.parent_path()) {
    if (stat(above.c_str(), &info) != 0) return Refuse(why, above, std::strerror(errno));
    if (info.st_uid != geteuid() && info.st_uid != 0) return Refuse(why, above, "belongs to another user");
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (info.st_mode & S_ISVTX) == 0) {
      return Refuse(why, above, "writable by other users");
    }
    if (above == above.root_path() || above.empty()) break;
  }
  return true;
}

bool EnsurePrivateFolder(const fs::path& dir, std::string* why) {
  struct stat info {};
  if (lstat(dir.c_str(), &info) != 0 && errno == ENOENT) {
    std::error_code error;
    fs::create_directories(dir.parent_path(), error);
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return Refuse(why, dir, std::strerror(errno));
  }
  return IsPrivateFolder(dir, why);
}

}  // namespace zrv::update
