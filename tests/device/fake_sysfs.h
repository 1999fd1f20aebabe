#pragma once
// A sysfs tree and a /dev folder in a temporary folder, laid out as the kernel lays out HID devices,
// and stand-in device nodes for the hidraw backend.
//
// USB HID:  devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1/0003:320F:505B.0007/hidraw/hidraw3
//           (PCI controller, root hub, USB device with bcdDevice, USB interface with
//           bInterfaceNumber, HID device with uevent and report_descriptor, hidraw class device
//           with dev and a "device" link back to the HID device)
// uhid:     devices/virtual/misc/uhid/0003:1234:5678.0009/hidraw/hidraw5 (no USB parents)
// Input:    <HID device>/input/input<N>/id/{bustype,vendor,product,version} beside hidraw/, when
//           the HID input driver took one of the device's collections
// Every device folder has a uevent file and a "subsystem" link into bus/ or class/; the class
// folder class/hidraw holds one link per node.

#include <sys/types.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace zrv::device::testing {

struct FakeHid {
  uint16_t bus = 0x0003;
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  unsigned sequence = 1;  // the kernel's running number of HID devices (".0007")
  unsigned hidraw = 0;    // node number
  std::string phys;       // HID_PHYS
  std::vector<uint8_t> descriptor;
  // Version of the input device the kernel's HID input driver makes for a device with keyboard,
  // mouse or consumer collections (input/input<N>/id/version); -1: no input device.
  int input_version = -1;
};

class FakeSysfs {
 public:
  FakeSysfs();
  ~FakeSysfs();
  FakeSysfs(const FakeSysfs&) = delete;
  FakeSysfs& operator=(const FakeSysfs&) = delete;

  const std::string& SysRoot() const { return sys_; }
  const std::string& DevRoot() const { return dev_; }

  // A USB device at port ("1-2") of root hub usb1; created on first use. Returns its syspath.
  std::string UsbDevice(const std::string& port, uint16_t vendor_id, uint16_t product_id, uint16_t bcd_device);
  // Interface number of configuration 1 of a USB device; created on first use.
  std::string UsbInterface(const std::string& usb_device, int number);
  // The uhid misc device, parent of HID devices created from user space.
  std::string Uhid();
  // A Bluetooth link of host hci0 on a USB adapter at port 1-5.
  std::string BluetoothLink();

  // Adds a HID device below parent with its hidraw node (class link, node file in DevRoot()).
  // Returns the HID device's syspath.
  std::string AddHid(const std::string& parent, const FakeHid& hid);
  // The kernel dropping a HID device: its folder, its class link and its node file go away.
  void Remove(const std::string& hid_syspath);
  // Syspath of the hidraw class device of a HID device added by AddHid.
  static std::string HidrawOf(const std::string& hid_syspath, unsigned hidraw);

  static void WriteFile(const std::string& path, const std::string& content);

 private:
  std::string Device(const std::string& path, const std::string& subsystem_link, const std::string& uevent);

  std::string base_;
  std::string sys_;
  std::string dev_;
};

// Stand-in device nodes: every open of an existing node file gets its own SOCK_SEQPACKET pair (as
// every open hidraw file gets its own copy of the reports); the device side stays here.
class FakeNodes {
 public:
  ~FakeNodes();
  int Open(const std::string& node, int flags);

  struct Opened {
    std::string node;
    int flags = 0;
    int device_fd = -1;  // -1 once unplugged
  };
  // Device side of the n-th open (in order of opening).
  int DeviceSide(size_t n) const;
  size_t OpenCount() const;
  int FlagsOf(size_t n) const;
  // Closes the device side of every open: the device is gone.
  void Unplug();

 private:
  mutable std::mutex mutex_;
  std::vector<Opened> opened_;
};

// Bytes from hexadecimal text ("05 01 09 06 ..."); fails the calling test on bad text.
std::vector<uint8_t> Hex(const std::string& text);

}  // namespace zrv::device::testing
