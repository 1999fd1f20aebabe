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

QString GetUpdateDownloadFolder() { return CheckUpdateDownloadFolder().folder; }

QString GetProgramFolder() { return WithSlash(platform::ProgramDir()); }

DownloadFolderCheck CheckUpdateDownloadFolder() {
  const std::filesystem::path dir = platform::UpdateDownloadDir();
  DownloadFolderCheck check;
  check.state = platform::PrepareUpdateDownloadDir();
  check.usable = check.state == platform::DownloadDirState::kUsable;
  check.folder = WithSlash(dir);
  if (!check.usable) {
    check.message_id = QString::fromLatin1(kDownloadFolderRefusedTextId);
    platform::DebugPrintf("download folder refused (%s): %s", platform::DownloadDirStateText(check.state), dir.c_str());
  }
  return check;
}

}  // namespace zrv::app
