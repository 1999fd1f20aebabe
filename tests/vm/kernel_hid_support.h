#pragma once
// Helpers of the tests against the real kernel HID stack: simulated devices plugged through
// /dev/uhid, and the interface paths the hidraw backend gives them.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "device/device_link.h"
#include "device/hid_interface.h"
#include "sim/firmware_model.h"
#include "sim/uhid_device.h"

namespace zrv::vmtest {

using Clock = std::chrono::steady_clock;

inline double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A model plugged into the kernel; unplugged when it goes.
struct Bridged {
  std::shared_ptr<sim::FirmwareModel> model;
  std::unique_ptr<sim::UhidDevice> device;
};

// Creates and plugs the named simulated device; fails the test (and returns an empty result) when
// the kernel does not take it.
Bridged PlugThroughUhid(const std::string& kind);

// Every interface path the HID enumerator lists now.
std::vector<std::string> EnumeratePaths();

// The paths of a bridged device, in collection order: those naming its kernel HID device.
std::vector<std::string> PathsOf(const sim::UhidDevice& device);

// The path of collection (1-based) of a bridged device; empty when there is none.
std::string CollectionPath(const sim::UhidDevice& device, int collection);

// Opens link on path for reading and writing and marks it connected, as attaching does; false when
// the path does not open.
bool Connect(device::DeviceLink& link, const std::string& path);

// Skips the calling test outside a machine with uhid (the host that builds the tests).
bool HaveUhid();

}  // namespace zrv::vmtest
