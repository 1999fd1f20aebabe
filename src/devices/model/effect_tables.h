#pragma once
// The constant tables of the on-screen lighting effects that every device kind shares.
//
// Effects work on brightness levels 0-24 (an index into the intensity table), phases (an index
// into the breathing curve or the rainbow) and colour indices (into the rainbow or the four fixed
// colours of the cycling effects).

#include <array>
#include <cstddef>
#include <cstdint>

namespace zrv::devices {

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr size_t kBrightnessLevels = 25;
inline constexpr size_t kBreathingSteps = 128;
inline constexpr size_t kRainbowSteps = 192;  // the rainbow has one more entry, equal to entry 0
inline constexpr size_t kCycleColourCount = 4;
inline constexpr size_t kSpeedIndices = 5;

// Intensity (0-255) of brightness level 0-24.
extern const std::array<uint8_t, kBrightnessLevels> kIntensityTable;
// Intensity factor by phase: rises from 0 to 255 over 64 steps and falls back over the next 64.
extern const std::array<uint8_t, kBreathingSteps> kBreathingCurve;
// Colour by index: red, yellow, green, cyan, blue, magenta and back to red in 6 x 32 steps.
extern const std::array<Rgb, kRainbowSteps + 1> kRainbowTable;
// The colours that the cycling effects step through.
extern const std::array<Rgb, kCycleColourCount> kCycleColours;
// Step threshold of speed index 0-4; a blink lasts 100 of them (2800 ms at index 0).
extern const std::array<int, kSpeedIndices> kBlinkThresholds;
inline constexpr int kBlinkPeriodFactorMs = 100;

// Table lookups that stay inside the tables whatever a profile or a device handed us.
inline uint8_t IntensityOfLevel(unsigned level) {
  return kIntensityTable[level < kBrightnessLevels ? level : kBrightnessLevels - 1];
}
// The fade rule of the reactive effects: values with bit 7 set lose 40, bit 6 30, bit 5 10, above
// 16 lose 8, others 1 (fast) or 4; never below 0.
uint8_t FadedValue(uint8_t value, bool fast);
inline int BlinkPeriodMs(unsigned speed_index) {
  return kBlinkPeriodFactorMs * kBlinkThresholds[speed_index < kSpeedIndices ? speed_index : kSpeedIndices - 1];
}

}  // namespace zrv::devices
