#pragma once
// A virtual HID device (a simulator firmware model) plugged into the kernel through /dev/uhid, so
// that it shows as a real USB HID interface: a HID device in sysfs with a /dev/hidrawN node, read
// and written by every program exactly as a plugged-in device is.
//
// The kernel device carries bus USB, the model's vendor id, product id, version, name and report
// descriptor, and a phys string "usb-zrv31-uhid-<process>.<n>/input<interface>" whose ending tells
// the host the USB interface number (as the USB HID driver's phys strings do) and whose beginning
// makes it unique, so that the bridge can find its own node in sysfs.
//
// One thread per device serves the kernel's events: output reports (UHID_OUTPUT) go to the model's
// OnOutputReport, GET_REPORT and SET_REPORT requests to OnGetReport / OnSetReport and are answered
// (a refusal as EIO); the model's input reports go to the kernel as UHID_INPUT2 from whichever
// thread sends them. Unplug() destroys the kernel device; its hidraw node and sysfs entries are
// gone when it returns, and every open handle of the node fails from then on.
//
// A model is one USB interface; a device with several interfaces is several models, each bridged on
// its own.

#include <linux/uhid.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "device/hid_descriptor.h"
#include "device/virtual_hid.h"
#include "sim/uhid_node_watch.h"

namespace zrv::sim {

class UhidChannel;

struct UhidOptions {
  std::string uhid_path = "/dev/uhid";
  std::string sysfs_root = "/sys";
  std::string dev_root = "/dev";
  // How long Create waits for the kernel to show the hidraw node.
  std::chrono::milliseconds ready_timeout{5000};
};

class UhidDevice {
 public:
  // Creates the kernel device for model and waits until its hidraw node exists. Null with a reason
  // when the model is plugged already (in-process or through another bridge), /dev/uhid cannot be
  // opened, the descriptor is refused or the node does not appear in time (the half-made device is
  // destroyed again).
  static std::unique_ptr<UhidDevice> Create(std::shared_ptr<device::VirtualHidDevice> model, std::string& error,
                                            const UhidOptions& options = {});
  // Unplugs.
  ~UhidDevice();
  UhidDevice(const UhidDevice&) = delete;
  UhidDevice& operator=(const UhidDevice&) = delete;

  // Destroys the kernel device, ends the event thread and gives the model's input reports back to
  // the in-process registry. Idempotent. Not from inside the model's callbacks (it joins the thread
  // that runs them).
  void Unplug();
  bool Plugged() const { return plugged_.load(); }

  const std::shared_ptr<device::VirtualHidDevice>& Model() const { return model_; }
  const std::string& Phys() const { return phys_; }
  // The kernel's names, as found when the device appeared.
  const std::string& HidName() const { return kernel_.hid_name; }  // "0003:320F:505B.0004"
  const std::string& NodePath() const { return kernel_.node; }     // "/dev/hidraw3"
  const std::string& SysPath() const { return kernel_.syspath; }

  // Events served so far, for tests and diagnostics.
  uint64_t OutputReports() const { return output_reports_.load(); }
  uint64_t GetReports() const { return get_reports_.load(); }
  uint64_t SetReports() const { return set_reports_.load(); }
  // Host handles open on the device (UHID_OPEN minus UHID_CLOSE).
  int OpenCount() const { return open_count_.load(); }

 private:
  UhidDevice(std::shared_ptr<device::VirtualHidDevice> model, std::shared_ptr<UhidChannel> channel, int stop_fd,
             std::string phys);
  void Run();
  void HandleEvent(const ::uhid_event& event);

  const std::shared_ptr<device::VirtualHidDevice> model_;
  const std::shared_ptr<UhidChannel> channel_;
  const int stop_fd_;  // eventfd: readable once the thread is to end
  const std::string phys_;
  UhidKernelDevice kernel_;
  std::thread thread_;
  std::atomic<bool> plugged_{true};
  std::atomic<uint64_t> output_reports_{0};
  std::atomic<uint64_t> get_reports_{0};
  std::atomic<uint64_t> set_reports_{0};
  std::atomic<int> open_count_{0};
};

}  // namespace zrv::sim
