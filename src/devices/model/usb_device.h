#pragma once
// CHalveronUSBDevice: the model of one device, the common base of the four device kinds.
//
// It holds the device's two links (commands, notifications), its information block, key maps,
// lighting records and effect state, and carries every operation that talks to the device or to
// files. It has no widgets: a page (src/devices) owns the model, shows it and hands itself over as
// the DevicePageView. The object exists from start-up, long before a device is attached; discovery
// connects and disconnects its links (device::AttachableDevice).
//
// Threads:
//   - user-interface thread: construction, the editors' calls, the timer operations, attach and
//     detach;
//   - effect threads of the derived kinds and the light-sync thread: the effect steps, which
//     write the key colour vector;
//   - the notification thread: OnNotification only (flags, timer requests, effect state).
// The first lock (EffectLock) guards the lighting records, the colour vectors and the effect
// state. It is re-entrant, as the critical sections the derived kinds nest it as. Flags shared with threads are atomic; the
// identity (kind, counts, names) is set while the object is built and only read afterwards.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "config/profile_records.h"
#include "device/device_attach.h"
#include "device/device_link.h"
#include "device/device_tables.h"
#include "devices/model/device_links.h"
#include "devices/model/device_page_view.h"
#include "devices/model/device_timers.h"
#include "devices/model/key_colour.h"
#include "devices/model/light_info.h"
#include "devices/model/notification_thread.h"

namespace zrv::config {
class CBasicProfiledata;
}

namespace zrv::devices {

class CHalveronUSBDevice : public device::AttachableDevice {
 public:
  using Clock = std::chrono::steady_clock;
  using ClockFunction = std::function<Clock::time_point()>;
  // Arms timer `id` of the device's selector item `delay_ms` from now. Called from the
  // notification thread: the handler must hand the request over to the user-interface thread.
  using TimerRequestHandler = std::function<void(int id, int delay_ms)>;

  static constexpr size_t kInfoBlockSize = device::DeviceLink::kInfoBlockSize;
  static constexpr size_t kLogicalKeys = 126;   // key maps and fade values
  static constexpr size_t kRingSize = 23;       // travelling effects
  static constexpr size_t kMarkedRingPositions = 9;
  static constexpr size_t kLogoPositions = 15;
  static constexpr size_t kStripPositions = 6;
  static constexpr uint8_t kNoMapping = 255;
  static constexpr size_t kLightFrameSize = 512;
  static constexpr int kFrameSkippedButton = 126;  // never part of a light frame
  static constexpr std::chrono::milliseconds kLightFramePause{200};
  static constexpr std::chrono::milliseconds kNotificationStopWait{1000};
  static constexpr int kInitialFunctionMode = 1;

  // Kind 0, counts 0, selected key -1, function mode 1, light control and page redraw on,
  // display index 0, maps all 255, everything else 0.
  CHalveronUSBDevice();
  // Stops the notification thread; the links close their interfaces.
  ~CHalveronUSBDevice() override;
  CHalveronUSBDevice(const CHalveronUSBDevice&) = delete;
  CHalveronUSBDevice& operator=(const CHalveronUSBDevice&) = delete;

  // ---- identity (set while the object is built)
  uint16_t Kind() const { return links_.Kind(); }
  const std::string& KindName() const { return links_.KindName(); }
  const std::string& Name() const { return links_.Name(); }
  void SetName(std::string name) { links_.SetName(std::move(name)); }
  int KeySlotCount() const { return links_.KeySlotCount(); }
  int KeyButtonCount() const { return links_.KeyButtonCount(); }

  // ---- links and record (device::AttachableDevice)
  device::DeviceLink& CommandLink() override { return links_.Command(); }
  device::DeviceLink& NotificationLink() override { return links_.Notification(); }
  const device::InterfaceRecord& Record() const override { return links_.Record(); }
  // See DeviceLinks::SetRecord.
  void SetRecord(const device::InterfaceRecord& record) override { links_.SetRecord(record); }
  void OnNotificationLinkOpened() override;
  void OnNotificationLinkClosing() override;
  void OnNotificationLinkClosed() override;
  bool Connected() const { return links_.Connected(); }

  std::array<uint8_t, kInfoBlockSize> InfoBlock() const { return links_.Info(); }

  // ---- the page showing the device (may be null)
  void SetPageView(DevicePageView* view) { view_ = view; }

