// Cost of one write + read round trip through HidInterface on an in-process virtual device that
// answers every output report at once: the transport's own share of a command exchange.

#include <benchmark/benchmark.h>

#include <vector>

#include "device/hid_interface.h"
#include "device/virtual_hid.h"

namespace {

using namespace zrv::device;

// Vendor collection 0xFF1C/0x92 with report 4 of 63 data bytes in and out, beside a consumer collection.
const std::vector<uint8_t> kDescriptor = {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x15, 0x00, 0x26, 0xFF, 0x0F,
                                          0x19, 0x00, 0x2A, 0xFF, 0x0F, 0x75, 0x10, 0x95, 0x02, 0x81, 0x00, 0xC0, 0x06,
                                          0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x85, 0x04, 0x15, 0x00, 0x26, 0xFF, 0x00,
                                          0x75, 0x08, 0x95, 0x3F, 0x09, 0x01, 0x81, 0x02, 0x09, 0x01, 0x91, 0x02, 0xC0};

class Echo : public VirtualHidDevice {
 public:
  HidAttributes Attributes() const override { return {0x320F, 0x505B, 0x0100}; }
  int InterfaceNumber() const override { return 1; }
  std::vector<uint8_t> ReportDescriptor() const override { return kDescriptor; }
  void OnOutputReport(std::span<const uint8_t> report) override { SendInputReport(report); }
};

void BM_WriteReadRoundTrip(benchmark::State& state) {
  ScopedHidBackends only_virtual({VirtualHidRegistry::Instance().Backend()});
  auto device = std::make_shared<Echo>();
  VirtualHidRegistry::Instance().Plug(device);
  HidInterface hid;
  if (hid.Open(VirtualHidRegistry::Instance().PathsOf(device).at(1), true, true, true, false) != 1) {
    state.SkipWithError("open failed");
    return;
  }
  uint8_t request[64] = {0x04, 0x00, 0x00, 0x03, 0x22};
  uint8_t reply[64];
  for (auto _ : state) {
    uint32_t n = 0;
    if (hid.WriteReport(64, &n, request, 1000) != 1 || hid.ReadReport(64, &n, reply, 1000) != 1) {
      state.SkipWithError("transfer failed");
      break;
    }
    benchmark::DoNotOptimize(reply);
  }
  hid.Close();
  VirtualHidRegistry::Instance().Unplug(device);
}
// CPU time is what the target is about: the process's own cost per round trip.
BENCHMARK(BM_WriteReadRoundTrip)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
