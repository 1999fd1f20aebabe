#include "devices/model/mouse_device.h"

#include <QString>

#include <algorithm>

#include "config/macro_assignments.h"
#include "config/macro_store.h"
#include "devices/model/device_timers.h"
#include "devices/model/keyboard_profile.h"
#include "devices/model/keyboard_settings_record.h"
#include "devices/model/macro_write.h"
#include "devices/model/mouse_effects.h"
#include "platform/debug_output.h"

namespace zrv::devices {
namespace {

constexpr uint16_t kNotifySettingsChanged = 0x0401;
constexpr int kMouseSyncRequestDelayMs = 500;

}  // namespace

CHalveronMouseDevice::CHalveronMouseDevice() : CHalveronKindDevice(device::DeviceKind::kMouse) {
  Profile().SetBuiltInEffectCount(kMouseFirstCustomEffect);
}

CHalveronMouseDevice::~CHalveronMouseDevice() {
  StopNotificationThread();
  effects_.StopThread();
}

void CHalveronMouseDevice::OnAttached() {
  ReadDeviceTables();
  LoadSelectedProfile();
  RefreshPage();
  effects_.StartThread();
}

void CHalveronMouseDevice::OnDeviceSyncRequest() {
  ReadDeviceSettings();
  RefreshPage();
}

void CHalveronMouseDevice::RefreshPage() {
  RefreshKeyCaptions();
  ShowLightRecords();
}

void CHalveronMouseDevice::OnNotification(uint16_t code) {
  if (code != kNotifySettingsChanged) return;
  platform::DebugOut("接收到自动添加设备的同步信息要求");
  RequestTimer(kTimerSyncRequest, kMouseSyncRequestDelayMs);
}

// ---- profile

config::ProfileList CHalveronMouseDevice::Profiles() const {
  return config::ProfileList(QString::fromStdString(UserDataFolder()), QString::fromStdString(DefaultProfilePath()),
                             Kind());
}

void CHalveronMouseDevice::LoadSelectedProfile() {
  // As for the keyboard: the profile bar hands its profile over; without one, the list's selection.
  config::ProfileList list = Profiles();
  if (const std::string id = KeyboardProfile::IdToSelect(list, ProfileId()); !id.empty()) SetProfileId(id);
  LoadProfile();
}

void CHalveronMouseDevice::LoadProfile() {
  const std::string path = ProfilePath();
  if (path.empty()) return;
  Profile().SetProfilePath(QString::fromStdString(path));
  Profile().SetLightConfigPath(QString::fromStdString(UserDataFolder() + config::kLightConfigFile));
  Profile().LoadDeviceSection(Profile().GetProfilePath());
  key_list_ = Profile().GetKeyList();
  ClampLighting();
  ApplyLightSettings();
  LoadLists();
  // The DPI stages and the system values are taken into the profile object's lists now.
  Profile().GetDpiStages();
  Profile().GetMouseSystem();
}

void CHalveronMouseDevice::ClampLighting() {
  config::LightStateRecord light = Profile().ReadLightInfo();
  const config::LightStateRecord read = light;
  light.main.light = std::min(light.main.light, kMouseHighestBrightness);
  light.main.speed = std::min(light.main.speed, kSlowestSpeed);
  light.main.fx = std::min<uint8_t>(light.main.fx, 1);
  if (light != read) Profile().WriteLightInfo(light);
}

void CHalveronMouseDevice::SaveProfile() { Profile().Save(); }

void CHalveronMouseDevice::CheckAssignments() {
  config::MacroStore store(QString::fromStdString(UserDataFolder()));
  const int macro_count = static_cast<int>(store.LoadMacroList().size());
  if (!config::ResetMissingMacroAssignments(key_list_, macro_count)) return;
  Profile().SetKeyAssignments(key_list_);
  Profile().Save();
}

// ---- lighting

void CHalveronMouseDevice::ApplyLightSettings() {
  const config::LightZoneFields profile = Profile().ReadLightInfo().main;
  LightRecord record{};
  record.main = profile;
  record.main.speed = SpeedByte(profile.speed);
  record.main.light = MouseScreenLevel(profile.light);
  Lighting().SetMainRecord(record);
  if (record.main.select_item != applied_effect_) ClearReactiveState();
  applied_effect_ = record.main.select_item;
  effects_.SetLedCount(Profile().GetLedList().size());
  Profile().LoadLightConfig(Profile().GetLightConfigPath());
  effects_.SetEffectSteps(Profile().ReadCustomEffectSteps(GetDisplayIndex(), QString::fromStdString(UserDataFolder())));
  effects_.Restart();
}

void CHalveronMouseDevice::LoadLists() {
  const QString defaults = QString::fromStdString(DefaultDataFolder() + config::kDefaultLightFile);
  const QString configuration = QString::fromStdString(UserDataFolder() + config::kLightConfigFile);
  config::FillLightLists(light_lists_, config::ReadLightFile(defaults), config::ReadLightFile(configuration),
                         GetDisplayIndex(), false);
}

void CHalveronMouseDevice::ShowLightRecords() {
  if (LightView* view = GetLightView()) view->ShowLightRecords(Profile().ReadLightInfo(), {}, {});
}

int CHalveronMouseDevice::ReadDeviceSettings() {
  if (!settings_.Read(Links())) return 0;
  const MouseSettingsRead read = DecodeMouseSettings(settings_.Record());
  config::LightStateRecord light = Profile().ReadLightInfo();
  const uint8_t fx = light.main.fx;  // the record's direction byte is not taken over
  light.main = read.light;
  light.main.fx = fx;
  Profile().WriteLightInfo(light);
  Profile().SetActiveStage(read.active_stage);
  Profile().Save();
  ApplyLightSettings();
  return settings_.Profile();
}

// ---- writes

int CHalveronMouseDevice::WriteKeyAssignments(int profile_index, const std::vector<config::KeyRecord>& keys) {
  return key_table_.WriteAssignments(Links(), profile_index, keys);
}

int CHalveronMouseDevice::WriteMacros() { return WriteMacroImage(Links(), UserDataFolder()); }

MouseSettingsBytes CHalveronMouseDevice::SettingsRecord(int first_byte, int third_value, int screen_width,
                                                        int screen_height) {
  MouseSettingsSource source;
  source.light = Profile().ReadLightInfo().main;
  source.system = Profile().GetMouseSystem();
  source.active_stage = Profile().GetActiveStage();
  source.stages = Profile().GetDpiStages();
  source.corrections = Profile().GetCorrections();
  source.third_value = third_value;
  source.screen_width = screen_width;
  source.screen_height = screen_height;
  return EncodeMouseSettings(static_cast<uint8_t>(first_byte), source);
}

int CHalveronMouseDevice::WriteSettings(int profile_index, int first_byte, int third_value, int screen_width,
                                        int screen_height) {
  return MouseDeviceSettings::Write(Links(), profile_index,
                                    SettingsRecord(first_byte, third_value, screen_width, screen_height));
}

}  // namespace zrv::devices
