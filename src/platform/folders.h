#pragma once
// The folders the program works with, resolved from the environment as on a Linux desktop.

#include <filesystem>
#include <string>

namespace zrv::platform {

// The product title; it names the per-user folders.
inline constexpr const char* kProductTitle = "ZRV-31 Gaming Keyboard";

// Program folder holding skin/, DefaultData/, Font/ and SDK/: $ZRV31_PROGRAM_DIR, else the folder
// of the executable when it holds skin/ or DefaultData/ (build tree), else <prefix>/share/zrv31.
std::filesystem::path ProgramDir();

// $XDG_DATA_HOME (default ~/.local/share) + "/ZRV-31 Gaming Keyboard".
std::filesystem::path UserDataDir();

// $XDG_CONFIG_HOME (default ~/.config) + "/ZRV-31 Gaming Keyboard": values kept "in the registry".
std::filesystem::path ConfigDir();

// $TMPDIR, else /tmp.
std::filesystem::path TempDir();

// Program folder + "/DefaultData": read-only defaults (templates, Language.config).
std::filesystem::path DefaultDataDir();

// Temporary folder + "/UpdateData": downloaded installers.
std::filesystem::path UpdateDownloadDir();

// Creates the folder and its missing parents; true when it exists afterwards.
bool EnsureDir(const std::filesystem::path& dir);

}  // namespace zrv::platform
