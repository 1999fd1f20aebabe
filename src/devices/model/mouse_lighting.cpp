#include "devices/model/mouse_lighting.h"

#include <algorithm>

#include "devices/model/effect_loop.h"
#include "devices/model/frame_grid.h"
#include "devices/model/keyboard_light_tables.h"
#include "devices/model/mouse_effects.h"
#include "platform/debug_output.h"

namespace zrv::devices {

MouseLighting::MouseLighting(LightingEngine& engine, const device::DeviceLink& link) : engine_(engine), link_(link) {}

MouseLighting::~MouseLighting() { thread_.RequestStop(); }

void MouseLighting::StartThread() {
  if (!thread_.Running()) thread_.Start([this](const platform::StopEvent& stop) { Run(stop); });
}

bool MouseLighting::StopThread(std::chrono::milliseconds limit) { return thread_.StopAndWait(limit); }

void MouseLighting::FrameTaken() {
  if (wants_frames_.load()) thread_.Nudge();
}

void MouseLighting::Run(const platform::StopEvent& stop) {
  RunEffectLoop(
      stop, link_, wants_frames_, [this] { Restart(); },
      [this](Clock::time_point now) {
        Pass(now);
        return NextDue();
      },
      [](Clock::time_point now) { return FrameFallback(now); });
  platform::DebugOut("MS灯光线程设定退出");
}

void MouseLighting::SetLedCount(size_t count) {
  std::lock_guard lock(engine_.Lock());
  led_count_ = count;
}

void MouseLighting::SetEffectSteps(std::vector<config::EffectStep> steps) {
  std::lock_guard lock(engine_.Lock());
  player_.SetSteps(std::move(steps));
}

size_t MouseLighting::EffectStepCount() const {
  std::lock_guard lock(engine_.Lock());
  return player_.StepCount();
}

void MouseLighting::Restart() {
  std::lock_guard lock(engine_.Lock());
  pacer_.Reset();
}

std::span<KeyColour> MouseLighting::LedsLocked() {
  std::vector<KeyColour>& keys = engine_.KeyColoursLocked();
  // A profile without an LED list lights every key colour.
  const size_t count = led_count_ == 0 ? keys.size() : std::min(led_count_, keys.size());
  return {keys.data(), count};
}

void MouseLighting::Pass(Clock::time_point now) {
  std::lock_guard lock(engine_.Lock());
  const config::LightZoneFields zone = engine_.MainRecord().main;
  if (zone.select_item >= kMouseFirstCustomEffect) {
    player_.Play(now, LedsLocked());  // the player keeps its own time
    return;
  }
  for (unsigned due = pacer_.Due(now, MouseStepIntervalMs(zone.speed)); due > 0; --due) StepLocked(zone, now);
}

void MouseLighting::Step(Clock::time_point now) {
  std::lock_guard lock(engine_.Lock());
  StepLocked(engine_.MainRecord().main, now);
}

MouseLighting::Clock::time_point MouseLighting::NextDue() const {
  std::lock_guard lock(engine_.Lock());
  return pacer_.NextDue();
}

void MouseLighting::StepLocked(const config::LightZoneFields& zone, Clock::time_point now) {
  const std::chrono::milliseconds blink(KeyboardBlinkPeriodMs(zone.speed));
  switch (zone.select_item) {
    case kMouseWave: MouseWave(zone, engine_.StateLocked(), LedsLocked()); break;
    case kMouseSpectrum: engine_.Spectrum(); break;
    case kMouseBreathing: engine_.Breathing(false); break;
    case kMouseStatic: engine_.Static(); break;
    case kMouseBlink: engine_.BlinkAtPeriod(false, blink); break;
    case kMouseRing: MouseRing(zone, engine_.StateLocked(), LedsLocked()); break;
    case kMouseCycleBreathing: engine_.Breathing(true); break;
    case kMouseCycleBlink: engine_.BlinkAtPeriod(true, blink); break;
    case kMouseOff: engine_.Off(); break;
    default: player_.Play(now, LedsLocked()); break;
  }
}

}  // namespace zrv::devices
