// The keyboard's lighting against the simulated keyboard: the custom group read from and written to
// its custom-light memory, the pause after a failed write, the effect threads (they step while the
// keyboard is attached and not paused, and send nothing), and the logo and strip lights.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <chrono>
#include <thread>

#include "config/light_files.h"
#include "keyboard_test_support.h"
#include "sim/memory_map.h"

namespace zrv::devices {
namespace {

using std::chrono::milliseconds;
using testing::KeyboardSimTest;

constexpr uint8_t kGroup = 2;
constexpr size_t kGroupOffset = kGroup * sim::kCustomLightStride;

template <class Predicate>
bool WaitFor(Predicate done, milliseconds limit = milliseconds(5000)) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(milliseconds(2));
  }
  return true;
}

class KeyboardLightingTest : public KeyboardSimTest {
 protected:
  // The keyboard's active record asks for `effect` with custom group kGroup.
  void SetDeviceEffect(uint8_t effect) {
    const uint8_t bytes[] = {effect};
    device_->SetAreaBytes(sim::Area::kSettings, 1, bytes);
    const uint8_t group[] = {kGroup};
    device_->SetAreaBytes(sim::Area::kSettings, 26, group);
  }
  std::vector<uint8_t> GroupBytes() const {
    const std::vector<uint8_t> area = device_->AreaBytes(sim::Area::kCustomLight);
    return {area.begin() + kGroupOffset, area.begin() + kGroupOffset + sim::kCustomLightStride};
  }
  // Reads the keyboard as an attach does, without starting the threads.
  void ReadKeyboard() {
    keyboard_.ReadDeviceTables();
    keyboard_.SetProfileId("p");
    keyboard_.LoadProfile();
    keyboard_.ReadDeviceSettings();
  }
  static Rgb ColourOfKey(size_t key) { return {static_cast<uint8_t>(key), static_cast<uint8_t>(2 * key), 7}; }
};

TEST_F(KeyboardLightingTest, ACustomGroupIsReadAtTheLedsOfTheKeysAndStoredInTheProfile) {
  Plug();
  SetDeviceEffect(20);
  const std::vector<uint8_t> leds = [&] {
    keyboard_.ReadDeviceTables();
    std::vector<uint8_t> out;
    for (int key = 0; key < 126; ++key) out.push_back(keyboard_.CustomLedOfKey(key));
    return out;
  }();
  std::vector<uint8_t> group(sim::kCustomLightStride, 0);
  for (size_t key = 0; key < leds.size(); ++key) {
    if (leds[key] == 255) continue;
    const Rgb c = ColourOfKey(key);
    group[3 * leds[key]] = c.red;
    group[3 * leds[key] + 1] = c.green;
    group[3 * leds[key] + 2] = c.blue;
  }
  device_->SetAreaBytes(sim::Area::kCustomLight, kGroupOffset, group);

  ReadKeyboard();
  const std::vector<Rgb> colours = keyboard_.CustomColours();
  for (size_t key = 0; key < leds.size(); ++key) {
    // Keys that share a factory code share a slot and its LED: the last one written there shows.
    const Rgb at_led =
        leds[key] == 255 ? Rgb{} : Rgb{group[3 * leds[key]], group[3 * leds[key] + 1], group[3 * leds[key] + 2]};
    EXPECT_EQ(colours[key], at_led) << key;
  }
  EXPECT_EQ(colours[70], ColourOfKey(70));
  const Json::Value stored = ProfileSettings()["CustomLightMode"]["LightColorInfo"][kGroup];
  ASSERT_EQ(stored.size(), 126u);
  EXPECT_EQ(stored[70]["Green"].asInt(), 140);
  EXPECT_EQ(stored[70]["Alpha"].asInt(), 255);

  // The key shows its custom colour once the effect steps.
  keyboard_.Effects().StepMain(std::chrono::steady_clock::now());
  EXPECT_EQ(keyboard_.GetKeyColour(70), MakeKeyColour(ColourOfKey(70), 255));
}

TEST_F(KeyboardLightingTest, KeysWhoseLedTheKeyboardFixesIgnoreTheLedMap) {
  Plug();
  SetDeviceEffect(20);
  // The firmware's LED map sends Fn (key 110) to LED 3; the keyboard still lights it at LED 117.
  const int slot = device_->SlotOfLogicalKey(110);
  ASSERT_GE(slot, 0);
  const uint8_t wrong[] = {3};
  device_->SetAreaBytes(sim::Area::kKeyLedMap, static_cast<size_t>(slot), wrong);
  std::vector<uint8_t> group(sim::kCustomLightStride, 0);
  group[3 * 117] = 0x11;
  group[3 * 116] = 0x22;
  group[3 * 3] = 0x33;
  device_->SetAreaBytes(sim::Area::kCustomLight, kGroupOffset, group);

  ReadKeyboard();
  EXPECT_EQ(keyboard_.KeyMaps().led[110], 3) << "the map is as the keyboard reported it";
  EXPECT_EQ(keyboard_.CustomColours()[110], (Rgb{0x11, 0, 0}));
  EXPECT_EQ(keyboard_.CustomColours()[111], (Rgb{0x22, 0, 0}));
}

