#include "config/macro_assignments.h"

namespace zrv::config {
namespace {

// The default half takes the place of the current one; the key number stays the key's own.
void FallBack(KeyRecord& key) {
  const uint16_t number = key.assignment.key;
  key.assignment = key.default_assignment;
  key.assignment.key = number;
}

}  // namespace

bool IsMacroAssignment(const KeyHalf& half) {
  return half.type == kMacroAssignmentType || half.type == kMacroAssignmentType2;
}

bool MacroHasUsers(const std::vector<KeyRecord>& keys, int number) {
  for (const KeyRecord& key : keys) {
    if (IsMacroAssignment(key.assignment) && key.assignment.value == number) return true;
  }
  return false;
}

bool RenumberForDeletedMacro(std::vector<KeyRecord>& keys, int number) {
  if (number < 0) return false;
  bool changed = false;
  for (KeyRecord& key : keys) {
    if (!IsMacroAssignment(key.assignment)) continue;
    if (key.assignment.value == number) {
      FallBack(key);
      changed = true;
    } else if (key.assignment.value > number) {
      --key.assignment.value;
      changed = true;
    }
  }
  return changed;
}

bool ResetMissingMacroAssignments(std::vector<KeyRecord>& keys, int macro_count) {
  bool changed = false;
  for (KeyRecord& key : keys) {
    if (IsMacroAssignment(key.assignment) && key.assignment.value >= macro_count) {
      FallBack(key);
      changed = true;
    }
  }
  return changed;
}

}  // namespace zrv::config
