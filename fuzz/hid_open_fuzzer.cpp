// Plugs a virtual device with arbitrary bytes as its report descriptor and opens every collection
// it gets, as discovery and the presence check do: the capability building and the item arrays of
// an Open, then the unpacking of input reports made of the same bytes. A descriptor must never make
// an Open take memory beyond what its reports can carry (the run has a memory limit), and a decode
// must stay inside the items it was given.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "device/hid_interface.h"
#include "device/virtual_hid.h"

namespace {

using namespace zrv::device;

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "hid_open_fuzzer: broken invariant: %s\n", what);
  std::abort();
}

class FuzzedDevice : public VirtualHidDevice {
 public:
  explicit FuzzedDevice(std::vector<uint8_t> descriptor) : descriptor_(std::move(descriptor)) {}
  HidAttributes Attributes() const override { return {0x320F, 0x505B, 0x0102}; }
  int InterfaceNumber() const override { return 1; }
  std::vector<uint8_t> ReportDescriptor() const override { return descriptor_; }
  void OnOutputReport(std::span<const uint8_t>) override {}

 private:
  std::vector<uint8_t> descriptor_;
};

// Input reports of every length up to the longest the collection reads, with each report ID the
// input bytes start with, filled from the input.
void UnpackReports(HidInterface& hid, std::span<const uint8_t> input) {
  const size_t longest = hid.InputReportLength();
  for (size_t seed = 0; seed < 4 && seed < input.size() + 1; ++seed) {
    for (size_t length : {size_t{1}, longest / 2, longest}) {
      if (length == 0) continue;
      std::vector<uint8_t> report(length);
      for (size_t i = 0; i < length && !input.empty(); ++i) report[i] = input[(i + seed) % input.size()];
      hid.UnpackInputReport(report);
      for (const HidDataItem& item : hid.InputItems()) {
        if (item.is_button) Check(item.usages.size() == item.max_usage_length, "a button item's list changed size");
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ScopedHidBackends* backends = new ScopedHidBackends({VirtualHidRegistry::Instance().Backend()});
  (void)backends;
  auto device = std::make_shared<FuzzedDevice>(std::vector<uint8_t>(data, data + size));
  if (VirtualHidRegistry::Instance().Plug(device) == 0) return 0;  // refused as malformed
  const std::span<const uint8_t> input(data, size);
  for (const std::string& path : VirtualHidRegistry::Instance().PathsOf(device)) {
    HidInterface hid;
    if (hid.Open(path, true, false, true, false) != 1) continue;
    UnpackReports(hid, input);
    hid.Close();
  }
  VirtualHidRegistry::Instance().Unplug(device);
  return 0;
}
