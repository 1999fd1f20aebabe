#include "config/macro_assignments.h"

#include <gtest/gtest.h>

namespace zrv::config {
namespace {

// Key i with a current assignment and its factory default (a plain key).
KeyRecord Key(uint16_t i, uint8_t type, uint8_t value) {
  return {{i, type, value, 0}, {i, 0x20, 0, static_cast<uint8_t>(0x04 + i)}};
}

TEST(MacroAssignments, DeletingMacro1OfThree) {
  std::vector<KeyRecord> keys = {Key(0, 0x70, 1), Key(1, 0x71, 2), Key(2, 0x70, 0), Key(3, 0x20, 1), Key(4, 0x71, 1)};
  EXPECT_TRUE(MacroHasUsers(keys, 1));
  EXPECT_FALSE(MacroHasUsers(keys, 5));
  ASSERT_TRUE(RenumberForDeletedMacro(keys, 1));
  EXPECT_EQ(keys[0], (KeyRecord{{0, 0x20, 0, 0x04}, {0, 0x20, 0, 0x04}})) << "users fall back to their default";
  EXPECT_EQ(keys[1].assignment, (KeyHalf{1, 0x71, 1, 0})) << "macro 2 is now macro 1";
  EXPECT_EQ(keys[2].assignment, (KeyHalf{2, 0x70, 0, 0})) << "macro 0 stays";
  EXPECT_EQ(keys[3].assignment, (KeyHalf{3, 0x20, 1, 0})) << "no macro kind: untouched";
  EXPECT_EQ(keys[4].assignment, (KeyHalf{4, 0x20, 0, 0x08}));
}

TEST(MacroAssignments, NothingChangesWhenNoAssignmentIsAffected) {
  std::vector<KeyRecord> keys = {Key(0, 0x70, 0), Key(1, 0x20, 9)};
  const std::vector<KeyRecord> before = keys;
  EXPECT_FALSE(RenumberForDeletedMacro(keys, 3));
  EXPECT_FALSE(RenumberForDeletedMacro(keys, -1));
  EXPECT_EQ(keys, before);
}

TEST(MacroAssignments, AssignmentsBeyondTheListFallBack) {
  std::vector<KeyRecord> keys = {Key(0, 0x70, 1), Key(1, 0x71, 2), Key(2, 0x70, 5)};
  ASSERT_TRUE(ResetMissingMacroAssignments(keys, 2));
  EXPECT_EQ(keys[0].assignment, (KeyHalf{0, 0x70, 1, 0}));
  EXPECT_EQ(keys[1].assignment, keys[1].default_assignment);
  EXPECT_EQ(keys[2].assignment, keys[2].default_assignment);
  EXPECT_FALSE(ResetMissingMacroAssignments(keys, 2));
}

}  // namespace
}  // namespace zrv::config