  // ---- operations the kinds override
  // Effect steps: each computes the key colour vector once; the caller paces the calls.
  void EffectBreathing();
  void EffectCycleBreathing();
  void EffectStatic();
  void EffectSpectrum();
  void EffectBlink();
  void EffectCycleBlink();
  void EffectOff();
  // Paints the key buttons from the key colour vector and sends the light frame (see the .cpp).
  virtual void RenderLightFrame();
  // Changes nothing outside 0 <= index < key buttons.
  void SetKeyColour(int index, KeyColour colour);
  // 0 outside the range.
  KeyColour GetKeyColour(int index) const;
  virtual void OnAttached() {}
  virtual void OnDeviceSyncRequest() {}
  virtual void LoadProfile() {}
  virtual void RefreshPage() {}
  virtual void CheckAssignments() {}
  virtual int WriteKeyAssignments(int profile_index, const std::vector<config::KeyRecord>& keys);
  virtual int WriteKeyAssignmentList(int profile_index);
  virtual int WriteMacros() { return 0; }
  // Every caller passes 0, 0, 1 and the screen size measured at start-up.
  virtual int WriteSettings(int profile_index, int first_byte, int third_value, int screen_width,
                            int screen_height);
  // Lowers fade value `index`: by 40, 30 or 10 while bit 7, 6 or 5 is set, by 8 above 16, else
  // by 1 (fast) or 4; never below 0.
  void FadeKey(int index, bool fast);
  // Fade value i := 255 for every non-zero ring position i among the first nine.
  void MarkPressedKeys();
  // Rotates the ring by one position: forwards moves every entry to the next higher position.
  void ShiftRing(bool forwards);
  void ClearReactiveState();
  // Stores the mode and shows its pages on the page (FunctionModePages).
  void SetFunctionMode(int mode);
  int GetFunctionMode() const { return function_mode_.load(); }
  virtual void SaveProfile() {}
  // Also makes the kind's profile data object use element 0 of the profile's "Device" list.
  void SetDisplayIndex(int index);
  int GetDisplayIndex() const { return display_index_; }
  // The lighting records from eight integers (light_info.h).
  void SetLightInfo(const LightInts& values);
  void SetLogoLightInfo(const LightInts& values);
  void SetStripLightInfo(const LightInts& values);

  // ---- lighting records, key colours and effect state (copies, taken under the first lock)
  LightRecord GetLightInfo() const;
  LightRecord GetLogoLightInfo() const;
  LightRecord GetStripLightInfo() const;
  std::vector<KeyColour> KeyColours() const;
  std::vector<KeyColour> LogoColours() const;
  std::vector<KeyColour> StripColours() const;
  struct EffectState {
    uint8_t phase = 0;
    uint8_t counter_a = 0;  // blink: 1 while the keys are lit
    uint8_t counter_b = 0;
    uint8_t colour_index = 0;
    uint32_t step_counter = 0;  // effect steps run
    std::array<uint8_t, kLogicalKeys> fade{};
    std::array<uint8_t, kRingSize> ring{};
  };
  EffectState GetEffectState() const;
  // For the derived kinds' reactive effects and for tests; out-of-range positions are ignored.
  void SetRingValue(int position, uint8_t value);
  void SetFadeValue(int index, uint8_t value);
  void SetPhase(uint8_t phase);
  void SetColourIndex(uint8_t index);

  const std::vector<uint8_t>& SlotMap() const { return slot_map_; }
  const std::vector<uint8_t>& LedMap() const { return led_map_; }

  // The profile data object that each derived kind owns; null in the base.
  virtual config::CBasicProfiledata* ProfileData() { return nullptr; }

  // ---- lighting control
  // Whether this program drives the device lighting. Switching it on for a keyboard also sends
  // StartLightSync; the result of that command is returned (1 when nothing had to be sent).
  int SetLightControl(bool on);
  bool LightControl() const { return light_control_.load() != 0; }
  void SetPageRedraw(bool on) { page_redraw_.store(on ? 1 : 0); }
  bool PageRedraw() const { return page_redraw_.load() != 0; }
  // While a failed light frame's pause lasts, frames are painted but not sent.
  bool LightFramePaused() const;

  // ---- power value shown by the power indicator
  int32_t Power() const { return power_.load(); }
  void SetPower(int32_t value) { power_.store(value); }

