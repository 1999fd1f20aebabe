#include "platform/input/scan_codes.h"

#include <linux/input-event-codes.h>

#include <array>

namespace zrv::platform::input {
namespace {

struct Entry {
  std::uint16_t linux_key;
  std::uint8_t code;
  bool extended;
};

// Keys 1 (Esc) to 83 (keypad .) and 86-88 were numbered after their set-1 codes, so they map to
// themselves; the entries below are everything else. Where two keys share a make code (Pause and
// Num Lock, Print Screen and keypad *), the E0 flag tells them apart the way the receivers expect:
// Num Lock and Print Screen carry it, Pause and keypad * do not. Right Shift has its own code and
// no flag.
constexpr Entry kIrregular[] = {
    {KEY_NUMLOCK, 0x45, true},
    {KEY_PAUSE, 0x45, false},
    {KEY_SYSRQ, 0x37, true},  // Print Screen
    {KEY_KPENTER, 0x1C, true},
    {KEY_RIGHTCTRL, 0x1D, true},
    {KEY_KPSLASH, 0x35, true},
    {KEY_RIGHTALT, 0x38, true},
    {KEY_HOME, 0x47, true},
    {KEY_UP, 0x48, true},
    {KEY_PAGEUP, 0x49, true},
    {KEY_LEFT, 0x4B, true},
    {KEY_RIGHT, 0x4D, true},
    {KEY_END, 0x4F, true},
    {KEY_DOWN, 0x50, true},
    {KEY_PAGEDOWN, 0x51, true},
    {KEY_INSERT, 0x52, true},
    {KEY_DELETE, 0x53, true},
    {KEY_LEFTMETA, 0x5B, true},
    {KEY_RIGHTMETA, 0x5C, true},
    {KEY_COMPOSE, 0x5D, true},  // the Menu (application) key
    {KEY_KPEQUAL, 0x59, false},
    // Keys of international layouts.
    {KEY_RO, 0x73, false},
    {KEY_KATAKANAHIRAGANA, 0x70, false},
    {KEY_HENKAN, 0x79, false},
    {KEY_MUHENKAN, 0x7B, false},
    {KEY_YEN, 0x7D, false},
    {KEY_KPCOMMA, 0x7E, false},  // the keypad key of Brazilian keyboards
    {KEY_KPJPCOMMA, 0x5C, false},
    {KEY_HANJA, 0x71, false},
    {KEY_HANGEUL, 0x72, false},
    {KEY_KATAKANA, 0x78, false},
    {KEY_HIRAGANA, 0x77, false},
    // F13-F24.
    {KEY_F13, 0x64, false},
    {KEY_F14, 0x65, false},
    {KEY_F15, 0x66, false},
    {KEY_F16, 0x67, false},
    {KEY_F17, 0x68, false},
    {KEY_F18, 0x69, false},
    {KEY_F19, 0x6A, false},
    {KEY_F20, 0x6B, false},
    {KEY_F21, 0x6C, false},
    {KEY_F22, 0x6D, false},
    {KEY_F23, 0x6E, false},
    {KEY_F24, 0x76, false},
    // Media, browser and system keys.
    {KEY_PREVIOUSSONG, 0x10, true},
    {KEY_NEXTSONG, 0x19, true},
    {KEY_MUTE, 0x20, true},
    {KEY_CALC, 0x21, true},
    {KEY_PLAYPAUSE, 0x22, true},
    {KEY_STOPCD, 0x24, true},
    {KEY_VOLUMEDOWN, 0x2E, true},
    {KEY_VOLUMEUP, 0x30, true},
    {KEY_HOMEPAGE, 0x32, true},
    {KEY_POWER, 0x5E, true},
    {KEY_SLEEP, 0x5F, true},
    {KEY_WAKEUP, 0x63, true},
    {KEY_SEARCH, 0x65, true},
    {KEY_BOOKMARKS, 0x66, true},
    {KEY_REFRESH, 0x67, true},
    {KEY_STOP, 0x68, true},
    {KEY_FORWARD, 0x69, true},
    {KEY_BACK, 0x6A, true},
    {KEY_COMPUTER, 0x6B, true},
    {KEY_MAIL, 0x6C, true},
    {KEY_MEDIA, 0x6D, true},
};

// X keycodes run to 255, so Linux keys below 248 can arrive.
constexpr std::size_t kTableSize = 248;

struct Slot {
  std::uint8_t code = 0;  // 0: no scan code
  bool extended = false;
};

constexpr std::array<Slot, kTableSize> BuildTable() {
  std::array<Slot, kTableSize> table{};
  for (std::uint8_t key = KEY_ESC; key <= KEY_KPDOT; ++key) table[key] = {key, false};
  for (std::uint8_t key = KEY_102ND; key <= KEY_F12; ++key) table[key] = {key, false};
  for (const Entry& entry : kIrregular) table[entry.linux_key] = {entry.code, entry.extended};
  return table;
}

constexpr std::array<Slot, kTableSize> kTable = BuildTable();

}  // namespace

std::optional<ScanCode> ScanCodeForLinuxKey(std::uint32_t linux_key) {
  if (linux_key >= kTable.size() || kTable[linux_key].code == 0) return std::nullopt;
  return ScanCode{kTable[linux_key].code, kTable[linux_key].extended};
}

}  // namespace zrv::platform::input
