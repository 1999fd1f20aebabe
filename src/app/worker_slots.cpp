#include "app/worker_slots.h"

#include "platform/debug_output.h"

namespace zrv::app {

SlotThread::SlotThread(std::string name, Body body) : worker_(std::move(name)) { worker_.Start(std::move(body)); }

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
