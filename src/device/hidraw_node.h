#pragma once
// What the hidraw backend knows about one node, gathered from sysfs, and the paths it yields.
//
// The facts come from the HID device that owns the node (the node's parent, subsystem "hid"):
// vendor and product id from HID_ID in its uevent, the report descriptor from its report_descriptor
// attribute. A HID device created by the USB HID driver sits directly below its USB interface
// (bInterfaceNumber), which sits below the USB device (bcdDevice). Other transports (uhid,
// Bluetooth, I2C) have no such parents: their version shows only on the input devices the kernel
// made for them (0 without any), and their interface number comes from an "input<N>" ending of
// HID_PHYS, if any. USB devices further up (a Bluetooth adapter, say) are deliberately not
// consulted: they describe another device.
//
// Path: <dev_root>/hidraw<N>#<HID device name>#<tokens>. The HID device name (0003:320F:505B.0007)
// carries a sequence number that the kernel never reuses, so a node number taken over by another
// device, or a device plugged in again, yields different paths.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "device/hid_backend.h"
#include "device/hid_descriptor.h"
#include "device/hidraw_sysfs.h"

namespace zrv::device {

struct HidrawNode {
  std::string sysname;   // "hidraw3"
  std::string number;    // "3"
  std::string hid_name;  // "0003:320F:505B.0007"
  std::string dev;       // "247:3" from the node's dev attribute, empty when unknown
  HidAttributes attributes;
  int interface_number = -1;  // -1: no &mi_ token
  HidReportDescriptor descriptor;
};

// Gathers the facts of the hidraw class device at syspath. False with a reason when something
// essential (owner, HID_ID, a descriptor that parses) is missing.
bool DescribeHidrawNode(SysfsSource& sysfs, const std::string& syspath, HidrawNode& node, std::string& error);

// One path per top-level collection, in descriptor order; &colNN only with more than one.
std::vector<std::string> HidrawPaths(const std::string& dev_root, const HidrawNode& node);

struct HidrawPathParts {
  std::string number;    // "3"
  std::string hid_name;  // "0003:320F:505B.0007"
};

// Splits a path of this backend; false when it does not have the backend's shape.
bool ParseHidrawPath(std::string_view dev_root, std::string_view path, HidrawPathParts& parts);

// Interface number from an "input<N>" (decimal) ending of HID_PHYS, -1 without one.
int InterfaceFromPhys(std::string_view phys);

}  // namespace zrv::device