TEST_F(KeyboardLightingTest, PaintedKeysReachTheCustomMemoryAtTheirLeds) {
  Plug();
  SetDeviceEffect(20);
  // One key without an LED: its colour is never written.
  const int dark_slot = device_->SlotOfLogicalKey(64);
  const uint8_t none[] = {255};
  device_->SetAreaBytes(sim::Area::kKeyLedMap, static_cast<size_t>(dark_slot), none);
  ReadKeyboard();
  ASSERT_EQ(keyboard_.CustomLedOfKey(64), 255);

  LightRecord record = keyboard_.GetLightInfo();
  record.main.red = 200;
  record.main.green = 100;
  record.main.blue = 50;
  keyboard_.SetLightInfo(PackLightInts(record));
  const size_t writes = Frames(0x0B);
  keyboard_.PaintKeys({0, 64, 110});
  EXPECT_GT(Frames(0x0B), writes);

  const std::vector<uint8_t> bytes = GroupBytes();
  const std::vector<Rgb> colours = keyboard_.CustomColours();
  std::vector<uint8_t> expected(sim::kCustomLightStride, 0);
  for (int key = 0; key < 126; ++key) {
    const uint8_t led = keyboard_.CustomLedOfKey(key);
    if (led == 255) continue;
    expected[3 * led] = colours[static_cast<size_t>(key)].red;
    expected[3 * led + 1] = colours[static_cast<size_t>(key)].green;
    expected[3 * led + 2] = colours[static_cast<size_t>(key)].blue;
  }
  EXPECT_EQ(bytes, expected) << "the memory holds exactly the key colours at 3 x LED index";
  EXPECT_EQ(bytes[3 * 117], 200) << "Fn";
  EXPECT_EQ(colours[64], (Rgb{200, 100, 50})) << "painted on screen all the same";
  EXPECT_EQ(ProfileSettings()["CustomLightMode"]["LightColorInfo"][kGroup][0]["Red"].asInt(), 200);

  // Outside the custom effect nothing is painted or sent.
  record.main.select_item = 1;
  keyboard_.SetLightInfo(PackLightInts(record));
  const size_t before = Frames(0x0B);
  keyboard_.PaintKey(5);
  EXPECT_EQ(keyboard_.WriteCustomLight(), 0);
  EXPECT_EQ(Frames(0x0B), before);
}

TEST_F(KeyboardLightingTest, AFailedWriteDefersTheNextOnesToTheRepaintAfterTheSetPause) {
  Plug();
  SetDeviceEffect(20);
  testing::ManualClock clock;
  keyboard_.SetClock(clock.Function());
  ReadKeyboard();
  device_->InjectStatus(0xFF, {.command = 0x0B});
  EXPECT_EQ(keyboard_.WriteCustomLight(), -102);
  const size_t after_failure = Frames(0x0B);
  keyboard_.PaintKey(1);  // asks for a write within the pause
  EXPECT_EQ(Frames(0x0B), after_failure) << "nothing is sent during the pause";
  clock.Advance(milliseconds(199));
  keyboard_.RenderLightFrame();
  EXPECT_EQ(Frames(0x0B), after_failure);
  clock.Advance(milliseconds(1));
  keyboard_.RenderLightFrame();
  EXPECT_GT(Frames(0x0B), after_failure) << "the deferred write goes out with the repaint";
  const size_t sent = Frames(0x0B);
  keyboard_.RenderLightFrame();
  EXPECT_EQ(Frames(0x0B), sent) << "once";
}

