#pragma once
// Key assignments refer to macros by their number in the device's macro list (the value byte of an
// assignment of type 0x70 or 0x71). These walks keep them right when macros go away.

#include <vector>

#include "config/profile_records.h"

namespace zrv::config {

inline constexpr uint8_t kMacroAssignmentType = 0x70;
inline constexpr uint8_t kMacroAssignmentType2 = 0x71;

bool IsMacroAssignment(const KeyHalf& half);

// Whether some key's current assignment plays macro `number` (the editor then asks before deleting).
bool MacroHasUsers(const std::vector<KeyRecord>& keys, int number);

// Before macro `number` is deleted, in one walk: assignments to it fall back to the key's default,
// assignments to higher numbers move down by one. True when any assignment changed (the caller
// then stores the list, refreshes the captions and writes macros and keys to the device).
bool RenumberForDeletedMacro(std::vector<KeyRecord>& keys, int number);

// Assignments to macro numbers at or beyond `macro_count` (left by other profiles or a shorter
// list) fall back to the key's default. True when any assignment changed.
bool ResetMissingMacroAssignments(std::vector<KeyRecord>& keys, int macro_count);

}  // namespace zrv::config
