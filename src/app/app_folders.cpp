#include "app/app_folders.h"

#include <filesystem>

#include "platform/debug_output.h"
#include "platform/folders.h"

namespace zrv::app {
namespace {

QString WithSlash(const std::filesystem::path& path) {
  QString text = QString::fromStdString(path.string());
  if (!text.endsWith('/')) text += '/';
  return text;
}

QString Ensured(const std::filesystem::path& path) {
  if (!platform::EnsureDir(path)) platform::DebugPrintf("folder not available: %s", path.c_str());
  return WithSlash(path);
}

}  // namespace

QString GetDefaultDataFolder() { return WithSlash(platform::DefaultDataDir()); }

QString GetUserDataFolder() { return Ensured(platform::UserDataDir()); }

QString GetUpdateDownloadFolder() { return Ensured(platform::UpdateDownloadDir()); }

QString GetProgramFolder() { return WithSlash(platform::ProgramDir()); }

}  // namespace zrv::app
