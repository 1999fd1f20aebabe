#pragma once
// The targets of the update check: the supported device models and, last, the program itself.
// The fixed table holds no versions; the working copy is rebuilt before every check with the
// versions of what is attached and installed.

#include "update/update_info.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace zrv::update {

struct UpdateTarget {
  int kind = 0;  // 0 the program; 1 or 2 a device (its versions are hexadecimal)
  int key_number = 1;
  int current_version = 0;  // 0: nothing to check
  std::string customer_code;
  std::string target_code;  // "ALL" for the program
  std::string model_code;
  std::string label;          // shown in the list; "AP" for the program
  std::string version_label;  // the program's displayed version; empty for devices
};

inline constexpr size_t kUpdateTargetCount = 4;
// Device rows follow the device-kind table (mouse, keyboard, mouse pad); the headset has none.
inline constexpr size_t kDeviceTargetCount = kUpdateTargetCount - 1;

const std::array<UpdateTarget, kUpdateTargetCount>& UpdateTargetTable();

// customer + "_" + kind + "_" + target + "_" + model + "_" + key number; "NULL" for version 0.
std::string MakeAppKey(const UpdateTarget& target);

// The working copy: the table with each device row's version taken from `device_versions` (the
// HID version of the attached device of that device-kind row, 0 when none is attached; rows
// beyond the device targets are ignored) and the program row's from InstalledAppVersion().
std::vector<UpdateTarget> RefreshTargets(std::span<const int> device_versions);

// The targets with a version to check, in table order.
std::vector<UpdateTarget> TargetsToCheck(const std::vector<UpdateTarget>& working_copy);

}  // namespace zrv::update
