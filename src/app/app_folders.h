#pragma once
// The folders the program keeps files in, as strings ending with "/".

#include <QString>

#include "platform/folders.h"

namespace zrv::app {

// The message shown when the download folder may not be used (downloads are refused then).
inline constexpr const char* kDownloadFolderRefusedTextId = "message_text_download_folder_unsafe";

// Program folder + "DefaultData/": read-only defaults (not created).
QString GetDefaultDataFolder();
// $XDG_DATA_HOME/ZRV-31 Gaming Keyboard/: per-user files; created when missing.
QString GetUserDataFolder();
// $XDG_CACHE_HOME/ZRV-31 Gaming Keyboard/UpdateData/: downloaded installers; created (for the user
// alone) when missing. Nothing may be written into it or started from it unless
// CheckUpdateDownloadFolder says so.
QString GetUpdateDownloadFolder();
// The program folder (skin/, DefaultData/, Font/, SDK/).
QString GetProgramFolder();

// Whether downloads may go to the download folder, made when missing, and why not.
struct DownloadFolderCheck {
  bool usable = false;
  platform::DownloadDirState state = platform::DownloadDirState::kNotCreated;
  QString folder;      // ending with "/"
  QString message_id;  // kDownloadFolderRefusedTextId when not usable, else empty
};
DownloadFolderCheck CheckUpdateDownloadFolder();

}  // namespace zrv::app
