#pragma once
// The keyboard's on-screen effect steps. Each step is a pure function of the zone's lighting record,
// the constant tables and the effect state: one call advances the animation by one step and writes
// the colour vector, so the threads only decide when to call and tests replay any frame.
//
// The main zone keeps its phase, counters, colour index, fade values and ring in the lighting
// engine's EffectState (shared with the base effects and fed by the key notifications) and the rest
// of its state in KeyboardEffectExtras. The logo and the strip keep a ZoneEffectState each.

#include <array>
#include <cstdint>
#include <span>

#include "config/profile_records.h"
#include "devices/model/key_colour.h"
#include "devices/model/keyboard_light_tables.h"
#include "devices/model/lighting_engine.h"

namespace zrv::devices {

inline constexpr size_t kMaxRipples = 8;

// An expanding ring of light started by a key press, on the matrix, radius in half cells.
struct Ripple {
  uint8_t column = 0;
  uint8_t row = 0;
  uint8_t radius = 0;
  uint8_t hue = 0;
  bool active = false;
};

struct KeyboardEffectExtras {
  std::array<bool, kKeyboardKeys> held{};    // reported down by the keyboard
  std::array<bool, kKeyboardKeys> fresh{};   // went down since the last main step
  std::array<uint8_t, kKeyboardKeys> hue{};  // per-key colour index (rainbow)
  // Light travelling over the columns: the ring of the effect state carries what moves to higher
  // columns, `left` what moves to lower ones; the row variant keeps both per row.
  std::array<uint8_t, kMatrixColumns> left{};
  std::array<std::array<uint8_t, kMatrixColumns>, kMatrixRows> row_right{};
  std::array<std::array<uint8_t, kMatrixColumns>, kMatrixRows> row_left{};
  std::array<Ripple, kMaxRipples> ripples{};
  std::array<uint8_t, kMatrixColumns> drops{};  // rain: row of the column's drop + 1, 0 none
  uint32_t seed = 1;                            // rain: where the next drop falls
  uint16_t position = 0;                        // snakes, bars, rows: where the animation is
};

struct ZoneEffectState {
  uint8_t phase = 0;
  uint8_t colour_index = 0;
  uint16_t counter = 0;
};

// Sets the effect state up for `effect`: phases, counters and the animation state from the start
// (key presses held stay held). Some effects prepare more (per-key colours of the key rainbow).
void PrepareMainEffect(int effect, LightingEngine::EffectState& state, KeyboardEffectExtras& extras);

// One step of main effect `effect`, written into `keys` (a colour per logical key; entries beyond
// the keyboard's keys are left alone). `custom` holds the colours of the custom group by logical
// key. False, with nothing changed, for the effects the base steps or the step player run.
bool StepMainEffect(int effect, const config::LightZoneFields& zone, std::span<const Rgb> custom,
                    LightingEngine::EffectState& state, KeyboardEffectExtras& extras, std::span<KeyColour> keys);

// One step of logo or strip effect 0-5 (wave, spectrum, breathing, static, blink, off) over the
// zone's positions, left to right. Other effect numbers change nothing.
void StepZoneEffect(int effect, const config::LightZoneFields& zone, ZoneEffectState& state,
                    std::span<KeyColour> lights);
// Whether a step of zone effect `effect` can change the lights: static and off fill them the same
// way each time, and other numbers change nothing.
bool ZoneEffectAnimates(int effect);

}  // namespace zrv::devices
