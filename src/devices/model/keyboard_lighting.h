#pragma once
// KeyboardLighting: what the keyboard shows on screen of its lighting. It keeps the keyboard's
// effect state beside the lighting engine's, the colours of the custom group and the custom-effect
// player, and runs the three effect threads (main zone, logo, strip) that step the effects into the
// engine's colour vectors. The keyboard runs the same effects itself: nothing here is sent.
//
// Pace: each zone steps on a schedule of deadlines (EffectPacer) at the interval its effect and
// speed call for. While the picture is watched, a thread that animates sleeps until the repaint has
// taken a frame (FrameTaken) and then runs the steps that have come due: at a 2 ms interval it
// wakes 20 times a second, not 500, once per painted frame, and its pass is done long before the
// next frame reads it. Woken by the repaint, not by a timer of its own, a wake-up costs a fraction
// (a thread's timer is the dear part of a wake-up, on a virtual machine above all); a frame later
// than its due time it passes all the same. Unwatched, it wakes at kUnwatchedPeriod. A logo or strip
// with nothing to animate (static, off, or an effect the zones do not have) is filled once and its
// thread then sleeps until that zone's record changes (the engine's hook nudges it). While the
// keyboard is unplugged, or synchronised lighting drives it (the command link's pause flag), no
// step runs.
//
// Threads: everything is guarded by the lighting engine's lock; the threads and the
// user-interface thread meet only there. Every wait ends at once when the threads are stopped.

#include <array>
#include <atomic>
#include <chrono>
#include <vector>

#include "config/light_files.h"
#include "device/device_link.h"
#include "devices/model/custom_effect_player.h"
#include "devices/model/effect_pacer.h"
#include "devices/model/frame_grid.h"
#include "devices/model/keyboard_effects.h"
#include "devices/model/lighting_engine.h"
#include "platform/worker_thread.h"

namespace zrv::devices {

class KeyboardLighting {
 public:
  using Clock = LightingEngine::Clock;
  static constexpr std::chrono::milliseconds kStopWait{1000};
  // How long a still zone's thread sleeps unless its record changes first.
  static constexpr std::chrono::seconds kStillZoneWait{5};

  // `engine` and `link` outlive this object.
  KeyboardLighting(LightingEngine& engine, const device::DeviceLink& link);
  // Stops the threads and waits for them without limit: they use the engine.
  ~KeyboardLighting();
  KeyboardLighting(const KeyboardLighting&) = delete;
  KeyboardLighting& operator=(const KeyboardLighting&) = delete;

  // Starts each of the three threads that is not running.
  void StartThreads();
  // Stops the three threads, each given `limit`; false when one overran (reported, kept).
  bool StopThreads(std::chrono::milliseconds limit = kStopWait);
  bool ThreadsRunning() const;

  // Whether the picture is on screen (see kUnwatchedPeriod); any thread.
  void SetWatched(bool watched) { watched_.store(watched); }
  bool Watched() const { return watched_.load(); }
  // The picture's repaint has taken the colours of a frame (UI thread, while watched): the zones
  // that animate pass now, for the next one. A still zone sleeps on.
  void FrameTaken();

  // Sets the effect state up for main effect `effect` (PrepareMainEffect).
  void Prepare(int effect);
  // The colours of the current custom group, by logical key (126).
  void SetCustomColours(const std::vector<Rgb>& colours);
  void SetCustomColour(int key, Rgb colour);
  std::vector<Rgb> CustomColours() const;
  // The steps of the custom effect the main effect names; the player starts with the first.
  void SetEffectSteps(std::vector<config::EffectStep> steps);
  size_t EffectStepCount() const;

  // A key reported down or up by the keyboard (notification thread).
  void OnKey(int key, bool down);
  bool KeyHeld(int key) const;

  // One pass of a zone at `now`: the steps that are due (the threads' work).
  void MainPass(Clock::time_point now);
  void LogoPass(Clock::time_point now);
  void StripPass(Clock::time_point now);
  // One step of the main effect now, whatever its pace.
  void StepMain(Clock::time_point now);
  // When the zone's next step is due after its last pass.
  Clock::time_point MainNextDue() const;

 private:
  enum class Zone { kMain, kLogo, kStrip };
  void Run(const platform::StopEvent& stop, Zone zone);
  // False when the zone has nothing to animate (it is still until its record changes).
  bool Pass(Zone zone, Clock::time_point now);
  EffectPacer& PacerOf(Zone zone) { return pacers_[static_cast<size_t>(zone)]; }
  // Caller holds the engine's lock.
  void StepMainLocked(const config::LightZoneFields& zone, Clock::time_point now);
  bool ZonePassLocked(Zone zone, Clock::time_point now);

  LightingEngine& engine_;
  const device::DeviceLink& link_;
  // Under the engine's lock.
  KeyboardEffectExtras extras_;
  ZoneEffectState logo_;
  ZoneEffectState strip_;
  std::vector<Rgb> custom_;
  CustomEffectPlayer player_;
  std::array<EffectPacer, 3> pacers_;
  std::atomic<bool> watched_{true};
  // Per zone: its next step is due by the next frame, which wakes it (FrameTaken).
  std::array<std::atomic<bool>, 3> wants_frames_{};
  platform::WorkerThread main_thread_{"keyboard main lighting"};
  platform::WorkerThread logo_thread_{"keyboard logo lighting"};
  platform::WorkerThread strip_thread_{"keyboard strip lighting"};
};

}  // namespace zrv::devices
