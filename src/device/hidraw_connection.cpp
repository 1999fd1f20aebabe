#include "device/hidraw_connection.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <utility>

namespace zrv::device {
namespace {

using Clock = std::chrono::steady_clock;

// The time left of a transfer's time-out across repeated waits (signals, spurious wake-ups).
class Deadline {
 public:
  explicit Deadline(int timeout_ms)
      : bounded_(timeout_ms >= 0), end_(Clock::now() + std::chrono::milliseconds(bounded_ ? timeout_ms : 0)) {}

  int RemainingMs() const {
    if (!bounded_) return -1;
    auto left = std::chrono::ceil<std::chrono::milliseconds>(end_ - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
  }

 private:
  bool bounded_;
  Clock::time_point end_;
};

// Waits until fd is ready for events. The cancel descriptor wins over everything else, so that a
// closing interface never starts another transfer; a hang-up or error of the node ends the wait
// with kFailed even when data is still queued: the device is gone.
HidIoResult Wait(int fd, short events, const Deadline& deadline, int cancel_fd) {
  for (;;) {
    pollfd fds[2] = {{fd, events, 0}, {cancel_fd, POLLIN, 0}};
    int n = ::poll(fds, cancel_fd >= 0 ? 2 : 1, deadline.RemainingMs());
    if (n < 0) {
      if (errno == EINTR) continue;
      return HidIoResult::kFailed;
    }
    // A cancel descriptor that is invalid or broken cannot be waited on: abandon rather than hang.
    if (cancel_fd >= 0 && fds[1].revents != 0) return HidIoResult::kCancelled;
    if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) return HidIoResult::kFailed;
    if (fds[0].revents & events) return HidIoResult::kOk;
    if (n == 0) return HidIoResult::kTimeout;
  }
}

}  // namespace

HidrawConnection::HidrawConnection(int fd, bool is_socket, Access access, HidAttributes attributes,
                                   HidReportDescriptor descriptor, size_t collection_index)
    : fd_(fd),
      is_socket_(is_socket),
      access_(access),
      attributes_(attributes),
      descriptor_(std::move(descriptor)),
      collection_index_(collection_index) {}

HidrawConnection::~HidrawConnection() {
  if (fd_ >= 0) ::close(fd_);
}

HidIoResult HidrawConnection::ReadRaw(std::span<uint8_t> buffer, size_t& transferred, int timeout_ms, int cancel_fd) {
  transferred = 0;
  if (!access_.read) return HidIoResult::kFailed;
  // A zero-byte read(2) would not consume the report; take it into a spare byte and drop it.
  uint8_t spare = 0;
  std::span<uint8_t> target = buffer.empty() ? std::span<uint8_t>(&spare, 1) : buffer;
  const Deadline deadline(timeout_ms);
  for (;;) {
    HidIoResult ready = Wait(fd_, POLLIN, deadline, cancel_fd);
    if (ready != HidIoResult::kOk) return ready;
    ssize_t n = ::read(fd_, target.data(), target.size());
    if (n > 0) {
      transferred = buffer.empty() ? 0 : static_cast<size_t>(n);
      return HidIoResult::kOk;
    }
    if (n == 0) return HidIoResult::kFailed;          // end of file: the other side is gone
    if (errno == EINTR || errno == EAGAIN) continue;  // spurious readiness: wait on
    return HidIoResult::kFailed;                      // EIO, ENODEV: removed
  }
}

HidIoResult HidrawConnection::WriteRaw(std::span<const uint8_t> report, size_t& transferred, int timeout_ms,
                                       int cancel_fd) {
  transferred = 0;
  if (!access_.write || report.empty()) return HidIoResult::kFailed;
  const Deadline deadline(timeout_ms);
  for (;;) {
    HidIoResult ready = Wait(fd_, POLLOUT, deadline, cancel_fd);
    if (ready != HidIoResult::kOk) return ready;
    ssize_t n = is_socket_ ? ::send(fd_, report.data(), report.size(), MSG_NOSIGNAL)
                           : ::write(fd_, report.data(), report.size());
    if (n >= 0) {
      transferred = static_cast<size_t>(n);
      // A report is one transfer: a part of it is not a report.
      return transferred == report.size() ? HidIoResult::kOk : HidIoResult::kFailed;
    }
    if (errno == EINTR || errno == EAGAIN) continue;
    return HidIoResult::kFailed;
  }
}

}  // namespace zrv::device
