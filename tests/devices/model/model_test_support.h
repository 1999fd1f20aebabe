#pragma once
// Helpers of the model tests: a clock the test moves, a page stand-in that records what the model
// asks of it, and a simulated device with a model's command link open on it.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "device/hid_backend.h"
#include "device/virtual_hid.h"
#include "devices/model/device_page_view.h"
#include "devices/model/usb_device.h"
#include "sim/firmware_model.h"

namespace zrv::devices::testing {

// A steady clock that stands still until the test advances it.
class ManualClock {
 public:
  CHalveronUSBDevice::ClockFunction Function() {
    return [this] { return now_; };
  }
  void Advance(std::chrono::milliseconds by) { now_ += by; }

 private:
  CHalveronUSBDevice::Clock::time_point now_{std::chrono::hours(1)};
};

struct PaintedKey {
  int index = 0;
  uint32_t colour = 0;
  int intensity = 0;
};

class RecordingView : public DevicePageView {
 public:
  void PaintKey(int index, uint32_t colour, int intensity) override { painted.push_back({index, colour, intensity}); }
  void ShowFunctionPages(const FunctionPages& pages) override { shown.push_back(pages); }

  std::vector<PaintedKey> painted;
  std::vector<FunctionPages> shown;
};

// Every test sees only the simulated devices it plugs, and leaves none behind.
class SimulatorTest : public ::testing::Test {
 protected:
  SimulatorTest() : backends_({device::VirtualHidRegistry::Instance().Backend()}) {}
  ~SimulatorTest() override { device::VirtualHidRegistry::Instance().UnplugAll(); }

  // Opens the model's command link on the device's command collection, as attaching does.
  static void Connect(CHalveronUSBDevice& model, const sim::FirmwareModel& device) {
    device::DeviceLink& link = model.CommandLink();
    ASSERT_EQ(link.Hid().Open(device.CommandPath(), true, true, true, false), 1);
    link.SetConnected(true);
  }

 private:
  device::ScopedHidBackends backends_;
};

}  // namespace zrv::devices::testing
