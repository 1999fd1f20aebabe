// One step of the keyboard's on-screen effects over its 126 keys, per effect family (the goal is
// under 50 us a step for the main zone), and one pass of the main zone's thread at the fastest
// speed, as the thread runs it every 10 ms.

#include <benchmark/benchmark.h>

#include <vector>

#include "devices/model/keyboard_effects.h"
#include "devices/model/keyboard_light_tables.h"

namespace zrv::devices {
namespace {

void BM_MainStep(benchmark::State& state) {
  const auto effect = static_cast<uint8_t>(state.range(0));
  const config::LightZoneFields zone{effect, 24, 0, 1, 1, 255, 128, 0};
  LightingEngine::EffectState effect_state;
  KeyboardEffectExtras extras;
  PrepareMainEffect(effect, effect_state, extras);
  const std::vector<Rgb> custom(kKeyboardKeys, Rgb{1, 2, 3});
  std::vector<KeyColour> keys(kKeyboardKeys);
  unsigned n = 0;
  for (auto _ : state) {
    // Reactive effects get a press now and then, as a typist gives them.
    if (++n % 16 == 0) {
      extras.fresh[n % kKeyboardKeys] = true;
      effect_state.fade[n % kKeyboardKeys] = 255;
    }
    StepMainEffect(effect, zone, custom, effect_state, extras, keys);
    benchmark::DoNotOptimize(keys.data());
  }
}
BENCHMARK(BM_MainStep)->ArgName("effect")->DenseRange(1, 18)->Arg(20)->Arg(21)->Arg(27);

void BM_ZoneStep(benchmark::State& state) {
  const config::LightZoneFields zone{0, 24, 0, 1, 1, 255, 128, 0};
  ZoneEffectState zone_state;
  std::vector<KeyColour> logo(15);
  for (auto _ : state) {
    StepZoneEffect(static_cast<int>(state.range(0)), zone, zone_state, logo);
    benchmark::DoNotOptimize(logo.data());
  }
}
BENCHMARK(BM_ZoneStep)->ArgName("effect")->DenseRange(0, 4);

}  // namespace
}  // namespace zrv::devices

BENCHMARK_MAIN();
