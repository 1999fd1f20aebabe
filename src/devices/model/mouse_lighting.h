#pragma once
// MouseLighting: what the mouse shows on screen of its lighting. One thread steps the main effect
// into the lighting engine's key colour vector (the first entries are the mouse's LEDs, which the
// page paints on its light positions and the repaint sends to the mouse as light frames).
//
// Pace: a schedule of deadlines (EffectPacer) at the effect's interval for the record's speed; the
// thread sleeps until the next step is due, but at least until the repaint has taken a frame
// (FrameTaken, frame_grid.h), and runs the steps that have come due. Custom effects (9 and above)
// play the steps of their ".light" file, timed by the player. While the mouse is unplugged, or
// synchronised lighting drives it (the command link's pause flag), no step runs.
//
// Threads: everything is guarded by the lighting engine's lock. Every wait ends at once on a stop.

#include <atomic>
#include <chrono>
#include <vector>

#include "config/light_files.h"
#include "device/device_link.h"
#include "devices/model/custom_effect_player.h"
#include "devices/model/effect_pacer.h"
#include "devices/model/lighting_engine.h"
#include "platform/worker_thread.h"

namespace zrv::devices {

class MouseLighting {
 public:
  using Clock = LightingEngine::Clock;
  static constexpr std::chrono::milliseconds kStopWait{1000};

  // `engine` and `link` outlive this object.
  MouseLighting(LightingEngine& engine, const device::DeviceLink& link);
  // Stops the thread and waits for it without limit: it uses the engine.
  ~MouseLighting();
  MouseLighting(const MouseLighting&) = delete;
  MouseLighting& operator=(const MouseLighting&) = delete;

  void StartThread();
  // False when the thread overran `limit` (reported, kept).
  bool StopThread(std::chrono::milliseconds limit = kStopWait);
  bool ThreadRunning() const { return thread_.Running(); }

  // How many of the key colours are LEDs (the profile's LED list).
  void SetLedCount(size_t count);
  // The steps of the custom effect the main effect names; the player starts with the first.
  void SetEffectSteps(std::vector<config::EffectStep> steps);
  size_t EffectStepCount() const;
  // The effect starts again from a fresh schedule.
  void Restart();

  // The repaint has taken the frame's colours (UI thread): the thread passes now, for the next one.
  void FrameTaken();
  // One pass at `now`: the steps that are due (the thread's work).
  void Pass(Clock::time_point now);
  // One step of the main effect now, whatever its pace.
  void Step(Clock::time_point now);
  Clock::time_point NextDue() const;

 private:
  void Run(const platform::StopEvent& stop);
  // Caller holds the engine's lock.
  void StepLocked(const config::LightZoneFields& zone, Clock::time_point now);
  std::span<KeyColour> LedsLocked();

  LightingEngine& engine_;
  const device::DeviceLink& link_;
  // Under the engine's lock.
  size_t led_count_ = 0;
  CustomEffectPlayer player_;
  EffectPacer pacer_;
  // Its next step is due by the next frame, which wakes it (FrameTaken).
  std::atomic<bool> wants_frames_{false};
  platform::WorkerThread thread_{"mouse lighting"};
};

}  // namespace zrv::devices
