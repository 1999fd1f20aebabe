#pragma once
// The keyboard's settings record: 46 bytes per profile in the keyboard's settings area, profile p
// at offset p x 46 (byte 0 of the area is the number of the active profile, so record 0 starts
// with it).
//
//   0       profile number              19  W flag               27-34 logo: effect, brightness,
//   1-8     main: effect, brightness,   20  6-key flag                 4 - speed, Fx, multicolour,
//           4 - speed, Fx, multicolour, 21  Win flag                   red, green, blue
//           red, green, blue            22  polling rate index   36    logo lighting on
//   9-17    0                           25  scan delay index     37-44 strip: as the logo
//   18      main LED mode               26  custom lighting group
//   23, 24, 35, 45: 0
//
// Speeds travel inverted (the byte holds 4 - Speed, 0 the fastest). Speeds (0-4) and brightness
// levels (0-24) outside their ranges are brought into them both ways.
// Effects of 25 and above are written as 0: the keyboard does not know them, they are the
// program's own custom effects.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "config/profile_records.h"

namespace zrv::devices {

inline constexpr size_t kKeyboardSettingsSize = 46;
using KeyboardSettingsBytes = std::array<uint8_t, kKeyboardSettingsSize>;

// Byte positions of the fields the program reads or writes on their own.
inline constexpr size_t kSettingsProfileByte = 0;
inline constexpr size_t kSettingsClearedByte = 16;  // cleared in every record read
inline constexpr size_t kSettingsPollingRateByte = 22;
inline constexpr size_t kSettingsScanDelayByte = 25;

inline constexpr uint8_t kFirstUnknownEffect = 25;
inline constexpr uint8_t kSlowestSpeed = 4;

// The record decoded into the profile's terms: lighting with "Speed" as the profile holds it.
struct KeyboardSettings {
  uint8_t profile = 0;
  // Main ("LightInfo" with "ZZCCLedMode" and the custom group), logo ("LogoLightInfo" with its
  // on flag) and strip ("StLightInfo") lighting in one light state record.
  config::LightStateRecord light;
  uint8_t w_flag = 0;
  uint8_t key6_flag = 0;
  uint8_t win_flag = 0;
  // As the keyboard reports them; the profile keeps its own values (see ReadDeviceSettings).
  uint8_t polling_rate = 0;
  uint8_t scan_delay = 0;
  friend bool operator==(const KeyboardSettings&, const KeyboardSettings&) = default;
};

inline constexpr uint8_t kHighestBrightness = 24;

// The byte that carries a speed, and back. A value beyond 0-4 is taken as the nearest one in
// range, so that the subtraction never wraps round.
constexpr uint8_t SpeedByte(uint8_t speed) {
  return static_cast<uint8_t>(kSlowestSpeed - (speed < kSlowestSpeed ? speed : kSlowestSpeed));
}
constexpr uint8_t SpeedFromByte(uint8_t byte) { return SpeedByte(byte); }
// A brightness level beyond 0-24 is taken as 24.
constexpr uint8_t BrightnessInRange(uint8_t level) { return level < kHighestBrightness ? level : kHighestBrightness; }

KeyboardSettings DecodeKeyboardSettings(std::span<const uint8_t, kKeyboardSettingsSize> record);

// The record of a profile: `light` holds the three lighting objects as the profile reads them
// (custom_light_mode_group is the group of "CustomLightMode"), `system` its "SystemStages";
// byte 0 is `first_byte`.
KeyboardSettingsBytes EncodeKeyboardSettings(uint8_t first_byte, const config::LightStateRecord& light,
                                             const config::KeyboardSystem& system);

}  // namespace zrv::devices
