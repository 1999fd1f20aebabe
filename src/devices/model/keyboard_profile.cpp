#include "devices/model/keyboard_profile.h"

#include <QString>

#include <algorithm>

#include "config/json_file.h"
#include "config/json_value.h"
#include "config/macro_assignments.h"
#include "config/macro_store.h"
#include "config/profile_members.h"
#include "platform/debug_output.h"

namespace zrv::devices {
namespace {

constexpr const char* kLightConfigFile = "orvex_light.config";

}  // namespace

std::string KeyboardProfile::IdToSelect(config::ProfileList& list, const std::string& current) {
  list.InitProfiles();
  if (!current.empty() && list.PositionOf(QString::fromStdString(current)) >= 0) return {};
  return list.SelectedId().toStdString();
}

void KeyboardProfile::ResetCurrent(config::ProfileList& list, const std::string& current) {
  list.Load();
  // The profile in use, which is the bar's selection even when recording that selection failed.
  int position = list.PositionOf(QString::fromStdString(current));
  if (position < 0) position = list.ValidSelection();
  const config::ProfileOutcome reset = list.ResetProfile(position);
  if (!reset.ok)
    platform::DebugPrintf("keyboard: the current profile could not be reset (%s)", reset.message.toStdString().c_str());
}

config::LightStateRecord KeyboardProfile::Load(const std::string& path, const std::string& user_folder) {
  data_.SetProfilePath(QString::fromStdString(path));
  data_.SetLightConfigPath(QString::fromStdString(user_folder + kLightConfigFile));
  data_.LoadDeviceSection(data_.GetProfilePath());
  ClampLighting();
  const config::LightStateRecord light = LightForDevice();
  data_.GetKeyboardSystem();
  data_.GetLedList();
  key_list_ = data_.GetKeyList();
  return light;
}

config::LightStateRecord KeyboardProfile::LightForDevice() {
  config::LightStateRecord light = data_.ReadLightInfo();
  const config::LightStateRecord logo = data_.ReadLogoLightInfo();
  const config::LightStateRecord strip = data_.ReadStLightInfo();
  light.logo = logo.logo;
  light.logo_on = logo.logo_on;
  light.strip = strip.strip;
  return light;
}

void KeyboardProfile::ClampLighting() {
  const auto clamp = [](config::LightZoneFields& zone) {
    zone.light = BrightnessInRange(zone.light);
    zone.speed = std::min(zone.speed, kSlowestSpeed);
    zone.fx = std::min<uint8_t>(zone.fx, 1);
    zone.multi_color = std::min<uint8_t>(zone.multi_color, 1);
  };
  config::LightStateRecord main = data_.ReadLightInfo();
  const config::LightStateRecord main_read = main;
  clamp(main.main);
  if (main != main_read) data_.WriteLightInfo(main);
  config::LightStateRecord logo = data_.ReadLogoLightInfo();
  const config::LightStateRecord logo_read = logo;
  clamp(logo.logo);
  logo.logo_on = std::min<uint8_t>(logo.logo_on, 1);
  if (logo != logo_read) data_.WriteLogoLightInfo(logo);
  config::LightStateRecord strip = data_.ReadStLightInfo();
  const config::LightStateRecord strip_read = strip;
  clamp(strip.strip);
  if (strip != strip_read) data_.WriteStLightInfo(strip);
}

KeyboardSettingsBytes KeyboardProfile::SettingsRecord(uint8_t first_byte) {
  config::LightStateRecord light = LightForDevice();
  // The custom group is that of "CustomLightMode".
  light.custom_light_mode_group = static_cast<uint8_t>(data_.GetCustomModeIndex());
  return EncodeKeyboardSettings(first_byte, light, data_.GetKeyboardSystem());
}

void KeyboardProfile::StoreSettings(const KeyboardSettings& settings) {
  data_.WriteLightInfo(settings.light);
  data_.WriteLogoLightInfo(settings.light);
  data_.WriteStLightInfo(settings.light);
  config::KeyboardSystem system = data_.GetKeyboardSystem();
  system.w_flag = settings.w_flag;
  system.key6_flag = settings.key6_flag;
  system.win_flag = settings.win_flag;
  data_.SetKeyboardSystem(system);
  data_.Save();
}

void KeyboardProfile::ChangeSystem(const config::KeyboardSystem& values) {
  data_.SetKeyboardSystem(values);
  data_.Save();
}

void KeyboardProfile::ResetKeyRepeat() {
  // The template is a file like any other: a document of another shape reads as one without values.
  const Json::Value document = config::ReadJsonFile(data_.GetTemplatePath());
  const config::KeyboardSystem factory = config::CKeyboardProfiledata::ReadKeyboardSystem(
      config::Element(config::Member(document, config::kDeviceMember), 0));
  config::KeyboardSystem system = data_.GetKeyboardSystem();
  system.repeat = factory.repeat;
  system.repeat_delay = factory.repeat_delay;
  ChangeSystem(system);
}

void KeyboardProfile::CheckAssignments(const std::string& user_folder) {
  config::MacroStore store(QString::fromStdString(user_folder));
  const int macros = static_cast<int>(store.LoadMacroList().size());
  if (!config::ResetMissingMacroAssignments(key_list_, macros)) return;
  data_.SetKeyAssignments(key_list_);
  data_.Save();
}

}  // namespace zrv::devices
