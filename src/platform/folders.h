#pragma once
// The folders the program works with, resolved from the environment as on a Linux desktop.

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace zrv::platform {

// The product title; it names the per-user folders.
inline constexpr const char* kProductTitle = "ZRV-31 Gaming Keyboard";

// Program folder holding skin/, DefaultData/, Font/ and SDK/: $ZRV31_PROGRAM_DIR, else
// ProgramDirOf(the folder of the executable).
std::filesystem::path ProgramDir();

// The program folder of an executable in `executable_dir`: that folder itself when it holds skin/
// or DefaultData/ (the build tree, where the build links them beside the program), else the
// installed layout's <prefix>/share/zrv31 for an executable in <prefix>/bin. No other folder is
// searched: a stray skin/ somewhere above the program is never taken.
std::filesystem::path ProgramDirOf(const std::filesystem::path& executable_dir);

// $XDG_DATA_HOME (default ~/.local/share) + "/ZRV-31 Gaming Keyboard".
std::filesystem::path UserDataDir();

// $XDG_CONFIG_HOME (default ~/.config) + "/ZRV-31 Gaming Keyboard": values kept "in the registry".
std::filesystem::path ConfigDir();

// $TMPDIR, else /tmp.
std::filesystem::path TempDir();

// Program folder + "/DefaultData": read-only defaults (templates, Language.config).
std::filesystem::path DefaultDataDir();

// $XDG_CACHE_HOME (default ~/.cache) + "/ZRV-31 Gaming Keyboard" + "/UpdateData": downloaded
// installers, which are started from there. Use it only after PrepareDownloadDir said so.
std::filesystem::path UpdateDownloadDir();

// Whether a folder may take files that the program later starts.
enum class DownloadDirState {
  kUsable,
  kNotCreated,        // missing, and it could not be made
  kNotADirectory,     // something else has its name
  kSymbolicLink,      // it could be pointed anywhere
  kForeignOwner,      // it, or the folder holding it, belongs to another user
  kWritableByOthers,  // it, or the folder holding it, can be written by its group or by anyone
};

// Checks `dir` without making anything: a real folder, not a symbolic link, owned by `user`, which
// neither its group nor other users can write; every folder above it must be `user`'s or root's
// and writable by nobody else (unless sticky, as /tmp), or others could swap the folder.
DownloadDirState CheckDownloadDir(const std::filesystem::path& dir, uid_t user);
// Makes `dir` when it is missing (each missing level with mode 0700), then checks it as
// CheckDownloadDir does.
DownloadDirState PrepareDownloadDir(const std::filesystem::path& dir, uid_t user);
// PrepareDownloadDir for UpdateDownloadDir() and the effective user.
DownloadDirState PrepareUpdateDownloadDir();
// A short English description of a state, for the debug output.
const char* DownloadDirStateText(DownloadDirState state);

// Creates the folder and its missing parents; true when it exists afterwards.
bool EnsureDir(const std::filesystem::path& dir);

}  // namespace zrv::platform
