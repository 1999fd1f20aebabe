#pragma once
// The loop of an on-screen effect thread, shared by the keyboard's and the mouse's. While the
// device is unplugged, or synchronised lighting drives it (the command link's pause flag), no step
// runs: the schedule starts afresh and the thread polls. Otherwise it runs the steps that have come
// due and sleeps until the next is due, but not before the earliest next pass it is given: the
// next frame of the picture (frame_grid.h) rather than each 2 ms step. A nudge of the thread
// (WorkerThread::Nudge) ends the sleep, so a pass with nothing to animate may sleep long.
// `wants_frames` is set while the thread's next step is due by its frame fallback: the owner's
// FrameTaken nudges it then, and leaves alone a thread that sleeps for longer.

#include <algorithm>
#include <atomic>
#include <chrono>

#include "device/device_link.h"
#include "devices/model/frame_grid.h"
#include "platform/worker_thread.h"

namespace zrv::devices {

inline constexpr std::chrono::milliseconds kEffectUnpluggedPoll{100};
inline constexpr std::chrono::milliseconds kEffectPausedPoll{50};

// `restart()` starts the schedule afresh; `pass(now)` runs the due steps and returns when the next
// is due; `earliest(now)` is the earliest next pass after one at `now`. Returns when `stop` is set.
template <class Restart, class Pass, class Earliest>
void RunEffectLoop(const platform::StopEvent& stop, const device::DeviceLink& link, std::atomic<bool>& wants_frames,
                   Restart restart, Pass pass, Earliest earliest) {
  using Clock = std::chrono::steady_clock;
  while (!stop.IsSet()) {
    if (!link.Connected() || link.Paused()) {
      wants_frames.store(false);
      restart();
      stop.WaitFor(link.Connected() ? kEffectPausedPoll : kEffectUnpluggedPoll);
      continue;
    }
    const uint64_t nudges = stop.Nudges();  // before the pass reads what a nudge announces
    const Clock::time_point now = Clock::now();
    const Clock::time_point next = pass(now);
    wants_frames.store(next <= FrameFallback(now));
    stop.WaitUntil(std::max(next, earliest(now)), nudges);
  }
}

}  // namespace zrv::devices
