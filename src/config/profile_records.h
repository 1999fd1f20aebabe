#pragma once
// The in-memory forms of a profile's settings. The device models turn them into their device
// records and commands; the profile data objects (basic_profiledata.h and its subclasses) convert
// them to and from the settings object of a profile file.

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace zrv::config {

// The eight fields that every lighting zone has, in the order of the light state record.
struct LightZoneFields {
  uint8_t select_item = 0;  // "SelectItem": the effect
  uint8_t light = 0;        // "Light": brightness level
  uint8_t speed = 0;        // "Speed" as the profile holds it (devices send 4 - Speed)
  uint8_t fx = 0;           // "Fx": direction
  uint8_t multi_color = 0;  // "MultiColor": 0 or 1
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  friend bool operator==(const LightZoneFields&, const LightZoneFields&) = default;
};

// The light state record: 31 one-byte fields holding "LightInfo", "LogoLightInfo" and
// "StLightInfo". Reading one of the three objects fills only that object's fields.
struct LightStateRecord {
  LightZoneFields main;                 // fields 1-8: "LightInfo"
  uint8_t main_unkept[3] = {0, 0, 0};   // fields 9-11: not kept in the profile
  uint8_t zzcc_led_mode = 0;            // field 12: "LightInfo"."ZZCCLedMode"
  LightZoneFields logo;                 // fields 13-20: "LogoLightInfo"
  uint8_t logo_unkept = 0;              // field 21: not kept in the profile
  uint8_t logo_on = 0;                  // field 22: "LogoLightInfo"."RGBdengoffon"
  LightZoneFields strip;                // fields 23-30: "StLightInfo"
  uint8_t custom_light_mode_group = 0;  // field 31: "LightInfo"."CustomLightModeGroupIndex"

  std::array<uint8_t, 31> ToBytes() const;
  static LightStateRecord FromBytes(const std::array<uint8_t, 31>& bytes);
  friend bool operator==(const LightStateRecord&, const LightStateRecord&) = default;
};
static_assert(sizeof(LightStateRecord) == 31, "the light state record is 31 bytes without padding");

// One element of "LightList": the settings of one LED zone.
struct LedRecord {
  uint8_t mode = 0;         // "LEDREGMode"
  uint8_t brightness = 0;   // "LEDBrightness"
  uint8_t speed = 0;        // "LEDSpeed"
  uint8_t direction = 0;    // "LEDDirection" (0 or 1)
  uint8_t multi_color = 0;  // "LEDMultiColor" (0 or 1)
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t unkept[2] = {0, 0};
  uint8_t present = 0;  // 1 when the element is an object; a null element overrides nothing
  friend bool operator==(const LedRecord&, const LedRecord&) = default;
};

// One half of a key record: a key number and a 3-byte assignment (type, value, extra).
struct KeyHalf {
  uint16_t key = 0;
  uint8_t type = 0;
  uint8_t value = 0;
  uint8_t extra = 0;

  // The number profiles keep: type << 16 | value << 8 | extra.
  uint32_t Code() const { return (uint32_t{type} << 16) | (uint32_t{value} << 8) | extra; }
  static KeyHalf FromCode(uint16_t key, uint32_t code) {
    return {key, static_cast<uint8_t>(code >> 16), static_cast<uint8_t>(code >> 8), static_cast<uint8_t>(code)};
  }
  friend bool operator==(const KeyHalf&, const KeyHalf&) = default;
};

// One element of "KeyList": the current ("Assignment") and the factory ("DefaultAssignment")
// assignment of key (or button) number `key`.
struct KeyRecord {
  KeyHalf assignment;
  KeyHalf default_assignment;
  friend bool operator==(const KeyRecord&, const KeyRecord&) = default;
};

// "SystemStages" of a keyboard.
struct KeyboardSystem {
  uint16_t repeat = 0;        // "Repeat"
  uint16_t repeat_delay = 0;  // "RepeatDelay"
  uint16_t key6_flag = 0;     // "Key6Flag"
  uint16_t polling_rate = 0;  // "PollingRate"
  uint16_t w_flag = 0;        // "WFlag"
  uint16_t win_flag = 0;      // "WinFlag"
  uint16_t scan_delay = 0;    // "ScanDelay"
  friend bool operator==(const KeyboardSystem&, const KeyboardSystem&) = default;
};

// One LED of a keyboard custom light mode; alpha 0 means the LED is off in that mode.
struct ModeColour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t alpha = 0;
  friend bool operator==(const ModeColour&, const ModeColour&) = default;
};

// One element of "DPIStages"."StageDPIs".
struct DpiStage {
  uint8_t enabled = 0;  // "StageActive"
  uint8_t xy = 0;       // "StageXY": separate X and Y resolution
  uint16_t dpi_x = 0;   // "StageDPIX" (a slider value; the device multiplies it by its DPI factor)
  uint16_t dpi_y = 0;   // "StageDPIY"
  uint8_t red = 0;      // "StageColorR"
  uint8_t green = 0;    // "StageColorG"
  uint8_t blue = 0;     // "StageColorB"
  friend bool operator==(const DpiStage&, const DpiStage&) = default;
};

// A mouse's system values: "SystemStages" and "ReportStages"."StageActive".
struct MouseSystem {
  uint16_t double_click_time = 0;   // "DoubleClickTime"
  uint16_t mouse_speed = 0;         // "MouseSpeed"
  uint16_t pointer_precision = 0;   // "PointerPrecision"
  uint16_t scroll_page = 0;         // "ScorllPage"
  uint16_t wheel_scroll_lines = 0;  // "WheelScorlllinse"
  uint16_t report_rate = 0;         // "ReportStages"."StageActive"
  friend bool operator==(const MouseSystem&, const MouseSystem&) = default;
};

// One element of "CorrectInfo".
struct Correction {
  uint8_t pix_thresh = 0;  // "CorrectPixThresh"
  uint8_t min_sq = 0;      // "CorrectMinSq"
  uint8_t select = 0;      // "CorrectSelect": non-zero marks the entry in use
  QString name;            // "CorrectName"
  friend bool operator==(const Correction&, const Correction&) = default;
};

// The entry in use: the first whose select is non-zero, or none.
const Correction* SelectedCorrection(const std::vector<Correction>& corrections);

// "SystemSetStages" of a headset.
struct HeadsetSettings {
  int32_t magic_enable = 0;            // "MagicEnable"
  int32_t magic_type = 0;              // "MagicType"
  int32_t eq_type = 0;                 // "EqType": preset 1-12, 13 a custom curve
  int32_t custom_eq_select_index = 0;  // "CustomEqSeletIndex"
  int32_t mic_in_select = 0;           // "MicInSelect"
  int32_t mic_in_value = 0;            // "MicInValue"
  int32_t mic_monitor_select = 0;      // "MicMoniterSelect"
  int32_t mic_monitor_value = 0;       // "MicMoniterValue"
  friend bool operator==(const HeadsetSettings&, const HeadsetSettings&) = default;
};

// An equaliser curve: the values of its bands 0-9.
inline constexpr int kEqBands = 10;
using EqCurve = std::vector<int32_t>;

}  // namespace zrv::config
