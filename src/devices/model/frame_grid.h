#pragma once
// The picture's frames fall on one grid of the steady clock, a point every kRepaintPeriodMs, and the
// repaint timer fires kFramePaintOffset after each. While the picture is watched an effect thread
// passes once a frame: the mouse's on the grid's points, so that each painted frame shows the steps
// made just before it; the keyboard's when the repaint has taken a frame (KeyboardLighting), with
// the grid as its fallback.

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

// The delay of a repaint timer armed at `now`: to the next paint time (a grid point plus the
// offset) at least half a frame away, so that a timer a little early or late neither paints twice
// nor skips a frame.
inline int RepaintDelayMs(FrameClock::time_point now) {
  FrameClock::time_point paint = NextFramePoint(now - kFramePaintOffset) + kFramePaintOffset;
  if (paint - now < kFramePeriod / 2) paint += kFramePeriod;
  return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(paint - now).count());
}

}  // namespace zrv::devices
