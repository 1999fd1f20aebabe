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
// never killed; one that has not ended stays joinable and is joined by the next Start (refused
// until it has ended) or by the destructor.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "device/device_link.h"
#include "device/discovery_handover.h"

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

  // Starts listening on the link, whose interface must be open (its capabilities are taken now,
  // on the caller's thread). False while an earlier thread has not ended yet.
  bool Start();
  // Sets the stop event; does not wait.
  void RequestStop();
  // True once the thread has ended (also when none was started), false when timeout passed first.
  bool WaitForEnd(std::chrono::milliseconds timeout);
  bool Running() const;
  // Reports decoded so far (for tests and diagnostics).
  uint64_t ReportCount() const { return reports_.load(); }

 private:
  void Run(device::HidCollectionInfo caps);
  void MarkEnded();

  device::DeviceLink& link_;
  Handler handler_;
  device::StopEvent stop_;
  std::thread thread_;
  std::atomic<uint64_t> reports_{0};
  mutable std::mutex end_mutex_;
  std::condition_variable ended_cv_;
  bool ended_ = true;  // guarded by end_mutex_
};

}  // namespace zrv::devices
