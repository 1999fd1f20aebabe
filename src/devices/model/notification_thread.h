#pragma once
// The listener on a device's notification link (the consumer-control collection).
//
// It reads one input report at a time, waiting without limit, decodes it and hands the code (the
// first usage of the first data item) to its handler on the listener's own thread. The handler
// must only set flags, ask for timers or feed effect state; it never sends commands.
//
// Stopping: RequestStop sets the stop event; the blocked read ends when the owner closes the
// notification interface (HidInterface::Close ends a waiting read at once from any thread), so
// the owner stops in three steps: RequestStop, close the interface, WaitForEnd. The thread is
// never killed. A Start while an earlier listener has not ended (its handler still busy) does not
// put a second one beside it: the earlier one takes the link over with the new capabilities when
// it ends its turn, so a device that comes back meanwhile is not left without a listener. A
// RequestStop cancels such a pending hand-over.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>

#include "device/device_link.h"
#include "platform/worker_thread.h"

namespace zrv::devices {

class NotificationThread {
 public:
  using Handler = std::function<void(uint16_t code)>;

  // How long the listener rests after a failed read or while the link is not connected before it
  // looks again (a stop ends the rest at once).
  static constexpr std::chrono::milliseconds kIdleWait{100};

  // link and handler must outlive the thread.
  NotificationThread(device::DeviceLink& link, Handler handler);
  // RequestStop, then waits for the end without limit: the thread uses the link and the handler.
  ~NotificationThread();
  NotificationThread(const NotificationThread&) = delete;
  NotificationThread& operator=(const NotificationThread&) = delete;

  enum class StartResult {
    kStarted,   // a new thread listens
    kHandOver,  // the earlier listener has not ended; it listens again, on the new link, once it has
  };
  // Starts listening on the link, whose interface must be open (its capabilities are taken now,
  // on the caller's thread).
  StartResult Start();
  // Sets the stop event and cancels a pending hand-over; does not wait.
  void RequestStop();
  // True once the thread has ended (also when none was started), false when timeout passed first.
  bool WaitForEnd(std::chrono::milliseconds timeout);
  bool Running() const;
  // Reports decoded so far (for tests and diagnostics).
  uint64_t ReportCount() const { return reports_.load(); }

 private:
  // Listens until the stop event, then either ends or, after a hand-over, listens again.
  void Run(const platform::StopEvent& stop);
  void Listen(const device::HidCollectionInfo& caps, const platform::StopEvent& stop);

  device::DeviceLink& link_;
  Handler handler_;
  std::atomic<uint64_t> reports_{0};
  // Orders the listener's decision to end against Start's hand-over and RequestStop.
  mutable std::mutex mutex_;
  // Guarded by mutex_.
  bool listening_ = false;  // from Start until the listener decided to end
  bool hand_over_ = false;
  device::HidCollectionInfo caps_;  // of the link the next turn listens on
  // Last: destroyed (stopped and joined) before what the thread uses.
  platform::WorkerThread worker_{"notification thread"};
};

}  // namespace zrv::devices
