#include "devices/model/mouse_effects.h"

#include <algorithm>

#include "devices/model/effect_tables.h"
#include "devices/model/phase_stepper.h"

namespace zrv::devices {
namespace {

constexpr std::array<int, kSpeedIndices> kMouseIntervals = {28, 23, 18, 13, 7};  // by Speed
constexpr uint8_t kNoLed = 255;
constexpr unsigned kWaveSpread = 7;
constexpr unsigned kRingHueStep = 12;
constexpr size_t kWaveCurveStart = 16;  // the wave is the breathing curve's rise from 22 to 255

constexpr std::array<std::array<uint8_t, 3>, kMouseRingPositions> kRingLeds = {{
    {0, 18, 18},
    {1, 17, kNoLed},
    {2, 16, kNoLed},
    {3, 15, kNoLed},
    {4, 14, kNoLed},
    {5, 13, kNoLed},
    {6, 12, kNoLed},
    {7, 9, 11},
    {8, 9, 10},
}};

uint8_t WaveCurve(size_t index) {
  constexpr size_t half = kMouseWaveSteps / 2;
  const size_t i = index % kMouseWaveSteps;
  return kBreathingCurve[kWaveCurveStart + (i < half ? i : kMouseWaveSteps - 1 - i)];
}

uint8_t Scale(unsigned intensity, unsigned factor) { return static_cast<uint8_t>(intensity * factor / 256); }

}  // namespace

int MouseStepIntervalMs(unsigned speed_index) {
  return kMouseIntervals[kSpeedIndices - 1 - std::min<unsigned>(speed_index, kSpeedIndices - 1)];
}

uint8_t MouseScreenLevel(uint8_t brightness) {
  constexpr unsigned kLevelsPerStep = (kBrightnessLevels - 1) / kMouseHighestBrightness;  // 6
  return static_cast<uint8_t>(std::min<unsigned>(brightness, kMouseHighestBrightness) * kLevelsPerStep);
}

const std::array<uint8_t, 3>& MouseRingLeds(size_t position) {
  return kRingLeds[std::min(position, kMouseRingPositions - 1)];
}

void MouseWave(const config::LightZoneFields& zone, LightingEngine::EffectState& state, std::span<KeyColour> leds) {
  ++state.step_counter;
  const uint8_t intensity = IntensityOfLevel(zone.light);
  const bool rainbow = zone.multi_color != 0;
  StepPhase(state.phase, rainbow ? kRainbowSteps : kMouseWaveSteps, zone.fx != 0);
  for (size_t i = 0; i < leds.size(); ++i) {
    const size_t at = state.phase + 1 + kWaveSpread * i;
    leds[i] = rainbow ? MakeKeyColour(kRainbowTable[at % kRainbowSteps], intensity)
                      : MakeKeyColour(zone.red, zone.green, zone.blue, Scale(intensity, WaveCurve(at)));
  }
}

void MouseRing(const config::LightZoneFields& zone, LightingEngine::EffectState& state, std::span<KeyColour> leds) {
  ++state.step_counter;
  const bool forwards = zone.fx != 0;
  StepPhase(state.phase, kRainbowSteps, forwards);
  auto& ring = state.ring;
  if (std::all_of(ring.begin(), ring.end(), [](uint8_t value) { return value == 0; })) ring[0] = 1;
  // The ring's light marks the positions it is on (the keyboard's MarkPressedKeys), then moves on.
  for (size_t i = 0; i < kMouseRingPositions; ++i) {
    if (ring[i] != 0) state.fade[i] = 255;
  }
  if (forwards) {
    std::rotate(ring.rbegin(), ring.rbegin() + 1, ring.rend());
  } else {
    std::rotate(ring.begin(), ring.begin() + 1, ring.end());
  }

  const uint8_t intensity = IntensityOfLevel(zone.light);
  const bool fast = zone.select_item != 0;
  const size_t lead = forwards ? 0 : kMouseRingPositions - 1;
  for (size_t i = 0; i < kMouseRingPositions; ++i) {
    state.fade[i] = FadedValue(state.fade[i], fast);
    const std::array<uint8_t, 3>& position = kRingLeds[i];
    Rgb colour{zone.red, zone.green, zone.blue};
    if (zone.multi_color != 0) {
      state.phase = static_cast<uint8_t>((state.phase + kRingHueStep) % kRainbowSteps);
      colour = kRainbowTable[state.phase];
      // While light enters at the lead the colours hold still, so a passing light keeps its hue.
      if (state.fade[lead] != 0 && position[0] < leds.size()) {
        const KeyColour shown = leds[position[0]];
        colour = {KeyRed(shown), KeyGreen(shown), KeyBlue(shown)};
      }
    }
    const KeyColour lit = MakeKeyColour(colour, Scale(intensity, state.fade[i]));
    for (const uint8_t led : position) {
      if (led < leds.size()) leds[led] = lit;
    }
  }
}

}  // namespace zrv::devices
