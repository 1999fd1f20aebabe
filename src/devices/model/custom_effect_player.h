#pragma once
// The player of custom effects: plays the steps of a ".light" file one after the other, each for
// its time, while the keyboard's main effect has no animation of its own.
//
// A step's mode chooses its animation (0 static, 1 breathing, 2 wave, 4 spectrum, 5 spiral; any
// other mode leaves the keys as they are) with the step's brightness, speed (as the user's Speed:
// 4 the fastest), direction, multicolour flag and colour. The animation keeps its own pace by the
// step's speed, however often the player is called. Not thread-safe: the caller holds the lighting
// engine's lock.

#include <span>
#include <vector>

#include "config/light_files.h"
#include "devices/model/effect_pacer.h"
#include "devices/model/key_colour.h"
#include "devices/model/keyboard_effects.h"

namespace zrv::devices {

class CustomEffectPlayer {
 public:
  using Clock = EffectPacer::Clock;

  // Replaces the step list; the first step begins at the next call.
  void SetSteps(std::vector<config::EffectStep> steps);
  size_t StepCount() const { return steps_.size(); }
  size_t StepIndex() const { return index_; }

  // One call: with no steps every key is dark; otherwise the current step's animation advances by
  // the steps due and, once more than the step's time has passed since it began, the next step
  // (after the last, the first) begins now.
  void Play(Clock::time_point now, std::span<KeyColour> keys);

 private:
  void Begin(Clock::time_point now);

  std::vector<config::EffectStep> steps_;
  size_t index_ = 0;
  bool begun_ = false;
  Clock::time_point began_{};
  EffectPacer pacer_;
  LightingEngine::EffectState state_;
  KeyboardEffectExtras extras_;
};

}  // namespace zrv::devices
