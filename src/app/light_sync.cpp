#include "app/light_sync.h"

#include "devices/model/effect_tables.h"
#include "devices/model/phase_stepper.h"
#include "devices/model/usb_device.h"
#include "platform/debug_output.h"

namespace zrv::app {
namespace {

using devices::KeyColour;
using devices::MakeKeyColour;
using devices::Rgb;

constexpr uint8_t kBreathingColourStep = 16;
constexpr uint8_t kBlinkColourStep = 14;

Rgb StoredColour(const LightSyncEffect& effect) { return {effect.red, effect.green, effect.blue}; }

uint8_t NextColourIndex(uint8_t index, uint8_t step) {
  const unsigned next = unsigned{index} + step;
  return next >= devices::kRainbowSteps ? 0 : static_cast<uint8_t>(next);
}

}  // namespace

int LightSyncStepMs(unsigned speed) { return devices::kBlinkThresholds[speed < devices::kSpeedIndices ? speed : 0]; }

KeyColour LightSyncStepper::Step(const LightSyncEffect& effect, Clock::time_point now) {
  const uint8_t intensity = devices::IntensityOfLevel(effect.brightness);
  switch (effect.type) {
    case LightSyncType::kBreathing: {
      devices::StepPhase(phase_, devices::kBreathingSteps, effect.fx);
      if (!effect.multicolour) {
        const auto level = static_cast<uint8_t>(unsigned{intensity} * devices::kBreathingCurve[phase_] / 256);
        return MakeKeyColour(StoredColour(effect), level);
      }
      if (phase_ < 2) colour_index_ = NextColourIndex(colour_index_, kBreathingColourStep);
      const auto level = static_cast<uint8_t>(unsigned{intensity} * devices::kBreathingCurve[phase_] / 256);
      return MakeKeyColour(devices::kRainbowTable[colour_index_], level);
    }
    case LightSyncType::kStatic: return MakeKeyColour(StoredColour(effect), intensity);
    case LightSyncType::kBlink: {
      const auto period = std::chrono::milliseconds(devices::BlinkPeriodMs(effect.speed));
      if (now - last_toggle_ >= period) {
        blink_on_ = !blink_on_;
        last_toggle_ = now;
        blink_colour_index_ = NextColourIndex(blink_colour_index_, kBlinkColourStep);
      }
      if (!blink_on_) return 0;
      const Rgb colour = effect.multicolour ? devices::kRainbowTable[blink_colour_index_] : StoredColour(effect);
      return MakeKeyColour(colour, intensity);
    }
    case LightSyncType::kColourCycle:
      devices::StepPhase(spectrum_index_, devices::kRainbowSteps, true);
      return MakeKeyColour(devices::kRainbowTable[spectrum_index_], intensity);
    case LightSyncType::kOff: return 0;
  }
  return 0;
}

bool LightSyncActive(const LightSyncDevices& devices) {
  for (devices::CHalveronUSBDevice* device : devices) {
    const device::DeviceLink& link = device->CommandLink();
    if (link.Connected() && link.Paused()) return true;
  }
  return false;
}

void PaintLightSync(const LightSyncDevices& devices, KeyColour colour) {
  for (devices::CHalveronUSBDevice* device : devices) {
    const int keys = device->KeyButtonCount();
    for (int i = 0; i < keys; ++i) device->SetKeyColour(i, colour);
  }
}

LightSyncThread::LightSyncThread(LightSyncDevices devices) : devices_(std::move(devices)) {}

void LightSyncThread::SetEffect(const LightSyncEffect& effect) {
  std::lock_guard lock(mutex_);
  effect_ = effect;
}

LightSyncEffect LightSyncThread::Effect() const {
  std::lock_guard lock(mutex_);
  return effect_;
}

uint64_t LightSyncThread::Steps() const {
  std::lock_guard lock(mutex_);
  return steps_;
}

void LightSyncThread::Run(const platform::StopEvent& stop) {
  using Clock = std::chrono::steady_clock;
  LightSyncStepper stepper;
  // Sleeps until the next step is due (or a second while nothing is synchronised): no wake-ups
  // in between.
  Clock::time_point deadline = Clock::now();
  while (!stop.WaitUntil(deadline)) {
    const Clock::time_point now = Clock::now();
    if (!LightSyncActive(devices_)) {
      deadline = now + kIdleWait;
      continue;
    }
    const LightSyncEffect effect = Effect();
    PaintLightSync(devices_, stepper.Step(effect, now));
    {
      std::lock_guard lock(mutex_);
      ++steps_;
    }
    deadline += std::chrono::milliseconds(LightSyncStepMs(effect.speed));
    // After a stall (a suspended machine) the next step comes one period from now, not a burst.
    if (deadline < now) deadline = now + std::chrono::milliseconds(LightSyncStepMs(effect.speed));
  }
  platform::DebugOut("同步灯光线程设定退出");
}

}  // namespace zrv::app
