#pragma once
// CHalveronUSBDevice: the model of one device, the common base of the four device kinds.
//
// It carries the operations the pages, editors and main window call, and delegates them to the
// components it owns: the links and identity (DeviceLinks), the lighting engine with its records,
// colour vectors and effect steps (LightingEngine), the key maps (DeviceKeyMaps) and the profile
// (DeviceProfile). Only the operations a kind overrides are virtual. It has no
// widgets: a page (src/devices) owns the model, shows it and hands itself over as the
// DevicePageView. The object exists from start-up, long before a device is attached; discovery
// connects and disconnects its links (device::AttachableDevice).
//
// Threads:
//   - user-interface thread: construction, the editors' calls, the timer operations, attach and
//     detach;
//   - effect threads of the derived kinds and the light-sync thread: the effect steps, which
//     write the key colour vector;
//   - the notification thread: OnNotification only (flags, timer requests, effect state).
// Each component guards its own state (see there). Flags shared with threads are atomic; the
// identity (kind, counts, names) is set while the object is built and only read afterwards.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "config/profile_records.h"
#include "device/device_attach.h"
#include "device/device_link.h"
#include "devices/model/device_key_maps.h"
#include "devices/model/device_links.h"
#include "devices/model/device_page_view.h"
#include "devices/model/device_profile.h"
#include "devices/model/device_timers.h"
#include "devices/model/key_colour.h"
#include "devices/model/key_set_view.h"
#include "devices/model/light_info.h"
#include "devices/model/lighting_engine.h"
#include "devices/model/notification_thread.h"

namespace zrv::devices {

class CHalveronUSBDevice : public device::AttachableDevice {
 public:
  using Clock = LightingEngine::Clock;
  using ClockFunction = LightingEngine::ClockFunction;
  using EffectState = LightingEngine::EffectState;
  // Arms timer `id` of the device's selector item `delay_ms` from now. Called from the
  // notification thread: the handler must hand the request over to the user-interface thread.
  using TimerRequestHandler = std::function<void(int id, int delay_ms)>;

  static constexpr size_t kInfoBlockSize = DeviceLinks::kInfoBlockSize;
  static constexpr std::chrono::milliseconds kNotificationStopWait{1000};
  static constexpr int kInitialFunctionMode = 1;

  // Kind 0, counts 0, function mode 1, light control and page redraw on, display index 0, maps
  // all 255, no profile data object, everything else 0.
  CHalveronUSBDevice();
  // Stops the notification thread; the links close their interfaces.
  ~CHalveronUSBDevice() override;
  CHalveronUSBDevice(const CHalveronUSBDevice&) = delete;
  CHalveronUSBDevice& operator=(const CHalveronUSBDevice&) = delete;

  // ---- identity (set while the object is built)
  device::DeviceKind Kind() const { return links_.Kind(); }
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
  // The key assignment editor of the page (may be null); keyboard and mouse only.
  void SetKeySetView(KeySetView* view) { key_set_view_ = view; }
  KeySetView* GetKeySetView() const { return key_set_view_; }

  // ---- operations the kinds override
  // Paints the key buttons from the key colour vector and sends the light frame
  // (LightingEngine::RenderFrame).
  virtual void RenderLightFrame();
  // Paint the logo and strip light positions (a keyboard has them).
  virtual void RenderLogoLights() {}
  virtual void RenderStripLights() {}
  // The repaint has taken the frame's colours (after the three above).
  virtual void OnFrameTaken() {}
  // The delay of the next repaint timer, armed at `now`: the next paint time of the frame grid.
  virtual int NextRepaintDelayMs(std::chrono::steady_clock::time_point now) const;
  // Sends the current custom lighting group (a keyboard has them); 0: nothing sent.
  virtual int WriteCustomLight() { return 0; }
  virtual void OnAttached() {}
  virtual void OnDeviceSyncRequest() {}
  virtual void LoadProfile() {}
  virtual void RefreshPage() {}
  virtual void CheckAssignments() {}
  virtual void SaveProfile() {}
  virtual int WriteKeyAssignments(int profile_index, const std::vector<config::KeyRecord>& keys);
  virtual int WriteKeyAssignmentList(int profile_index);
  virtual int WriteMacros() { return 0; }
  // Every caller passes 0, 0, 1 and the screen size measured at start-up.
  virtual int WriteSettings(int profile_index, int first_byte, int third_value, int screen_width, int screen_height);

