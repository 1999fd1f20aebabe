#pragma once
// The Linux backend: HID interfaces as hidraw nodes, listed through libudev over sysfs.

#include <functional>
#include <memory>
#include <string>

#include "device/hid_backend.h"

namespace zrv::device {

struct HidrawOptions {
  // Root of the sysfs tree to enumerate ("/sys"); tests point it at a fake tree.
  std::string sysfs_root = "/sys";
  // Folder of the device nodes ("/dev"); paths of this backend start with dev_root + "/hidraw".
  std::string dev_root = "/dev";
  // Opens a device node like ::open(2); tests substitute one end of a socket pair. Null: ::open.
  std::function<int(const std::string& node, int flags)> open_node;
};

std::shared_ptr<HidBackend> MakeHidrawBackend(HidrawOptions options = {});

}  // namespace zrv::device
