#pragma once
// A DiscoverySink whose messages the receiving thread takes from a queue: the user-interface side
// of discovery for tests and zrv31ctl (the main window delivers through its own event loop).

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

#include "device/discovery_sink.h"

namespace zrv::device {

class DiscoveryQueue : public DiscoverySink {
 public:
  void Send(DiscoveryMessage message, size_t index, std::shared_ptr<platform::Handover> handover) override;
  void PostFirstScanDone() override;

  struct Entry {
    DiscoveryMessage message = DiscoveryMessage::kFirstScanDone;
    size_t index = 0;
    std::shared_ptr<platform::Handover> handover;  // none for kFirstScanDone
  };
  using Handler = std::function<void(DiscoveryMessage message, size_t index)>;

  // Waits up to timeout for the next message and handles it on the calling thread: handler runs
  // between the hand-over's Begin and Complete. A message whose sender gave up is taken without
  // calling handler. Returns the message taken, or none after the time-out.
  std::optional<Entry> ProcessNext(const Handler& handler, std::chrono::milliseconds timeout);
  // Takes the next message without handling it; the caller owns Begin and Complete.
  std::optional<Entry> Take(std::chrono::milliseconds timeout);
  size_t Pending() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<Entry> entries_;
};

}  // namespace zrv::device
