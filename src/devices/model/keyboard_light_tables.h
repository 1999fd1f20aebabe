#pragma once
// The keyboard's lighting tables: where each logical key sits (the LED matrix and the position
// tables derived from it), and how often each on-screen effect steps.
//
// The matrix follows the keyboard's physical layout, not the order of the logical keys: 23 columns
// (main block 0-14, navigation keys 15-17, keypad 18-21, extra keys 22) by 6 rows, one key per
// cell, so that a wave over the columns travels over the keys as the user sees them.

#include <array>
#include <cstddef>
#include <cstdint>

#include "devices/model/effect_tables.h"

namespace zrv::devices {

inline constexpr size_t kMatrixColumns = 23;
inline constexpr size_t kMatrixRows = 6;
inline constexpr uint8_t kNoMatrixKey = 126;
inline constexpr size_t kKeyboardKeys = 126;  // logical keys 0-125
inline constexpr size_t kBandCount = 12;      // the 12 x 12 position table: 12 bands of 12 cells

// Logical key of each cell, row by row (kNoMatrixKey: no key).
using LedMatrix = std::array<std::array<uint8_t, kMatrixColumns>, kMatrixRows>;
extern const LedMatrix kLedMatrix;

// Band b holds the cells of matrix columns 2b and 2b + 1, top to bottom (kNoMatrixKey where the
// cell has no key or lies beyond the matrix).
using BandTable = std::array<std::array<uint8_t, 12>, kBandCount>;
extern const BandTable kBandTable;

// Where a logical key sits on the matrix; keys outside it have column and row 255.
struct KeyPlace {
  uint8_t column = 255;
  uint8_t row = 255;
};
const std::array<KeyPlace, kKeyboardKeys>& KeyPlaces();

// Per key, derived from its place: the distance from the middle of the matrix in half cells (keys
// are about as far apart across as down, so equal distances make circles), and the angle around
// the middle as a rainbow index (0-191). Keys outside the matrix get 0.
const std::array<uint8_t, kKeyboardKeys>& KeyDistances();
const std::array<uint8_t, kKeyboardKeys>& KeyAngles();

// Main-zone effect numbers with an animation of their own; every other number plays the steps of
// a custom effect.
enum KeyboardEffect : int {
  kEffectWave = 1,
  kEffectDiagonalWave = 2,
  kEffectCentreRainbow = 3,
  kEffectSpectrum = 4,
  kEffectBreathing = 5,
  kEffectStatic = 6,
  kEffectReactive = 7,
  kEffectReactiveColumns = 8,
  kEffectReactiveRow = 9,
  kEffectSnakes = 10,
  kEffectKeyRainbow = 11,
  kEffectScanBar = 12,
  kEffectReactiveRipple = 13,
  kEffectReactiveRainbow = 14,
  kEffectRain = 15,
  kEffectReactiveDark = 16,
  kEffectSpiral = 17,
  kEffectRipple = 18,
  kEffectCustom = 20,
  kEffectMeetingBars = 21,
  kEffectCycleBreathing = 22,
  kEffectCycleBlink = 23,
  kEffectOff = 24,
  kEffectBlink = 26,
  kEffectRows = 27,
};
// The first effect number past the built-in ones: custom effect i of the lighting configuration is
// main effect kFirstCustomEffect + i.
inline constexpr int kFirstCustomEffect = 28;
inline constexpr int kZoneEffects = 6;  // logo and strip: effects 0-5

// Whether the main zone has an animation of its own for `effect` (else the step player runs).
bool IsBuiltInMainEffect(int effect);

// The interval between two steps of `effect` for a zone whose speed index (the byte the keyboard
// holds, 4 - Speed) is `speed_index`; 0: a step on every pass. The pace follows the user's Speed:
// Speed 4 (speed index 0), the keyboard's fastest, is also the fastest on screen.
int MainStepIntervalMs(int effect, unsigned speed_index);
int ZoneStepIntervalMs(int effect, unsigned speed_index);
// The blink period of the keyboard's blink effects, in the same direction: 700 ms at Speed 4.
int KeyboardBlinkPeriodMs(unsigned speed_index);

}  // namespace zrv::devices
