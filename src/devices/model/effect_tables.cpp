#include "devices/model/effect_tables.h"

namespace zrv::devices {
namespace {

// The first half of the breathing curve.
constexpr std::array<uint8_t, 64> kBreathingRise = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  12,  14,  16,  18,  20,  22,  24,  27,  30,  33,  36,
    39,  42,  45,  49,  53,  57,  61,  65,  69,  73,  77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129,
    134, 140, 146, 152, 158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

// The ramps of the rainbow's segments.
constexpr std::array<uint8_t, 32> kRise = {1,  3,  5,  7,   10,  14,  18,  22,  26,  32,  38,  44,  50,  57,  65,  73,
                                           81, 89, 99, 109, 119, 129, 140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
constexpr std::array<uint8_t, 32> kFall = {248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124, 114, 104, 94, 85, 77,
                                           69,  61,  53,  47,  41,  35,  29,  24,  20,  16,  12,  8,   6,   4,  2,  0};

constexpr std::array<uint8_t, kBreathingSteps> MakeBreathingCurve() {
  std::array<uint8_t, kBreathingSteps> curve{};
  for (size_t i = 0; i < kBreathingRise.size(); ++i) {
    curve[i] = kBreathingRise[i];
    curve[kBreathingSteps - 1 - i] = kBreathingRise[i];
  }
  return curve;
}

constexpr std::array<Rgb, kRainbowSteps + 1> MakeRainbow() {
  std::array<Rgb, kRainbowSteps + 1> table{};
  for (size_t j = 0; j < 32; ++j) {
    const uint8_t u = kRise[j];
    const uint8_t d = kFall[j];
    table[j] = {255, u, 0};
    table[32 + j] = {d, 255, 0};
    table[64 + j] = {0, 255, u};
    table[96 + j] = {0, d, 255};
    table[128 + j] = {u, 0, 255};
    table[160 + j] = {255, 0, d};
  }
  table[kRainbowSteps] = table[0];
  return table;
}

}  // namespace

const std::array<uint8_t, kBrightnessLevels> kIntensityTable = {
    0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 101, 112, 123, 134, 145, 156, 167, 178, 189, 200, 210, 220, 230, 240, 255};

const std::array<uint8_t, kBreathingSteps> kBreathingCurve = MakeBreathingCurve();

const std::array<Rgb, kRainbowSteps + 1> kRainbowTable = MakeRainbow();

const std::array<Rgb, kCycleColourCount> kCycleColours = {{{0, 255, 180}, {0, 255, 0}, {255, 255, 255}, {255, 0, 0}}};

const std::array<int, kSpeedIndices> kBlinkThresholds = {28, 23, 18, 13, 7};

uint8_t FadedValue(uint8_t value, bool fast) {
  unsigned drop = fast ? 1 : 4;
  if ((value & 0x80) != 0) {
    drop = 40;
  } else if ((value & 0x40) != 0) {
    drop = 30;
  } else if ((value & 0x20) != 0) {
    drop = 10;
  } else if (value > 16) {
    drop = 8;
  }
  return value > drop ? static_cast<uint8_t>(value - drop) : 0;
}

}  // namespace zrv::devices
