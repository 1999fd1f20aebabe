#include "devices/model/custom_effect_player.h"

#include <algorithm>

namespace zrv::devices {
namespace {

// The main effect whose animation a step mode borrows; 0 for modes without one.
int EffectOfMode(unsigned mode) {
  switch (mode) {
    case 0: return kEffectStatic;
    case 1: return kEffectBreathing;
    case 2: return kEffectWave;
    case 4: return kEffectSpectrum;
    case 5: return kEffectSpiral;
    default: return 0;
  }
}

}  // namespace

void CustomEffectPlayer::SetSteps(std::vector<config::EffectStep> steps) {
  steps_ = std::move(steps);
  index_ = 0;
  begun_ = false;
}

void CustomEffectPlayer::Begin(Clock::time_point now) {
  begun_ = true;
  began_ = now;
  pacer_.Reset();
  PrepareMainEffect(EffectOfMode(steps_[index_].light.main.select_item), state_, extras_);
}

void CustomEffectPlayer::Play(Clock::time_point now, std::span<KeyColour> keys) {
  if (index_ >= steps_.size()) index_ = 0;
  if (steps_.empty()) {
    std::fill(keys.begin(), keys.end(), KeyColour{0});
    return;
  }
  if (!begun_) Begin(now);
  const config::EffectStep& step = steps_[index_];
  config::LightZoneFields zone = step.light.main;
  zone.speed = static_cast<uint8_t>(kSpeedIndices - 1 - std::min<unsigned>(zone.speed, kSpeedIndices - 1));
  if (const int effect = EffectOfMode(zone.select_item); effect != 0) {
    for (unsigned due = pacer_.Due(now, MainStepIntervalMs(effect, zone.speed)); due > 0; --due) {
      StepMainEffect(effect, zone, {}, state_, extras_, keys);
    }
  }
  if (now - began_ > std::chrono::milliseconds(step.time)) {
    index_ = (index_ + 1) % steps_.size();
    Begin(now);
  }
}

}  // namespace zrv::devices
