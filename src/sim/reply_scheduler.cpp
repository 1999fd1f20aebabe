#include "sim/reply_scheduler.h"

namespace zrv::sim {

ReplyScheduler::ReplyScheduler(Deliver deliver) : state_(std::make_shared<State>()) {
  state_->deliver = std::move(deliver);
}

ReplyScheduler::~ReplyScheduler() { Stop(); }

void ReplyScheduler::Schedule(Clock::time_point due, std::vector<uint8_t> report) {
  // thread_mutex_ orders this against Stop(), so no thread is started after the last join.
  std::lock_guard thread_lock(thread_mutex_);
  {
    std::lock_guard lock(state_->mutex);
    if (state_->stop) return;
    state_->queue.emplace(due, std::move(report));
  }
  state_->wake.notify_one();
  if (!thread_.joinable()) thread_ = std::thread(Run, state_);
}

void ReplyScheduler::Stop() {
  std::lock_guard thread_lock(thread_mutex_);
  {
    std::lock_guard lock(state_->mutex);
    state_->stop = true;
    state_->queue.clear();
  }
  state_->wake.notify_all();
  if (!thread_.joinable()) return;
  // The owner may be going away on the timer thread itself (its last reference dropped in a
  // delivery): that thread then ends by itself, touching only the shared state.
  if (thread_.get_id() == std::this_thread::get_id()) {
    thread_.detach();
  } else {
    thread_.join();
  }
}

size_t ReplyScheduler::Waiting() const {
  std::lock_guard lock(state_->mutex);
  return state_->queue.size();
}

void ReplyScheduler::Run(std::shared_ptr<State> state) {
  std::unique_lock lock(state->mutex);
  while (!state->stop) {
    if (state->queue.empty()) {
      state->wake.wait(lock);
      continue;
    }
    auto first = state->queue.begin();
    if (Clock::now() < first->first) {
      // A copy: the wait reads its deadline again after waking, when Stop may have freed the entry.
      const auto due = first->first;
      state->wake.wait_until(lock, due);
      continue;
    }
    std::vector<uint8_t> report = std::move(first->second);
    state->queue.erase(first);
    // Deliver without the lock so that the callback may schedule again; the callback itself is
    // never replaced, so reading it unlocked is safe.
    lock.unlock();
    state->deliver(std::move(report));
    lock.lock();
  }
}

}  // namespace zrv::sim
