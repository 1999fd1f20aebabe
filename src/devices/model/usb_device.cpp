#include "devices/model/usb_device.h"

#include <QString>

#include <algorithm>

#include "config/basic_profiledata.h"
#include "devices/model/device_folders.h"
#include "devices/model/function_mode.h"
#include "platform/debug_output.h"

namespace zrv::devices {
namespace {

constexpr const char* kProfileExtension = ".Json";

}  // namespace

CHalveronUSBDevice::CHalveronUSBDevice()
    : notification_(links_.Notification(), [this](uint16_t code) { OnNotification(code); }) {}

CHalveronUSBDevice::~CHalveronUSBDevice() { StopNotificationThread(); }

void CHalveronUSBDevice::Configure(uint16_t kind) {
  links_.Configure(kind);
  lighting_.SetKeyButtonCount(KeyButtonCount());
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

// ---- function mode and display index

void CHalveronUSBDevice::SetFunctionMode(int mode) {
  function_mode_.store(mode);
  if (view_ != nullptr) view_->ShowFunctionPages(FunctionModePages(mode, Kind()));
}

void CHalveronUSBDevice::SetDisplayIndex(int index) {
  display_index_ = index;
  if (config::CBasicProfiledata* data = ProfileData(); data != nullptr) data->SetDeviceIndex(0);
}

// ---- lighting control and folders

int CHalveronUSBDevice::SetLightControl(bool on) {
  lighting_.SetControl(on);
  if (on && Kind() == device::kKindKeyboard) return links_.Command().StartLightSync();
  return 1;
}

std::string CHalveronUSBDevice::DefaultDataFolder() const { return devices::DefaultDataFolder(); }

std::string CHalveronUSBDevice::DefaultProfilePath() const { return devices::DefaultProfilePath(KindName()); }

std::string CHalveronUSBDevice::UserDataFolder() const { return devices::UserDataFolder(KindName()); }

// ---- profile

void CHalveronUSBDevice::SetProfileId(std::string id) {
  profile_id_ = std::move(id);
  config::CBasicProfiledata* data = ProfileData();
  if (data != nullptr && !profile_id_.empty()) data->SetProfilePath(QString::fromStdString(ProfilePath()));
}

std::string CHalveronUSBDevice::ProfilePath() const {
  if (profile_id_.empty()) return {};
  return UserDataFolder() + profile_id_ + kProfileExtension;
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
