#pragma once
// The open /dev/uhid file behind one kernel HID device, shared by the threads that write to it.
//
// Every write(2) to /dev/uhid carries one whole event; the kernel serialises them. What this class
// adds is a lifetime rule: once Close() has run, no writer can reach the descriptor any more (its
// number may already belong to another file), and a writer that is inside write(2) finishes before
// Close() closes. Input reports reach the kernel through InputSink(), which a model's
// SendInputReport is routed to.

#include <linux/uhid.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>

#include "device/virtual_hid.h"

namespace zrv::sim {

class UhidChannel : public std::enable_shared_from_this<UhidChannel> {
 public:
  // Opens path ("/dev/uhid") for reading and writing, non-blocking. Null with a reason on failure.
  static std::shared_ptr<UhidChannel> Open(const std::string& path, std::string& error);
  ~UhidChannel();
  UhidChannel(const UhidChannel&) = delete;
  UhidChannel& operator=(const UhidChannel&) = delete;

  // The descriptor to poll and read events from. Valid until Close(): only the reading thread uses
  // it, and its owner ends that thread before closing.
  int ReadFd() const { return fd_; }

  // Writes the first `size` bytes of event (the kernel zero-fills the rest). False with errno set
  // when the write failed or the channel is closed (EBADF).
  bool Write(const uhid_event& event, size_t size);
  bool Write(const uhid_event& event) { return Write(event, sizeof event); }

  // One input report (UHID_INPUT2), report-ID byte first when the device numbers its reports.
  bool SendInput(std::span<const uint8_t> report);

  // A sink for VirtualHidDevice::SetInputReportSink that forwards to SendInput.
  std::shared_ptr<device::InputReportSink> InputSink();

  // Writes UHID_DESTROY when destroy is set, then closes. Idempotent.
  void Close(bool destroy);
  bool IsClosed() const;

 private:
  explicit UhidChannel(int fd) : fd_(fd) {}

  const int fd_;
  mutable std::mutex mutex_;  // held across every write and the close
  bool closed_ = false;       // guarded by mutex_
};

// The part of an event written for each type: its type field and the request of that type.
template <class Request>
constexpr size_t UhidEventSize() {
  return sizeof(uint32_t) + sizeof(Request);
}

}  // namespace zrv::sim
