// How soon discovery reports a simulated keyboard that is unplugged (both collections removed) and
// plugged in again (both attached). The device is moved at a random moment of the 100 ms cycle; the
// time reported per iteration is the wait for the last of the two messages.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

#include "device/device_grab_thread.h"
#include "device/discovery_queue.h"
#include "device/virtual_hid.h"
#include "sim/keyboard_model.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using zrv::device::DiscoveryMessage;

struct Discovery {
  Discovery()
      : backends({zrv::device::VirtualHidRegistry::Instance().Backend()}),
        list(zrv::device::DeviceIdOverrides{}),
        thread(list, queue) {}

  // Handles messages until count messages of kind arrived; the time the last one arrived.
  Clock::time_point WaitFor(DiscoveryMessage kind, int count) {
    Clock::time_point last{};
    while (count > 0) {
      queue.ProcessNext(
          [&](DiscoveryMessage message, size_t) {
            if (message == kind) {
              --count;
              last = Clock::now();
            }
          },
          1s);
    }
    return last;
  }

  zrv::device::ScopedHidBackends backends;
  zrv::device::InterfaceList list;
  zrv::device::DiscoveryQueue queue;
  zrv::device::DeviceGrabThread thread;
};

void Measure(benchmark::State& state, DiscoveryMessage measured) {
  auto keyboard = zrv::sim::KeyboardModel::Create();
  keyboard->Plug();
  Discovery discovery;
  discovery.thread.Start();
  discovery.WaitFor(DiscoveryMessage::kDeviceAdd, 2);
  if (measured == DiscoveryMessage::kDeviceAdd) {
    keyboard->Unplug();
    discovery.WaitFor(DiscoveryMessage::kDeviceRemove, 2);
  }
  std::mt19937 random(31);
  std::uniform_int_distribution<int> phase_us(0, 100000);
  double worst = 0;
  for (auto _ : state) {
    std::this_thread::sleep_for(std::chrono::microseconds(phase_us(random)));
    const auto start = Clock::now();
    if (measured == DiscoveryMessage::kDeviceRemove) {
      keyboard->Unplug();
    } else {
      keyboard->Plug();
    }
    const auto end = discovery.WaitFor(measured, 2);
    const double seconds = std::chrono::duration<double>(end - start).count();
    worst = std::max(worst, seconds);
    state.SetIterationTime(seconds);
    // Back to the starting state, outside the measurement.
    if (measured == DiscoveryMessage::kDeviceRemove) {
      keyboard->Plug();
      discovery.WaitFor(DiscoveryMessage::kDeviceAdd, 2);
    } else {
      keyboard->Unplug();
      discovery.WaitFor(DiscoveryMessage::kDeviceRemove, 2);
    }
  }
  state.counters["worst_ms"] = worst * 1000;
  discovery.thread.StopAndWait(std::chrono::seconds(60));
  zrv::device::VirtualHidRegistry::Instance().UnplugAll();
}

void BM_RemovalReported(benchmark::State& state) { Measure(state, DiscoveryMessage::kDeviceRemove); }

void BM_ArrivalReported(benchmark::State& state) { Measure(state, DiscoveryMessage::kDeviceAdd); }

}  // namespace

BENCHMARK(BM_RemovalReported)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArrivalReported)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
