#pragma once
// Small virtual HID devices for the transport tests.

#include <atomic>
#include <functional>
#include <mutex>
#include <vector>

#include "device/virtual_hid.h"

namespace zrv::device::testing {

// Interface 1 of a keyboard-like device: collection 1 consumer control (report 3: two 16-bit usage
// slots), collection 2 vendor 0xFF1C/0x92 (report 4: 63 data bytes in and out).
inline std::vector<uint8_t> TwoCollectionDescriptor() {
  return {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x15, 0x00, 0x26, 0xFF, 0x0F, 0x19, 0x00, 0x2A, 0xFF, 0x0F,
          0x75, 0x10, 0x95, 0x02, 0x81, 0x00, 0xC0, 0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x85, 0x04, 0x15, 0x00,
          0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x3F, 0x09, 0x01, 0x81, 0x02, 0x09, 0x01, 0x91, 0x02, 0xC0};
}

// A single collection without report IDs: 8 bytes in, 8 bytes out.
inline std::vector<uint8_t> UnnumberedDescriptor() {
  return {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75,
          0x08, 0x95, 0x08, 0x09, 0x01, 0x81, 0x02, 0x09, 0x01, 0x91, 0x02, 0xC0};
}

// Records what it receives; by default answers every output report with the same bytes.
class EchoDevice : public VirtualHidDevice {
 public:
  EchoDevice(std::vector<uint8_t> descriptor, uint16_t vendor = 0x320F, uint16_t product = 0x505B, int interface = 1)
      : descriptor_(std::move(descriptor)), attributes_{vendor, product, 0x0102}, interface_(interface) {}

  HidAttributes Attributes() const override { return attributes_; }
  int InterfaceNumber() const override { return interface_; }
  std::vector<uint8_t> ReportDescriptor() const override { return descriptor_; }

  void OnOutputReport(std::span<const uint8_t> report) override {
    {
      std::lock_guard lock(mutex_);
      received_.emplace_back(report.begin(), report.end());
    }
    if (echo_) SendInputReport(report);
  }

  std::vector<std::vector<uint8_t>> Received() const {
    std::lock_guard lock(mutex_);
    return received_;
  }
  void SetEcho(bool echo) { echo_ = echo; }

 private:
  std::vector<uint8_t> descriptor_;
  HidAttributes attributes_;
  int interface_;
  std::atomic<bool> echo_{true};
  mutable std::mutex mutex_;
  std::vector<std::vector<uint8_t>> received_;
};

}  // namespace zrv::device::testing
