#pragma once
// The periodic work of a device, driven by one-shot timers of its selector item.
//
// The item owns the timers; the device runs the work and answers what to arm next. Every timer is
// one-shot: the item stops a timer when it fires and arms exactly what the outcome lists.

#include <vector>

namespace zrv::devices {

enum DeviceTimerId : int {
  kTimerRepaint = 1000,      // render the light frame and the logo and strip lights
  kTimerAttached = 1001,     // read the device after an attach
  kTimerSyncRequest = 1002,  // reload after a device notification
  kTimerReserved1 = 1003,
  kTimerReserved2 = 1004,
  kTimerPower = 1005,  // read the power state
};

inline constexpr int kAttachDelayMs = 500;       // attach -> 1001
inline constexpr int kFirstRepaintDelayMs = 5;   // 1001 -> 1000
inline constexpr int kRepaintPeriodMs = 50;      // 1000 -> 1000
inline constexpr int kPowerPeriodMs = 5000;      // 1001 -> 1005, 1005 -> 1005
inline constexpr int kSyncRequestDelayMs = 100;  // notification 0x0401 / 0x0402 -> 1002

inline bool IsDeviceTimer(int id) { return id >= kTimerRepaint && id <= kTimerPower; }

struct TimerStart {
  int id = 0;
  int delay_ms = 0;
  friend bool operator==(const TimerStart&, const TimerStart&) = default;
};

struct TimerOutcome {
  std::vector<TimerStart> start;  // timers to arm, in this order
  bool redraw_page = false;       // repaint the device picture (1000 only)
};

}  // namespace zrv::devices
