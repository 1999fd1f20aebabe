#include "device/kernel_uevents.h"

#include <linux/netlink.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace zrv::device {

namespace {

// The only multicast group the kernel sends uevents to.
constexpr uint32_t kKernelUeventGroup = 1;

}  // namespace

KernelUevents::KernelUevents() {
  fd_ = ::socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_KOBJECT_UEVENT);
  if (fd_ < 0) return;
  sockaddr_nl address{};
  address.nl_family = AF_NETLINK;
  address.nl_groups = kKernelUeventGroup;
  if (::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

KernelUevents::~KernelUevents() {
  if (fd_ >= 0) ::close(fd_);
}

void KernelUevents::WaitForAny(std::chrono::steady_clock::time_point deadline, std::chrono::milliseconds period) {
  auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  if (left.count() <= 0) return;
  const int wait_ms = static_cast<int>(std::min(left, period).count());
  if (fd_ < 0) {
    pollfd none{-1, 0, 0};
    ::poll(&none, 1, wait_ms);
    return;
  }
  pollfd p{fd_, POLLIN, 0};
  if (::poll(&p, 1, wait_ms) <= 0) return;
  TakeAny();
}

bool KernelUevents::TakeAny() {
  if (fd_ < 0) return true;
  bool any = false;
  char message[8192];
  for (;;) {
    const ssize_t n = ::recv(fd_, message, sizeof message, 0);
    if (n >= 0) {
      any = true;
    } else if (errno == EINTR) {
      continue;
    } else {
      // EAGAIN: all taken. ENOBUFS: the socket's buffer overflowed and events were lost; the
      // caller must look as if they had come. Anything else: nothing can be known.
      return any || errno != EAGAIN;
    }
  }
}

}  // namespace zrv::device
