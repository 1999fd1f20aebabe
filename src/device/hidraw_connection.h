#pragma once
// One open hidraw node: whole reports in and out, each transfer bounded by a time-out and a cancel
// descriptor.
//
// hidraw keeps report boundaries: one read(2) returns one input report (report-ID byte first only
// when the device numbers its reports), one write(2) sends one output report (report-ID byte first,
// 0 for unnumbered reports, which the kernel strips). Every wait is a poll(2) on the node and the
// caller's cancel descriptor, which is only ever polled, never read or written. A node whose device
// went away reports POLLHUP / POLLERR, or fails the transfer with EIO / ENODEV; all of these end
// the transfer with kFailed at once.
//
// Writes: the kernel always reports a hidraw node writable and completes the USB transfer inside
// write(2) (bounded by the USB stack's own time-out), so a write cannot be abandoned half-way; the
// time-out and cancel apply to the wait before it.

#include <sys/types.h>

#include "device/hid_backend.h"

namespace zrv::device {

class HidrawConnection final : public HidConnection {
 public:
  struct Access {
    bool read = false;
    bool write = false;
  };

  // Takes ownership of fd. is_socket: the node is a stand-in socket (tests), written with send(2)
  // so that a vanished peer cannot raise SIGPIPE.
  HidrawConnection(int fd, bool is_socket, Access access, HidAttributes attributes, HidReportDescriptor descriptor,
                   size_t collection_index);
  ~HidrawConnection() override;
  HidrawConnection(const HidrawConnection&) = delete;
  HidrawConnection& operator=(const HidrawConnection&) = delete;

  const HidAttributes& Attributes() const override { return attributes_; }
  const HidReportDescriptor& Descriptor() const override { return descriptor_; }
  size_t CollectionIndex() const override { return collection_index_; }

  HidIoResult ReadRaw(std::span<uint8_t> buffer, size_t& transferred, int timeout_ms, int cancel_fd) override;
  HidIoResult WriteRaw(std::span<const uint8_t> report, size_t& transferred, int timeout_ms, int cancel_fd) override;

 private:
  const int fd_;
  const bool is_socket_;
  const Access access_;
  const HidAttributes attributes_;
  const HidReportDescriptor descriptor_;
  const size_t collection_index_;
};

}  // namespace zrv::device
