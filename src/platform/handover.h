#pragma once
// The synchronous hand-over of one message from a worker to the user-interface thread that gives
// up as soon as the worker's stop event is set, so shut-down cannot deadlock on a user-interface
// thread that is itself waiting for the worker.

#include <memory>

#include "platform/worker_thread.h"

namespace zrv::platform {

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

}  // namespace zrv::platform
