#include "platform/input/scan_codes.h"

#include <linux/input-event-codes.h>

#include <gtest/gtest.h>

namespace zrv::platform::input {
namespace {

// The keys where such tables usually go wrong: codes shared by two keys, the E0 keys, the keys of
// international layouts.
TEST(ScanCodes, KeysThatShareCodesOrCarryThePrefix) {
  struct Case {
    std::uint32_t linux_key;
    ScanCode expected;
  };
  const Case cases[] = {
      {KEY_SYSRQ, {0x37, true}},  // Print Screen
      {KEY_KPASTERISK, {0x37, false}},
      {KEY_PAUSE, {0x45, false}},
      {KEY_NUMLOCK, {0x45, true}},
      {KEY_KPENTER, {0x1C, true}},
      {KEY_ENTER, {0x1C, false}},
      {KEY_RIGHTCTRL, {0x1D, true}},
      {KEY_LEFTCTRL, {0x1D, false}},
      {KEY_RIGHTALT, {0x38, true}},
      {KEY_LEFTALT, {0x38, false}},
      {KEY_RIGHTSHIFT, {0x36, false}},
      {KEY_LEFTMETA, {0x5B, true}},
      {KEY_RIGHTMETA, {0x5C, true}},
      {KEY_COMPOSE, {0x5D, true}},  // Menu
      {KEY_KPSLASH, {0x35, true}},
      {KEY_DELETE, {0x53, true}},
      {KEY_KPDOT, {0x53, false}},
      {KEY_SCROLLLOCK, {0x46, false}},
      {KEY_F12, {0x58, false}},
      {KEY_102ND, {0x56, false}},             // K45
      {KEY_RO, {0x73, false}},                // K56
      {KEY_YEN, {0x7D, false}},               // K14
      {KEY_KPCOMMA, {0x7E, false}},           // K107
      {KEY_MUHENKAN, {0x7B, false}},          // K131
      {KEY_HENKAN, {0x79, false}},            // K132
      {KEY_KATAKANAHIRAGANA, {0x70, false}},  // K133
      {KEY_HANJA, {0x71, false}},             // K150
      {KEY_HANGEUL, {0x72, false}},           // K151
      {KEY_BACKSLASH, {0x2B, false}},         // also K42, which has no code of its own
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScanCodeForLinuxKey(c.linux_key), c.expected) << "Linux key " << c.linux_key;
  }
  EXPECT_FALSE(ScanCodeForLinuxKey(KEY_RESERVED));
  EXPECT_FALSE(ScanCodeForLinuxKey(84));  // unassigned
  EXPECT_FALSE(ScanCodeForLinuxKey(300));
}

}  // namespace
}  // namespace zrv::platform::input
