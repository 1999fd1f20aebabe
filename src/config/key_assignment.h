#pragma once
// The assignments of the key assignment editor as data: which editor category shows an
// assignment and what its controls show (ShowAssignment), the assignment the controls stand for
// (BuildAssignment), a captured key press (CaptureKey), and the 6-byte and 12-byte forms.
//
// An assignment is a KeyHalf: key position (bytes 0-1), kind (byte 2), first and second operand
// (bytes 3 and 4); byte 5 is always zero. Pure functions: the editor control keeps the state
// and the controls, these only compute.

#include <array>
#include <cstdint>

#include "config/profile_records.h"

namespace zrv::config {

// Editor categories: the tab page index and the user data of the function drop-down's items.
enum KeyCategory : int {
  kCategoryNone = -1,
  kCategoryDefault = 0,
  kCategoryMouseButton = 1,
  kCategorySwing = 2,
  kCategoryWheel = 3,
  kCategoryDpi = 4,
  kCategoryRapidFire = 5,
  kCategoryKey = 6,
  kCategoryMedia = 7,
  kCategorySystem = 8,
  kCategoryMacro = 9,
  kCategoryShoot = 10,
  kCategoryShortcut = 11,
};
inline constexpr int kCategoryCount = 12;

// Item 4 of the macro playback-mode drop-down: repeat a given number of times (kind 0x71).
inline constexpr int kMacroModeRepeat = 4;

// What the editor's controls show. -1 in a selection means no item selected; numbers are what the
// edits show as decimal text (an empty edit reads as 0).
struct KeyEditorView {
  int category = kCategoryNone;
  int row = -1;  // categories 1, 4, 7, 8, 11: the row of that category's code table
  // Categories 2 and 3: direction item 0 or 1, and the edits.
  int direction = -1;
  int count = 0;
  int delay = 0;
  int speed = 0;
  // Category 5.
  int interval = 0;
  int clicks = 0;
  // Category 6: modifier option 0-4 and the kKeyTable row shown as key text (-1: empty text).
  int modifier_option = -1;
  int key_row = -1;
  // Category 9: macro item, playback-mode item (0-4), repeat edit and whether its row is shown.
  int macro = -1;
  int macro_mode = -1;
  int repeat = 0;
  bool repeat_visible = false;
  // Category 10.
  int gun = -1;
  friend bool operator==(const KeyEditorView&, const KeyEditorView&) = default;
};

// The view of `current` (its default being `def`) with `macro_count` macros in the macro
// drop-down. A key-kind assignment whose usage has no row has its operands cleared in `current`.
// category stays kCategoryNone only when the kind has no category.
KeyEditorView ShowAssignment(KeyHalf& current, const KeyHalf& def, int macro_count);

// The assignment the view stands for (bytes 0-1 those of `current`): `current` unchanged where the
// view selects nothing usable, `def` for category 0 or an unknown category.
KeyHalf BuildAssignment(const KeyEditorView& view, const KeyHalf& current, const KeyHalf& def, int macro_count);

// A key message captured while the key edit has the focus: false (nothing changed) when the scan
// code has no key-kind row among rows 0-112; otherwise `view` and `current` take the key (a
// modifier sets the option and clears the key text).
bool CaptureKey(uint8_t scan, bool extended, KeyEditorView& view, KeyHalf& current);

// The wire forms: position (low byte first), kind, operands, 0; and an entry of the key list, the
// current assignment followed by the default.
std::array<uint8_t, 6> AssignmentBytes(const KeyHalf& assignment);
std::array<uint8_t, 12> KeyEntryBytes(const KeyRecord& entry);
// Whether an assignment is its default (bytes 2-4 equal).
inline bool IsDefaultAssignment(const KeyHalf& a, const KeyHalf& def) {
  return a.type == def.type && a.value == def.value && a.extra == def.extra;
}

}  // namespace zrv::config
