#pragma once
// The answer of the update service for one target, and the statuses a row of the update list
// goes through.

#include <string>

namespace zrv::update {

// Statuses of a row of the update list. 0 is also the status of a target whose check failed (no
// server, an answer that is not an update answer): nothing is known about it.
enum RowStatus : int {
  kStatusUnknown = 0,
  kStatusNewer = 1,
  kStatusNewerToo = 2,
  kStatusDownloadWaiting = 3,
  kStatusDownloading = 4,
  kStatusDownloaded = 5,
  kStatusInstalling = 6,
  kStatusUpToDate = 7,
  kStatusFailed = 8,
};

struct UpdateInfo {
  int status = kStatusUnknown;
  int device_id = 0;  // 1: the installer is opened visibly by the desktop
  std::string name;   // "NO_LINK_SERVER" when no request reached the server
  std::string current_version_text;
  std::string version_name;
  std::string new_version_text;
  std::string path;  // download address of the installer
  std::string file;  // where the installer is downloaded to
};

}  // namespace zrv::update
