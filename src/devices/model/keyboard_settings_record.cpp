#include "devices/model/keyboard_settings_record.h"

namespace zrv::devices {
namespace {

// Where a lighting zone starts: effect, brightness, speed, Fx, multicolour, red, green, blue.
constexpr size_t kMainZone = 1;
constexpr size_t kLogoZone = 27;
constexpr size_t kStripZone = 37;
constexpr size_t kLedModeByte = 18;
constexpr size_t kWFlagByte = 19;
constexpr size_t kKey6FlagByte = 20;
constexpr size_t kWinFlagByte = 21;
constexpr size_t kCustomGroupByte = 26;
constexpr size_t kLogoOnByte = 36;

config::LightZoneFields DecodeZone(std::span<const uint8_t, kKeyboardSettingsSize> record, size_t at) {
  return {record[at],
          BrightnessInRange(record[at + 1]),
          SpeedFromByte(record[at + 2]),
          record[at + 3],
          record[at + 4],
          record[at + 5],
          record[at + 6],
          record[at + 7]};
}

void EncodeZone(KeyboardSettingsBytes& record, size_t at, const config::LightZoneFields& zone) {
  record[at] = zone.select_item >= kFirstUnknownEffect ? 0 : zone.select_item;
  record[at + 1] = BrightnessInRange(zone.light);
  record[at + 2] = SpeedByte(zone.speed);
  record[at + 3] = zone.fx;
  record[at + 4] = zone.multi_color;
  record[at + 5] = zone.red;
  record[at + 6] = zone.green;
  record[at + 7] = zone.blue;
}

}  // namespace

KeyboardSettings DecodeKeyboardSettings(std::span<const uint8_t, kKeyboardSettingsSize> record) {
  KeyboardSettings settings;
  settings.profile = record[kSettingsProfileByte];
  settings.light.main = DecodeZone(record, kMainZone);
  settings.light.zzcc_led_mode = record[kLedModeByte];
  settings.light.custom_light_mode_group = record[kCustomGroupByte];
  settings.light.logo = DecodeZone(record, kLogoZone);
  settings.light.logo_on = record[kLogoOnByte];
  settings.light.strip = DecodeZone(record, kStripZone);
  settings.w_flag = record[kWFlagByte];
  settings.key6_flag = record[kKey6FlagByte];
  settings.win_flag = record[kWinFlagByte];
  settings.polling_rate = record[kSettingsPollingRateByte];
  settings.scan_delay = record[kSettingsScanDelayByte];
  return settings;
}

KeyboardSettingsBytes EncodeKeyboardSettings(uint8_t first_byte, const config::LightStateRecord& light,
                                             const config::KeyboardSystem& system) {
  KeyboardSettingsBytes record{};
  record[kSettingsProfileByte] = first_byte;
  EncodeZone(record, kMainZone, light.main);
  record[kLedModeByte] = light.zzcc_led_mode;
  // The flags and indices are 16-bit values in the profile; the keyboard takes their low byte.
  record[kWFlagByte] = static_cast<uint8_t>(system.w_flag);
  record[kKey6FlagByte] = static_cast<uint8_t>(system.key6_flag);
  record[kWinFlagByte] = static_cast<uint8_t>(system.win_flag);
  record[kSettingsPollingRateByte] = static_cast<uint8_t>(system.polling_rate);
  record[kSettingsScanDelayByte] = static_cast<uint8_t>(system.scan_delay);
  record[kCustomGroupByte] = light.custom_light_mode_group;
  EncodeZone(record, kLogoZone, light.logo);
  record[kLogoOnByte] = light.logo_on;
  EncodeZone(record, kStripZone, light.strip);
  return record;
}

}  // namespace zrv::devices
