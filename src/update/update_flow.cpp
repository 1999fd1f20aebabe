#include "update/update_flow.h"

#include "update/installer_file.h"
#include "update/update_check.h"

#include <cstdio>

namespace zrv::update {
namespace {

bool CheckFailed(const UpdateInfo& answer) { return answer.name.empty() || answer.name == kNoLinkServer; }

UpdateInfo Check(HttpClient& client, std::string_view base, const UpdateTarget& target) {
  return CheckForUpdate(client, base, MakeAppKey(target), target.current_version, target.kind != 0);
}

}  // namespace

bool FindNewerVersion(HttpClient& client, std::string_view base, const std::vector<UpdateTarget>& working_copy) {
  for (const auto& target : TargetsToCheck(working_copy)) {
    UpdateInfo answer = Check(client, base, target);
    if (answer.name == kNoLinkServer) return false;
    if (answer.name.empty()) continue;
    if (answer.status != kStatusUpToDate) return true;
  }
  return false;
}

UpdateInfo PlaceholderRow(const UpdateTarget& target) {
  UpdateInfo row;
  row.name = target.label;
  if (target.kind != 0) {
    char text[16];
    std::snprintf(text, sizeof text, "V%04x", static_cast<unsigned>(target.current_version));
    row.current_version_text = text;
  } else {
    row.current_version_text = target.version_label;
  }
  return row;
}

UpdateInfo ListRow(const UpdateTarget& target, const UpdateInfo& answer, const std::filesystem::path& download_dir) {
  if (CheckFailed(answer)) return PlaceholderRow(target);
  UpdateInfo row = answer;
  row.name = target.label;
  if (row.status == kStatusUpToDate) row.new_version_text.clear();
  row.file = InstallerFile(download_dir, row.name, row.path).string();
  return row;
}

ListCheck CheckListedTargets(HttpClient& client, std::string_view base, const std::vector<UpdateTarget>& targets,
                             const std::filesystem::path& download_dir,
                             const std::function<void(size_t, const UpdateInfo&)>& on_row) {
  ListCheck check;
  size_t failures = 0;
  bool updatable = false;
  for (size_t i = 0; i < targets.size(); ++i) {
    UpdateInfo answer = Check(client, base, targets[i]);
    if (CheckFailed(answer)) ++failures;
    UpdateInfo row = ListRow(targets[i], answer, download_dir);
    updatable = updatable || (row.status != kStatusUpToDate && row.status != kStatusUnknown);
    if (on_row) on_row(i, row);
    check.rows.push_back(std::move(row));
  }
  check.page_status = updatable ? kPageUpdatable : failures == targets.size() ? kPageNoAnswer : kPageUpToDate;
  return check;
}

}  // namespace zrv::update
