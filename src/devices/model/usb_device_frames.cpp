// Light frames and the timer operations of CHalveronUSBDevice.

#include <algorithm>

#include "devices/model/usb_device.h"

namespace zrv::devices {

// Paints every key button with its entry of the key colour vector, then sends the device the
// frame of red, green and blue scaled by each entry's intensity (3 bytes per key button, button
// 126 left out). A link behind a wireless receiver gets no frames.
//
// After a frame that failed the device is given 200 ms before the next one. That pause is not a
// sleep: this runs on the user-interface thread from the repaint timer, so instead the frames of
// the next 200 ms are painted but not sent. Nothing blocks, and a shut-down never waits for it.
void CHalveronUSBDevice::RenderLightFrame() {
  if (!LightControl()) return;
  const std::vector<KeyColour> colours = KeyColours();
  PaintKeyButtons(colours);
  SendKeyFrame(colours);
}

void CHalveronUSBDevice::PaintKeyButtons(const std::vector<KeyColour>& colours) {
  if (view_ == nullptr) return;
  for (size_t i = 0; i < colours.size(); ++i) {
    view_->PaintKey(static_cast<int>(i), KeyTint(colours[i]), KeyIntensity(colours[i]));
  }
}

int CHalveronUSBDevice::SendKeyFrame(const std::vector<KeyColour>& colours) {
  std::array<uint8_t, kLightFrameSize> frame{};
  const size_t buttons = std::min(colours.size(), kLightFrameSize / 3);
  for (size_t i = 0; i < buttons; ++i) {
    if (i == kFrameSkippedButton) continue;
    const KeyColour c = colours[i];
    const unsigned intensity = KeyIntensity(c);
    frame[3 * i] = static_cast<uint8_t>(KeyRed(c) * intensity / 256);
    frame[3 * i + 1] = static_cast<uint8_t>(KeyGreen(c) * intensity / 256);
    frame[3 * i + 2] = static_cast<uint8_t>(KeyBlue(c) * intensity / 256);
  }
  if (buttons == 0 || links_.Command().Slow() || LightFramePaused()) return 0;
  const int result = links_.Command().SendLightFrame(std::span<const uint8_t>(frame.data(), buttons * 3));
  if (result != 1) {
    frame_pause_until_.store((Now() + kLightFramePause).time_since_epoch().count());
  }
  return result;
}

bool CHalveronUSBDevice::LightFramePaused() const {
  return Now().time_since_epoch().count() < frame_pause_until_.load();
}

// ---- timers

TimerOutcome CHalveronUSBDevice::RunTimer(int id, bool item_selected) {
  switch (id) {
    case kTimerRepaint: return RunRepaintTimer(item_selected);
    case kTimerAttached: return RunAttachTimer();
    case kTimerSyncRequest: return RunSyncRequestTimer();
    case kTimerReserved1:
    case kTimerReserved2: return RunReservedTimer(id);
    case kTimerPower: return RunPowerTimer();
    default: return {};
  }
}

TimerOutcome CHalveronUSBDevice::RunAttachTimer() {
  OnAttached();
  TimerOutcome outcome;
  outcome.start.push_back({kTimerRepaint, kFirstRepaintDelayMs});
  if (Power() != 0 && Connected()) outcome.start.push_back({kTimerPower, kPowerPeriodMs});
  return outcome;
}

TimerOutcome CHalveronUSBDevice::RunRepaintTimer(bool item_selected) {
  RenderLightFrame();
  TimerOutcome outcome;
  outcome.redraw_page = item_selected && PageRedraw();
  // Removal clears the connected flag: the cycle ends here until the next attach starts it.
  if (Connected()) outcome.start.push_back({kTimerRepaint, kRepaintPeriodMs});
  return outcome;
}

TimerOutcome CHalveronUSBDevice::RunSyncRequestTimer() {
  OnDeviceSyncRequest();
  return {};
}

// No kind uses the reserved timers yet: they run nothing and arm nothing.
TimerOutcome CHalveronUSBDevice::RunReservedTimer(int id) {
  (void)id;
  return {};
}

TimerOutcome CHalveronUSBDevice::RunPowerTimer() {
  TimerOutcome outcome;
  if (Connected() && Power() != 0) outcome.start.push_back({kTimerPower, kPowerPeriodMs});
  return outcome;
}

}  // namespace zrv::devices