  // ---- key assignments (the key assignment editor; keyboard and mouse)
  // The device's current key assignment list: element i belongs to logical key (or button) i.
  // Empty in the base.
  virtual const std::vector<config::KeyRecord>& KeyList() const;
  // Replaces the list in memory only (the profile document is left alone). Nothing in the base.
  virtual void SetKeyList(std::vector<config::KeyRecord> keys);
  // The entry of logical key `key`; false (entry untouched) when the list has none.
  virtual bool GetKeyEntry(int key, config::KeyRecord& entry) const;
  // Stores `entry` at logical key `key` in the key list and in the profile document (not the
  // file: SaveProfile writes it). False when the list has no such key.
  virtual bool StoreKeyEntry(int key, const config::KeyRecord& entry);
  // The caption of the assignment of key `index` reaches the page (`caption` as the user reads it).
  // The base hands it to the page's key list (DevicePageView::ShowKeyCaption); the keyboard dresses
  // its key buttons instead (UpdateKeyTip).
  virtual void UpdateKeyCaption(int index, const std::string& caption);
  // Recomputes the caption of every key of the key list and shows those that have one; a key
  // without a caption keeps the one it had.
  virtual void RefreshKeyCaptions();
  // The names of the device's macros, in macro order (the macro list of the user data folder).
  std::vector<std::string> MacroNames() const;

  // The key the editor works on (-1: none). Selecting a key shows the editor with the key's current
  // and default assignment; a key the list does not have hides it.
  void SetSelectedKey(int index);
  int GetSelectedKey() const { return selected_key_; }
  // Puts the macro names into the editor's macro list.
  void FillEditorMacroNames();
  // Whether the current profile file can be read (a key is not selected otherwise).
  bool ProfileReadable() const;
  // Mouse guard: key `key` holds the left button (0x10, 1, 0) and no other key does.
  bool HoldsLastLeftButton(int key) const;

  // Apply: the macro image, then the key table, then the profile file.
  struct ApplyResult {
    int macros = 0;        // WriteMacros: 0, -1 (no memory) or the number of 4-byte events too many
    int keys = 0;          // WriteKeyAssignmentList (not called unless macros is 0)
    bool applied = false;  // macros written and the key table not refused
  };
  ApplyResult ApplyKeyAssignments();

  // ---- lighting (LightingEngine)
  // Effect steps: each computes the key colour vector once; the caller paces the calls.
  void EffectBreathing() { lighting_.Breathing(false); }
  void EffectCycleBreathing() { lighting_.Breathing(true); }
  void EffectStatic() { lighting_.Static(); }
  void EffectSpectrum() { lighting_.Spectrum(); }
  void EffectBlink() { lighting_.Blink(false); }
  void EffectCycleBlink() { lighting_.Blink(true); }
  void EffectOff() { lighting_.Off(); }
  void SetKeyColour(int index, KeyColour colour) { lighting_.SetKeyColour(index, colour); }
  KeyColour GetKeyColour(int index) const { return lighting_.GetKeyColour(index); }
  std::vector<KeyColour> KeyColours() const { return lighting_.KeyColours(); }
  std::vector<KeyColour> LogoColours() const { return lighting_.LogoColours(); }
  std::vector<KeyColour> StripColours() const { return lighting_.StripColours(); }
  // The lighting records from eight integers (light_info.h), and copies of them.
  void SetLightInfo(const LightInts& values) { lighting_.SetMainRecord(UnpackLightInts(values)); }
  void SetLogoLightInfo(const LightInts& values) { lighting_.SetLogoRecord(UnpackLightInts(values)); }
  void SetStripLightInfo(const LightInts& values) { lighting_.SetStripRecord(UnpackLightInts(values)); }
  LightRecord GetLightInfo() const { return lighting_.MainRecord(); }
  LightRecord GetLogoLightInfo() const { return lighting_.LogoRecord(); }
  LightRecord GetStripLightInfo() const { return lighting_.StripRecord(); }
  // Reactive state, for the derived kinds' reactive effects and for tests.
  void FadeKey(int index, bool fast) { lighting_.FadeKey(index, fast); }
  void MarkPressedKeys() { lighting_.MarkPressedKeys(); }
  void ShiftRing(bool forwards) { lighting_.ShiftRing(forwards); }
  void ClearReactiveState() { lighting_.ClearReactiveState(); }
  EffectState GetEffectState() const { return lighting_.State(); }
  void SetRingValue(int position, uint8_t value) { lighting_.SetRingValue(position, value); }
  void SetFadeValue(int index, uint8_t value) { lighting_.SetFadeValue(index, value); }
  void SetPhase(uint8_t phase) { lighting_.SetPhase(phase); }
  void SetColourIndex(uint8_t index) { lighting_.SetColourIndex(index); }
  // Whether this program drives the device lighting. Switching it on for a keyboard also sends
  // StartLightSync; the result of that command is returned (1 when nothing had to be sent).
  int SetLightControl(bool on);
  bool LightControl() const { return lighting_.Control(); }
  void SetPageRedraw(bool on) { lighting_.SetPageRedraw(on); }
  bool PageRedraw() const { return lighting_.PageRedraw(); }
  bool LightFramePaused() const { return lighting_.FramePaused(); }
  void SetClock(ClockFunction clock) { lighting_.SetClock(std::move(clock)); }

