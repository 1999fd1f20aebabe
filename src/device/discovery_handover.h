#pragma once
// A worker's manual-reset stop event, and the synchronous hand-over of one message from a worker to
// the user-interface thread that gives up as soon as the worker's stop event is set (so shut-down
// cannot deadlock on a user-interface thread that is itself waiting for the worker).

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace zrv::device {

// Manual-reset event: stays set until Reset. Waiting threads sleep; nothing polls.
class StopEvent {
 public:
  StopEvent();
  StopEvent(const StopEvent&) = delete;
  StopEvent& operator=(const StopEvent&) = delete;

  // Sets the event and wakes every waiter, also senders waiting in Handover::Wait.
  void Set();
  void Reset();
  bool IsSet() const;
  // Sleeps until the event is set (true) or deadline has passed (false).
  bool WaitUntil(std::chrono::steady_clock::time_point deadline) const;

 private:
  friend class Handover;
  struct Shared {
    std::mutex mutex;
    std::condition_variable changed;
    bool set = false;
  };
  // Shared with the hand-overs, which may outlive the worker that owned the event.
  std::shared_ptr<Shared> shared_;
};

// One message in flight from a worker to the user-interface thread.
//
// Receiver: Begin() before handling (false: the sender gave up, skip the message), Complete() after.
// Sender: Wait() returns true once the message has been handled, false when the stop event was set
// first; the message is then abandoned, even while its handler runs (the sender leaves at once and
// the handler finishes on its own).
class Handover {
 public:
  explicit Handover(const StopEvent& stop);
  Handover(const Handover&) = delete;
  Handover& operator=(const Handover&) = delete;

  bool Begin();
  void Complete();
  bool Wait();
  bool Abandoned() const;

 private:
  enum class State { kQueued, kHandling, kDone, kAbandoned };
  std::shared_ptr<StopEvent::Shared> shared_;
  State state_ = State::kQueued;  // guarded by shared_->mutex
};

}  // namespace zrv::device
