// Command round trips per second through DeviceLink against the simulated keyboard, over two
// transports: the in-process virtual backend, and the real kernel (the keyboard bridged through
// /dev/uhid and reached through its hidraw node). The kernel variant needs /dev/uhid, so it runs
// inside the test VM:
//   ../shared/tools/vm-run -- build/bench/uhid_link_bench
// Elsewhere it reports an error and only the virtual figure is measured.

#include <unistd.h>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "device/device_link.h"
#include "device/hid_interface.h"
#include "sim/keyboard_model.h"
#include "sim/sim_ids.h"
#include "sim/uhid_device.h"

namespace {

using zrv::device::DeviceLink;

// The command collection's path among the enumerated ones that contain tag.
std::string CommandPathTagged(const std::string& tag) {
  zrv::device::HidInterface enumerator;
  if (enumerator.EnumeratePaths() != 1) return {};
  while (auto path = enumerator.NextPath()) {
    if (path->find(tag) != std::string::npos && path->ends_with("&col04")) return *path;
  }
  return {};
}

// One Probe (command 0xAA: one 64-byte output report, one 64-byte input report) per iteration.
void RunProbes(benchmark::State& state, const std::string& path) {
  DeviceLink link;
  if (path.empty() || link.Hid().Open(path, true, true, true, false) != 1) {
    state.SkipWithError("the keyboard's command collection cannot be opened");
    return;
  }
  link.SetConnected(true);
  for (auto _ : state) {
    if (link.Probe() != 1) {
      state.SkipWithError("probe failed");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations());
  link.SetConnected(false);
  link.Hid().Close();
}

void BM_CommandRoundTripVirtual(benchmark::State& state) {
  auto keyboard = zrv::sim::KeyboardModel::Create();
  if (!keyboard->Plug()) {
    state.SkipWithError("plugging the simulated keyboard failed");
    return;
  }
  RunProbes(state, keyboard->CommandPath());
  keyboard->Unplug();
}

void BM_CommandRoundTripKernel(benchmark::State& state) {
  if (::access("/dev/uhid", R_OK | W_OK) != 0) {
    state.SkipWithError("no /dev/uhid here (run inside the test VM)");
    return;
  }
  auto keyboard = zrv::sim::KeyboardModel::Create();
  std::string error;
  auto bridged = zrv::sim::UhidDevice::Create(keyboard, error);
  if (!bridged) {
    state.SkipWithError(error.c_str());
    return;
  }
  RunProbes(state, CommandPathTagged("#" + bridged->HidName() + "#"));
}

// Real time: a round trip is mostly waiting for the other side (model thread, kernel).
BENCHMARK(BM_CommandRoundTripVirtual)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_CommandRoundTripKernel)->UseRealTime()->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
