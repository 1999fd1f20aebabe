#include "sim/uhid_channel.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

namespace zrv::sim {
namespace {

class ChannelSink final : public device::InputReportSink {
 public:
  explicit ChannelSink(std::weak_ptr<UhidChannel> channel) : channel_(std::move(channel)) {}
  void OnInputReport(std::span<const uint8_t> report) override {
    if (auto channel = channel_.lock()) channel->SendInput(report);
  }

 private:
  std::weak_ptr<UhidChannel> channel_;
};

}  // namespace

std::shared_ptr<UhidChannel> UhidChannel::Open(const std::string& path, std::string& error) {
  int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return nullptr;
  }
  return std::shared_ptr<UhidChannel>(new UhidChannel(fd));
}

UhidChannel::~UhidChannel() { Close(false); }

bool UhidChannel::Write(const uhid_event& event, size_t size) {
  std::lock_guard lock(mutex_);
  if (closed_) {
    errno = EBADF;
    return false;
  }
  size = std::min(size, sizeof event);
  for (;;) {
    ssize_t n = ::write(fd_, &event, size);
    if (n == static_cast<ssize_t>(size)) return true;
    if (n < 0 && errno == EINTR) continue;
    if (n >= 0) errno = EIO;  // the kernel takes an event whole or not at all
    return false;
  }
}

bool UhidChannel::SendInput(std::span<const uint8_t> report) {
  if (report.empty() || report.size() > UHID_DATA_MAX) {
    errno = EINVAL;
    return false;
  }
  uhid_event event{};
  event.type = UHID_INPUT2;
  event.u.input2.size = static_cast<uint16_t>(report.size());
  std::memcpy(event.u.input2.data, report.data(), report.size());
  return Write(event, offsetof(uhid_event, u.input2.data) + report.size());
}

std::shared_ptr<device::InputReportSink> UhidChannel::InputSink() {
  return std::make_shared<ChannelSink>(weak_from_this());
}

void UhidChannel::Close(bool destroy) {
  std::lock_guard lock(mutex_);
  if (closed_) return;
  if (destroy) {
    uhid_event event{};
    event.type = UHID_DESTROY;
    [[maybe_unused]] ssize_t n = ::write(fd_, &event, sizeof event.type);
  }
  // Closing the file destroys a device that is still there, too.
  ::close(fd_);
  closed_ = true;
}

bool UhidChannel::IsClosed() const {
  std::lock_guard lock(mutex_);
  return closed_;
}

}  // namespace zrv::sim
