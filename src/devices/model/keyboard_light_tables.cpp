#include "devices/model/keyboard_light_tables.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zrv::devices {
namespace {

constexpr uint8_t N = kNoMatrixKey;

// The middle of the matrix, for distances and angles.
constexpr double kMiddleColumn = 11.0;
constexpr double kMiddleRow = 2.5;

// Step intervals by the user's Speed 0-4 (slowest to fastest).
constexpr std::array<int, kSpeedIndices> kRegularIntervals = {6, 5, 4, 3, 2};
constexpr std::array<int, kSpeedIndices> kReactiveDarkIntervals = {4, 4, 4, 4, 4};
constexpr std::array<int, kSpeedIndices> kRippleIntervals = {5, 5, 5, 5, 5};
constexpr std::array<int, kSpeedIndices> kSlowIntervals = {28, 23, 18, 13, 0};

unsigned UserSpeed(unsigned speed_index) {
  return kSpeedIndices - 1 - std::min<unsigned>(speed_index, kSpeedIndices - 1);
}

constexpr BandTable MakeBands(const LedMatrix& matrix) {
  BandTable bands{};
  for (size_t b = 0; b < kBandCount; ++b) {
    for (size_t i = 0; i < 12; ++i) {
      const size_t column = 2 * b + i / kMatrixRows;
      bands[b][i] = column < kMatrixColumns ? matrix[i % kMatrixRows][column] : N;
    }
  }
  return bands;
}

}  // namespace

// clang-format off
const LedMatrix kLedMatrix = {{
    {  0,   N,   1,   2,   3,   4,   5,   6,   7,   8,   9,  10,  11,  12,   N,  13,  14,  15,  16,  17,  18,  19,  20},
    { 21,  22,  23,  24,  25,  26,  27,  28,  29,  30,  31,  32,  33,  34,   N,  35,  36,  37,  38,  39,  40,  41, 120},
    { 42,  43,  44,  45,  46,  47,  48,  49,  50,  51,  52,  53,  54,  55,   N,  56,  57,  58,  59,  60,  61, 119, 121},
    { 63,  64,  65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  62,  75,  79,  80,  81,  82,  76,  77,  78,  83, 122},
    { 84, 102,  85,  86,  87,  88,  89,  90,  91,  92,  93,  94, 100,  95, 101, 103,  96, 104,  97,  98,  99, 118, 123},
    {105, 106, 107,   N,   N,   N, 108,   N,   N,   N, 109, 110, 111, 112,   N, 113, 114, 115, 116,   N, 117, 125, 124},
}};
// clang-format on

const BandTable kBandTable = MakeBands(kLedMatrix);

const std::array<KeyPlace, kKeyboardKeys>& KeyPlaces() {
  static const std::array<KeyPlace, kKeyboardKeys> places = [] {
    std::array<KeyPlace, kKeyboardKeys> out{};
    for (size_t r = 0; r < kMatrixRows; ++r) {
      for (size_t c = 0; c < kMatrixColumns; ++c) {
        const uint8_t key = kLedMatrix[r][c];
        if (key < kKeyboardKeys) out[key] = {static_cast<uint8_t>(c), static_cast<uint8_t>(r)};
      }
    }
    return out;
  }();
  return places;
}

const std::array<uint8_t, kKeyboardKeys>& KeyDistances() {
  static const std::array<uint8_t, kKeyboardKeys> distances = [] {
    std::array<uint8_t, kKeyboardKeys> out{};
    for (size_t k = 0; k < kKeyboardKeys; ++k) {
      const KeyPlace place = KeyPlaces()[k];
      if (place.column == 255) continue;
      const double d = std::hypot(place.column - kMiddleColumn, place.row - kMiddleRow);
      out[k] = static_cast<uint8_t>(std::lround(2 * d));
    }
    return out;
  }();
  return distances;
}

const std::array<uint8_t, kKeyboardKeys>& KeyAngles() {
  static const std::array<uint8_t, kKeyboardKeys> angles = [] {
    std::array<uint8_t, kKeyboardKeys> out{};
    for (size_t k = 0; k < kKeyboardKeys; ++k) {
      const KeyPlace place = KeyPlaces()[k];
      if (place.column == 255) continue;
      // Rows are stretched so that the six rows span about as much angle as the width does.
      const double angle = std::atan2((place.row - kMiddleRow) * 3.0, place.column - kMiddleColumn);
      const double turn = (angle + std::numbers::pi) / (2 * std::numbers::pi);
      out[k] = static_cast<uint8_t>(std::lround(turn * kRainbowSteps) % kRainbowSteps);
    }
    return out;
  }();
  return angles;
}

bool IsBuiltInMainEffect(int effect) {
  return effect >= 1 && effect < kFirstCustomEffect && effect != 19 && effect != 25;
}

int MainStepIntervalMs(int effect, unsigned speed_index) {
  const unsigned speed = UserSpeed(speed_index);
  switch (effect) {
    case kEffectReactiveDark: return kReactiveDarkIntervals[speed];
    case kEffectRipple: return kRippleIntervals[speed];
    case kEffectCycleBlink:
    case kEffectBlink:
    case kEffectRows: return kSlowIntervals[speed];
    default: return IsBuiltInMainEffect(effect) ? kRegularIntervals[speed] : 0;
  }
}

int ZoneStepIntervalMs(int effect, unsigned speed_index) {
  if (effect < 0 || effect >= kZoneEffects) return 0;
  return kRegularIntervals[UserSpeed(speed_index)];
}

int KeyboardBlinkPeriodMs(unsigned speed_index) { return BlinkPeriodMs(UserSpeed(speed_index)); }

}  // namespace zrv::devices
