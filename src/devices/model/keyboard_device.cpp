#include "devices/model/keyboard_device.h"

#include <QString>

#include <algorithm>

#include "config/json_file.h"
#include "config/json_value.h"
#include "config/macro_assignments.h"
#include "config/macro_store.h"
#include "config/profile_list.h"
#include "devices/model/device_timers.h"
#include "devices/model/keyboard_page_view.h"
#include "platform/debug_output.h"

namespace zrv::devices {
namespace {

constexpr size_t kInfoKeySlots = 5;
constexpr size_t kInfoMacroUnits = 6;
constexpr const char* kLightConfigFile = "orvex_light.config";
constexpr int64_t kSettingsAreaLimit = 0x10000;  // offsets are 16 bits

// The device's lighting records keep speed indices (0 the slowest step, 4 the fastest): the
// profile's "Speed" inverted, as the keyboard holds it.
config::LightStateRecord AsSpeedIndices(config::LightStateRecord record) {
  for (config::LightZoneFields* zone : {&record.main, &record.logo, &record.strip}) {
    zone->speed = SpeedByte(zone->speed);
  }
  return record;
}

}  // namespace

CHalveronKeyboardDevice::CHalveronKeyboardDevice() : CHalveronKindDevice(device::DeviceKind::kKeyboard) {}

CHalveronKeyboardDevice::~CHalveronKeyboardDevice() { StopNotificationThread(); }

// ---- lighting

void CHalveronKeyboardDevice::RenderLightFrame() {
  if (!LightControl()) return;
  PaintKeyButtons(KeyColours());
}

// ---- attach and sync

void CHalveronKeyboardDevice::OnAttached() {
  ReadDeviceTables();
  LoadSelectedProfile();
  ReadDeviceSettings();
  RefreshPage();
}

void CHalveronKeyboardDevice::OnDeviceSyncRequest() {
  // Taken before the reload, so that a change announced meanwhile waits for the next request.
  if (profile_changed_.exchange(false)) {
    ResetCurrentProfile();
    LoadProfile();
  }
  ReadDeviceSettings();
  RefreshPage();
}

void CHalveronKeyboardDevice::RefreshPage() {
  if (keyboard_view_ != nullptr) keyboard_view_->RefreshKeyboardPage();
}

// ---- profile

config::ProfileList CHalveronKeyboardDevice::Profiles() const {
  return config::ProfileList(QString::fromStdString(UserDataFolder()), QString::fromStdString(DefaultProfilePath()),
                             Kind());
}

void CHalveronKeyboardDevice::LoadSelectedProfile() {
  // The profile bar hands its profile over when the page is built and at every switch; a
  // keyboard without a page (or whose profile is gone from the list) takes the list's selection,
  // the list being made, with "profile1", when there is none yet.
  config::ProfileList list = Profiles();
  list.InitProfiles();
  if (ProfileId().empty() || list.PositionOf(QString::fromStdString(ProfileId())) < 0) {
    if (const QString id = list.SelectedId(); !id.isEmpty()) SetProfileId(id.toStdString());
  }
  LoadProfile();
}

void CHalveronKeyboardDevice::ResetCurrentProfile() {
  config::ProfileList list = Profiles();
  list.Load();
  // The profile in use, which is the bar's selection even when recording that selection failed.
  int position = list.PositionOf(QString::fromStdString(ProfileId()));
  if (position < 0) position = list.ValidSelection();
  const config::ProfileOutcome reset = list.ResetProfile(position);
  if (!reset.ok)
    platform::DebugPrintf("keyboard: the current profile could not be reset (%s)", reset.message.toStdString().c_str());
}

void CHalveronKeyboardDevice::LoadProfile() {
  const std::string path = ProfilePath();
  if (path.empty()) return;
  Profile().SetProfilePath(QString::fromStdString(path));
  Profile().SetLightConfigPath(QString::fromStdString(UserDataFolder() + kLightConfigFile));
  Profile().LoadDeviceSection(Profile().GetProfilePath());
  ApplyProfileLighting(ProfileLightForDevice());
  Profile().GetKeyboardSystem();
  Profile().GetLedList();
  key_list_ = Profile().GetKeyList();
}

config::LightStateRecord CHalveronKeyboardDevice::ProfileLightForDevice() {
  config::LightStateRecord light = Profile().ReadLightInfo();
  const config::LightStateRecord logo = Profile().ReadLogoLightInfo();
  const config::LightStateRecord strip = Profile().ReadStLightInfo();
  light.logo = logo.logo;
  light.logo_on = logo.logo_on;
  light.strip = strip.strip;
  return light;
}

void CHalveronKeyboardDevice::ApplyProfileLighting(const config::LightStateRecord& light) {
  const config::LightStateRecord record = AsSpeedIndices(light);
  Lighting().SetAllRecords(record);
  PrepareMainEffect();
}

void CHalveronKeyboardDevice::PrepareMainEffect() { ClearReactiveState(); }

void CHalveronKeyboardDevice::CheckAssignments() {
  config::MacroStore store(QString::fromStdString(UserDataFolder()));
  const int macros = static_cast<int>(store.LoadMacroList().size());
  if (!config::ResetMissingMacroAssignments(key_list_, macros)) return;
  Profile().SetKeyAssignments(key_list_);
  Profile().Save();
}

// ---- tables and settings read from the keyboard

void CHalveronKeyboardDevice::ReadDeviceTables() {
  if (!Connected()) return;
  device::DeviceLink& link = Links().Command();
  // Maps of an earlier attach must not survive: until the tables are read, no key is placed.
  Maps().Clear();
  default_keys_.clear();
  key_leds_.clear();

  link.Begin();
  // Only tables read whole are kept: the key table written later starts from the factory table, so
  // a half-read one would give every unread slot the code 0 and switch those keys off. Without the
  // information block there is no slot count to trust (the block may still hold an earlier keyboard's).
  // The sequence is closed in every case.
  const unsigned slot_count = link.ReadInfo(Links().Info()) == 1 ? Links().Info()[kInfoKeySlots] : 0;
  // More slots than a key table holds: nothing is read.
  if (slot_count == 0 || link.SetDataSize(slot_count * 3) != 1) {
    link.End();
    return;
  }
  std::vector<uint8_t> keys(size_t{slot_count} * 3, 0);
  std::vector<uint8_t> leds(slot_count, 0);
  const bool keys_read = link.ReadDefaultKeys(keys) == 1;
  // Without the LED table the keys are still placed, without LED indices.
  const bool leds_read = keys_read && link.ReadKeyLedMap(leds) == 1;
  link.End();
  if (!keys_read) return;
  default_keys_ = std::move(keys);
  if (leds_read) key_leds_ = std::move(leds);

  const KeyboardKeyMaps maps = BuildKeyboardKeyMaps(default_keys_, key_leds_, slot_count);
  Maps().Assign(maps);
  for (const std::string& line : KeyMapTraceLines(maps, slot_count)) platform::DebugOut(line);
}

KeyboardKeyMaps CHalveronKeyboardDevice::KeyMaps() const { return Maps().Get(); }

int CHalveronKeyboardDevice::ReadDeviceSettings() {
  previous_settings_ = settings_;
  Links().Command().SetPaused(false);
  if (!Connected()) return settings_.profile;
  // Only a record that was read whole is taken over: a failed read must not put zeros or stale
  // bytes into the profile.
  std::array<uint8_t, 1> active{};
  if (Links().Command().ReadSettings(active, 0) != 1) return settings_.profile;
  const uint8_t profile = active[0];
  KeyboardSettingsBytes record{};
  if (Links().Command().ReadSettings(record, uint32_t{profile} * kKeyboardSettingsSize) != 1) return settings_.profile;
  record[kSettingsProfileByte] = profile;
  record[kSettingsClearedByte] = 0;
  settings_record_ = record;
  settings_ = DecodeKeyboardSettings(settings_record_);

  ApplyProfileLighting(settings_.light);
  Profile().WriteLightInfo(settings_.light);
  Profile().WriteLogoLightInfo(settings_.light);
  Profile().WriteStLightInfo(settings_.light);
  config::KeyboardSystem system = Profile().GetKeyboardSystem();
  system.w_flag = settings_.w_flag;
  system.key6_flag = settings_.key6_flag;
  system.win_flag = settings_.win_flag;
  Profile().SetKeyboardSystem(system);
  Profile().Save();
  return profile;
}

// ---- writes

int CHalveronKeyboardDevice::WriteKeyAssignments(int profile_index, const std::vector<config::KeyRecord>& keys) {
  // Without the factory table (not read whole at attach) there is nothing sound to write.
  if (!Connected() || default_keys_.empty()) return 0;
  device::DeviceLink& link = Links().Command();
  link.ReadInfo(Links().Info());
  std::vector<uint8_t> table = default_keys_;
  const KeyboardKeyMaps maps = KeyMaps();
  const size_t count = std::min(keys.size(), kKeyboardMapSize);
  for (size_t j = 0; j < count; ++j) {
    const uint8_t slot = maps.slot[j];
    if (slot == kNoKeySlot || size_t{slot} * 3 + 2 >= table.size()) continue;
    const config::KeyHalf& assignment = keys[j].assignment;
    table[size_t{slot} * 3] = assignment.type;
    table[size_t{slot} * 3 + 1] = assignment.value;
    table[size_t{slot} * 3 + 2] = assignment.extra;
  }
  link.Begin();
  link.WriteKeys(table, profile_index);
  link.End();
  return 1;
}

int CHalveronKeyboardDevice::WriteKeyAssignmentList(int profile_index) {
  const std::vector<config::KeyRecord> keys = key_list_;
  return WriteKeyAssignments(profile_index, keys);
}

int CHalveronKeyboardDevice::WriteMacros() {
  config::MacroStore store(QString::fromStdString(UserDataFolder()));
  // No macros: no command at all, not even the information block is asked for.
  if (store.LoadMacroList().empty()) return 0;
  // The capacity must be the keyboard's current one.
  if (Connected()) Links().Command().ReadInfo(Links().Info());
  const config::MacroImage image = store.BuildMacroImage(Links().Info()[kInfoMacroUnits]);
  if (image.result != 0) return image.result;
  if (image.bytes.empty() || !Connected()) return 0;
  Links().Command().Begin();
  Links().Command().WriteMacros(image.bytes);
  Links().Command().End();
  return 0;
}

int CHalveronKeyboardDevice::WriteSettings(int profile_index, int first_byte, int third_value, int screen_width,
                                           int screen_height) {
  (void)third_value;
  (void)screen_width;
  (void)screen_height;
  // Offsets travel as 16 bits: a record beyond them would land, cut short, on the records at the
  // start of the area.
  if (profile_index < 0 || (int64_t{profile_index} + 1) * int64_t{kKeyboardSettingsSize} > kSettingsAreaLimit) return 0;
  config::LightStateRecord light = ProfileLightForDevice();
  light.custom_light_mode_group = static_cast<uint8_t>(Profile().GetCustomModeIndex());
  const KeyboardSettingsBytes record =
      EncodeKeyboardSettings(static_cast<uint8_t>(first_byte), light, Profile().GetKeyboardSystem());
  if (!Connected()) return 0;
  Links().Command().Begin();
  const int result =
      Links().Command().WriteSettings(record, static_cast<uint32_t>(profile_index) * kKeyboardSettingsSize);
  Links().Command().End();
  return result;
}

int CHalveronKeyboardDevice::ChangeKeyboardSystem(const config::KeyboardSystem& values, bool send) {
  Profile().SetKeyboardSystem(values);
  Profile().Save();
  return send ? WriteSettings(0, 0, 1, 0, 0) : 0;
}

void CHalveronKeyboardDevice::ResetKeyRepeat() {
  // The template is a file like any other: a document of another shape reads as one without values.
  const Json::Value document = config::ReadJsonFile(Profile().GetTemplatePath());
  const Json::Value& factory = config::Member(config::Element(config::Member(document, "Device"), 0), "SystemStages");
  config::KeyboardSystem system = Profile().GetKeyboardSystem();
  system.repeat = config::MemberWord(factory, "Repeat");
  system.repeat_delay = config::MemberWord(factory, "RepeatDelay");
  ChangeKeyboardSystem(system, false);
}

// ---- notifications (notification thread)

void CHalveronKeyboardDevice::OnNotification(uint16_t code) {
  if (code == kNotifySyncRequest || code == kNotifyProfileChanged) {
    if (code == kNotifyProfileChanged) profile_changed_.store(true);
    platform::DebugOut("接收到自动添加设备的同步信息要求");
    // Restarting the timer merges a quick series of notifications into one sync request.
    RequestTimer(kTimerSyncRequest, kSyncRequestDelayMs);
    return;
  }
  const bool down = code >= kNotifyKeyDown && code < kNotifyKeyDown + 0x100;
  const bool up = code >= kNotifyKeyUp && code < kNotifyKeyUp + 0x100;
  if (!down && !up) return;
  const int key = Maps().LogicalKeyOfSlot(code & 0xFFu);
  if (key >= 0) OnKeyEvent(key, down);
}

void CHalveronKeyboardDevice::OnKeyEvent(int logical_key, bool down) {
  if (logical_key < 0 || static_cast<size_t>(logical_key) >= held_.size()) return;
  std::lock_guard lock(Lighting().Lock());
  held_[static_cast<size_t>(logical_key)] = down;
  if (down) SetFadeValue(logical_key, 255);
}

bool CHalveronKeyboardDevice::KeyHeld(int key) const {
  if (key < 0 || static_cast<size_t>(key) >= held_.size()) return false;
  std::lock_guard lock(Lighting().Lock());
  return held_[static_cast<size_t>(key)];
}

}  // namespace zrv::devices
