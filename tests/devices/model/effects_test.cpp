// The base effect steps against the constant tables: phases and their wraps, colour index
// advances, blink periods, intensities.

#include <gtest/gtest.h>

#include <algorithm>

#include "devices/model/effect_tables.h"
#include "devices/model/mouse_device.h"
#include "devices/model/phase_stepper.h"
#include "model_test_support.h"

namespace zrv::devices {
namespace {

using std::chrono::milliseconds;

TEST(EffectTables, AnchorsOfEveryTable) {
  EXPECT_EQ(kIntensityTable[0], 0);
  EXPECT_EQ(kIntensityTable[9], 90);
  EXPECT_EQ(kIntensityTable[10], 101);
  EXPECT_EQ(kIntensityTable[19], 200);
  EXPECT_EQ(kIntensityTable[24], 255);
  EXPECT_TRUE(std::is_sorted(kIntensityTable.begin(), kIntensityTable.end()));

  EXPECT_EQ(kBreathingCurve[0], 0);
  EXPECT_EQ(kBreathingCurve[10], 10);
  EXPECT_EQ(kBreathingCurve[11], 12);
  EXPECT_EQ(kBreathingCurve[18], 27);
  EXPECT_EQ(kBreathingCurve[56], 206);
  EXPECT_EQ(kBreathingCurve[57], 213);
  EXPECT_EQ(kBreathingCurve[63], 255);
  for (size_t i = 0; i < 64; ++i) EXPECT_EQ(kBreathingCurve[127 - i], kBreathingCurve[i]) << i;

  EXPECT_EQ(kRainbowTable[0], (Rgb{255, 1, 0}));
  EXPECT_EQ(kRainbowTable[31], (Rgb{255, 255, 0}));
  EXPECT_EQ(kRainbowTable[32], (Rgb{248, 255, 0}));
  EXPECT_EQ(kRainbowTable[63], (Rgb{0, 255, 0}));
  EXPECT_EQ(kRainbowTable[64], (Rgb{0, 255, 1}));
  EXPECT_EQ(kRainbowTable[96 + 19], (Rgb{0, 47, 255}));
  EXPECT_EQ(kRainbowTable[128 + 13], (Rgb{57, 0, 255}));
  EXPECT_EQ(kRainbowTable[160], (Rgb{255, 0, 248}));
  EXPECT_EQ(kRainbowTable[191], (Rgb{255, 0, 0}));
  EXPECT_EQ(kRainbowTable[192], kRainbowTable[0]);

  EXPECT_EQ(kCycleColours[0], (Rgb{0, 255, 180}));
  EXPECT_EQ(kCycleColours[1], (Rgb{0, 255, 0}));
  EXPECT_EQ(kCycleColours[2], (Rgb{255, 255, 255}));
  EXPECT_EQ(kCycleColours[3], (Rgb{255, 0, 0}));
}

TEST(EffectTables, BlinkPeriodsByIndexAndOutOfRangeValuesStayInTheTables) {
  EXPECT_EQ(BlinkPeriodMs(0), 2800);
  EXPECT_EQ(BlinkPeriodMs(1), 2300);
  EXPECT_EQ(BlinkPeriodMs(2), 1800);
  EXPECT_EQ(BlinkPeriodMs(3), 1300);
  EXPECT_EQ(BlinkPeriodMs(4), 700);
  EXPECT_EQ(BlinkPeriodMs(200), 700);
  EXPECT_EQ(IntensityOfLevel(25), 255);
  EXPECT_EQ(IntensityOfLevel(255), 255);
}

TEST(PhaseStepper, UpWrapsAtTheLimitDownStopsAtZeroThenWraps) {
  uint8_t phase = 126;
  EXPECT_FALSE(StepPhase(phase, 128, true));
  EXPECT_EQ(phase, 127);
  EXPECT_TRUE(StepPhase(phase, 128, true));
  EXPECT_EQ(phase, 0);

  phase = 1;
  EXPECT_TRUE(StepPhase(phase, 128, false));
  EXPECT_EQ(phase, 0);
  EXPECT_FALSE(StepPhase(phase, 128, false));
  EXPECT_EQ(phase, 127);

  phase = 150;  // left by a 192-step effect
  EXPECT_FALSE(StepPhase(phase, 128, false));
  EXPECT_EQ(phase, 127);
  phase = 150;
  EXPECT_TRUE(StepPhase(phase, 128, true));
  EXPECT_EQ(phase, 0);
}

class EffectsTest : public ::testing::Test {
 protected:
  EffectsTest() { mouse_.SetClock(clock_.Function()); }