  // ---- data folders (ending with a separator)
  std::string DefaultDataFolder() const;
  std::string DefaultProfilePath() const;
  // Creates the product level and the kind level when they are missing.
  std::string UserDataFolder() const;

  // ---- the profile the device works with (handed over by the page's profile bar at page build
  // and at every switch); its file is the user data folder + identifier + ".Json"
  // Also points the kind's profile data object at that file.
  void SetProfileId(std::string id);
  const std::string& ProfileId() const { return profile_id_; }
  // Empty while no identifier is known.
  std::string ProfilePath() const;

  // ---- timer operations of the selector item (device_timers.h)
  TimerOutcome RunTimer(int id, bool item_selected);
  TimerOutcome RunAttachTimer();
  TimerOutcome RunRepaintTimer(bool item_selected);
  TimerOutcome RunSyncRequestTimer();
  TimerOutcome RunReservedTimer(int id);
  TimerOutcome RunPowerTimer();
  void SetTimerRequestHandler(TimerRequestHandler handler);

  // ---- notification thread
  // Starts listening on the notification link (which must be open); true when a new listener was
  // started. While an earlier listener has not ended, that one takes the link over once it has
  // (false, reported on the debug output).
  bool StartNotificationThread();
  // Ends the listener: sets its stop event, closes the notification interface (which ends the
  // blocked read) and waits up to 1000 ms. A listener that has not ended by then is reported on
  // the debug output and kept (it ends, or serves the next attach, once its handler returns),
  // never killed. True when it has ended.
  bool StopNotificationThread();
  bool NotificationThreadRunning() const { return notification_.Running(); }

  // ---- locks and clock
  std::recursive_mutex& EffectLock() const { return effect_lock_; }
  // Time source of blink periods and frame pauses (tests replace it).
  void SetClock(ClockFunction clock) { clock_ = std::move(clock); }
  Clock::time_point Now() const { return clock_ ? clock_() : Clock::now(); }

 protected:
  // Identity of a derived kind from kDeviceKindTable / kDeviceXmlTable: kind, kind name, page
  // layout, lighting name and the two counts; sizes the vectors that depend on the counts.
  void Configure(uint16_t kind);
  // A code read from the notification link, on the notification thread.
  virtual void OnNotification(uint16_t code) { (void)code; }
  // Asks the selector item for a timer (any thread; see TimerRequestHandler).
  void RequestTimer(int id, int delay_ms);
  // Every key gets `colour` (caller holds the first lock).
  void FillKeyColours(KeyColour colour);
  // The main record's brightness as an intensity (caller holds the first lock).
  uint8_t MainIntensity() const;
  // Paints the key buttons and sends the frame of `colours`.
  void PaintKeyButtons(const std::vector<KeyColour>& colours);
  int SendKeyFrame(const std::vector<KeyColour>& colours);

  // The links, record and identity, for the kinds.
  DeviceLinks& Links() { return links_; }
  const DeviceLinks& Links() const { return links_; }

  std::atomic<int> function_mode_{kInitialFunctionMode};

  // Colour vectors (first lock).
  std::vector<KeyColour> key_colours_;
  std::vector<KeyColour> logo_colours_;
  std::vector<KeyColour> strip_colours_;

  // Logical key -> key slot, LED index, editor value (255: none).
  std::vector<uint8_t> slot_map_;
  std::vector<uint8_t> led_map_;

  // Lighting records (first lock).
  LightRecord main_light_{};
  LightRecord logo_light_{};
  LightRecord strip_light_{};

  mutable std::recursive_mutex effect_lock_;

  std::atomic<int32_t> light_control_{1};
  std::atomic<int32_t> page_redraw_{1};

  // Effect state (first lock).
  EffectState effect_;
  Clock::time_point blink_started_{};
  bool blink_running_ = false;

  std::atomic<int32_t> power_{0};
  int display_index_ = 0;
  std::string profile_id_;  // user-interface thread

 private:
  // Blink and cycle blink; `cycle` picks the four fixed colours.
  void BlinkStep(bool cycle);
  void BreathingStep(bool cycle);
  void ReportNotificationOverrun();

  DeviceLinks links_;
  DevicePageView* view_ = nullptr;
  ClockFunction clock_;
  std::atomic<int64_t> frame_pause_until_{0};  // Clock ticks; 0: no pause
  std::mutex timer_request_mutex_;
  TimerRequestHandler timer_request_;
  NotificationThread notification_;
};

}  // namespace zrv::devices
