// The timer operations of CHalveronUSBDevice.

#include "devices/model/frame_grid.h"
#include "devices/model/usb_device.h"

namespace zrv::devices {

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
  RenderLogoLights();
  RenderStripLights();
  OnFrameTaken();
  TimerOutcome outcome;
  outcome.redraw_page = item_selected && PageRedraw();
  // Removal clears the connected flag: the cycle ends here until the next attach starts it.
  if (Connected()) outcome.start.push_back({kTimerRepaint, NextRepaintDelayMs(FrameClock::now())});
  return outcome;
}

int CHalveronUSBDevice::NextRepaintDelayMs(FrameClock::time_point now) const { return RepaintDelayMs(now); }

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
