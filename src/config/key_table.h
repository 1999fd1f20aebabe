#pragma once
// The key table and the code tables of the key assignment editor: every key, consumer and system
// key a key can be given, with the language key of its caption, and for rows 0-112 the PC scan
// code (set 1) by which a captured key press is recognised. The macro editor, the key recording
// and the key captions of the device pages use the same table.
//
// The order of each table is the order of the items of its drop-down in the skin.

#include <array>
#include <cstddef>
#include <cstdint>

namespace zrv::config {

// Kinds (byte 2 of an assignment).
inline constexpr uint8_t kKindDefault = 0x00;
inline constexpr uint8_t kKindMouseButton = 0x10;
inline constexpr uint8_t kKindSwing = 0x11;
inline constexpr uint8_t kKindWheel = 0x12;
inline constexpr uint8_t kKindDpi = 0x13;
inline constexpr uint8_t kKindRapidFire = 0x14;
inline constexpr uint8_t kKindKey = 0x20;
inline constexpr uint8_t kKindMedia = 0x30;
inline constexpr uint8_t kKindSystem = 0x40;
inline constexpr uint8_t kKindMacro = 0x70;
inline constexpr uint8_t kKindMacroRepeat = 0x71;
inline constexpr uint8_t kKindShoot = 0x72;
inline constexpr uint8_t kKindFunction = 0xA0;
inline constexpr uint8_t kKindShortcut = 0xB0;
inline constexpr uint8_t kKindMacroKey = 0xD0;

// One row of kKeyTable: caption key, kind and the two code bytes (bytes 3 and 4 of an
// assignment); rows 0-112 also carry the scan code with its extended-key flag (has_scan is set for
// exactly those; "keyboard_key_K42", row 113, has none).
struct KeyTableRow {
  const char* caption;
  uint8_t kind;
  uint8_t code1;
  uint8_t code2;
  uint8_t scan = 0;
  bool extended = false;
  bool has_scan = false;
};

inline constexpr size_t kKeyTableRows = 142;
inline constexpr size_t kScanCodeRows = 113;  // rows 0-112 are looked up by scan code
inline constexpr size_t kModifierRows = 8;    // rows 0-7: the modifiers, code (bit, 0)
extern const std::array<KeyTableRow, kKeyTableRows> kKeyTable;

// A row of the small code tables: caption key and the bytes 2-4 an assignment takes from it.
struct CodeTableRow {
  const char* caption;
  uint8_t kind;
  uint8_t code1;
  uint8_t code2;
};

extern const std::array<CodeTableRow, 5> kMouseButtonTable;  // kind 0x10
extern const std::array<CodeTableRow, 3> kDpiFunctionTable;  // kind 0x13
extern const std::array<CodeTableRow, 3> kSystemKeyTable;    // kind 0x40
extern const std::array<CodeTableRow, 18> kMediaKeyTable;    // kind 0x30
extern const std::array<CodeTableRow, 11> kShortcutTable;    // kind 0x20 with left Ctrl

// The first of rows 0-112 whose scan code and extended flag match; -1 when none.
int FindScanCodeRow(uint8_t scan, bool extended);
// The first row (from `first_row` on) whose code bytes equal (code1, code2), the kind not
// compared; -1 when none.
int FindCodeRow(uint8_t code1, uint8_t code2, size_t first_row = 0);
// The first row whose kind and both code bytes equal; -1 when none.
int FindKindCodeRow(uint8_t kind, uint8_t code1, uint8_t code2);

// The modifier option (0 none, 1 Ctrl, 2 Shift, 3 Alt, 4 Windows) of modifier row `row` (0-7):
// both sides of a modifier give the same option.
constexpr int ModifierOptionOfRow(int row) { return ((row + 1) % 5) + ((row + 1) / 5); }
// The modifier byte an option stands for (left Ctrl, Shift, Alt, Windows); 0 for option 0 or none.
constexpr uint8_t ModifierBitsOfOption(int option) {
  return option >= 1 && option <= 4 ? static_cast<uint8_t>(1u << (option - 1)) : 0;
}

}  // namespace zrv::config
