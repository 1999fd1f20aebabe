#pragma once
// When the steps of an on-screen effect are due. A step runs every `interval` on a schedule of
// deadlines; a caller that wakes late runs the steps it missed in one go (up to kMaxCatchUp, beyond
// which the schedule starts again from now), so the animation keeps its pace however coarsely the
// thread sleeps. The caller supplies the time: threads the steady clock, tests a clock of their own.

#include <algorithm>
#include <chrono>

namespace zrv::devices {

class EffectPacer {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr unsigned kMaxCatchUp = 128;  // 250 ms of 2 ms steps

  // The number of steps due at `now` for a step every `interval_ms` milliseconds; 0 or less means
  // one step on every call. A schedule starts with a step at once; a changed interval starts a new
  // schedule.
  unsigned Due(Clock::time_point now, int interval_ms) {
    if (interval_ms <= 0) {
      interval_ = {};
      next_ = now;
      return 1;
    }
    const std::chrono::milliseconds interval(interval_ms);
    if (!started_ || interval != interval_) {
      started_ = true;
      interval_ = interval;
      next_ = now + interval;
      return 1;
    }
    if (now < next_) return 0;
    const auto missed = static_cast<unsigned long long>((now - next_) / interval) + 1;
    if (missed > kMaxCatchUp) {
      next_ = now + interval;
      return kMaxCatchUp;
    }
    next_ += interval * static_cast<int64_t>(missed);
    return static_cast<unsigned>(missed);
  }
  // When the next step is due (after a call of Due).
  Clock::time_point NextDue() const { return next_; }
  // The next call starts a new schedule.
  void Reset() { started_ = false; }

 private:
  bool started_ = false;
  std::chrono::milliseconds interval_{0};
  Clock::time_point next_{};
};

}  // namespace zrv::devices
