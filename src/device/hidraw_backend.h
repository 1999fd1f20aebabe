#pragma once
// The Linux backend: HID interfaces as hidraw nodes, listed through libudev over sysfs.

#include <functional>
#include <memory>
#include <string>

#include "device/hid_backend.h"

namespace zrv::device {

struct HidrawOptions {
  // Root of the sysfs tree to enumerate. "/sys" is read through libudev; any other root (tests
  // point it at a fake tree) is read as plain files laid out the same way.
  std::string sysfs_root = "/sys";
  // Folder of the device nodes ("/dev"); paths of this backend start with dev_root + "/hidraw".
  std::string dev_root = "/dev";
  // Opens a device node like ::open(2); tests substitute one end of a socket pair. Null: ::open.
  // The real opener must yield the character device that sysfs names; a substitute may yield any
  // descriptor that keeps report boundaries (SOCK_SEQPACKET), whose peer closing reads as removal.
  std::function<int(const std::string& node, int flags)> open_node;
};

std::shared_ptr<HidBackend> MakeHidrawBackend(HidrawOptions options = {});

}  // namespace zrv::device
