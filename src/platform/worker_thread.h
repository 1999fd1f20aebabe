#pragma once
// The one stoppable worker-thread type of the program, and its manual-reset stop event.
//
// Every worker (discovery, notification listeners, lighting synchronisation, effect threads,
// update threads, recording) is a WorkerThread running a body that returns once its stop event is
// set. Timed loops sleep on the event until their next deadline (SleepUntil), so a stop ends the
// sleep at once and nothing wakes for nothing. Stopping is bounded: StopAndWait gives the body a
// time limit, reports an overrun on the debug output and keeps the thread joinable; it is joined
// by the next Start or by the destructor, never killed or detached.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace zrv::platform {

class Handover;

// Manual-reset event: stays set until Reset. Waiting threads sleep; nothing polls.
class StopEvent {
 public:
  using Clock = std::chrono::steady_clock;

  StopEvent();
  StopEvent(const StopEvent&) = delete;
  StopEvent& operator=(const StopEvent&) = delete;

  // Sets the event and wakes every waiter, also senders waiting in Handover::Wait.
  void Set();
  void Reset();
  bool IsSet() const;
  // Sleeps until the event is set (true) or deadline has passed (false).
  bool WaitUntil(Clock::time_point deadline) const;
  bool WaitFor(Clock::duration timeout) const { return WaitUntil(Clock::now() + timeout); }

  // Nudges end a timed loop's sleep early without stopping it, so that it plans again (a change it
  // sleeps until). The loop takes the count before it looks at what it waits for: a nudge that comes
  // between the two is not lost.
  void Nudge();
  uint64_t Nudges() const;
  // As WaitUntil, and also ends (false) once the nudge count differs from `nudges_seen`.
  bool WaitUntil(Clock::time_point deadline, uint64_t nudges_seen) const;

 private:
  friend class Handover;
  struct Shared {
    std::mutex mutex;
    std::condition_variable changed;
    bool set = false;
    uint64_t nudges = 0;
  };
  // Shared with the hand-overs, which may outlive the worker that owned the event.
  std::shared_ptr<Shared> shared_;
};

class WorkerThread {
 public:
  using Body = std::function<void(const StopEvent& stop)>;
  using Clock = StopEvent::Clock;

  // `name` names the thread in the overrun report.
  explicit WorkerThread(std::string name);
  // Sets the stop event and joins without limit: the body may use what its owner destroys next.
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Resets the stop event and runs `body` on a new thread. An earlier run that has ended is joined
  // first; false (nothing started) while an earlier run has not ended.
  bool Start(Body body);
  // Sets the stop event; does not wait.
  void RequestStop() { stop_.Set(); }
  // Nudges the stop event (StopEvent::Nudge): a body asleep until a change plans again.
  void Nudge() { stop_.Nudge(); }
  // For a body that, once stopped, takes up new work instead of ending (a listener handed over to
  // a new link): clears the stop event during the run. The owner must order it against its stop
  // requests under one lock, or a stop is lost.
  void ClearStop() { stop_.Reset(); }
  // True once the body has returned (the thread is joined), also when nothing was started; false
  // when `timeout` passed first.
  bool WaitForEnd(std::chrono::milliseconds timeout);
  // RequestStop, then WaitForEnd(limit). An overrun is written to the debug output with the
  // thread's name; the thread stays joinable.
  bool StopAndWait(std::chrono::milliseconds limit);
  // Between Start and the body's return.
  bool Running() const;

  const StopEvent& Stop() const { return stop_; }
  const std::string& Name() const { return name_; }

 private:
  void JoinIfEnded();

  const std::string name_;
  StopEvent stop_;
  std::thread thread_;  // owner's thread only
  mutable std::mutex mutex_;
  std::condition_variable ended_cv_;
  bool running_ = false;  // guarded by mutex_
};

}  // namespace zrv::platform