  // ---- key maps (DeviceKeyMaps): logical key -> key slot, LED index (255: none)
  std::vector<uint8_t> SlotMap() const { return key_maps_.SlotMap(); }
  std::vector<uint8_t> LedMap() const { return key_maps_.LedMap(); }

  // ---- function mode, display index, power
  // Stores the mode and shows its pages on the page (FunctionModePages).
  void SetFunctionMode(int mode);
  int GetFunctionMode() const { return function_mode_.load(); }
  // See DeviceProfile::SetDisplayIndex.
  void SetDisplayIndex(int index) { profile_.SetDisplayIndex(index); }
  int GetDisplayIndex() const { return profile_.DisplayIndex(); }
  // The value shown by the power indicator.
  int32_t Power() const { return power_.load(); }
  void SetPower(int32_t value) { power_.store(value); }

  // ---- profile (DeviceProfile)
  // The profile data object that each derived kind owns; null in the base.
  config::CBasicProfiledata* ProfileData() { return profile_.Data(); }
  // Data folders (ending with a separator); the user data folder is made when it is missing.
  std::string DefaultDataFolder() const { return profile_.DefaultDataFolder(); }
  std::string DefaultProfilePath() const { return profile_.DefaultProfilePath(); }
  std::string UserDataFolder() const { return profile_.UserDataFolder(); }
  // The profile the device works with; also points the profile data object at its file.
  void SetProfileId(std::string id) { profile_.SetId(std::move(id)); }
  const std::string& ProfileId() const { return profile_.Id(); }
  // Empty while no identifier is known.
  std::string ProfilePath() const { return profile_.Path(); }

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

 protected:
  // A derived kind: its identity from the device tables (DeviceLinks::Configure), a key colour
  // per key button, data folders named after the kind.
  explicit CHalveronUSBDevice(device::DeviceKind kind);
  // The kind's profile data object, which outlives its use by this object.
  void SetProfileData(config::CBasicProfiledata* data) { profile_.SetData(data); }
  // A code read from the notification link, on the notification thread.
  virtual void OnNotification(uint16_t code) { (void)code; }
  // Asks the selector item for a timer (any thread; see TimerRequestHandler).
  void RequestTimer(int id, int delay_ms);
  // Paints the key buttons of the page, if any, with `colours`.
  void PaintKeyButtons(const std::vector<KeyColour>& colours) { lighting_.PaintKeyButtons(view_, colours); }
  // The page, for the kinds' own use of the view (may be null).
  DevicePageView* PageView() const { return view_; }

  // The components, for the kinds.
  DeviceLinks& Links() { return links_; }
  const DeviceLinks& Links() const { return links_; }
  LightingEngine& Lighting() { return lighting_; }
  const LightingEngine& Lighting() const { return lighting_; }
  DeviceKeyMaps& Maps() { return key_maps_; }
  const DeviceKeyMaps& Maps() const { return key_maps_; }

 private:
  void ReportNotificationOverrun();

  DeviceLinks links_;
  LightingEngine lighting_{links_.Command()};
  DeviceKeyMaps key_maps_;
  DeviceProfile profile_;
  std::atomic<int> function_mode_{kInitialFunctionMode};
  std::atomic<int32_t> power_{0};
  DevicePageView* view_ = nullptr;
  KeySetView* key_set_view_ = nullptr;
  int selected_key_ = -1;
  std::mutex timer_request_mutex_;
  TimerRequestHandler timer_request_;
  NotificationThread notification_;
};

}  // namespace zrv::devices
