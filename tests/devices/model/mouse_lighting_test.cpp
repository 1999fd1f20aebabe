// The mouse's lighting side without widgets: the settings record built from a profile, the wave and
// the ring on fixed frames, and a mouse behind its receiver that does not answer its probe.

#include <gtest/gtest.h>

#include "device/device_link.h"
#include "devices/model/effect_tables.h"
#include "devices/model/mouse_device.h"
#include "devices/model/mouse_effects.h"
#include "devices/model/mouse_settings_record.h"
#include "model_test_support.h"
#include "sim/fault.h"
#include "sim/wireless_mouse_model.h"

namespace zrv::devices {
namespace {

using device::LinkCommand;
constexpr uint8_t Cmd(LinkCommand command) { return static_cast<uint8_t>(command); }

TEST(MouseSettingsRecord, EveryByteComesFromTheProfileOrTheCaller) {
  MouseSettingsSource source;
  source.light = {10, 3, 1, 1, 1, 0x11, 0x22, 0x33};  // a custom effect, Speed 1
  source.system.report_rate = 0x0102;                 // only the low byte travels
  source.active_stage = 2;
  source.stages = {{1, 0, 8, 8, 255, 0, 0}, {0, 1, 0x1234, 0x0456, 0, 255, 0}, {1, 0, 520, 16, 0, 0, 255}};
  source.corrections = {{12, 24, 0, "off"}, {16, 32, 1, "Cloth pad"}, {8, 16, 1, "Hard pad"}};
  source.third_value = 1;
  source.screen_width = 2560;
  source.screen_height = 1440;

  MouseSettingsBytes expected{};
  expected[0] = 7;
  expected[1] = 0;  // effects from 9 on are the program's own: the mouse runs its first
  expected[2] = 3;
  expected[3] = 3;  // 4 - Speed
  expected[4] = 1;
  expected[5] = 1;
  expected[6] = 0x11;
  expected[7] = 0x22;
  expected[8] = 0x33;
  expected[11] = 0x02;
  expected[12] = 2;
  const std::array<std::array<uint8_t, 9>, 3> stages = {
      {{1, 0, 8, 0, 8, 0, 255, 0, 0}, {0, 1, 0x34, 0x12, 0x56, 0x04, 0, 255, 0}, {1, 0, 0x08, 0x02, 16, 0, 0, 0, 255}}};
  for (size_t i = 0; i < stages.size(); ++i)
    std::copy(stages[i].begin(), stages[i].end(), expected.begin() + 14 + 9 * i);
  expected[59] = 1;
  expected[60] = 0x00;
  expected[61] = 0x0A;
  expected[62] = 0xA0;
  expected[63] = 0x05;
  expected[64] = 32;  // the first correction in use
  expected[65] = 16;
  EXPECT_EQ(EncodeMouseSettings(7, source), expected) << "stages 3 and 4 are absent: all 0";

  source.light.select_item = 8;
  EXPECT_EQ(EncodeMouseSettings(0, source)[1], 8);
  source.corrections.clear();
  EXPECT_EQ(EncodeMouseSettings(0, source)[64], 0);
}

TEST(MouseEffects, TheWaveRunsOverTheLedsInTheDirectionOfFx) {
  LightingEngine::EffectState state;
  std::array<KeyColour, 6> leds{};
  const config::LightZoneFields rainbow = {0, 24, 0, 1, 1, 0, 0, 0};
  MouseWave(rainbow, state, leds);
  EXPECT_EQ(state.phase, 1);
  for (size_t i = 0; i < leds.size(); ++i) EXPECT_EQ(leds[i], MakeKeyColour(kRainbowTable[2 + 7 * i], 255)) << i;

  // One colour: the phase runs over 96 steps, downwards without Fx; the wave is the breathing
  // curve's rise from entry 16 and its fall.
  state = {};
  const config::LightZoneFields plain = {0, 12, 0, 0, 0, 0x10, 0x20, 0x30};
  MouseWave(plain, state, leds);
  EXPECT_EQ(state.phase, 95);
  const uint8_t intensity = kIntensityTable[12];
  EXPECT_EQ(leds[0], MakeKeyColour(0x10, 0x20, 0x30, static_cast<uint8_t>(intensity * kBreathingCurve[16] / 256)));
  EXPECT_EQ(leds[1], MakeKeyColour(0x10, 0x20, 0x30, static_cast<uint8_t>(intensity * kBreathingCurve[16 + 7] / 256)));
  EXPECT_EQ(KeyIntensity(leds[5]), static_cast<uint8_t>(intensity * kBreathingCurve[16 + 35] / 256));

  // Higher Speed, faster: speed index 0 is Speed 4.
  EXPECT_EQ(MouseStepIntervalMs(0), 7);
  EXPECT_EQ(MouseStepIntervalMs(4), 28);
  EXPECT_EQ(MouseScreenLevel(4), 24);
  EXPECT_EQ(MouseScreenLevel(9), 24);
}

TEST(MouseEffects, TheRingCarriesALightRoundTheMouseThatFadesBehindIt) {
  LightingEngine::EffectState state;
  std::array<KeyColour, 19> leds{};
  const config::LightZoneFields ring = {kMouseRing, 24, 0, 1, 0, 0xFF, 0, 0};
  MouseRing(ring, state, leds);
  const uint8_t first = FadedValue(255, true);
  EXPECT_EQ(leds[0], MakeKeyColour(0xFF, 0, 0, static_cast<uint8_t>(255 * first / 256)));
  EXPECT_EQ(leds[18], leds[0]) << "position 0 lights LEDs 0 and 18";
  EXPECT_EQ(KeyIntensity(leds[1]), 0);

  MouseRing(ring, state, leds);
  EXPECT_EQ(KeyIntensity(leds[1]), static_cast<uint8_t>(255 * first / 256)) << "the light moved on";
  EXPECT_EQ(leds[17], leds[1]);
  EXPECT_EQ(KeyIntensity(leds[0]), static_cast<uint8_t>(255 * FadedValue(first, true) / 256)) << "and left a trail";

  // Six LEDs: the positions whose LEDs the mouse lacks are skipped.
  std::array<KeyColour, 6> six{};
  state = {};
  MouseRing(ring, state, six);
  EXPECT_NE(KeyIntensity(six[0]), 0);
}

class WirelessMouseLighting : public testing::SimulatorTest {};

TEST_F(WirelessMouseLighting, AMouseThatDoesNotAnswerItsProbeIsSentNothing) {
  auto device = sim::WirelessMouseModel::Create();
  ASSERT_TRUE(device->Plug());
  CHalveronMouseDevice mouse;
  Connect(mouse, *device);
  mouse.CommandLink().SetSlow(true);
  device->SetReachable(false);
  device->Log().Clear();

  EXPECT_EQ(mouse.WriteSettings(0, 0, 1, 1920, 1080), 0);
  EXPECT_EQ(mouse.ReadDeviceSettings(), 0);
  EXPECT_EQ(device->Log().CountFrames(Cmd(LinkCommand::kBegin)), 0u);
  EXPECT_EQ(device->Log().CountFrames(Cmd(LinkCommand::kWriteSettings)), 0u);
  EXPECT_EQ(device->Log().CountFrames(Cmd(LinkCommand::kReadSettings)), 0u);
  EXPECT_EQ(device->Log().CountFrames(Cmd(LinkCommand::kProbe)), 2u) << "one probe each";

  // Awake again: each step of the write is probed first, and the record lands at profile x 128.
  device->SetReachable(true);
  device->Log().Clear();
  EXPECT_EQ(mouse.WriteSettings(1, 0, 1, 1920, 1080), 1);
  EXPECT_EQ(device->Log().CountFrames(Cmd(LinkCommand::kProbe)), 3u);
  EXPECT_EQ(device->SettingsRecord(1).at(60), 0x80) << "1920, low byte first";
}

}  // namespace
}  // namespace zrv::devices
