#include "config/key_table.h"

namespace zrv::config {
namespace {

constexpr KeyTableRow Modifier(const char* caption, uint8_t bit, uint8_t scan, bool extended) {
  return {caption, kKindKey, bit, 0, scan, extended, true};
}
constexpr KeyTableRow Key(const char* caption, uint8_t usage, uint8_t scan, bool extended = false) {
  return {caption, kKindKey, 0, usage, scan, extended, true};
}
// Consumer usages travel low byte first, as bytes 3 and 4 of an assignment.
constexpr KeyTableRow Consumer(const char* caption, uint16_t usage) {
  return {caption, kKindMedia, static_cast<uint8_t>(usage & 0xFF), static_cast<uint8_t>(usage >> 8)};
}
constexpr CodeTableRow Media(const char* caption, uint16_t usage) {
  return {caption, kKindMedia, static_cast<uint8_t>(usage & 0xFF), static_cast<uint8_t>(usage >> 8)};
}
constexpr CodeTableRow CtrlWith(const char* caption, uint8_t usage) { return {caption, kKindKey, 0x01, usage}; }

constexpr bool kE0 = true;  // the scan code comes with the E0 prefix

}  // namespace

const std::array<KeyTableRow, kKeyTableRows> kKeyTable = {{
    // Rows 0-7: the modifiers, as bits of the modifier byte.
    Modifier("keyboard_key_LCtrl", 0x01, 0x1D, false),
    Modifier("keyboard_key_LShift", 0x02, 0x2A, false),
    Modifier("keyboard_key_LAlt", 0x04, 0x38, false),
    Modifier("keyboard_key_LWin", 0x08, 0x5B, kE0),
    Modifier("keyboard_key_RCtrl", 0x10, 0x1D, kE0),
    // A PC keyboard sends Right Shift as a code of its own without the prefix, and that is what the
    // key capture delivers; with the prefix the key could never be captured.
    Modifier("keyboard_key_RShift", 0x20, 0x36, false),
    Modifier("keyboard_key_RAlt", 0x40, 0x38, kE0),
    Modifier("keyboard_key_RWin", 0x80, 0x5C, kE0),
    // Rows 8-113: keys, by their usage on the Keyboard/Keypad page.
    Key("keyboard_key_A", 0x04, 0x1E),
    Key("keyboard_key_B", 0x05, 0x30),
    Key("keyboard_key_C", 0x06, 0x2E),
    Key("keyboard_key_D", 0x07, 0x20),
    Key("keyboard_key_E", 0x08, 0x12),
    Key("keyboard_key_F", 0x09, 0x21),
    Key("keyboard_key_G", 0x0A, 0x22),
    Key("keyboard_key_H", 0x0B, 0x23),
    Key("keyboard_key_I", 0x0C, 0x17),
    Key("keyboard_key_J", 0x0D, 0x24),
    Key("keyboard_key_K", 0x0E, 0x25),
    Key("keyboard_key_L", 0x0F, 0x26),
    Key("keyboard_key_M", 0x10, 0x32),
    Key("keyboard_key_N", 0x11, 0x31),
    Key("keyboard_key_O", 0x12, 0x18),
    Key("keyboard_key_P", 0x13, 0x19),
    Key("keyboard_key_Q", 0x14, 0x10),
    Key("keyboard_key_R", 0x15, 0x13),
    Key("keyboard_key_S", 0x16, 0x1F),
    Key("keyboard_key_T", 0x17, 0x14),
    Key("keyboard_key_U", 0x18, 0x16),
    Key("keyboard_key_V", 0x19, 0x2F),
    Key("keyboard_key_W", 0x1A, 0x11),
    Key("keyboard_key_X", 0x1B, 0x2D),
    Key("keyboard_key_Y", 0x1C, 0x15),
    Key("keyboard_key_Z", 0x1D, 0x2C),
    Key("keyboard_key_1", 0x1E, 0x02),
    Key("keyboard_key_2", 0x1F, 0x03),
    Key("keyboard_key_3", 0x20, 0x04),
    Key("keyboard_key_4", 0x21, 0x05),
    Key("keyboard_key_5", 0x22, 0x06),
    Key("keyboard_key_6", 0x23, 0x07),
    Key("keyboard_key_7", 0x24, 0x08),
    Key("keyboard_key_8", 0x25, 0x09),
    Key("keyboard_key_9", 0x26, 0x0A),
    Key("keyboard_key_0", 0x27, 0x0B),
    Key("keyboard_key_Enter", 0x28, 0x1C),
    Key("keyboard_key_Esc", 0x29, 0x01),
    Key("keyboard_key_BackSpace", 0x2A, 0x0E),
    Key("keyboard_key_Tab", 0x2B, 0x0F),
    Key("keyboard_key_Space", 0x2C, 0x39),
    Key("keyboard_key_-", 0x2D, 0x0C),
    Key("keyboard_key_=", 0x2E, 0x0D),
    Key("keyboard_key_[", 0x2F, 0x1A),
    Key("keyboard_key_]", 0x30, 0x1B),
    Key("keyboard_key_xiegang", 0x31, 0x2B),
    Key("keyboard_key_;", 0x33, 0x27),
    Key("keyboard_key_'", 0x34, 0x28),
    Key("keyboard_key_`", 0x35, 0x29),
    Key("keyboard_key_<", 0x36, 0x33),
    Key("keyboard_key_.", 0x37, 0x34),
    Key("keyboard_key_/", 0x38, 0x35),
    Key("keyboard_key_Caplk", 0x39, 0x3A),
    Key("keyboard_key_F1", 0x3A, 0x3B),
    Key("keyboard_key_F2", 0x3B, 0x3C),
    Key("keyboard_key_F3", 0x3C, 0x3D),
    Key("keyboard_key_F4", 0x3D, 0x3E),
    Key("keyboard_key_F5", 0x3E, 0x3F),
    Key("keyboard_key_F6", 0x3F, 0x40),
    Key("keyboard_key_F7", 0x40, 0x41),
    Key("keyboard_key_F8", 0x41, 0x42),
    Key("keyboard_key_F9", 0x42, 0x43),
    Key("keyboard_key_F10", 0x43, 0x44),
    Key("keyboard_key_F11", 0x44, 0x57),
    Key("keyboard_key_F12", 0x45, 0x58),
    // Print Screen and keypad *, Pause and Num Lock share their codes; the prefix tells them apart.
    Key("keyboard_key_Print Scr", 0x46, 0x37, kE0),
    Key("keyboard_key_Scroll Lock", 0x47, 0x46),
    Key("keyboard_key_Pause", 0x48, 0x45),
    Key("keyboard_key_Insert", 0x49, 0x52, kE0),
    Key("keyboard_key_Home", 0x4A, 0x47, kE0),
    Key("keyboard_key_Page Up", 0x4B, 0x49, kE0),
    Key("keyboard_key_Delete", 0x4C, 0x53, kE0),
    Key("keyboard_key_End", 0x4D, 0x4F, kE0),
    Key("keyboard_key_Page Down", 0x4E, 0x51, kE0),
    Key("keyboard_key_Right", 0x4F, 0x4D, kE0),
    Key("keyboard_key_Left", 0x50, 0x4B, kE0),
    Key("keyboard_key_Down", 0x51, 0x50, kE0),
    Key("keyboard_key_Up", 0x52, 0x48, kE0),
    Key("keyboard_key_Num Lock", 0x53, 0x45, kE0),
    Key("keyboard_key_Num /", 0x54, 0x35, kE0),
    Key("keyboard_key_Num *", 0x55, 0x37),
    Key("keyboard_key_Num -", 0x56, 0x4A),
    Key("keyboard_key_Num +", 0x57, 0x4E),
    Key("keyboard_key_Num Enter", 0x58, 0x1C, kE0),
    Key("keyboard_key_Num 1", 0x59, 0x4F),
    Key("keyboard_key_Num 2", 0x5A, 0x50),
    Key("keyboard_key_Num 3", 0x5B, 0x51),
    Key("keyboard_key_Num 4", 0x5C, 0x4B),
    Key("keyboard_key_Num 5", 0x5D, 0x4C),
    Key("keyboard_key_Num 6", 0x5E, 0x4D),
    Key("keyboard_key_Num 7", 0x5F, 0x47),
    Key("keyboard_key_Num 8", 0x60, 0x48),
    Key("keyboard_key_Num 9", 0x61, 0x49),
    Key("keyboard_key_Num 0", 0x62, 0x52),
    Key("keyboard_key_Decimal", 0x63, 0x53),
    Key("keyboard_key_App", 0x65, 0x5D, kE0),
    // Keys of international layouts.
    Key("keyboard_key_K45", 0x64, 0x56),
    Key("keyboard_key_K56", 0x87, 0x73),
    Key("keyboard_key_K14", 0x89, 0x7D),
    Key("keyboard_key_K107", 0x85, 0x7E),
    Key("keyboard_key_K131", 0x8B, 0x7B),
    Key("keyboard_key_K132", 0x8A, 0x79),
    Key("keyboard_key_K133", 0x88, 0x70),
    Key("keyboard_key_K150", 0x91, 0x71),
    Key("keyboard_key_K151", 0x90, 0x72),
    // K42 sends the backslash's code, which row "xiegang" already answers.
    {"keyboard_key_K42", kKindKey, 0, 0x32},
    // Rows 114-131: consumer keys.
    Consumer("keyboard_key_Launch App2", 0x0192),
    Consumer("keyboard_key_Browaer Home", 0x0223),
    Consumer("keyboard_key_Media Play Pause", 0x00CD),
    Consumer("keyboard_key_Browser Search", 0x0221),
    Consumer("keyboard_key_Launch Mail", 0x018A),
    Consumer("keyboard_key_Volume Up", 0x00E9),
    Consumer("keyboard_key_Volume Mute", 0x00E2),
    Consumer("keyboard_key_Media Stop", 0x00B7),
    Consumer("keyboard_key_Volume Down", 0x00EA),
    Consumer("keyboard_key_Browser Favorites", 0x022A),
    Consumer("keyboard_key_Browser ForWard", 0x0225),
    Consumer("keyboard_key_Browser Back", 0x0224),
    Consumer("keyboard_key_Media Prev Track", 0x00B6),
    Consumer("keyboard_key_Media Next Track", 0x00B5),
    Consumer("keyboard_key_Computer", 0x0194),
    Consumer("keyboard_key_Browser Refresh", 0x0227),
    Consumer("wed_stop", 0x0226),
    Consumer("keyboard_key_Launch Media Select", 0x0183),
    // Rows 132-134: system keys.
    {"keyboard_key_Power", kKindSystem, 0x01, 0},
    {"keyboard_key_Sleep", kKindSystem, 0x02, 0},
    {"keyboard_key_Wakeup", kKindSystem, 0x04, 0},
    // Rows 135-139: the keyboard's macro keys.
    {"keyboard_key_M1", kKindMacroKey, 0xA2, 1},
    {"keyboard_key_M2", kKindMacroKey, 0xA2, 2},
    {"keyboard_key_M3", kKindMacroKey, 0xA2, 3},
    {"keyboard_key_M4", kKindMacroKey, 0xA2, 4},
    {"keyboard_key_M5", kKindMacroKey, 0xA2, 5},
    // Rows 140-141: the function keys.
    {"keyboard_key_FN", kKindFunction, 0x01, 0},
    {"keyboard_key_GM", kKindFunction, 0x1B, 0},
}};

const std::array<CodeTableRow, 5> kMouseButtonTable = {{
    {"mouse_key_left", kKindMouseButton, 0x01, 0},
    {"mouse_key_middle", kKindMouseButton, 0x04, 0},
    {"mouse_key_right", kKindMouseButton, 0x02, 0},
    {"mouse_key_forward", kKindMouseButton, 0x10, 0},
    {"mouse_key_back", kKindMouseButton, 0x08, 0},
}};

const std::array<CodeTableRow, 3> kDpiFunctionTable = {{
    {"mouse_key_DPI_add", kKindDpi, 1, 0},
    {"mouse_key_DPI_sub", kKindDpi, 2, 0},
    {"mouse_key_DPI_loop", kKindDpi, 3, 0},
}};

const std::array<CodeTableRow, 3> kSystemKeyTable = {{
    {"system_power", kKindSystem, 1, 0},
    {"system_sleep", kKindSystem, 2, 0},
    {"system_wake_up", kKindSystem, 4, 0},
}};

const std::array<CodeTableRow, 18> kMediaKeyTable = {{
    Media("media_text", 0x0183),
    Media("media_play", 0x00CD),
    Media("media_stop", 0x00B7),
    Media("media_prev", 0x00B6),
    Media("media_next", 0x00B5),
    Media("media_vol_sub", 0x00EA),
    Media("media_vol_add", 0x00E9),
    Media("media_mute", 0x00E2),
    Media("web_text", 0x0223),
    Media("web_refresh", 0x0227),
    Media("wed_stop", 0x0226),
    Media("wed_back", 0x0224),
    Media("wed_forward", 0x0225),
    Media("wed_favorite", 0x022A),
    Media("web_search", 0x0221),
    Media("media_mypc", 0x0194),
    Media("media_calc", 0x0192),
    Media("media_mail", 0x018A),
}};

// Named after what the shortcut does in most programs; the two zoom rows have no older name.
const std::array<CodeTableRow, 11> kShortcutTable = {{
    CtrlWith("custem_open", 0x12),
    CtrlWith("custem_new", 0x11),
    CtrlWith("custem_undo", 0x1D),
    CtrlWith("custem_save", 0x16),
    CtrlWith("custem_copy", 0x06),
    CtrlWith("custem_cut", 0x1B),
    CtrlWith("custem_paste", 0x19),
    CtrlWith("custem_find", 0x09),
    CtrlWith("custem_select_all", 0x04),
    CtrlWith("custem_zoom_out", 0x2D),
    CtrlWith("custem_zoom_in", 0x2E),
}};

int FindScanCodeRow(uint8_t scan, bool extended) {
  for (size_t i = 0; i < kScanCodeRows; ++i) {
    const KeyTableRow& row = kKeyTable[i];
    if (row.has_scan && row.scan == scan && row.extended == extended) return static_cast<int>(i);
  }
  return -1;
}

int FindCodeRow(uint8_t code1, uint8_t code2, size_t first_row) {
  for (size_t i = first_row; i < kKeyTable.size(); ++i) {
    if (kKeyTable[i].code1 == code1 && kKeyTable[i].code2 == code2) return static_cast<int>(i);
  }
  return -1;
}

int FindKindCodeRow(uint8_t kind, uint8_t code1, uint8_t code2) {
  for (size_t i = 0; i < kKeyTable.size(); ++i) {
    const KeyTableRow& row = kKeyTable[i];
    if (row.kind == kind && row.code1 == code1 && row.code2 == code2) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace zrv::config
