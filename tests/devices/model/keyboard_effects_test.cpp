// The keyboard's on-screen lighting without threads: the LED matrix and its position tables, the
// step intervals, a few frames of each effect family, the pace of a zone against a clock of the
// test's own, and the custom-effect player.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "devices/model/custom_effect_player.h"
#include "devices/model/effect_pacer.h"
#include "devices/model/keyboard_effects.h"
#include "devices/model/keyboard_light_tables.h"

namespace zrv::devices {
namespace {

using std::chrono::milliseconds;
using Zone = config::LightZoneFields;
using Clock = EffectPacer::Clock;

constexpr uint8_t kBrightest = 24;

Zone MakeZone(uint8_t effect, bool multi, uint8_t fx = 1, Rgb colour = {10, 20, 30}, uint8_t level = kBrightest) {
  return {effect, level, 0, fx, static_cast<uint8_t>(multi ? 1 : 0), colour.red, colour.green, colour.blue};
}

Rgb ColourOf(KeyColour c) { return {KeyRed(c), KeyGreen(c), KeyBlue(c)}; }
uint8_t KeyAtCell(size_t column, size_t row) { return kLedMatrix[row][column]; }

// A main zone with its state, stepped as the thread steps it.
struct MainZone {
  bool Step(const Zone& zone) { return StepMainEffect(zone.select_item, zone, custom, state, extras, keys); }
  void Press(size_t key) {
    extras.held[key] = true;
    extras.fresh[key] = true;
    state.fade[key] = 255;
  }
  LightingEngine::EffectState state;
  KeyboardEffectExtras extras;
  std::vector<Rgb> custom = std::vector<Rgb>(kKeyboardKeys);
  std::vector<KeyColour> keys = std::vector<KeyColour>(kKeyboardKeys);
};

TEST(KeyboardLightTables, EveryKeyHasOneCellAndOnePlaceInTheBands) {
  std::map<int, int> cells;
  for (const auto& row : kLedMatrix) {
    for (const uint8_t key : row) {
      if (key != kNoMatrixKey) ++cells[key];
    }
  }
  ASSERT_EQ(cells.size(), kKeyboardKeys);
  for (const auto& [key, count] : cells) EXPECT_EQ(count, 1) << key;

  std::map<int, int> banded;
  for (const auto& band : kBandTable) {
    for (const uint8_t key : band) {
      if (key != kNoMatrixKey) ++banded[key];
    }
  }
  EXPECT_EQ(banded, cells);
  // Physical places: Esc top left, F1 beside it, Space on the bottom row, keypad Enter at the right.
  EXPECT_EQ(KeyPlaces()[0].column, 0);
  EXPECT_EQ(KeyPlaces()[0].row, 0);
  EXPECT_EQ(KeyPlaces()[108].row, 5);
  EXPECT_EQ(KeyPlaces()[118].column, 21);
  EXPECT_LT(KeyDistances()[KeyAtCell(11, 2)], KeyDistances()[0]) << "the middle is nearer than a corner";
}

TEST(KeyboardLightTables, ThePaceFollowsTheUsersSpeedInTheKeyboardsDirection) {
  // Speed index 0 is Speed 4, the keyboard's fastest: also the shortest interval on screen.
  EXPECT_EQ(MainStepIntervalMs(kEffectWave, 0), 2);
  EXPECT_EQ(MainStepIntervalMs(kEffectWave, 2), 4);
  EXPECT_EQ(MainStepIntervalMs(kEffectWave, 4), 6);
  EXPECT_EQ(MainStepIntervalMs(kEffectWave, 200), 6) << "out of range: the slowest";
  EXPECT_EQ(MainStepIntervalMs(kEffectCycleBlink, 0), 0) << "every pass";
  EXPECT_EQ(MainStepIntervalMs(kEffectRows, 1), 13);
  EXPECT_EQ(MainStepIntervalMs(kEffectBlink, 4), 28);
  EXPECT_EQ(MainStepIntervalMs(kEffectReactiveDark, 0), 4);
  EXPECT_EQ(MainStepIntervalMs(kEffectRipple, 3), 5);
  for (const int effect : {0, 19, 25, 28, 200}) {
    EXPECT_FALSE(IsBuiltInMainEffect(effect)) << effect;
    EXPECT_EQ(MainStepIntervalMs(effect, 0), 0) << effect;
  }
  EXPECT_EQ(ZoneStepIntervalMs(0, 0), 2);
  EXPECT_EQ(ZoneStepIntervalMs(5, 4), 6);
  EXPECT_EQ(KeyboardBlinkPeriodMs(0), 700);
  EXPECT_EQ(KeyboardBlinkPeriodMs(4), 2800);
}

TEST(KeyboardEffects, WavesTravelOverTheirPositionsInTheDirectionOfFx) {
  MainZone z;
  ASSERT_TRUE(z.Step(MakeZone(kEffectWave, false)));
  EXPECT_EQ(z.state.phase, 1);
  for (size_t column : {0u, 5u, 22u}) {
    const uint8_t key = KeyAtCell(column, 1);
    EXPECT_EQ(ColourOf(z.keys[key]), kRainbowTable[(1 + 8 * column) % 192]) << column;
    EXPECT_EQ(KeyIntensity(z.keys[key]), 255);
  }
  // The colour of column 1 moves to column 0 with the next steps.
  const Rgb second_column = ColourOf(z.keys[KeyAtCell(1, 1)]);
  for (int i = 0; i < 8; ++i) z.Step(MakeZone(kEffectWave, false));
  EXPECT_EQ(ColourOf(z.keys[KeyAtCell(0, 1)]), second_column);

  MainZone back;
  back.Step(MakeZone(kEffectWave, false, 0, {}, 10));
  EXPECT_EQ(back.state.phase, 191) << "counting down wraps to the end";
  EXPECT_EQ(KeyIntensity(back.keys[0]), 101);

  // The diagonal wave differs along a column, the column wave does not.
  MainZone diagonal;
  diagonal.Step(MakeZone(kEffectDiagonalWave, false));
  EXPECT_NE(diagonal.keys[KeyAtCell(4, 0)], diagonal.keys[KeyAtCell(4, 3)]);
  EXPECT_EQ(z.keys[KeyAtCell(4, 0)], z.keys[KeyAtCell(4, 3)]);
}

TEST(KeyboardEffects, BreathingAndStaticFollowTheRecordOrTheRainbow) {
  MainZone plain;
  for (int i = 0; i < 64; ++i) plain.Step(MakeZone(kEffectBreathing, false));
  EXPECT_EQ(plain.state.phase, 64);
  EXPECT_EQ(ColourOf(plain.keys[50]), (Rgb{10, 20, 30}));
  EXPECT_EQ(KeyIntensity(plain.keys[50]), kBreathingCurve[64] * 255 / 256);

  MainZone multi;
  multi.Step(MakeZone(kEffectBreathing, true));
  EXPECT_EQ(ColourOf(multi.keys[KeyAtCell(3, 2)]), kRainbowTable[21]) << "column 3: colour 7 x 3";

  MainZone statics;
  statics.Step(MakeZone(kEffectStatic, false, 1, {1, 2, 3}, 10));
  EXPECT_TRUE(std::all_of(statics.keys.begin(), statics.keys.end(),
                          [](KeyColour c) { return c == MakeKeyColour(1, 2, 3, 101); }));
  statics.Step(MakeZone(kEffectStatic, true));
  EXPECT_EQ(ColourOf(statics.keys[KeyAtCell(0, 0)]), kRainbowTable[110]) << "band 0";
  EXPECT_EQ(ColourOf(statics.keys[KeyAtCell(21, 5)]), kRainbowTable[10]) << "band 10";
  EXPECT_EQ(ColourOf(statics.keys[KeyAtCell(22, 5)]), kRainbowTable[0]) << "band 11";
}

TEST(KeyboardEffects, ReactiveKeysLightWhileHeldAndFadeAfterwards) {
  MainZone z;
  const Zone zone = MakeZone(kEffectReactive, false);
  z.Press(64);
  z.Step(zone);
  EXPECT_EQ(z.keys[64], MakeKeyColour(10, 20, 30, 255));
  EXPECT_EQ(z.keys[65], 0u) << "other keys stay dark";
  z.Step(zone);
  EXPECT_EQ(z.state.fade[64], 255) << "held";
  z.extras.held[64] = false;
  z.Step(zone);
  EXPECT_EQ(z.state.fade[64], 215);
  for (int i = 0; i < 100; ++i) z.Step(zone);
  EXPECT_EQ(z.keys[64], 0u);

  // Inverse: the keyboard is lit and the pressed key goes dark.
  MainZone dark;
  dark.Press(64);
  dark.Step(MakeZone(kEffectReactiveDark, false));
  EXPECT_EQ(KeyIntensity(dark.keys[64]), 0);
  EXPECT_EQ(KeyIntensity(dark.keys[65]), 255);
}

TEST(KeyboardEffects, APressSpreadsOverTheColumnsOrAlongItsRow) {
  const uint8_t key = KeyAtCell(10, 2);
  MainZone columns;
  columns.Press(key);
  columns.Step(MakeZone(kEffectReactiveColumns, false));
  EXPECT_EQ(KeyIntensity(columns.keys[KeyAtCell(10, 5)]), 255) << "the whole column lights";
  columns.extras.held[key] = false;
  for (int i = 0; i < 4; ++i) columns.Step(MakeZone(kEffectReactiveColumns, false));
  EXPECT_EQ(KeyIntensity(columns.keys[KeyAtCell(11, 0)]), 255 - 24) << "one column on, dimmer";
  EXPECT_EQ(KeyIntensity(columns.keys[KeyAtCell(9, 4)]), 255 - 24);
  EXPECT_EQ(KeyIntensity(columns.keys[KeyAtCell(13, 4)]), 0) << "not there yet";

  MainZone row;
  row.Press(key);
  row.extras.held[key] = false;
  for (int i = 0; i < 5; ++i) row.Step(MakeZone(kEffectReactiveRow, false));
  EXPECT_GT(KeyIntensity(row.keys[KeyAtCell(11, 2)]), 0);
  EXPECT_EQ(KeyIntensity(row.keys[KeyAtCell(11, 3)]), 0) << "other rows stay dark";

  MainZone ripple;
  ripple.Press(key);
  ripple.extras.held[key] = false;
  for (int i = 0; i < 8; ++i) ripple.Step(MakeZone(kEffectReactiveRipple, false));
  EXPECT_EQ(KeyIntensity(ripple.keys[KeyAtCell(12, 2)]), 255) << "radius 4 half cells: two columns away";
  EXPECT_EQ(KeyIntensity(ripple.keys[KeyAtCell(10, 0)]), 255) << "and two rows";
  EXPECT_LT(KeyIntensity(ripple.keys[key]), 255) << "the middle has faded";
}

TEST(KeyboardEffects, CustomShowsTheGroupAndTheBaseEffectsAreNotStepsOfTheKeyboard) {
  MainZone z;
  z.custom[7] = {1, 2, 3};
  ASSERT_TRUE(z.Step(MakeZone(kEffectCustom, false, 1, {}, 10)));
  EXPECT_EQ(z.keys[7], MakeKeyColour(1, 2, 3, 101));
  EXPECT_EQ(z.keys[8], MakeKeyColour(0, 0, 0, 101));
  const std::vector<KeyColour> before = z.keys;
  for (const uint8_t effect : {0, 19, 22, 23, 24, 25, 26, 28}) {
    EXPECT_FALSE(z.Step(MakeZone(effect, false))) << int{effect};
  }
  EXPECT_EQ(z.keys, before);
}

TEST(KeyboardEffects, EveryEffectStaysInsideItsVectorAndMovesOn) {
  // A short vector (a page with fewer buttons) is never written past its end.
  for (int effect = 1; effect < kFirstCustomEffect; ++effect) {
    MainZone z;
    PrepareMainEffect(effect, z.state, z.extras);
    std::vector<KeyColour> short_keys(10, 0xDEADBEEF);
    short_keys.resize(5);
    z.Press(3);
    for (int i = 0; i < 40; ++i)
      StepMainEffect(effect, MakeZone(static_cast<uint8_t>(effect), true), z.custom, z.state, z.extras, short_keys);
    // The picture changes within 200 steps for every effect that moves by itself (the reactive
    // ones move on presses; static, custom and the base steps are not the keyboard's).
    static const std::vector<int> kMoving = {1, 2, 3, 4, 5, 8, 10, 11, 12, 13, 15, 17, 18, 21, 27};
    if (std::find(kMoving.begin(), kMoving.end(), effect) == kMoving.end()) continue;
    z.Step(MakeZone(static_cast<uint8_t>(effect), true));
    const std::vector<KeyColour> first = z.keys;
    bool changed = false;
    for (int i = 0; i < 200 && !changed; ++i) {
      z.Step(MakeZone(static_cast<uint8_t>(effect), true));
      changed = z.keys != first;
    }
    EXPECT_TRUE(changed) << effect;
  }
}

TEST(KeyboardEffects, LogoAndStripZones) {
  std::vector<KeyColour> logo(15);
  ZoneEffectState state;
  StepZoneEffect(0, MakeZone(0, false), state, logo);
  EXPECT_EQ(ColourOf(logo[0]), kRainbowTable[1]);
  EXPECT_EQ(ColourOf(logo[5]), kRainbowTable[1 + 64]) << "the rainbow spread over the 15 positions";
  StepZoneEffect(3, MakeZone(3, false, 1, {9, 8, 7}), state, logo);
  EXPECT_EQ(logo[14], MakeKeyColour(9, 8, 7, 255));
  for (int i = 0; i < 64; ++i) StepZoneEffect(4, MakeZone(4, false), state, logo);
  EXPECT_EQ(logo[0], 0u) << "blink: the second half is dark";
  const std::vector<KeyColour> dark = logo;
  StepZoneEffect(6, MakeZone(6, false), state, logo);
  EXPECT_EQ(logo, dark) << "no such effect: nothing changes";
}

TEST(EffectPacer, StepsComeDueOnTheirDeadlinesAndLateCallsCatchUp) {
  EffectPacer pacer;
  const Clock::time_point t0{std::chrono::hours(1)};
  EXPECT_EQ(pacer.Due(t0, 2), 1u) << "a schedule starts with a step";
  EXPECT_EQ(pacer.NextDue(), t0 + milliseconds(2));
  EXPECT_EQ(pacer.Due(t0 + milliseconds(1), 2), 0u);
  EXPECT_EQ(pacer.Due(t0 + milliseconds(2), 2), 1u);
  EXPECT_EQ(pacer.Due(t0 + milliseconds(11), 2), 4u) << "the steps of 4, 6, 8 and 10 ms";
  EXPECT_EQ(pacer.NextDue(), t0 + milliseconds(12));
  EXPECT_EQ(pacer.Due(t0 + milliseconds(12), 6), 1u) << "a new interval starts a new schedule";
  EXPECT_EQ(pacer.NextDue(), t0 + milliseconds(18));
  EXPECT_EQ(pacer.Due(t0 + milliseconds(10'000), 6), EffectPacer::kMaxCatchUp);
  EXPECT_EQ(pacer.NextDue(), t0 + milliseconds(10'006)) << "after a long stall the schedule starts over";
  EXPECT_EQ(pacer.Due(t0 + milliseconds(10'006), 0), 1u) << "interval 0: one step per call";
  EXPECT_EQ(pacer.Due(t0 + milliseconds(10'006), 0), 1u);

  // Ten seconds of 10 ms passes at Speed 4 make as many steps as 2 ms passes would.
  EffectPacer coarse;
  unsigned steps = 0;
  for (int ms = 0; ms <= 10'000; ms += 10) steps += coarse.Due(t0 + milliseconds(ms), 2);
  EXPECT_EQ(steps, 5001u);
}

TEST(CustomEffectPlayer, StepsPlayInTurnForTheirTimes) {
  CustomEffectPlayer player;
  std::vector<KeyColour> keys(kKeyboardKeys, 0xFFFFFFFF);
  const Clock::time_point t0{std::chrono::hours(1)};
  player.Play(t0, keys);
  EXPECT_TRUE(std::all_of(keys.begin(), keys.end(), [](KeyColour c) { return c == 0; })) << "no steps: dark";

  std::vector<config::EffectStep> steps(3);
  steps[0].time = 100;
  steps[1].time = 0;
  steps[2].time = 50;
  steps[0].light.main = MakeZone(0, false, 1, {1, 1, 1});  // static
  steps[2].light.main = MakeZone(2, false);                // wave
  steps[1].light.main = MakeZone(9, false);                // no animation
  player.SetSteps(steps);
  player.Play(t0, keys);
  EXPECT_EQ(player.StepIndex(), 0u);
  EXPECT_EQ(keys[0], MakeKeyColour(1, 1, 1, 255));
  player.Play(t0 + milliseconds(100), keys);
  EXPECT_EQ(player.StepIndex(), 0u) << "not more than its time yet";
  player.Play(t0 + milliseconds(101), keys);
  EXPECT_EQ(player.StepIndex(), 1u);
  player.Play(t0 + milliseconds(101), keys);
  EXPECT_EQ(player.StepIndex(), 1u) << "a 0 ms step lasts until a millisecond has passed";
  EXPECT_EQ(keys[0], MakeKeyColour(1, 1, 1, 255)) << "a mode without animation leaves the keys";
  player.Play(t0 + milliseconds(102), keys);
  EXPECT_EQ(player.StepIndex(), 2u);
  player.Play(t0 + milliseconds(103), keys);
  EXPECT_NE(keys[0], MakeKeyColour(1, 1, 1, 255)) << "the wave runs";
  player.Play(t0 + milliseconds(153), keys);
  EXPECT_EQ(player.StepIndex(), 0u) << "after the last, the first";
}

}  // namespace
}  // namespace zrv::devices
