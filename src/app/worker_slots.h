#pragma once
// The main window's worker slots: 20 places for threads, each with a manual-reset stop event.
//
// Slot 0 runs device discovery, slot 2 the update check and slot 8 the lighting synchronisation;
// the others stay empty. At the end every stop event is set first, then each slot in order is
// given up to 1000 ms to end; the outcome of each wait is written to the debug output. A thread
// that has not ended by then is reported and kept (never killed): it is joined when the slots go.

#include <array>
#include <chrono>
#include <memory>
#include <string>

#include "platform/worker_thread.h"

namespace zrv::app {

// A thread that can be asked to stop and waited for with a time-out.
class SlotWorker {
 public:
  virtual ~SlotWorker() = default;
  // Sets the stop event; does not wait.
  virtual void RequestStop() = 0;
  // True once the thread has ended (joined); false when `timeout` passed first.
  virtual bool WaitForEnd(std::chrono::milliseconds timeout) = 0;
};

// A worker thread running `body` with the slot's stop event; the body returns once the event is set.
class SlotThread : public SlotWorker {
 public:
  using Body = platform::WorkerThread::Body;

  // Starts the thread; `name` names it on the debug output.
  SlotThread(std::string name, Body body);
  // Stops the thread and joins it, however long that takes.
  ~SlotThread() override = default;

  void RequestStop() override { worker_.RequestStop(); }
  bool WaitForEnd(std::chrono::milliseconds timeout) override { return worker_.WaitForEnd(timeout); }

 private:
  platform::WorkerThread worker_;
};

class WorkerSlots {
 public:
  static constexpr size_t kSlotCount = 20;
  static constexpr size_t kDiscoverySlot = 0;
  static constexpr size_t kUpdateCheckSlot = 2;
  static constexpr size_t kLightSyncSlot = 8;
  static constexpr std::chrono::milliseconds kStopWait{1000};

  WorkerSlots() = default;
  // Stops what still runs (StopAll) and joins every thread.
  ~WorkerSlots();
  WorkerSlots(const WorkerSlots&) = delete;
  WorkerSlots& operator=(const WorkerSlots&) = delete;

  // Puts a started worker into a slot; false (and the worker stays with the caller's deleter, that
  // is, it is stopped and joined) when the slot is taken or out of range.
  bool Put(size_t slot, std::unique_ptr<SlotWorker> worker);
  bool Occupied(size_t slot) const { return slot < kSlotCount && slots_[slot] != nullptr; }

  // Sets every stop event, then waits for each slot in order (at most kStopWait each) and writes
  // the outcome: "所有对象处于激发状态\n" when the thread ended, "所有对象处于非激发状态，超时\n"
  // when it did not, "错误\n" with the slot number for an empty slot. Returns the number of
  // threads that did not end in time. Running it again only reports again.
  size_t StopAll(std::chrono::milliseconds wait = kStopWait);

 private:
  std::array<std::unique_ptr<SlotWorker>, kSlotCount> slots_;
};

}  // namespace zrv::app
