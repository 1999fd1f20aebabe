#include "device/discovery_handover.h"

namespace zrv::device {

StopEvent::StopEvent() : shared_(std::make_shared<Shared>()) {}

void StopEvent::Set() {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->set = true;
  }
  shared_->changed.notify_all();
}

void StopEvent::Reset() {
  std::lock_guard lock(shared_->mutex);
  shared_->set = false;
}

bool StopEvent::IsSet() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->set;
}

bool StopEvent::WaitUntil(std::chrono::steady_clock::time_point deadline) const {
  std::unique_lock lock(shared_->mutex);
  return shared_->changed.wait_until(lock, deadline, [this] { return shared_->set; });
}

Handover::Handover(const StopEvent& stop) : shared_(stop.shared_) {}

bool Handover::Begin() {
  std::lock_guard lock(shared_->mutex);
  if (state_ != State::kQueued) return false;
  state_ = State::kHandling;
  return true;
}

void Handover::Complete() {
  {
    std::lock_guard lock(shared_->mutex);
    if (state_ != State::kHandling) return;
    state_ = State::kDone;
  }
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

}  // namespace zrv::device
