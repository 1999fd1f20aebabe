#pragma once
// Finding the kernel's view of a device created through /dev/uhid: its HID device in sysfs and the
// hidraw node the kernel gave it.
//
// The kernel names the HID device itself (0003:VVVV:PPPP.NNNN, NNNN a running number) and adds it
// from a worker after UHID_CREATE2 returns; its hidraw node follows when hid-generic has bound.
// The creator knows only what it sent, so the device is recognised by its HID_PHYS, which the
// bridge makes unique. Waiting sleeps on the kernel's uevent socket and looks again whenever
// something was added, with a slow periodic look as a safety net (no uevent socket, lost events).

#include <chrono>
#include <optional>
#include <string>

#include "device/kernel_uevents.h"

namespace zrv::sim {

struct UhidKernelDevice {
  std::string hid_name;  // "0003:320F:505B.0004"
  std::string syspath;   // the HID device's folder in sysfs
  std::string hidraw;    // "hidraw3"
  std::string node;      // "/dev/hidraw3"
};

// One look: the HID device below sysfs_root/bus/hid/devices whose HID_PHYS is phys and whose hidraw
// node exists in dev_root. None while it is not (yet) complete.
std::optional<UhidKernelDevice> FindHidDeviceByPhys(const std::string& sysfs_root, const std::string& dev_root,
                                                    const std::string& phys);

// Looks for phys until it is complete or timeout passes.
std::optional<UhidKernelDevice> WaitForHidDevice(device::KernelUevents& uevents, const std::string& sysfs_root,
                                                 const std::string& dev_root, const std::string& phys,
                                                 std::chrono::milliseconds timeout);

}  // namespace zrv::sim
