#include "devices/model/usb_device.h"

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
