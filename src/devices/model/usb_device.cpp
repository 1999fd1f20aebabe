#include "devices/model/usb_device.h"

#include <QString>

#include <fstream>

#include "config/assignment_captions.h"
#include "config/basic_profiledata.h"
#include "config/key_table.h"
#include "config/macro_store.h"
#include "devices/model/function_mode.h"
#include "platform/debug_output.h"

namespace zrv::devices {
CHalveronUSBDevice::CHalveronUSBDevice()
    : notification_(links_.Notification(), [this](uint16_t code) { OnNotification(code); }) {}

CHalveronUSBDevice::~CHalveronUSBDevice() { StopNotificationThread(); }

CHalveronUSBDevice::CHalveronUSBDevice(device::DeviceKind kind) : CHalveronUSBDevice() {
  links_.Configure(kind);
  lighting_.SetKeyButtonCount(KeyButtonCount());
  profile_.SetKindName(KindName());
}

// ---- operations the kinds override

void CHalveronUSBDevice::RenderLightFrame() { lighting_.RenderFrame(view_); }

int CHalveronUSBDevice::WriteKeyAssignments(int profile_index, const std::vector<config::KeyRecord>& keys) {
  (void)profile_index;
  (void)keys;
  return 0;
}

int CHalveronUSBDevice::WriteKeyAssignmentList(int profile_index) {
  (void)profile_index;
  return 0;
}

int CHalveronUSBDevice::WriteSettings(int profile_index, int first_byte, int third_value, int screen_width,
                                      int screen_height) {
  (void)profile_index;
  (void)first_byte;
  (void)third_value;
  (void)screen_width;
  (void)screen_height;
  return 0;
}

// ---- key assignments

const std::vector<config::KeyRecord>& CHalveronUSBDevice::KeyList() const {
  static const std::vector<config::KeyRecord> kNone;
  return kNone;
}

void CHalveronUSBDevice::SetKeyList(std::vector<config::KeyRecord> keys) { (void)keys; }

bool CHalveronUSBDevice::GetKeyEntry(int key, config::KeyRecord& entry) const {
  const std::vector<config::KeyRecord>& keys = KeyList();
  if (key < 0 || static_cast<size_t>(key) >= keys.size()) return false;
  entry = keys[static_cast<size_t>(key)];
  return true;
}

bool CHalveronUSBDevice::StoreKeyEntry(int key, const config::KeyRecord& entry) {
  std::vector<config::KeyRecord> keys = KeyList();
  if (key < 0 || static_cast<size_t>(key) >= keys.size()) return false;
  keys[static_cast<size_t>(key)] = entry;
  if (config::CBasicProfiledata* data = ProfileData()) data->SetKeyAssignments(keys);
  SetKeyList(std::move(keys));
  return true;
}

std::vector<std::string> CHalveronUSBDevice::MacroNames() const {
  config::MacroStore store(QString::fromStdString(UserDataFolder()));
  std::vector<std::string> names;
  for (const QString& name : store.LoadMacroNames()) names.push_back(name.toStdString());
  return names;
}

void CHalveronUSBDevice::UpdateKeyCaption(int index, const std::string& caption) {
  if (view_ != nullptr) view_->ShowKeyCaption(index, caption);
}

void CHalveronUSBDevice::RefreshKeyCaptions() {
  const std::vector<std::string> macros = MacroNames();
  const std::vector<config::KeyRecord> keys = KeyList();  // a copy: the page may call back
  for (size_t i = 0; i < keys.size(); ++i) {
    const auto parts = config::AssignmentCaption(keys[i].assignment, Kind(), macros);
    if (!parts) continue;
    std::string caption;
    for (const config::CaptionPart& part : *parts) {
      if (!caption.empty()) caption += '+';
      caption += part.translate && view_ != nullptr ? view_->TranslateText(part.text) : part.text;
    }
    UpdateKeyCaption(static_cast<int>(i), caption);
  }
}

void CHalveronUSBDevice::SetSelectedKey(int index) {
  selected_key_ = index;
  if (key_set_view_ == nullptr) return;
  config::KeyRecord entry;
  if (!GetKeyEntry(index, entry)) {
    key_set_view_->SetEditorVisible(false);
    return;
  }
  key_set_view_->SetEditorVisible(true);
  key_set_view_->ShowKey(entry.assignment, entry.default_assignment);
}

void CHalveronUSBDevice::FillEditorMacroNames() {
  if (key_set_view_ != nullptr) key_set_view_->FillMacroNames(MacroNames());
}

bool CHalveronUSBDevice::ProfileReadable() const {
  const std::string path = ProfilePath();
  return !path.empty() && std::ifstream(path).good();
}

bool CHalveronUSBDevice::HoldsLastLeftButton(int key) const {
  const auto is_left = [](const config::KeyHalf& a) {
    return a.type == config::kKindMouseButton && a.value == 1 && a.extra == 0;
  };
  const std::vector<config::KeyRecord>& keys = KeyList();
  if (key < 0 || static_cast<size_t>(key) >= keys.size() || !is_left(keys[static_cast<size_t>(key)].assignment)) {
    return false;
  }
  for (size_t i = 0; i < keys.size(); ++i) {
    if (i != static_cast<size_t>(key) && is_left(keys[i].assignment)) return false;
  }
  return true;
}

CHalveronUSBDevice::ApplyResult CHalveronUSBDevice::ApplyKeyAssignments() {
  ApplyResult result;
  result.macros = WriteMacros();
  if (result.macros != 0) return result;
  result.keys = WriteKeyAssignmentList(0);
  SaveProfile();
  result.applied = result.keys >= 0;
  return result;
}

// ---- function mode

void CHalveronUSBDevice::SetFunctionMode(int mode) {
  function_mode_.store(mode);
  if (view_ != nullptr) view_->ShowFunctionPages(FunctionModePages(mode, Kind()));
}

// ---- lighting control

int CHalveronUSBDevice::SetLightControl(bool on) {
  lighting_.SetControl(on);
  if (on && Kind() == device::DeviceKind::kKeyboard) return links_.Command().StartLightSync();
  return 1;
}

// ---- notification thread

void CHalveronUSBDevice::SetTimerRequestHandler(TimerRequestHandler handler) {
  std::lock_guard lock(timer_request_mutex_);
  timer_request_ = std::move(handler);
}

void CHalveronUSBDevice::RequestTimer(int id, int delay_ms) {
  std::lock_guard lock(timer_request_mutex_);
  if (timer_request_) timer_request_(id, delay_ms);
}

bool CHalveronUSBDevice::StartNotificationThread() {
  if (notification_.Start() == NotificationThread::StartResult::kStarted) return true;
  platform::DebugPrintf("device %s: the previous notification thread has not ended; it listens again when it has",
                        KindName().c_str());
  return false;
}

bool CHalveronUSBDevice::StopNotificationThread() {
  notification_.RequestStop();
  // Cleared first so that the listener does not start another read on the closing link.
  links_.Notification().SetConnected(false);
  links_.Notification().Hid().Close();
  if (notification_.WaitForEnd(kNotificationStopWait)) return true;
  ReportNotificationOverrun();
  return false;
}

void CHalveronUSBDevice::OnNotificationLinkOpened() { StartNotificationThread(); }

void CHalveronUSBDevice::OnNotificationLinkClosing() { notification_.RequestStop(); }

void CHalveronUSBDevice::OnNotificationLinkClosed() {
  if (!notification_.WaitForEnd(kNotificationStopWait)) ReportNotificationOverrun();
}

void CHalveronUSBDevice::ReportNotificationOverrun() {
  platform::DebugPrintf("device %s: notification thread still running after %lld ms; kept until it ends",
                        KindName().c_str(), static_cast<long long>(kNotificationStopWait.count()));
}

}  // namespace zrv::devices
