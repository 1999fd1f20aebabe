#pragma once
// Synchronised lighting: while some device is driven by the shared effect (its command link
// connected and paused), one colour per step goes to every key of every device.
//
// LightSyncEffect is what the lighting editor's synchronise operation sets; LightSyncStepper runs
// the five step types on it; LightSyncThread paces the steps on a worker of its own.

#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <vector>

#include "devices/model/key_colour.h"
#include "platform/worker_thread.h"

namespace zrv::devices {
class CHalveronUSBDevice;
}

namespace zrv::app {

enum class LightSyncType : uint8_t { kBreathing = 0, kStatic = 1, kBlink = 2, kColourCycle = 3, kOff = 4 };

struct LightSyncEffect {
  LightSyncType type = LightSyncType::kStatic;
  uint8_t brightness = 24;  // level 0-24
  uint8_t speed = 0;        // index 0-4
  bool fx = true;           // breathing direction: phase counts up
  bool multicolour = false;
  uint8_t red = 255;
  uint8_t green = 255;
  uint8_t blue = 255;
};

// Milliseconds between two steps for a speed index (outside 0-4: the slowest).
int LightSyncStepMs(unsigned speed);

// The running state of the shared effect and its steps. Not thread-safe: one owner steps it.
class LightSyncStepper {
 public:
  using Clock = std::chrono::steady_clock;

  // One step of the effect's type at `now`: the colour and brightness every key gets, packed as
  // red | green << 8 | blue << 16 | brightness << 24.
  devices::KeyColour Step(const LightSyncEffect& effect, Clock::time_point now);

  uint8_t phase() const { return phase_; }
  uint8_t colour_index() const { return colour_index_; }
  uint8_t spectrum_index() const { return spectrum_index_; }
  bool blink_on() const { return blink_on_; }
  uint8_t blink_colour_index() const { return blink_colour_index_; }

 private:
  uint8_t phase_ = 0;           // 0-127
  uint8_t colour_index_ = 0;    // 0-191, breathing with several colours
  uint8_t spectrum_index_ = 0;  // 0-191, colour cycle
  bool blink_on_ = false;
  uint8_t blink_colour_index_ = 0;  // 0-191
  Clock::time_point last_toggle_{};
};

// The devices the thread paints, in the order they are looked at: mice, keyboards, mouse pads,
// headsets. Fixed before the thread starts; the objects outlive it.
using LightSyncDevices = std::vector<devices::CHalveronUSBDevice*>;

// True when some device has its command link connected and paused.
bool LightSyncActive(const LightSyncDevices& devices);
// Gives every key button of every device the colour.
void PaintLightSync(const LightSyncDevices& devices, devices::KeyColour colour);

class LightSyncThread {
 public:
  static constexpr std::chrono::milliseconds kIdleWait{1000};

  explicit LightSyncThread(LightSyncDevices devices);

  // Set by the lighting editor when the user synchronises; read by the thread at its next step.
  void SetEffect(const LightSyncEffect& effect);
  LightSyncEffect Effect() const;

  // The thread body: steps while synchronised lighting is active, sleeps a second at a time while
  // it is not, and returns once `stop` is set (announcing its end on the debug output).
  void Run(const platform::StopEvent& stop);

  // Steps taken so far (diagnostics and tests).
  uint64_t Steps() const;

 private:
  const LightSyncDevices devices_;
  mutable std::mutex mutex_;
  LightSyncEffect effect_;  // guarded by mutex_
  uint64_t steps_ = 0;      // guarded by mutex_
};

}  // namespace zrv::app
