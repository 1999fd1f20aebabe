#include "platform/folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

namespace zrv::platform {
namespace {

namespace fs = std::filesystem;

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

fs::path Home() {
  std::string home = Env("HOME");
  return home.empty() ? fs::path("/") : fs::path(home);
}

// XDG base folders must be absolute; a relative value is ignored as the XDG rules say.
fs::path XdgDir(const char* variable, const char* fallback) {
  fs::path dir(Env(variable));
  if (dir.empty() || dir.is_relative()) dir = Home() / fallback;
  return dir;
}

fs::path ExecutableDir() {
  std::error_code error;
  fs::path exe = fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : exe.parent_path();
}

}  // namespace

fs::path ProgramDir() {
  std::string forced = Env("ZRV31_PROGRAM_DIR");
  if (!forced.empty()) return fs::path(forced);
  return ProgramDirOf(ExecutableDir());
}

fs::path ProgramDirOf(const fs::path& executable_dir) {
  if (executable_dir.empty()) return fs::path("/usr/share/zrv31");
  std::error_code error;
  if (fs::is_directory(executable_dir / "skin", error) || fs::is_directory(executable_dir / "DefaultData", error)) {
    return executable_dir;
  }
  // Installed layout: <prefix>/bin/zrv31 with its data in <prefix>/share/zrv31.
  return executable_dir.parent_path() / "share" / "zrv31";
}

fs::path UserDataDir() { return XdgDir("XDG_DATA_HOME", ".local/share") / kProductTitle; }

fs::path ConfigDir() { return XdgDir("XDG_CONFIG_HOME", ".config") / kProductTitle; }

fs::path TempDir() {
  std::string dir = Env("TMPDIR");
  return dir.empty() ? fs::path("/tmp") : fs::path(dir);
}

fs::path DefaultDataDir() { return ProgramDir() / "DefaultData"; }

fs::path UpdateDownloadDir() { return XdgDir("XDG_CACHE_HOME", ".cache") / kProductTitle / "UpdateData"; }

namespace {

constexpr mode_t kPrivateMode = 0700;

// A missing folder made for the user alone. chmod: the umask may have taken bits of 0700 away.
bool MakePrivate(const fs::path& dir) {
  if (::mkdir(dir.c_str(), kPrivateMode) != 0) return errno == EEXIST;
  return ::chmod(dir.c_str(), kPrivateMode) == 0;
}

DownloadDirState CheckOwnerAndMode(const struct stat& info, uid_t user, bool root_allowed) {
  if (info.st_uid != user && !(root_allowed && info.st_uid == 0)) return DownloadDirState::kForeignOwner;
  if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) return DownloadDirState::kWritableByOthers;
  return DownloadDirState::kUsable;
}

}  // namespace

DownloadDirState CheckDownloadDir(const fs::path& dir, uid_t user) {
  struct stat info {};
  if (::lstat(dir.c_str(), &info) != 0) return DownloadDirState::kNotCreated;
  if (S_ISLNK(info.st_mode)) return DownloadDirState::kSymbolicLink;
  if (!S_ISDIR(info.st_mode)) return DownloadDirState::kNotADirectory;
  if (const DownloadDirState state = CheckOwnerAndMode(info, user, false); state != DownloadDirState::kUsable) {
    return state;
  }
  // The folders holding it may be links (to another disk, say), but whoever may write one of them
  // could rename the checked folder away and put another in its place; a sticky folder (as /tmp)
  // lets nobody rename what is not theirs.
  std::error_code error;
  const fs::path parent = fs::canonical(fs::absolute(dir, error).parent_path(), error);
  if (error) return DownloadDirState::kNotCreated;
  for (fs::path above = parent;; above = above.parent_path()) {
    if (::stat(above.c_str(), &info) != 0) return DownloadDirState::kNotCreated;
    if ((info.st_mode & S_ISVTX) != 0) info.st_mode &= ~(S_IWGRP | S_IWOTH);
    if (const DownloadDirState state = CheckOwnerAndMode(info, user, true); state != DownloadDirState::kUsable) {
      return state;
    }
    if (above == above.root_path() || above.empty()) break;
  }
  return DownloadDirState::kUsable;
}

DownloadDirState PrepareDownloadDir(const fs::path& dir, uid_t user) {
  // Every missing level is made for the user alone, as the cache folder itself is meant to be:
  // one made writable by a permissive umask would fail the check of the folders above.
  std::error_code error;
  fs::path level;
  for (const fs::path& part : fs::absolute(dir, error)) {
    level /= part;
    if (!fs::exists(fs::symlink_status(level, error))) MakePrivate(level);
  }
  return CheckDownloadDir(dir, user);
}

DownloadDirState PrepareUpdateDownloadDir() { return PrepareDownloadDir(UpdateDownloadDir(), ::geteuid()); }

const char* DownloadDirStateText(DownloadDirState state) {
  switch (state) {
    case DownloadDirState::kUsable: return "usable";
    case DownloadDirState::kNotCreated: return "missing and cannot be made";
    case DownloadDirState::kNotADirectory: return "not a folder";
    case DownloadDirState::kSymbolicLink: return "a symbolic link";
    case DownloadDirState::kForeignOwner: return "owned by another user";
    case DownloadDirState::kWritableByOthers: return "writable by other users";
  }
  return "unknown";
}

bool EnsureDir(const fs::path& dir) {
  std::error_code error;
  fs::create_directories(dir, error);
  return fs::is_directory(dir, error);
}

}  // namespace zrv::platform
