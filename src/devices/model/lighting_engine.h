#pragma once
// LightingEngine: a device's lighting state and what computes and shows it: the three lighting
// records (main, logo, strip), the key, logo and strip colour vectors, the effect state with its
// reactive part (fade values, ring), the effect steps, and the light frames sent to the device.
//
// Threads: the effect steps run on the kinds' effect threads and the light-sync thread, the
// reactive state is fed by the notification thread, the frames are rendered on the user-interface
// thread. One re-entrant lock (Lock()) guards records, colour vectors and effect state, as the
// kinds nest their critical sections in it; the two switches are atomic.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "device/device_link.h"
#include "devices/model/device_page_view.h"
#include "devices/model/key_colour.h"
#include "devices/model/light_info.h"

namespace zrv::devices {

class LightingEngine {
 public:
  using Clock = std::chrono::steady_clock;
  using ClockFunction = std::function<Clock::time_point()>;

  static constexpr size_t kLogicalKeys = 126;  // fade values
  static constexpr size_t kRingSize = 23;      // travelling effects
  static constexpr size_t kMarkedRingPositions = 9;
  static constexpr size_t kLogoPositions = 15;
  static constexpr size_t kStripPositions = 6;
  static constexpr size_t kLightFrameSize = 512;
  static constexpr int kFrameSkippedButton = 126;  // never part of a light frame
  static constexpr std::chrono::milliseconds kLightFramePause{200};

  struct EffectState {
    uint8_t phase = 0;
    uint8_t counter_a = 0;  // blink: 1 while the keys are lit
    uint8_t counter_b = 0;
    uint8_t colour_index = 0;
    uint32_t step_counter = 0;  // effect steps run
    std::array<uint8_t, kLogicalKeys> fade{};
    std::array<uint8_t, kRingSize> ring{};
  };

  // Frames go out on `link`, which outlives the engine.
  explicit LightingEngine(device::DeviceLink& link);

  // One key colour per key button, all 0.
  void SetKeyButtonCount(int count);

  // ---- lighting records (copies, under the lock)
  void SetMainRecord(const LightRecord& record);
  void SetLogoRecord(const LightRecord& record);
  void SetStripRecord(const LightRecord& record);
  // The three records at once, as one lighting state read from a profile or the device.
  void SetAllRecords(const LightRecord& record);
  LightRecord MainRecord() const;
  LightRecord LogoRecord() const;
  LightRecord StripRecord() const;
  // Called under the lock after the logo or the strip record was set (also by SetAllRecords): the
  // threads of zones with nothing to animate sleep until then. Empty: nobody is told.
  void SetZoneRecordsHook(std::function<void()> hook);

  // ---- colour vectors
  // Changes nothing outside 0 <= index < key buttons.
  void SetKeyColour(int index, KeyColour colour);
  // 0 outside the range.
  KeyColour GetKeyColour(int index) const;
  std::vector<KeyColour> KeyColours() const;
  std::vector<KeyColour> LogoColours() const;
  std::vector<KeyColour> StripColours() const;

  // ---- effect steps: each computes the key colour vector once; the caller paces the calls
  void Breathing(bool cycle);
  void Static();
  void Spectrum();
  void Blink(bool cycle);
  // Blink with a period of the caller's (the keyboard paces its blink by the user's speed).
  void BlinkAtPeriod(bool cycle, std::chrono::milliseconds period);
  void Off();

  // ---- reactive state
  // Lowers fade value `index`: by 40, 30 or 10 while bit 7, 6 or 5 is set, by 8 above 16, else
  // by 1 (fast) or 4; never below 0.
  void FadeKey(int index, bool fast);
  // Fade value i := 255 for every non-zero ring position i among the first nine.
  void MarkPressedKeys();
  // Rotates the ring by one position: forwards moves every entry to the next higher position.
  void ShiftRing(bool forwards);
  void ClearReactiveState();
  EffectState State() const;
  // Out-of-range positions are ignored.
  void SetRingValue(int position, uint8_t value);
  void SetFadeValue(int index, uint8_t value);
  void SetPhase(uint8_t phase);
  void SetColourIndex(uint8_t index);

  // ---- switches
  // Whether this program drives the device lighting.
  void SetControl(bool on) { control_.store(on ? 1 : 0); }
  bool Control() const { return control_.load() != 0; }
  void SetPageRedraw(bool on) { page_redraw_.store(on ? 1 : 0); }
  bool PageRedraw() const { return page_redraw_.load() != 0; }

  // ---- frames (user-interface thread)
  // Paints the key buttons from the key colour vector and sends the light frame (see the .cpp).
  void RenderFrame(DevicePageView* view);
  void PaintKeyButtons(DevicePageView* view, const std::vector<KeyColour>& colours) const;
  int SendKeyFrame(const std::vector<KeyColour>& colours);
  // While a failed light frame's pause lasts, frames are painted but not sent.
  bool FramePaused() const;

  std::recursive_mutex& Lock() const { return lock_; }
  // The colour vectors and the effect state in place, for a kind's own effect steps; the caller
  // holds Lock().
  std::vector<KeyColour>& KeyColoursLocked() { return key_colours_; }
  std::vector<KeyColour>& LogoColoursLocked() { return logo_colours_; }
  std::vector<KeyColour>& StripColoursLocked() { return strip_colours_; }
  EffectState& StateLocked() { return effect_; }
  // Time source of blink periods and frame pauses (tests replace it).
  void SetClock(ClockFunction clock) { clock_ = std::move(clock); }
  Clock::time_point Now() const { return clock_ ? clock_() : Clock::now(); }

 private:
  // Every key gets `colour` (caller holds the lock).
  void FillKeyColours(KeyColour colour);
  // The main record's brightness as an intensity (caller holds the lock).
  uint8_t MainIntensity() const;

  device::DeviceLink& link_;
  mutable std::recursive_mutex lock_;

  LightRecord main_{};
  LightRecord logo_{};
  LightRecord strip_{};
  std::function<void()> zone_records_hook_;
  std::vector<KeyColour> key_colours_;
  std::vector<KeyColour> logo_colours_;
  std::vector<KeyColour> strip_colours_;
  EffectState effect_;
  Clock::time_point blink_started_{};
  bool blink_running_ = false;

  std::atomic<int32_t> control_{1};
  std::atomic<int32_t> page_redraw_{1};
  ClockFunction clock_;
  std::atomic<int64_t> frame_pause_until_{0};  // Clock ticks; 0: no pause
};

}  // namespace zrv::devices
