#pragma once
// The folders the program keeps files in, as strings ending with "/".

#include <QString>

namespace zrv::app {

// Program folder + "DefaultData/": read-only defaults (not created).
QString GetDefaultDataFolder();
// $XDG_DATA_HOME/ZRV-31 Gaming Keyboard/: per-user files; created when missing.
QString GetUserDataFolder();
// Temporary folder + "UpdateData/": downloaded installers; created when missing.
QString GetUpdateDownloadFolder();
// The program folder (skin/, DefaultData/, Font/, SDK/).
QString GetProgramFolder();

}  // namespace zrv::app