TEST_F(KeyboardLightingTest, TheThreadsStepWhileAttachedAndUnpausedAndSendNothing) {
  Plug();
  SetDeviceEffect(1);
  keyboard_.OnAttached();
  ASSERT_TRUE(keyboard_.EffectThreadsRunning());
  const size_t frames_after_attach = device_->Log().CountCommandFrames(sim::Direction::kToDevice);
  ASSERT_TRUE(WaitFor([&] { return keyboard_.GetEffectState().step_counter > 20; })) << "the wave runs";
  ASSERT_TRUE(WaitFor([&] { return KeyIntensity(keyboard_.LogoColours()[0]) > 0; })) << "the logo breathes";
  ASSERT_TRUE(WaitFor([&] { return KeyIntensity(keyboard_.StripColours()[5]) == 255; })) << "the strip is lit";
  // The strip is static: its thread sleeps (for seconds) until the strip's record changes, and
  // shows a change at once.
  LightRecord strip = keyboard_.GetStripLightInfo();
  strip.strip.multi_color = 0;
  strip.strip.red = 0;
  strip.strip.green = 0;
  strip.strip.blue = 200;
  keyboard_.SetStripLightInfo(PackLightInts(strip));
  EXPECT_TRUE(WaitFor([&] { return KeyTint(keyboard_.StripColours()[5]) == 0xC80000u; }, milliseconds(2000)));

  // Synchronised lighting: the steps stop.
  keyboard_.CommandLink().SetPaused(true);
  uint32_t paused_at = 0;
  EXPECT_TRUE(WaitFor([&] {
    paused_at = keyboard_.GetEffectState().step_counter;
    std::this_thread::sleep_for(milliseconds(100));  // several passes at the fastest speed
    return keyboard_.GetEffectState().step_counter == paused_at;
  }));
  keyboard_.CommandLink().SetPaused(false);
  ASSERT_TRUE(WaitFor([&] { return keyboard_.GetEffectState().step_counter > paused_at; }));

  EXPECT_EQ(Frames(0x12), 0u) << "no light frame";
  EXPECT_EQ(device_->Log().CountCommandFrames(sim::Direction::kToDevice), frames_after_attach)
      << "the effects send nothing at all";
  EXPECT_TRUE(keyboard_.StopEffectThreads());
  EXPECT_FALSE(keyboard_.EffectThreadsRunning());
}

// Watched, an animating zone's thread sleeps until the repaint has taken a frame, then passes at
// once; its own deadline is a frame or two away. Five frames taken in a row with a step due each
// time show within milliseconds; left to that deadline they would take a quarter of a second.
TEST_F(KeyboardLightingTest, WhileWatchedTheWaveStepsWhenTheRepaintHasTakenAFrame) {
  Plug();
  SetDeviceEffect(1);
  keyboard_.OnAttached();
  KeyboardLighting& effects = keyboard_.Effects();
  effects.SetWatched(true);
  const auto counter = [&] { return keyboard_.GetEffectState().step_counter; };
  uint32_t seen = counter();
  ASSERT_TRUE(WaitFor([&] { return counter() != seen; })) << "the wave runs";
  std::chrono::steady_clock::duration waited{};
  for (int frame = 0; frame < 5; ++frame) {
    std::this_thread::sleep_until(effects.MainNextDue() + milliseconds(1));  // a step is due
    seen = counter();
    const auto taken = std::chrono::steady_clock::now();
    effects.FrameTaken();
    ASSERT_TRUE(WaitFor([&] { return counter() != seen; }));
    waited += std::chrono::steady_clock::now() - taken;
  }
  EXPECT_LT(waited, milliseconds(120));
  EXPECT_TRUE(keyboard_.StopEffectThreads());
}

TEST_F(KeyboardLightingTest, ACustomEffectOfTheLightingFilesIsPlayed) {
  Plug();
  SetDeviceEffect(28);
  ReadKeyboard();
  EXPECT_EQ(keyboard_.Effects().EffectStepCount(), 0u) << "no lighting configuration";

  const QString folder = KeyboardFolder();
  QFile config(folder + config::kLightConfigFile);
  ASSERT_TRUE(config.open(QIODevice::WriteOnly));
  config.write(R"({"LightInfo":[[{"LightName":"Fire","Guid":"fire"}]]})");
  config.close();
  QFile steps(folder + "fire.light");
  ASSERT_TRUE(steps.open(QIODevice::WriteOnly));
  steps.write(R"({"LEDEffectList":[{"LEDREGMode":0,"LEDBrightness":24,"red":9,"Time":1000}]})");
  steps.close();

  keyboard_.ApplyLightSettings();
  keyboard_.LoadLists();
  EXPECT_EQ(keyboard_.GetLightLists().custom_effects, (std::vector<QString>{"Fire"}));
  ASSERT_EQ(keyboard_.Effects().EffectStepCount(), 1u);
  keyboard_.Effects().MainPass(std::chrono::steady_clock::now());
  EXPECT_EQ(keyboard_.GetKeyColour(10), MakeKeyColour(9, 0, 0, 255));
}

}  // namespace
}  // namespace zrv::devices
