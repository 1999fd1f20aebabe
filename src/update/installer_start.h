#pragma once
// Starting a downloaded installer. An answer with device id 1 names a file for the desktop (a
// document or package it knows how to open); any other file must be a program of this machine: an
// ELF executable of the program's own class and architecture, or a "#!" script. It is started
// detached (its own session, not our child), so it outlives the program if it replaces it.
//
// Nothing is started from a folder other users can write (see private_folder.h), nor a file that
// is not a regular file of this user that only this user can write.

#include <filesystem>
#include <functional>

namespace zrv::update {

// The desktop's handler for a file; true when it took the file. The UI supplies it (the desktop
// services are part of the GUI).
using DesktopOpen = std::function<bool(const std::filesystem::path&)>;

enum class ExecutableKind { kNone, kElf, kScript };

// What the file at `path` is by its first bytes.
ExecutableKind ExecutableKindOf(const std::filesystem::path& path);

// The device id whose files are handed to the desktop's handler instead of being run.
inline constexpr int kDesktopOpenedDevice = 1;

// Starts the installer; false when it was refused or could not be started ("Update failed!").
bool StartInstaller(const std::filesystem::path& file, int device_id, const DesktopOpen& open_with_desktop);

}  // namespace zrv::update
