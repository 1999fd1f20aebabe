// Synchronised lighting: the five step types, when the thread paints, and that it ends on stop.
#include "app/light_sync.h"

#include <gtest/gtest.h>

#include <thread>

#include "app/worker_slots.h"
#include "devices/model/effect_tables.h"
#include "devices/model/keyboard_device.h"
#include "devices/model/mouse_device.h"
#include "platform/debug_output.h"

namespace zrv::app {
namespace {

using Clock = LightSyncStepper::Clock;
using devices::KeyBlue;
using devices::KeyColour;
using devices::KeyGreen;
using devices::KeyIntensity;
using devices::KeyRed;
using std::chrono::milliseconds;

LightSyncEffect Effect(LightSyncType type, bool multicolour = false) {
  LightSyncEffect effect;
  effect.type = type;
  effect.brightness = 24;  // intensity 255
  effect.speed = 4;        // 7 ms steps, 700 ms blink
  effect.multicolour = multicolour;
  effect.red = 10;
  effect.green = 20;
  effect.blue = 30;
  return effect;
}

TEST(LightSyncStep, StaticIsTheStoredColourAtTheLevelsIntensity) {
  LightSyncStepper stepper;
  LightSyncEffect effect = Effect(LightSyncType::kStatic);
  effect.brightness = 10;
  const KeyColour colour = stepper.Step(effect, Clock::now());
  EXPECT_EQ(colour, devices::MakeKeyColour(10, 20, 30, 101));
  EXPECT_EQ(colour & 0xFF, 10u) << "red in the low byte";
  EXPECT_EQ(colour >> 24, 101u) << "brightness in the high byte";
}

TEST(LightSyncStep, OffIsDark) {
  LightSyncStepper stepper;
  EXPECT_EQ(stepper.Step(Effect(LightSyncType::kOff), Clock::now()), 0u);
}

TEST(LightSyncStep, BreathingFollowsTheCurveAndChangesColourNearPhaseZero) {
  LightSyncStepper stepper;
  const LightSyncEffect plain = Effect(LightSyncType::kBreathing);
  KeyColour colour = stepper.Step(plain, Clock::now());
  EXPECT_EQ(stepper.phase(), 1);
  EXPECT_EQ(KeyIntensity(colour), 255 * devices::kBreathingCurve[1] / 256);
  EXPECT_EQ(KeyRed(colour), 10);
  for (int i = 0; i < 63; ++i) colour = stepper.Step(plain, Clock::now());
  EXPECT_EQ(stepper.phase(), 64);
  EXPECT_EQ(KeyIntensity(colour), 255 * 255 / 256) << "the top of the curve";

  // Several colours: the index moves by 16 while the new phase is below 2 (at 0 and 1).
  LightSyncStepper rainbow;
  const LightSyncEffect multi = Effect(LightSyncType::kBreathing, true);
  colour = rainbow.Step(multi, Clock::now());  // phase 1
  EXPECT_EQ(rainbow.colour_index(), 16);
  for (int i = 0; i < 126; ++i) rainbow.Step(multi, Clock::now());  // phase 127
  EXPECT_EQ(rainbow.colour_index(), 16);
  rainbow.Step(multi, Clock::now());           // phase 0
  colour = rainbow.Step(multi, Clock::now());  // phase 1
  EXPECT_EQ(rainbow.colour_index(), 48);
  const devices::Rgb expected = devices::kRainbowTable[48];
  EXPECT_EQ(KeyRed(colour), expected.red);
  EXPECT_EQ(KeyGreen(colour), expected.green);
  EXPECT_EQ(KeyBlue(colour), expected.blue);

  // Fx clear: the phase counts down from the end.
  LightSyncStepper down;
  LightSyncEffect backwards = plain;
  backwards.fx = false;
  down.Step(backwards, Clock::now());
  EXPECT_EQ(down.phase(), 127);
}

TEST(LightSyncStep, ColourCycleWalksTheRainbowForwards) {
  LightSyncStepper stepper;
  const LightSyncEffect effect = Effect(LightSyncType::kColourCycle);
  KeyColour colour = 0;
  for (int i = 0; i < 100; ++i) colour = stepper.Step(effect, Clock::now());
  EXPECT_EQ(stepper.spectrum_index(), 100);
  EXPECT_EQ(KeyGreen(colour), devices::kRainbowTable[100].green);
  EXPECT_EQ(KeyIntensity(colour), 255);
  for (int i = 0; i < 92; ++i) stepper.Step(effect, Clock::now());
  EXPECT_EQ(stepper.spectrum_index(), 0) << "wraps after 192 steps";
}

TEST(LightSyncStep, BlinkTogglesOncePerPeriodAndMovesItsColourBy14) {
  LightSyncStepper stepper;
  const LightSyncEffect effect = Effect(LightSyncType::kBlink, true);
  const Clock::time_point start = Clock::now();
  KeyColour colour = stepper.Step(effect, start);  // the first step toggles: on
  EXPECT_TRUE(stepper.blink_on());
  EXPECT_EQ(stepper.blink_colour_index(), 14);
  EXPECT_EQ(KeyRed(colour), devices::kRainbowTable[14].red);
  EXPECT_EQ(KeyIntensity(colour), 255);
  colour = stepper.Step(effect, start + milliseconds(699));
  EXPECT_TRUE(stepper.blink_on()) << "speed 4 blinks every 700 ms";
  colour = stepper.Step(effect, start + milliseconds(700));
  EXPECT_FALSE(stepper.blink_on());
  EXPECT_EQ(colour, 0u);
  EXPECT_EQ(stepper.blink_colour_index(), 28);

  // The stored colour without several colours; the index wraps to 0 at 192 or more.
  LightSyncStepper plain;
  LightSyncEffect single = Effect(LightSyncType::kBlink);
  single.speed = 0;
  Clock::time_point t = start;
  for (int i = 0; i < 14; ++i, t += milliseconds(2800)) plain.Step(single, t);
  EXPECT_EQ(plain.blink_colour_index(), 0) << "14 x 14 = 196: back to 0 at the 14th toggle";
  colour = plain.Step(single, t);
  EXPECT_TRUE(plain.blink_on());
  EXPECT_EQ(colour, devices::MakeKeyColour(10, 20, 30, 255));
}

TEST(LightSyncStep, StepTimesBySpeed) {
  EXPECT_EQ(LightSyncStepMs(0), 28);
  EXPECT_EQ(LightSyncStepMs(2), 18);
  EXPECT_EQ(LightSyncStepMs(4), 7);
  EXPECT_EQ(LightSyncStepMs(9), 28);
}

TEST(LightSyncThreadTest, PaintsEveryDeviceOnlyWhileSomeConnectedDeviceIsPaused) {
  devices::CHalveronMouseDevice mouse;
  devices::CHalveronKeyboardDevice keyboard;
  LightSyncThread sync({&mouse, &keyboard});
  EXPECT_FALSE(LightSyncActive({&mouse, &keyboard}));
  keyboard.CommandLink().SetPaused(true);
  EXPECT_FALSE(LightSyncActive({&mouse, &keyboard})) << "paused but not connected";
  keyboard.CommandLink().SetConnected(true);
  EXPECT_TRUE(LightSyncActive({&mouse, &keyboard}));

  LightSyncEffect effect = Effect(LightSyncType::kStatic);
  sync.SetEffect(effect);
  SlotThread thread("lighting synchronisation", [&sync](const platform::StopEvent& stop) { sync.Run(stop); });
  const KeyColour expected = devices::MakeKeyColour(10, 20, 30, 255);
  const auto painted = [&] {
    return keyboard.GetKeyColour(125) == expected && mouse.GetKeyColour(mouse.KeyButtonCount() - 1) == expected;
  };
  for (int i = 0; i < 2000 && !painted(); ++i) std::this_thread::sleep_for(milliseconds(5));
  EXPECT_TRUE(painted()) << "every key of every device, the disconnected mouse too";

  // Nothing paused any more: the thread only looks once a second.
  keyboard.CommandLink().SetPaused(false);
  std::this_thread::sleep_for(milliseconds(50));
  const uint64_t steps = sync.Steps();
  std::this_thread::sleep_for(milliseconds(300));
  EXPECT_EQ(sync.Steps(), steps);

  platform::DebugCapture capture;
  thread.RequestStop();
  // That the idle wait gives way to the stop at once is the stop event's own test; here: it ends.
  EXPECT_TRUE(thread.WaitForEnd(milliseconds(10000)));
  EXPECT_TRUE(capture.Contains("同步灯光线程设定退出"));
  keyboard.CommandLink().SetConnected(false);
}

}  // namespace
}  // namespace zrv::app
