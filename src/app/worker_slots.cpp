#include "app/worker_slots.h"

#include "platform/debug_output.h"

namespace zrv::app {

SlotThread::SlotThread(Body body) {
  stop_.Reset();
  thread_ = std::thread([this, body = std::move(body)] {
    body(stop_);
    {
      std::lock_guard lock(mutex_);
      ended_ = true;
    }
    ended_cv_.notify_all();
  });
}

SlotThread::~SlotThread() {
  stop_.Set();
  if (thread_.joinable()) thread_.join();
}

bool SlotThread::WaitForEnd(std::chrono::milliseconds timeout) {
  {
    std::unique_lock lock(mutex_);
    if (!ended_cv_.wait_for(lock, timeout, [this] { return ended_; })) return false;
  }
  if (thread_.joinable()) thread_.join();
  return true;
}

WorkerSlots::~WorkerSlots() {
  for (auto& slot : slots_) {
    if (slot) slot->RequestStop();
  }
  // The workers' destructors join: a thread that overran the stop is waited for here.
  for (auto& slot : slots_) slot.reset();
}

bool WorkerSlots::Put(size_t slot, std::unique_ptr<SlotWorker> worker) {
  if (slot >= kSlotCount || slots_[slot] || !worker) return false;
  slots_[slot] = std::move(worker);
  return true;
}

size_t WorkerSlots::StopAll(std::chrono::milliseconds wait) {
  for (auto& slot : slots_) {
    if (slot) slot->RequestStop();
  }
  size_t overran = 0;
  for (size_t i = 0; i < kSlotCount; ++i) {
    if (!slots_[i]) {
      platform::DebugPrintf("错误\n%zu", i);
      continue;
    }
    if (slots_[i]->WaitForEnd(wait)) {
      platform::DebugOut("所有对象处于激发状态\n");
    } else {
      ++overran;
      platform::DebugOut("所有对象处于非激发状态，超时\n");
    }
  }
  return overran;
}

}  // namespace zrv::app
