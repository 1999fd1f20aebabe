#pragma once
// How the discovery thread hands its messages to the user-interface thread.
//
// The main window implements DiscoverySink: Send queues the message to the user-interface thread
// and returns at once; there the window calls Begin on the hand-over, attaches or detaches the
// record (device_attach.h), and calls Complete. The discovery thread waits for Complete, or gives
// up when it is asked to stop. Tests and zrv31ctl use DiscoveryQueue (discovery_queue.h).

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/handover.h"

namespace zrv::device {

enum class DiscoveryMessage : uint32_t {
  kDeviceAdd = 0x0C12,     // the record at index became present: attach it
  kDeviceRemove = 0x0C13,  // the record at index is gone: detach it
  kFirstScanDone = 0,      // posted once after the first scan (the instance message: show the window)
};

class DiscoverySink {
 public:
  virtual ~DiscoverySink() = default;

  // Add or remove, synchronously. Must not handle the message on the calling (discovery) thread.
  virtual void Send(DiscoveryMessage message, size_t index, std::shared_ptr<platform::Handover> handover) = 0;
  // The first scan is over. Posted: the discovery thread does not wait.
  virtual void PostFirstScanDone() = 0;
};

}  // namespace zrv::device
