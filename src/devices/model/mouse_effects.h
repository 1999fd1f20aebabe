#pragma once
// The mouse's on-screen effects: which step each effect number runs, the pace of the steps, and the
// two animations of the mouse's own (`MouseWave`, `MouseRing`). The steps are pure functions of the
// lighting record and the effect state, so that tests replay any frame; the shared effects
// (spectrum, breathing, static, blink, off) are the lighting engine's.

#include <array>
#include <cstdint>
#include <span>

#include "config/profile_records.h"
#include "devices/model/key_colour.h"
#include "devices/model/lighting_engine.h"
#include "devices/model/mouse_settings_record.h"

namespace zrv::devices {

enum MouseEffect : int {
  kMouseWave = 0,
  kMouseSpectrum = 1,
  kMouseBreathing = 2,
  kMouseStatic = 3,
  kMouseBlink = 4,
  kMouseRing = 5,
  kMouseCycleBreathing = 6,
  kMouseCycleBlink = 7,
  kMouseOff = 8,
  kMouseFirstCustomEffect = kMouseFirstUnknownEffect,  // and above: the steps of a ".light" file
};

inline constexpr size_t kMouseRingPositions = 9;
inline constexpr size_t kMouseWaveSteps = 96;
inline constexpr uint8_t kMouseHighestBrightness = 4;

// The interval between two steps at speed index `speed_index` (4 - Speed): 28, 23, 18, 13, 7 ms for
// Speed 0 to 4, so that a higher Speed is faster on screen as on the mouse.
int MouseStepIntervalMs(unsigned speed_index);
// The brightness the picture shows for the mouse's brightness 0-4: the level spread over the
// intensity table's 0-24, so that the brightest the mouse has is the brightest the screen shows.
uint8_t MouseScreenLevel(uint8_t brightness);
// The LEDs that ring position 0-8 lights (255: none).
const std::array<uint8_t, 3>& MouseRingLeds(size_t position);

// One step of the wave: the phase moves once (over 192 with multicolour, else over 96) in the
// direction of Fx, and LED i takes colour (phase + 1 + 7 i) of the rainbow, or the record's colour
// at that point of the wave curve. `zone.light` is a screen level (0-24).
void MouseWave(const config::LightZoneFields& zone, LightingEngine::EffectState& state, std::span<KeyColour> leds);

// One step of the ring: the light on the 23-entry ring moves one position in the direction of Fx;
// the nine positions round the mouse light while it passes and fade after it. A ring with no light
// on it gets one at position 0, so that the effect runs without key presses.
void MouseRing(const config::LightZoneFields& zone, LightingEngine::EffectState& state, std::span<KeyColour> leds);

}  // namespace zrv::devices
