#include "platform/worker_thread.h"

#include "platform/debug_output.h"

namespace zrv::platform {

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

bool StopEvent::WaitUntil(Clock::time_point deadline) const {
  std::unique_lock lock(shared_->mutex);
  return shared_->changed.wait_until(lock, deadline, [this] { return shared_->set; });
}

void StopEvent::Nudge() {
  {
    std::lock_guard lock(shared_->mutex);
    ++shared_->nudges;
  }
  shared_->changed.notify_all();
}

uint64_t StopEvent::Nudges() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->nudges;
}

bool StopEvent::WaitUntil(Clock::time_point deadline, uint64_t nudges_seen) const {
  std::unique_lock lock(shared_->mutex);
  shared_->changed.wait_until(lock, deadline, [&] { return shared_->set || shared_->nudges != nudges_seen; });
  return shared_->set;
}

WorkerThread::WorkerThread(std::string name) : name_(std::move(name)) {}

WorkerThread::~WorkerThread() {
  stop_.Set();
  if (thread_.joinable()) thread_.join();
}

void WorkerThread::JoinIfEnded() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    if (running_) return;
  }
  thread_.join();
}

bool WorkerThread::Start(Body body) {
  JoinIfEnded();
  if (thread_.joinable()) return false;
  stop_.Reset();
  {
    std::lock_guard lock(mutex_);
    running_ = true;
  }
  thread_ = std::thread([this, body = std::move(body)] {
    body(stop_);
    // Notified under the lock: the owner may destroy this object as soon as it sees the end.
    std::lock_guard lock(mutex_);
    running_ = false;
    ended_cv_.notify_all();
  });
  return true;
}

bool WorkerThread::WaitForEnd(std::chrono::milliseconds timeout) {
  {
    std::unique_lock lock(mutex_);
    if (!ended_cv_.wait_for(lock, timeout, [this] { return !running_; })) return false;
  }
  if (thread_.joinable()) thread_.join();
  return true;
}

bool WorkerThread::StopAndWait(std::chrono::milliseconds limit) {
  RequestStop();
  if (WaitForEnd(limit)) return true;
  DebugPrintf("%s: not ended %lld ms after the stop; joined later", name_.c_str(),
              static_cast<long long>(limit.count()));
  return false;
}

bool WorkerThread::Running() const {
  std::lock_guard lock(mutex_);
  return running_;
}

}  // namespace zrv::platform
