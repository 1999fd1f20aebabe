#pragma once
// The mouse's settings record: written as 66 bytes, read as 71, profile p at offset p x 128 of the
// mouse's settings area (byte 0 of the area is the number of the active profile).
//
//   0      profile number                 14 + 9i  DPI stage i (0-4): enabled, XY flag,
//   1-8    effect, brightness, 4 - speed,          resolution X (low, high), resolution Y
//          Fx, multicolour, red, green,            (low, high), red, green, blue
//          blue                           59       third value (callers: 1)
//   9, 10  0                              60-61    screen width, low byte first
//   11     report rate option             62-63    screen height, low byte first
//   12     DPI stage in use               64, 65   minimum square, pixel threshold of the
//   13     0                                       correction in use
//
// Effects of 9 and above are written as 0: the mouse does not know them, they are the program's own
// custom effects. Speeds travel inverted (the byte holds 4 - Speed).

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "config/profile_records.h"

namespace zrv::devices {

inline constexpr size_t kMouseSettingsWriteSize = 66;
inline constexpr size_t kMouseSettingsReadSize = 71;
inline constexpr size_t kMouseSettingsStride = 128;
inline constexpr size_t kMouseRecordStages = 5;
inline constexpr uint8_t kMouseFirstUnknownEffect = 9;
using MouseSettingsBytes = std::array<uint8_t, kMouseSettingsWriteSize>;
using MouseSettingsReadBytes = std::array<uint8_t, kMouseSettingsReadSize>;

// What the record is built from: the profile's members and the caller's three values.
struct MouseSettingsSource {
  config::LightZoneFields light;  // "LightInfo", "Speed" as the profile holds it
  config::MouseSystem system;
  int active_stage = 0;
  std::vector<config::DpiStage> stages;  // only the first five go into the record
  std::vector<config::Correction> corrections;
  int third_value = 0;
  int screen_width = 0;
  int screen_height = 0;
};

MouseSettingsBytes EncodeMouseSettings(uint8_t first_byte, const MouseSettingsSource& source);

// What the program takes over from a record read from the mouse: the lighting ("Fx" is not in it:
// it stays 0) and the stage in use.
struct MouseSettingsRead {
  config::LightZoneFields light;
  uint8_t active_stage = 0;
};
MouseSettingsRead DecodeMouseSettings(std::span<const uint8_t, kMouseSettingsReadSize> record);

}  // namespace zrv::devices
