#include "devices/model/keyboard_device.h"

#include <QString>

#include "config/assignment_captions.h"
#include "device/key_identity_table.h"

#include "devices/model/device_timers.h"
#include "devices/model/keyboard_page_view.h"
#include "devices/model/macro_write.h"
#include "platform/debug_output.h"

namespace zrv::devices {
namespace {

// The device's lighting records keep speed indices (0 the slowest step, 4 the fastest): the
// profile's "Speed" inverted, as the keyboard holds it.
config::LightStateRecord AsSpeedIndices(config::LightStateRecord record) {
  for (config::LightZoneFields* zone : {&record.main, &record.logo, &record.strip}) {
    zone->speed = SpeedByte(zone->speed);
  }
  return record;
}

}  // namespace

CHalveronKeyboardDevice::CHalveronKeyboardDevice() : CHalveronKindDevice(device::DeviceKind::kKeyboard) {
  Profile().SetBuiltInEffectCount(kFirstCustomEffect);
}

CHalveronKeyboardDevice::~CHalveronKeyboardDevice() {
  StopNotificationThread();
  effects_.StopThreads();
}

// ---- attach and sync

void CHalveronKeyboardDevice::OnAttached() {
  ReadDeviceTables();
  LoadSelectedProfile();
  ReadDeviceSettings();
  RefreshPage();
  effects_.StartThreads();
}

void CHalveronKeyboardDevice::OnDeviceSyncRequest() {
  // Taken before the reload, so that a change announced meanwhile waits for the next request.
  if (profile_changed_.exchange(false)) {
    config::ProfileList list = Profiles();
    KeyboardProfile::ResetCurrent(list, ProfileId());
    LoadProfile();
  }
  ReadDeviceSettings();
  RefreshPage();
}

void CHalveronKeyboardDevice::RefreshPage() {
  RefreshKeyCaptions();
  ShowLightRecords();
}

void CHalveronKeyboardDevice::ShowLightRecords() {
  if (LightView* view = GetLightView()) {
    view->ShowLightRecords(Profile().ReadLightInfo(), Profile().ReadLogoLightInfo(), Profile().ReadStLightInfo());
  }
}

// ---- key captions

void CHalveronKeyboardDevice::RefreshKeyCaptions() {
  CHalveronUSBDevice::RefreshKeyCaptions();
  if (keyboard_view_ != nullptr) keyboard_view_->RefreshKeyboardPage();
}

void CHalveronKeyboardDevice::UpdateKeyTip(int index, const std::string& caption) {
  if (keyboard_view_ == nullptr || index < 0 || index >= KeyButtonCount() ||
      static_cast<size_t>(index) >= device::kKeyIdentityTable.size()) {
    return;
  }
  const device::KeyCode own = device::kKeyIdentityTable[static_cast<size_t>(index)];
  const std::string name_id = config::KeyNameCaption(own.type, own.first, own.second);
  DevicePageView* page = PageView();
  const auto translate = [page](const std::string& id) { return page != nullptr ? page->TranslateText(id) : id; };
  const std::string name = name_id.empty() ? std::string() : translate(name_id);
  const bool own_function =
      QString::fromStdString(name).compare(QString::fromStdString(caption), Qt::CaseInsensitive) == 0;
  keyboard_view_->SetKeyTip(index, name, name + translate("Key_Set") + caption, own_function);
}

// ---- profile

config::ProfileList CHalveronKeyboardDevice::Profiles() const {
  return config::ProfileList(QString::fromStdString(UserDataFolder()), QString::fromStdString(DefaultProfilePath()),
                             Kind());
}

void CHalveronKeyboardDevice::LoadSelectedProfile() {
  // The profile bar hands its profile over when the page is built and at every switch; a
  // keyboard without a page (or whose profile is gone from the list) takes the list's selection.
  config::ProfileList list = Profiles();
  if (const std::string id = KeyboardProfile::IdToSelect(list, ProfileId()); !id.empty()) SetProfileId(id);
  LoadProfile();
}

void CHalveronKeyboardDevice::LoadProfile() {
  const std::string path = ProfilePath();
  if (path.empty()) return;
  ApplyProfileLighting(keyboard_profile_.Load(path, UserDataFolder()));
  LoadLists();
}

void CHalveronKeyboardDevice::ApplyProfileLighting(const config::LightStateRecord& light) {
  const LightRecord record = AsSpeedIndices(light);
  Lighting().SetAllRecords(record);
  LoadCustomColours();
  Profile().LoadLightConfig(Profile().GetLightConfigPath());
  effects_.SetEffectSteps(Profile().ReadCustomEffectSteps(GetDisplayIndex(), QString::fromStdString(UserDataFolder())));
  effects_.Prepare(record.main.select_item);
}

void CHalveronKeyboardDevice::CheckAssignments() { keyboard_profile_.CheckAssignments(UserDataFolder()); }

// ---- settings read from the keyboard

int CHalveronKeyboardDevice::ReadDeviceSettings() {
  if (!settings_.Read(Links())) return settings_.Decoded().profile;
  keyboard_profile_.StoreSettings(settings_.Decoded());
  ApplyProfileLighting(settings_.Decoded().light);
  // The custom effect shows what the keyboard holds, not what the profile last had.
  if (settings_.Decoded().light.main.select_item == kEffectCustom) ReadCustomLight();
  return settings_.Decoded().profile;
}

// ---- writes

int CHalveronKeyboardDevice::WriteKeyAssignments(int profile_index, const std::vector<config::KeyRecord>& keys) {
  return key_table_.WriteAssignments(Links(), Maps(), profile_index, keys);
}

int CHalveronKeyboardDevice::WriteKeyAssignmentList(int profile_index) {
  const std::vector<config::KeyRecord> keys = KeyList();
  return WriteKeyAssignments(profile_index, keys);
}

int CHalveronKeyboardDevice::WriteMacros() { return WriteMacroImage(Links(), UserDataFolder()); }

int CHalveronKeyboardDevice::WriteSettings(int profile_index, int first_byte, int third_value, int screen_width,
                                           int screen_height) {
  (void)third_value;
  (void)screen_width;
  (void)screen_height;
  if (!KeyboardDeviceSettings::RecordFits(profile_index)) return 0;
  const KeyboardSettingsBytes record = keyboard_profile_.SettingsRecord(static_cast<uint8_t>(first_byte));
  return KeyboardDeviceSettings::Write(Links(), profile_index, record);
}

int CHalveronKeyboardDevice::ChangeKeyboardSystem(const config::KeyboardSystem& values, bool send) {
  keyboard_profile_.ChangeSystem(values);
  return send ? WriteSettings(0, 0, 1, 0, 0) : 0;
}

void CHalveronKeyboardDevice::ResetKeyRepeat() { keyboard_profile_.ResetKeyRepeat(); }

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

void CHalveronKeyboardDevice::OnKeyEvent(int logical_key, bool down) { effects_.OnKey(logical_key, down); }

bool CHalveronKeyboardDevice::KeyHeld(int key) const { return effects_.KeyHeld(key); }

}  // namespace zrv::devices
