#pragma once
// The picture's frames fall on one grid of the steady clock, a point every kRepaintPeriodMs, and the
// repaint timer fires kFramePaintOffset after each. An effect thread passes once a frame: when the
// repaint has taken the frame's colours it is nudged (the device's OnFrameTaken), and its pass is
// done long before the next frame reads it. A thread woken by another costs a fraction of one
// woken by its own timer (the timer is the dear part of a wake-up, on a virtual machine above all).
// Its own deadline, FrameFallback, only stands in for a repaint that did not come.

#include <chrono>

#include "devices/model/device_timers.h"

namespace zrv::devices {

using FrameClock = std::chrono::steady_clock;
inline constexpr std::chrono::milliseconds kFramePeriod{kRepaintPeriodMs};
// Well above the few milliseconds a woken thread or a coarse timer may be late.
inline constexpr std::chrono::milliseconds kFramePaintOffset{10};
// While nobody sees the picture (the window in the tray or minimised) the effect threads and a
// keyboard's repaint timer wake this seldom: the animation keeps its pace, it is only computed in
// larger pieces, and nothing is painted.
inline constexpr std::chrono::milliseconds kUnwatchedPeriod{250};

// The first point of the grid after `t`.
inline FrameClock::time_point NextFramePoint(FrameClock::time_point t) {
  return FrameClock::time_point((t.time_since_epoch() / kFramePeriod + 1) * kFramePeriod);
}

// The deadline of an effect thread that passed at `now` and waits for the next frame: a frame after
// the next point, so that the repaint comes first.
inline FrameClock::time_point FrameFallback(FrameClock::time_point now) { return NextFramePoint(now) + kFramePeriod; }

// The delay of a repaint timer armed at `now`: to the next paint time (a grid point plus the
// offset) at least half a frame away, so that a timer a little early or late neither paints twice
// nor skips a frame.
inline int RepaintDelayMs(FrameClock::time_point now) {
  FrameClock::time_point paint = NextFramePoint(now - kFramePaintOffset) + kFramePaintOffset;
  if (paint - now < kFramePeriod / 2) paint += kFramePeriod;
  return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(paint - now).count());
}

}  // namespace zrv::devices
