#include "update/update_target.h"

#include "update/app_version.h"

namespace zrv::update {

const std::array<UpdateTarget, kUpdateTargetCount>& UpdateTargetTable() {
  // The identifier strings are the product's registration with the update service.
  static const std::array<UpdateTarget, kUpdateTargetCount> table{{
      {1, 1, 0, "ZRV31", "MOUSE", "M31", "Mouse", ""},
      {1, 1, 0, "ZRV31", "KEYBOARD", "K31", "Keyboard", ""},
      {2, 1, 0, "ZRV31", "MOUSEPAD", "P31", "Mouse pad", ""},
      {0, 1, 0, "ZRV31", "ALL", "APP", "AP", "V" + std::string(AppVersionText())},
  }};
  return table;
}

std::string MakeAppKey(const UpdateTarget& target) {
  if (target.current_version == 0) return "NULL";
  return target.customer_code + "_" + std::to_string(target.kind) + "_" + target.target_code + "_" + target.model_code +
         "_" + std::to_string(target.key_number);
}

std::vector<UpdateTarget> RefreshTargets(std::span<const int> device_versions) {
  const auto& table = UpdateTargetTable();
  std::vector<UpdateTarget> targets(table.begin(), table.end());
  for (size_t row = 0; row < kDeviceTargetCount && row < device_versions.size(); ++row) {
    targets[row].current_version = device_versions[row];
  }
  targets.back().current_version = InstalledAppVersion();
  return targets;
}

std::vector<UpdateTarget> TargetsToCheck(const std::vector<UpdateTarget>& working_copy) {
  std::vector<UpdateTarget> targets;
  for (const auto& target : working_copy) {
    if (target.current_version != 0) targets.push_back(target);
  }
  return targets;
}

}  // namespace zrv::update
