#include "platform/handover.h"

namespace zrv::platform {

Handover::Handover(const StopEvent& stop) : shared_(stop.shared_) {}

bool Handover::Begin() {
  std::lock_guard lock(shared_->mutex);
  if (state_ != State::kQueued) return false;
  state_ = State::kHandling;
  return true;
}

void Handover::Complete() {
  std::lock_guard lock(shared_->mutex);
  if (state_ != State::kHandling) return;
  state_ = State::kDone;
  shared_->changed.notify_all();
}

bool Handover::Wait() {
  std::unique_lock lock(shared_->mutex);
  shared_->changed.wait(lock, [this] { return state_ == State::kDone || shared_->set; });
  if (state_ == State::kDone) return true;
  state_ = State::kAbandoned;
  return false;
}

bool Handover::Abandoned() const {
  std::lock_guard lock(shared_->mutex);
  return state_ == State::kAbandoned;
}

}  // namespace zrv::platform
