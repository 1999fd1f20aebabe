// Writing a full keyboard's key table through its model, with every report spending 1 ms on the
// bus as with a keyboard polled at 1 kHz. The floor is what the frames alone take: two reports per
// frame (request and answer) plus the 10 ms pause before the closing End; "of_floor" is the
// measured time over that floor (the target: at most 1.10).

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

#include "device/device_link.h"
#include "device/hid_backend.h"
#include "device/key_identity_table.h"
#include "device/virtual_hid.h"
#include "devices/model/keyboard_device.h"
#include "sim/keyboard_model.h"

namespace {

using namespace zrv;

constexpr std::chrono::microseconds kReportTime{1000};
constexpr double kEndPauseMs = 10.0;

void BM_KeyboardKeyTableWrite(benchmark::State& state) {
  device::ScopedHidBackends backends({device::VirtualHidRegistry::Instance().Backend()});
  std::shared_ptr<sim::KeyboardModel> keyboard = sim::KeyboardModel::Create();
  devices::CHalveronKeyboardDevice model;
  if (!keyboard->Plug()) {
    state.SkipWithError("plug failed");
    return;
  }
  device::DeviceLink& link = model.CommandLink();
  if (link.Hid().Open(keyboard->CommandPath(), true, true, true, false) != 1) {
    state.SkipWithError("open failed");
    return;
  }
  link.SetConnected(true);
  model.ReadDeviceTables();

  // Every key given another function, so that the whole table is built from assignments.
  std::vector<config::KeyRecord> keys;
  for (size_t j = 0; j < device::kKeyboardLogicalKeys; ++j) {
    const auto own = config::KeyHalf::FromCode(static_cast<uint16_t>(j), device::kKeyIdentityTable[j].Packed());
    keys.push_back({config::KeyHalf::FromCode(static_cast<uint16_t>(j), 0x300000u | ((j & 0xFFu) << 8)), own});
  }
  keyboard->SetReportLatency(kReportTime);
  keyboard->Log().Clear();
  if (model.WriteKeyAssignments(0, keys) != 1) {
    state.SkipWithError("write failed");
    return;
  }
  const size_t frames = keyboard->Log().CountCommandFrames(sim::Direction::kToDevice);
  keyboard->Log().SetCapacity(0);

  for (auto _ : state) model.WriteKeyAssignments(0, keys);

  const double floor_ms = static_cast<double>(frames) * 2.0 * kReportTime.count() / 1000.0 + kEndPauseMs;
  state.counters["frames"] = static_cast<double>(frames);
  state.counters["floor_ms"] = floor_ms;
  state.counters["of_floor"] = benchmark::Counter(static_cast<double>(state.iterations()) * floor_ms / 1000.0,
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  link.SetConnected(false);
  link.Hid().Close();
  keyboard->Unplug();
}
BENCHMARK(BM_KeyboardKeyTableWrite)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
