// Fade values and the ring of the travelling effects.

#include <gtest/gtest.h>

#include "devices/model/keyboard_device.h"

namespace zrv::devices {
namespace {

class ReactiveStateTest : public ::testing::Test {
 protected:
  uint8_t FadeAfter(uint8_t start, bool fast) {
    keyboard_.SetFadeValue(5, start);
    keyboard_.FadeKey(5, fast);
    return keyboard_.GetEffectState().fade[5];
  }
  CHalveronKeyboardDevice keyboard_;
};

TEST_F(ReactiveStateTest, FadeStepsDependOnTheHighestBitAndSlowDownNearZero) {
  EXPECT_EQ(FadeAfter(255, false), 215);  // bit 7: 40
  EXPECT_EQ(FadeAfter(0x80, true), 0x80 - 40);
  EXPECT_EQ(FadeAfter(0x7F, false), 0x7F - 30);  // bit 6
  EXPECT_EQ(FadeAfter(0x40, false), 0x40 - 30);
  EXPECT_EQ(FadeAfter(0x3F, false), 0x3F - 10);  // bit 5
  EXPECT_EQ(FadeAfter(0x20, true), 0x20 - 10);
  EXPECT_EQ(FadeAfter(0x1F, false), 0x1F - 8);  // above 16
  EXPECT_EQ(FadeAfter(17, false), 9);
  EXPECT_EQ(FadeAfter(16, false), 12);  // 16 and below: 4, or 1 when fast
  EXPECT_EQ(FadeAfter(16, true), 15);
  EXPECT_EQ(FadeAfter(3, false), 0) << "never below 0";
  EXPECT_EQ(FadeAfter(1, true), 0);
  EXPECT_EQ(FadeAfter(0, false), 0);
}

TEST_F(ReactiveStateTest, FadeOutsideTheKeysChangesNothing) {
  keyboard_.SetFadeValue(125, 100);
  keyboard_.FadeKey(-1, false);
  keyboard_.FadeKey(126, false);
  const auto state = keyboard_.GetEffectState();
  EXPECT_EQ(state.fade[125], 100);
  EXPECT_EQ(state.fade[0], 0);
}

TEST_F(ReactiveStateTest, MarkPressedKeysLightsTheKeysOfTheFirstNineRingPositions) {
  keyboard_.SetRingValue(0, 1);
  keyboard_.SetRingValue(8, 7);
  keyboard_.SetRingValue(9, 7);  // beyond the nine
  keyboard_.SetFadeValue(4, 33);
  keyboard_.MarkPressedKeys();
  const auto state = keyboard_.GetEffectState();
  EXPECT_EQ(state.fade[0], 255);
  EXPECT_EQ(state.fade[8], 255);
  EXPECT_EQ(state.fade[9], 0);
  EXPECT_EQ(state.fade[4], 33) << "a position without a press keeps its fade";
}

TEST_F(ReactiveStateTest, ShiftRingRotatesAllTwentyThreePositions) {
  for (int i = 0; i < 23; ++i) keyboard_.SetRingValue(i, static_cast<uint8_t>(i + 1));
  keyboard_.ShiftRing(true);
  auto ring = keyboard_.GetEffectState().ring;
  EXPECT_EQ(ring[0], 23);
  EXPECT_EQ(ring[1], 1);
  EXPECT_EQ(ring[22], 22);
  keyboard_.ShiftRing(false);
  keyboard_.ShiftRing(false);
  ring = keyboard_.GetEffectState().ring;
  EXPECT_EQ(ring[0], 2);
  EXPECT_EQ(ring[21], 23);
  EXPECT_EQ(ring[22], 1);
}

TEST_F(ReactiveStateTest, ClearReactiveStateZeroesFadesAndRingOnly) {
  keyboard_.SetRingValue(22, 9);
  keyboard_.SetFadeValue(125, 9);
  keyboard_.SetPhase(77);
  keyboard_.ClearReactiveState();
  const auto state = keyboard_.GetEffectState();
  EXPECT_EQ(state.ring[22], 0);
  EXPECT_EQ(state.fade[125], 0);
  EXPECT_EQ(state.phase, 77);
}

}  // namespace
}  // namespace zrv::devices
