#pragma once
// The discovery thread: finds the supported HID interfaces as they arrive and notices when they go.
//
// Every 100 ms it enumerates the interface paths (only while some record of the list is still looked
// for), probes each candidate read-only and claims the first matching record, then checks that every
// present record's path still opens. Each arrival and removal goes to the user-interface thread as a
// synchronous message through the DiscoverySink; after the first scan it posts "first scan done"
// once. The record's presence and path are set before its message is sent.
//
// Ends when its stop event is set (also while a message waits to be handled) or when enumeration
// fails; announces its end on the debug output.

#include <atomic>
#include <chrono>
#include <cstdint>

#include "device/discovery_interface_list.h"
#include "device/discovery_sink.h"
#include "platform/worker_thread.h"

namespace zrv::device {

class HidInterface;

class DeviceGrabThread {
 public:
  static constexpr std::chrono::milliseconds kPeriod{100};

  // list and sink must outlive the thread.
  DeviceGrabThread(InterfaceList& list, DiscoverySink& sink);
  // Stops the thread and waits for its end without limit.
  ~DeviceGrabThread() = default;
  DeviceGrabThread(const DeviceGrabThread&) = delete;
  DeviceGrabThread& operator=(const DeviceGrabThread&) = delete;

  // Resets the stop event and starts the thread; false when it is already running.
  bool Start();
  // Sets the stop event: the thread ends at its next wait, or at once when it waits for a message to
  // be handled (that message is abandoned). Does not wait.
  void RequestStop() { worker_.RequestStop(); }
  // Waits until the thread has ended or timeout has passed; true when it has ended.
  bool WaitForEnd(std::chrono::milliseconds timeout) { return worker_.WaitForEnd(timeout); }
  // RequestStop, then WaitForEnd(limit); an overrun is reported on the debug output.
  bool StopAndWait(std::chrono::milliseconds limit) { return worker_.StopAndWait(limit); }

  bool Running() const { return worker_.Running(); }
  // Scans made (enumerations that succeeded); for tests and diagnostics.
  uint64_t ScanCount() const { return scans_.load(); }

 private:
  void Run(const platform::StopEvent& stop);
  // Enumerates and attaches what is looked for. False when enumeration failed.
  bool Scan(HidInterface& probe, const platform::StopEvent& stop);
  void CheckPresence(HidInterface& probe, const platform::StopEvent& stop);
  // Sends and waits; false when the stop event cut the wait short.
  bool SendAndWait(DiscoveryMessage message, size_t index, const platform::StopEvent& stop);

  InterfaceList& list_;
  DiscoverySink& sink_;
  std::atomic<uint64_t> scans_{0};
  // Last: destroyed (stopped and joined) before what the thread uses.
  platform::WorkerThread worker_{"discovery thread"};
};

}  // namespace zrv::device
