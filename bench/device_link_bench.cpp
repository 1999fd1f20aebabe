// Command exchanges through DeviceLink against the simulated keyboard:
// - round trips per second when the firmware answers at once (the link's and transport's own cost;
//   the target is at least 20 000 per second on one thread);
// - a 512-byte WriteKeys when every report spends 1 ms on the bus, as with a device polled at 1 kHz
//   (10 frames of one write and one read each: 20 ms is the floor).

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

#include "device/device_link.h"
#include "device/virtual_hid.h"
#include "sim/keyboard_model.h"

namespace {

using namespace zrv;

// A keyboard model plugged in and a link attached to its command collection, as discovery does it.
class Session {
 public:
  explicit Session(std::chrono::microseconds latency)
      : backends_({device::VirtualHidRegistry::Instance().Backend()}), keyboard_(sim::KeyboardModel::Create()) {
    keyboard_->Log().SetCapacity(0);  // a long run keeps no traffic
    keyboard_->SetReportLatency(latency);
    if (!keyboard_->Plug()) return;
    std::lock_guard io(link_.IoLock());
    ok_ = link_.Hid().Open(keyboard_->CommandPath(), true, true, true, false) == 1;
    link_.SetConnected(ok_);
  }
  ~Session() {
    link_.SetConnected(false);
    link_.Hid().Close();
    keyboard_->Unplug();
  }
  bool ok() const { return ok_; }
  device::DeviceLink& link() { return link_; }

 private:
  device::ScopedHidBackends backends_;
  std::shared_ptr<sim::KeyboardModel> keyboard_;
  device::DeviceLink link_;
  bool ok_ = false;
};

// One single-frame command: one write, one read.
void BM_CommandRoundTrip(benchmark::State& state) {
  Session session(std::chrono::microseconds(0));
  if (!session.ok()) {
    state.SkipWithError("attach failed");
    return;
  }
  for (auto _ : state) {
    if (session.link().Begin() != 1) {
      state.SkipWithError("command failed");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CommandRoundTrip)->UseRealTime();

// The information block (one frame that carries data back).
void BM_ReadInfo(benchmark::State& state) {
  Session session(std::chrono::microseconds(0));
  if (!session.ok()) {
    state.SkipWithError("attach failed");
    return;
  }
  std::array<uint8_t, device::DeviceLink::kInfoBlockSize> info{};
  for (auto _ : state) {
    if (session.link().ReadInfo(info) != 1) {
      state.SkipWithError("command failed");
      break;
    }
    benchmark::DoNotOptimize(info);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadInfo)->UseRealTime();

// A full key table with the given per-report latency in microseconds.
void BM_WriteKeys512(benchmark::State& state) {
  Session session(std::chrono::microseconds(state.range(0)));
  if (!session.ok()) {
    state.SkipWithError("attach failed");
    return;
  }
  std::vector<uint8_t> table(512);
  for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<uint8_t>(i);
  for (auto _ : state) {
    if (session.link().WriteKeys(table, 0) != 1) {
      state.SkipWithError("command failed");
      break;
    }
  }
  state.counters["frames"] = 10;
}
BENCHMARK(BM_WriteKeys512)->Arg(0)->Arg(1000)->UseRealTime()->Unit(benchmark::kMillisecond);

// A 126-LED light frame (7 frames) with no latency.
void BM_SendLightFrame(benchmark::State& state) {
  Session session(std::chrono::microseconds(0));
  if (!session.ok()) {
    state.SkipWithError("attach failed");
    return;
  }
  std::vector<uint8_t> colours(126 * 3, 0x40);
  for (auto _ : state) {
    if (session.link().SendLightFrame(colours) != 1) {
      state.SkipWithError("light frame failed");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SendLightFrame)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
