#pragma once
// The steps the update threads run. The threads themselves (the main window's background check;
// the settings window's check, download and install threads) are built on the platform's
// stoppable worker-thread type: each owns an HttpClient whose TransferStop its stop event signals,
// runs one of these steps and hands the results to the UI thread, which alone changes controls.
//
//   background check : FindNewerVersion(RefreshTargets(...))       -> mark on "setbtn", message 3093
//   check thread     : CheckListedTargets(TargetsToCheck(...))      -> rows, page status
//   download thread  : DownloadInstaller(row.path, row.file)        -> row status 5 or 8
//   install thread   : StartInstaller(row.file, row.device_id, ...) -> row status 6, or "Update failed!"

#include "update/http_client.h"
#include "update/update_info.h"
#include "update/update_target.h"

#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

namespace zrv::update {

// Status of the settings window's update page.
enum PageStatus : int {
  kPageChecking = 0,
  kPageUpdatable = 1,
  kPageNoAnswer = 2,  // no target could be checked
  kPageBusy = 3,      // downloading or installing
  kPageUpToDate = 4,
};

// The main window's background check: true as soon as one target of the working copy has a newer
// version; false when none has, or at the first target for which no server was reached.
bool FindNewerVersion(HttpClient& client, std::string_view base, const std::vector<UpdateTarget>& working_copy);

// The row of a target before (or without) an answer: its label, its current version ("V%04x" for
// devices, the version label for the program), status 0.
UpdateInfo PlaceholderRow(const UpdateTarget& target);

// The row of a target from its answer: a failed check gives the placeholder; otherwise the name
// becomes the target's label, the new version text is cleared when up to date, and the file is
// the installer's place in the download folder.
UpdateInfo ListRow(const UpdateTarget& target, const UpdateInfo& answer, const std::filesystem::path& download_dir);

struct ListCheck {
  std::vector<UpdateInfo> rows;
  int page_status = kPageChecking;
};

// The settings window's check of its targets, in order; `on_row` (optional) hears each row as it
// is known.
ListCheck CheckListedTargets(HttpClient& client, std::string_view base, const std::vector<UpdateTarget>& targets,
                             const std::filesystem::path& download_dir,
                             const std::function<void(size_t, const UpdateInfo&)>& on_row);

}  // namespace zrv::update
