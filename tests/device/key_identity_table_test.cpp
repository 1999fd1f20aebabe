#include "device/key_identity_table.h"

#include <gtest/gtest.h>

#include <map>

namespace zrv::device {
namespace {

TEST(KeyIdentityTable, LandmarkKeysCarryTheirCodes) {
  EXPECT_EQ(kKeyIdentityTable[0], (KeyCode{0x20, 0x00, 0x29}));    // Esc
  EXPECT_EQ(kKeyIdentityTable[15], (KeyCode{0x20, 0x00, 0x48}));   // Pause
  EXPECT_EQ(kKeyIdentityTable[17], (KeyCode{0x30, 0xB6, 0x00}));   // media: previous
  EXPECT_EQ(kKeyIdentityTable[44], (KeyCode{0x20, 0x00, 0x1A}));   // W
  EXPECT_EQ(kKeyIdentityTable[64], (KeyCode{0x20, 0x00, 0x04}));   // A
  EXPECT_EQ(kKeyIdentityTable[84], (KeyCode{0x20, 0x02, 0x00}));   // left Shift
  EXPECT_EQ(kKeyIdentityTable[95], (KeyCode{0x20, 0x20, 0x00}));   // right Shift
  EXPECT_EQ(kKeyIdentityTable[108], (KeyCode{0x20, 0x00, 0x2C}));  // Space
  EXPECT_EQ(kKeyIdentityTable[110], (KeyCode{0xA0, 0x01, 0x00}));  // Fn
  EXPECT_EQ(kKeyIdentityTable[119], (KeyCode{0x20, 0x00, 0x57}));  // keypad +
  EXPECT_EQ(kKeyIdentityTable[120], (KeyCode{0xD0, 0xA2, 0x01}));
  EXPECT_EQ(kKeyIdentityTable[124], (KeyCode{0xD0, 0xA2, 0x05}));
  EXPECT_EQ(kKeyIdentityTable[125], (KeyCode{0x00, 0x00, 0x00}));
}

// A slip in the table (a usage typed twice) would map two logical keys to one slot: apart from
// the three empty positions, every code occurs once.
TEST(KeyIdentityTable, EveryRealKeyHasItsOwnCode) {
  std::map<uint32_t, int> seen;
  for (size_t i = 0; i < kKeyIdentityTable.size(); ++i) ++seen[kKeyIdentityTable[i].Packed()];
  EXPECT_EQ(seen[0x200000], 3) << "positions 16, 20 and 104 are empty";
  for (const auto& [code, count] : seen) {
    if (code != 0x200000) {
      EXPECT_EQ(count, 1) << std::hex << code;
    }
  }
}

TEST(KeyIdentityTable, PackedCodesRoundTrip) {
  KeyCode code{0x70, 0x03, 0x00};
  EXPECT_EQ(code.Packed(), 0x70u * 65536 + 3 * 256);
  EXPECT_EQ(KeyCode::FromPacked(code.Packed()), code);
  EXPECT_EQ(KeyCode::FromPacked(0xFFD0A205), (KeyCode{0xD0, 0xA2, 0x05})) << "bits above 23 are not part of a code";
}

TEST(MouseKeyIdentityTable, ButtonsAndNames) {
  EXPECT_EQ(kMouseKeyIdentityTable[0].code, (KeyCode{0x10, 0x01, 0x00}));
  EXPECT_EQ(kMouseKeyIdentityTable[0].name, "mouse_key_left");
  EXPECT_EQ(kMouseKeyIdentityTable[3].code, (KeyCode{0x10, 0x10, 0x00})) << "forward is bit 0x10";
  EXPECT_EQ(kMouseKeyIdentityTable[4].code, (KeyCode{0x10, 0x08, 0x00})) << "back is bit 0x08";
  EXPECT_EQ(kMouseKeyIdentityTable[8].name, "keyboard_key_GM");
  EXPECT_EQ(kMouseKeyIdentityTable[9].code, (KeyCode{0x16, 0x90, 0x01}));
}

}  // namespace
}  // namespace zrv::device
