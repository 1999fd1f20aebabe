#include "devices/model/keyboard_lighting.h"

#include <algorithm>

#include "devices/model/effect_loop.h"
#include "devices/model/frame_grid.h"
#include "platform/debug_output.h"

namespace zrv::devices {

KeyboardLighting::KeyboardLighting(LightingEngine& engine, const device::DeviceLink& link)
    : engine_(engine), link_(link), custom_(kKeyboardKeys) {
  engine_.SetZoneRecordsHook([this] {
    logo_thread_.Nudge();
    strip_thread_.Nudge();
  });
}

KeyboardLighting::~KeyboardLighting() {
  engine_.SetZoneRecordsHook(nullptr);
  main_thread_.RequestStop();
  logo_thread_.RequestStop();
  strip_thread_.RequestStop();
}

void KeyboardLighting::StartThreads() {
  if (!main_thread_.Running()) main_thread_.Start([this](const platform::StopEvent& stop) { Run(stop, Zone::kMain); });
  if (!logo_thread_.Running()) logo_thread_.Start([this](const platform::StopEvent& stop) { Run(stop, Zone::kLogo); });
  if (!strip_thread_.Running()) {
    strip_thread_.Start([this](const platform::StopEvent& stop) { Run(stop, Zone::kStrip); });
  }
}

bool KeyboardLighting::StopThreads(std::chrono::milliseconds limit) {
  // All three are asked first, so that they end side by side.
  main_thread_.RequestStop();
  logo_thread_.RequestStop();
  strip_thread_.RequestStop();
  bool ended = main_thread_.StopAndWait(limit);
  ended = logo_thread_.StopAndWait(limit) && ended;
  return strip_thread_.StopAndWait(limit) && ended;
}

bool KeyboardLighting::ThreadsRunning() const {
  return main_thread_.Running() || logo_thread_.Running() || strip_thread_.Running();
}

void KeyboardLighting::FrameTaken() {
  if (wants_frames_[static_cast<size_t>(Zone::kMain)].load()) main_thread_.Nudge();
  if (wants_frames_[static_cast<size_t>(Zone::kLogo)].load()) logo_thread_.Nudge();
  if (wants_frames_[static_cast<size_t>(Zone::kStrip)].load()) strip_thread_.Nudge();
}

void KeyboardLighting::Run(const platform::StopEvent& stop, Zone zone) {
  RunEffectLoop(
      stop, link_, wants_frames_[static_cast<size_t>(zone)],
      [&] {
        std::lock_guard lock(engine_.Lock());
        PacerOf(zone).Reset();  // the animation goes on from a fresh schedule
      },
      [&](Clock::time_point now) {
        std::lock_guard lock(engine_.Lock());
        if (!Pass(zone, now)) {
          PacerOf(zone).Reset();  // an effect that starts later starts on a schedule of its own
          return now + kStillZoneWait;
        }
        return PacerOf(zone).NextDue();
      },
      [&](Clock::time_point now) { return watched_.load() ? FrameFallback(now) : now + kUnwatchedPeriod; });
  if (zone == Zone::kMain) platform::DebugOut("KB灯光线程设定退出");
}

bool KeyboardLighting::Pass(Zone zone, Clock::time_point now) {
  if (zone == Zone::kMain) {
    MainPass(now);
    return true;
  }
  std::lock_guard lock(engine_.Lock());
  return ZonePassLocked(zone, now);
}

void KeyboardLighting::MainPass(Clock::time_point now) {
  std::lock_guard lock(engine_.Lock());
  const config::LightZoneFields zone = engine_.MainRecord().main;
  if (!IsBuiltInMainEffect(zone.select_item)) {
    // The player keeps its own time.
    player_.Play(now, engine_.KeyColoursLocked());
    return;
  }
  for (unsigned due = PacerOf(Zone::kMain).Due(now, MainStepIntervalMs(zone.select_item, zone.speed)); due > 0; --due) {
    StepMainLocked(zone, now);
  }
}

void KeyboardLighting::StepMain(Clock::time_point now) {
  std::lock_guard lock(engine_.Lock());
  const config::LightZoneFields zone = engine_.MainRecord().main;
  if (IsBuiltInMainEffect(zone.select_item)) {
    StepMainLocked(zone, now);
  } else {
    player_.Play(now, engine_.KeyColoursLocked());
  }
}

void KeyboardLighting::StepMainLocked(const config::LightZoneFields& zone, Clock::time_point now) {
  (void)now;
  if (StepMainEffect(zone.select_item, zone, custom_, engine_.StateLocked(), extras_, engine_.KeyColoursLocked())) {
    return;
  }
  const std::chrono::milliseconds blink(KeyboardBlinkPeriodMs(zone.speed));
  switch (zone.select_item) {
    case kEffectCycleBreathing: engine_.Breathing(true); break;
    case kEffectCycleBlink: engine_.BlinkAtPeriod(true, blink); break;
    case kEffectBlink: engine_.BlinkAtPeriod(false, blink); break;
    case kEffectOff: engine_.Off(); break;
    default: break;
  }
}

bool KeyboardLighting::ZonePassLocked(Zone zone, Clock::time_point now) {
  const LightRecord record = zone == Zone::kLogo ? engine_.LogoRecord() : engine_.StripRecord();
  const config::LightZoneFields& fields = zone == Zone::kLogo ? record.logo : record.strip;
  std::vector<KeyColour>& lights = zone == Zone::kLogo ? engine_.LogoColoursLocked() : engine_.StripColoursLocked();
  ZoneEffectState& state = zone == Zone::kLogo ? logo_ : strip_;
  if (zone == Zone::kLogo && record.logo_on == 0) {
    std::fill(lights.begin(), lights.end(), KeyColour{0});
    return false;
  }
  if (fields.select_item >= kZoneEffects) return false;
  if (!ZoneEffectAnimates(fields.select_item)) {
    StepZoneEffect(fields.select_item, fields, state, lights);
    return false;
  }
  const int interval = ZoneStepIntervalMs(fields.select_item, fields.speed);
  for (unsigned due = PacerOf(zone).Due(now, interval); due > 0; --due) {
    StepZoneEffect(fields.select_item, fields, state, lights);
  }
  return true;
}

void KeyboardLighting::LogoPass(Clock::time_point now) {
  std::lock_guard lock(engine_.Lock());
  ZonePassLocked(Zone::kLogo, now);
}

void KeyboardLighting::StripPass(Clock::time_point now) {
  std::lock_guard lock(engine_.Lock());
  ZonePassLocked(Zone::kStrip, now);
}

KeyboardLighting::Clock::time_point KeyboardLighting::MainNextDue() const {
  std::lock_guard lock(engine_.Lock());
  return pacers_[static_cast<size_t>(Zone::kMain)].NextDue();
}

void KeyboardLighting::Prepare(int effect) {
  std::lock_guard lock(engine_.Lock());
  PrepareMainEffect(effect, engine_.StateLocked(), extras_);
  logo_ = {};
  strip_ = {};
  for (EffectPacer& pacer : pacers_) pacer.Reset();
}

void KeyboardLighting::SetCustomColours(const std::vector<Rgb>& colours) {
  std::lock_guard lock(engine_.Lock());
  custom_.assign(kKeyboardKeys, Rgb{});
  std::copy_n(colours.begin(), std::min(colours.size(), custom_.size()), custom_.begin());
}

void KeyboardLighting::SetCustomColour(int key, Rgb colour) {
  std::lock_guard lock(engine_.Lock());
  if (key >= 0 && static_cast<size_t>(key) < custom_.size()) custom_[static_cast<size_t>(key)] = colour;
}

std::vector<Rgb> KeyboardLighting::CustomColours() const {
  std::lock_guard lock(engine_.Lock());
  return custom_;
}

void KeyboardLighting::SetEffectSteps(std::vector<config::EffectStep> steps) {
  std::lock_guard lock(engine_.Lock());
  player_.SetSteps(std::move(steps));
}

size_t KeyboardLighting::EffectStepCount() const {
  std::lock_guard lock(engine_.Lock());
  return player_.StepCount();
}

void KeyboardLighting::OnKey(int key, bool down) {
  if (key < 0 || static_cast<size_t>(key) >= kKeyboardKeys) return;
  const auto k = static_cast<size_t>(key);
  std::lock_guard lock(engine_.Lock());
  extras_.held[k] = down;
  if (!down) return;
  extras_.fresh[k] = true;
  engine_.StateLocked().fade[k] = 255;
}

bool KeyboardLighting::KeyHeld(int key) const {
  if (key < 0 || static_cast<size_t>(key) >= kKeyboardKeys) return false;
  std::lock_guard lock(engine_.Lock());
  return extras_.held[static_cast<size_t>(key)];
}

}  // namespace zrv::devices