  // The main record's fields the effects read.
  void SetMain(uint8_t light, uint8_t speed, uint8_t fx, uint8_t multi, uint8_t r, uint8_t g, uint8_t b) {
    LightRecord record{};
    record.main = {0, light, speed, fx, multi, r, g, b};
    mouse_.SetLightInfo(PackLightInts(record));
  }
  // Every key has the same colour after a base step; returns it.
  KeyColour Uniform() const {
    const std::vector<KeyColour> colours = mouse_.KeyColours();
    EXPECT_EQ(colours.size(), 6u);
    for (KeyColour c : colours) EXPECT_EQ(c, colours.front());
    return colours.front();
  }
  uint8_t Phase() const { return mouse_.GetEffectState().phase; }
  uint8_t ColourIndex() const { return mouse_.GetEffectState().colour_index; }

  testing::ManualClock clock_;
  CHalveronMouseDevice mouse_;
};

TEST_F(EffectsTest, BreathingScalesTheCurveByTheBrightnessOfTheRecordColour) {
  SetMain(24, 0, 1, 0, 200, 10, 20);
  mouse_.SetPhase(62);
  mouse_.EffectBreathing();
  EXPECT_EQ(Phase(), 63);
  EXPECT_EQ(Uniform(), MakeKeyColour(200, 10, 20, 255 * 255 / 256));

  SetMain(10, 0, 1, 0, 200, 10, 20);
  mouse_.SetPhase(17);
  mouse_.EffectBreathing();
  EXPECT_EQ(Uniform(), MakeKeyColour(200, 10, 20, 27 * 101 / 256));
}

TEST_F(EffectsTest, BreathingAdvancesTheRainbowBy16OncePerCycleInEitherDirection) {
  SetMain(24, 0, 1, 1, 0, 0, 0);
  mouse_.SetPhase(127);
  mouse_.EffectBreathing();
  EXPECT_EQ(Phase(), 0);
  EXPECT_EQ(ColourIndex(), 16);
  EXPECT_EQ(KeyTint(Uniform()), KeyTint(MakeKeyColour(kRainbowTable[16], 0)));
  EXPECT_EQ(KeyIntensity(Uniform()), 0);

  for (int i = 0; i < 2 * 128; ++i) mouse_.EffectBreathing();
  EXPECT_EQ(ColourIndex(), 48) << "two more full cycles upwards";

  SetMain(24, 0, 0, 1, 0, 0, 0);
  for (int i = 0; i < 128; ++i) mouse_.EffectBreathing();
  EXPECT_EQ(ColourIndex(), 64) << "one full cycle downwards";
  EXPECT_EQ(Phase(), 0);
  mouse_.EffectBreathing();
  EXPECT_EQ(Phase(), 127) << "down from 0 wraps to the limit - 1 without an advance";
  EXPECT_EQ(ColourIndex(), 64);
}

TEST_F(EffectsTest, BreathingColourIndexReachesEntry192ThenStartsOver) {
  SetMain(24, 0, 1, 1, 0, 0, 0);
  mouse_.SetColourIndex(176);
  mouse_.SetPhase(127);
  mouse_.EffectBreathing();
  EXPECT_EQ(ColourIndex(), 192);
  EXPECT_EQ(KeyTint(Uniform()), KeyTint(MakeKeyColour(kRainbowTable[192], 0)));
  mouse_.SetPhase(127);
  mouse_.EffectBreathing();
  EXPECT_EQ(ColourIndex(), 0);
}

TEST_F(EffectsTest, CycleBreathingStepsThroughTheFourFixedColours) {
  SetMain(24, 0, 1, 1, 9, 9, 9);
  mouse_.SetColourIndex(150);  // left by a rainbow effect
  mouse_.SetPhase(40);
  mouse_.EffectCycleBreathing();
  EXPECT_EQ(KeyTint(Uniform()), KeyTint(MakeKeyColour(kCycleColours[0], 0)));
  const uint8_t expected[] = {1, 2, 3, 0, 1};
  for (uint8_t colour : expected) {
    mouse_.SetPhase(127);
    mouse_.EffectCycleBreathing();
    EXPECT_EQ(ColourIndex(), colour);
    EXPECT_EQ(KeyTint(Uniform()), KeyTint(MakeKeyColour(kCycleColours[colour], 0)));
  }
}

TEST_F(EffectsTest, StaticAndSpectrumUseTheIntensityOfTheLevel) {
  SetMain(12, 0, 1, 1, 1, 2, 3);
  mouse_.EffectStatic();
  EXPECT_EQ(Uniform(), MakeKeyColour(1, 2, 3, 123)) << "static ignores the multicolour flag";
  SetMain(40, 0, 1, 0, 1, 2, 3);
  mouse_.EffectStatic();
  EXPECT_EQ(Uniform(), MakeKeyColour(1, 2, 3, 255)) << "a level beyond the table reads its last entry";

  SetMain(20, 0, 1, 0, 1, 2, 3);
  mouse_.SetPhase(190);
  mouse_.EffectSpectrum();
  EXPECT_EQ(Uniform(), MakeKeyColour(kRainbowTable[191], 210));
  mouse_.EffectSpectrum();
  EXPECT_EQ(Phase(), 0) << "the spectrum runs over 192 steps";
  SetMain(20, 0, 0, 0, 1, 2, 3);
  mouse_.EffectSpectrum();
  EXPECT_EQ(Phase(), 191);
  EXPECT_EQ(Uniform(), MakeKeyColour(kRainbowTable[191], 210));
}

TEST_F(EffectsTest, BlinkTogglesEveryPeriodOfItsSpeedAndAdvancesTheColourAtEachToggle) {
  SetMain(24, 0, 1, 1, 0, 0, 0);
  mouse_.EffectBlink();
  EXPECT_EQ(Uniform(), MakeKeyColour(kRainbowTable[0], 255)) << "the first period is lit";
  clock_.Advance(milliseconds(2799));
  mouse_.EffectBlink();
  EXPECT_EQ(Uniform(), MakeKeyColour(kRainbowTable[0], 255));
  clock_.Advance(milliseconds(1));
  mouse_.EffectBlink();
  EXPECT_EQ(Uniform(), 0u);
  EXPECT_EQ(ColourIndex(), 16);
  clock_.Advance(milliseconds(2800));
  mouse_.EffectBlink();
  EXPECT_EQ(ColourIndex(), 32);
  EXPECT_EQ(Uniform(), MakeKeyColour(kRainbowTable[32], 255));

  SetMain(24, 4, 1, 0, 7, 8, 9);  // speed index 4: 700 ms, the record's colour
  clock_.Advance(milliseconds(699));
  mouse_.EffectBlink();
  EXPECT_EQ(Uniform(), MakeKeyColour(7, 8, 9, 255));
  clock_.Advance(milliseconds(1));
  mouse_.EffectBlink();
  EXPECT_EQ(Uniform(), 0u);
}

TEST_F(EffectsTest, BlinkColourIndexStartsOverAbove191AndAStalledCallerTogglesOnce) {
  SetMain(24, 4, 1, 1, 0, 0, 0);
  mouse_.SetColourIndex(176);
  mouse_.EffectBlink();
  clock_.Advance(milliseconds(700));
  mouse_.EffectBlink();
  EXPECT_EQ(ColourIndex(), 0) << "176 + 16 is above 191";

  clock_.Advance(milliseconds(10 * 700 + 200));  // ten periods and a bit missed
  mouse_.EffectBlink();
  EXPECT_EQ(ColourIndex(), 16);
  clock_.Advance(milliseconds(499));
  mouse_.EffectBlink();
  EXPECT_EQ(ColourIndex(), 16) << "the periods stay on their grid";
  clock_.Advance(milliseconds(1));
  mouse_.EffectBlink();
  EXPECT_EQ(ColourIndex(), 32);
}

TEST_F(EffectsTest, CycleBlinkStepsThroughTheFixedColours) {
  SetMain(19, 2, 1, 1, 0, 0, 0);
  mouse_.EffectCycleBlink();
  EXPECT_EQ(Uniform(), MakeKeyColour(kCycleColours[0], 200));
  for (int toggle = 1; toggle <= 8; ++toggle) {
    clock_.Advance(milliseconds(1800));
    mouse_.EffectCycleBlink();
    EXPECT_EQ(ColourIndex(), toggle % 4);
    const bool lit = toggle % 2 == 0;
    EXPECT_EQ(Uniform(), lit ? MakeKeyColour(kCycleColours[toggle % 4], 200) : 0u) << toggle;
  }
}

TEST_F(EffectsTest, OffClearsEveryKeyAndEachStepCounts) {
  SetMain(24, 0, 1, 0, 255, 255, 255);
  mouse_.EffectStatic();
  mouse_.EffectOff();
  EXPECT_EQ(Uniform(), 0u);
  EXPECT_EQ(mouse_.GetEffectState().step_counter, 2u);
}

}  // namespace
}  // namespace zrv::devices
