#pragma once
// The kernel's uevent broadcast (a netlink socket), as a sign that devices came, went or changed:
// it lets a look at sysfs wait for one, or be skipped while none came.

#include <chrono>

namespace zrv::device {

class KernelUevents {
 public:
  // Subscribes at once, so that nothing sent after construction is missed. Without the socket
  // (refused in some containers) nothing is known: waits fall back to their period and TakeAny
  // always answers yes.
  KernelUevents();
  ~KernelUevents();
  KernelUevents(const KernelUevents&) = delete;
  KernelUevents& operator=(const KernelUevents&) = delete;

  bool Listening() const { return fd_ >= 0; }

  // Sleeps until a uevent arrives, `period` has passed or deadline is reached; swallows what came.
  void WaitForAny(std::chrono::steady_clock::time_point deadline, std::chrono::milliseconds period);

  // Without waiting: whether anything came since the last call (swallowed), events were lost, or
  // the socket is missing.
  bool TakeAny();

 private:
  int fd_ = -1;
};

}  // namespace zrv::device
