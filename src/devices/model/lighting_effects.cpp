// The effect steps and the reactive state of the lighting engine.

#include <algorithm>
#include <chrono>

#include "devices/model/effect_tables.h"
#include "devices/model/lighting_engine.h"
#include "devices/model/phase_stepper.h"

namespace zrv::devices {
namespace {

// Colour index limits: the rainbow effects step by 16 up to the last index they may use.
constexpr uint8_t kRainbowColourStep = 16;
constexpr uint8_t kBreathingLastColour = 192;  // entry 192 repeats entry 0
constexpr uint8_t kBlinkLastColour = 191;

uint8_t NextRainbowColour(uint8_t index, uint8_t last) {
  const unsigned next = unsigned{index} + kRainbowColourStep;
  return next > last ? 0 : static_cast<uint8_t>(next);
}

uint8_t NextCycleColour(uint8_t index) { return index + 1u >= kCycleColourCount ? 0 : static_cast<uint8_t>(index + 1); }

// An index left by another effect is brought back into the range of the table in use.
uint8_t Within(uint8_t index, size_t count) { return index < count ? index : 0; }

Rgb RecordColour(const config::LightZoneFields& zone) { return {zone.red, zone.green, zone.blue}; }

// The colour of breathing and blink: a fixed colour when cycling, else the rainbow entry of the
// colour index with the multicolour flag, else the record's colour. The index is within the table.
Rgb EffectColour(const config::LightZoneFields& zone, bool cycle, uint8_t colour_index) {
  if (cycle) return kCycleColours[colour_index];
  if (zone.multi_color != 0) return kRainbowTable[colour_index];
  return RecordColour(zone);
}

}  // namespace

uint8_t LightingEngine::MainIntensity() const { return IntensityOfLevel(main_.main.light); }

void LightingEngine::FillKeyColours(KeyColour colour) { std::fill(key_colours_.begin(), key_colours_.end(), colour); }

void LightingEngine::Breathing(bool cycle) {
  std::lock_guard lock(lock_);
  const config::LightZoneFields& zone = main_.main;
  ++effect_.step_counter;
  const size_t colours = cycle ? kCycleColourCount : kRainbowSteps + 1;
  effect_.colour_index = Within(effect_.colour_index, colours);
  if (StepPhase(effect_.phase, kBreathingSteps, zone.fx != 0)) {
    effect_.colour_index =
        cycle ? NextCycleColour(effect_.colour_index) : NextRainbowColour(effect_.colour_index, kBreathingLastColour);
  }
  const Rgb colour = EffectColour(zone, cycle, effect_.colour_index);
  const auto intensity = static_cast<uint8_t>(unsigned{kBreathingCurve[effect_.phase]} * MainIntensity() / 256);
  FillKeyColours(MakeKeyColour(colour, intensity));
}

void LightingEngine::Static() {
  std::lock_guard lock(lock_);
  ++effect_.step_counter;
  FillKeyColours(MakeKeyColour(RecordColour(main_.main), MainIntensity()));
}

void LightingEngine::Spectrum() {
  std::lock_guard lock(lock_);
  ++effect_.step_counter;
  StepPhase(effect_.phase, kRainbowSteps, main_.main.fx != 0);
  FillKeyColours(MakeKeyColour(kRainbowTable[effect_.phase], MainIntensity()));
}

// A blink period is measured in time, not in calls, so that it lasts 100 step thresholds of the
// record's speed however often the caller steps: the keys are lit for one period, dark for the
// next, and every toggle moves the colour index on.
void LightingEngine::Blink(bool cycle) {
  std::lock_guard lock(lock_);
  BlinkAtPeriod(cycle, std::chrono::milliseconds(BlinkPeriodMs(main_.main.speed)));
}

void LightingEngine::BlinkAtPeriod(bool cycle, std::chrono::milliseconds period) {
  std::lock_guard lock(lock_);
  const config::LightZoneFields& zone = main_.main;
  if (period.count() <= 0) period = std::chrono::milliseconds(1);
  ++effect_.step_counter;
  const size_t colours = cycle ? kCycleColourCount : kBlinkLastColour + 1;
  effect_.colour_index = Within(effect_.colour_index, colours);
  const Clock::time_point now = Now();
  if (!blink_running_) {
    blink_running_ = true;
    blink_started_ = now;
    effect_.counter_a = 1;
  } else if (now - blink_started_ >= period) {
    // Periods run back to back; a caller that stalled for several periods toggles once.
    blink_started_ = now - (now - blink_started_) % period;
    effect_.counter_a = effect_.counter_a != 0 ? 0 : 1;
    effect_.colour_index =
        cycle ? NextCycleColour(effect_.colour_index) : NextRainbowColour(effect_.colour_index, kBlinkLastColour);
  }
  if (effect_.counter_a == 0) {
    FillKeyColours(0);
    return;
  }
  FillKeyColours(MakeKeyColour(EffectColour(zone, cycle, effect_.colour_index), MainIntensity()));
}

void LightingEngine::Off() {
  std::lock_guard lock(lock_);
  ++effect_.step_counter;
  FillKeyColours(0);
}

// ---- reactive state

void LightingEngine::FadeKey(int index, bool fast) {
  std::lock_guard lock(lock_);
  if (index < 0 || static_cast<size_t>(index) >= kLogicalKeys) return;
  uint8_t& value = effect_.fade[static_cast<size_t>(index)];
  value = FadedValue(value, fast);
}

void LightingEngine::MarkPressedKeys() {
  std::lock_guard lock(lock_);
  for (size_t i = 0; i < kMarkedRingPositions && i < kLogicalKeys; ++i) {
    if (effect_.ring[i] != 0) effect_.fade[i] = 255;
  }
}

void LightingEngine::ShiftRing(bool forwards) {
  std::lock_guard lock(lock_);
  auto& ring = effect_.ring;
  if (forwards) {
    std::rotate(ring.rbegin(), ring.rbegin() + 1, ring.rend());
  } else {
    std::rotate(ring.begin(), ring.begin() + 1, ring.end());
  }
}

void LightingEngine::ClearReactiveState() {
  std::lock_guard lock(lock_);
  effect_.fade.fill(0);
  effect_.ring.fill(0);
}

LightingEngine::EffectState LightingEngine::State() const {
  std::lock_guard lock(lock_);
  return effect_;
}

void LightingEngine::SetRingValue(int position, uint8_t value) {
  std::lock_guard lock(lock_);
  if (position >= 0 && static_cast<size_t>(position) < kRingSize) effect_.ring[static_cast<size_t>(position)] = value;
}

void LightingEngine::SetFadeValue(int index, uint8_t value) {
  std::lock_guard lock(lock_);
  if (index >= 0 && static_cast<size_t>(index) < kLogicalKeys) effect_.fade[static_cast<size_t>(index)] = value;
}

void LightingEngine::SetPhase(uint8_t phase) {
  std::lock_guard lock(lock_);
  effect_.phase = phase;
}

void LightingEngine::SetColourIndex(uint8_t index) {
  std::lock_guard lock(lock_);
  effect_.colour_index = index;
}

}  // namespace zrv::devices
