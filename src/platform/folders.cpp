#include "platform/folders.h"

#include <unistd.h>

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
  fs::path exe_dir = ExecutableDir();
  std::error_code error;
  for (fs::path dir = exe_dir; !dir.empty(); dir = dir.parent_path()) {
    if (fs::is_directory(dir / "skin", error) || fs::is_directory(dir / "DefaultData", error)) return dir;
    if (dir == dir.parent_path()) break;
  }
  // Installed layout: <prefix>/bin/zrv31 with its data in <prefix>/share/zrv31.
  if (!exe_dir.empty()) return exe_dir.parent_path() / "share" / "zrv31";
  return fs::path("/usr/share/zrv31");
}

fs::path UserDataDir() { return XdgDir("XDG_DATA_HOME", ".local/share") / kProductTitle; }

fs::path ConfigDir() { return XdgDir("XDG_CONFIG_HOME", ".config") / kProductTitle; }

fs::path TempDir() {
  std::string dir = Env("TMPDIR");
  return dir.empty() ? fs::path("/tmp") : fs::path(dir);
}

fs::path DefaultDataDir() { return ProgramDir() / "DefaultData"; }

fs::path UpdateDownloadDir() { return TempDir() / "UpdateData"; }

bool EnsureDir(const fs::path& dir) {
  std::error_code error;
  fs::create_directories(dir, error);
  return fs::is_directory(dir, error);
}

}  // namespace zrv::platform
