#pragma once
// LightFlow: what the main window does with the lighting editor of a device page whose model has
// lighting to edit (devices::LightModel: keyboard, mouse). It fills the editor's effect lists (a
// keyboard's three zones, brightness 0-24; the main zone of the other kinds, brightness 0-4), makes
// it the model's LightView and routes the notifications of its controls (under the page as owner,
// so that they run only while the page's device is current).
//
// Every change runs the same sequence on the device: clear the pause flag (the device leaves
// synchronised lighting; preset colours, the LED mode and custom groups leave it alone), take the
// zone's record from the profile, change the field, hand the record back (SetLightInfo and the
// profile), SaveProfile, ApplyLightSettings (the picture follows at once), WriteSettings.
//
// In the custom effect (20) the main colour paints: the keys a rubber band selects take it when the
// band is released and whenever the colour changes while they are selected.
//
// "deng_same_mode" (main zone) gives every connected device this device's effect as a common type
// that the light-sync thread drives.
//
// Dragging a colour over a palette sends a notification per mouse move: those writes are paced
// to one per kColourWriteInterval, the last colour always written by a trailing timer. A write
// the device refuses is not reported; the device's settings are read back and shown, so the
// editor shows what the device has.

#include <QPointer>
#include <QSize>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "config/profile_records.h"
#include "devices/device_page.h"
#include "devices/model/keyboard_device.h"
#include "devices/model/light_model.h"
#include "editors/light_control.h"
#include "ui/route_registry.h"

namespace zrv::editors {

// Synchronised lighting: the common effect type of an effect of a device kind (-1: the effect has
// none), and the effect of a type for a keyboard and for the other kinds.
int SyncTypeOfEffect(device::DeviceKind kind, int effect);
int KeyboardEffectOfSyncType(int type);
int OtherEffectOfSyncType(int type);

class LightFlow {
 public:
  // What synchronising needs of the window: the device models (keyboards; mice, mouse pads and
  // headsets in that order) and the light-sync thread's shared effect (type, the record's fields).
  struct SyncHooks {
    std::function<std::vector<devices::CHalveronUSBDevice*>()> keyboards;
    std::function<std::vector<devices::CHalveronUSBDevice*>()> others;
    std::function<void(int type, const config::LightZoneFields& fields)> share;
  };

  using Clock = std::chrono::steady_clock;
  static constexpr const char* kEditorName = "LightControlItem";
  static constexpr std::chrono::milliseconds kColourWriteInterval{50};
  static constexpr int kKeyboardBrightnessMax = 24;
  static constexpr int kOtherBrightnessMax = 4;
  static constexpr int kSpeedMax = 4;

  // The flow of `page` when its model is a LightModel and its layout has a CLightControlUI named
  // "LightControlItem"; null otherwise. `screen` is the screen size measured at start-up.
  static std::unique_ptr<LightFlow> Bind(devices::CHalveronUSBDevicePage& page, QSize screen);
  // `model` is the page's model.
  LightFlow(devices::CHalveronUSBDevicePage& page, devices::LightModel& model, CLightControlUI& editor, QSize screen);
  // The model no longer shows its lighting through the editor.
  ~LightFlow();
  LightFlow(const LightFlow&) = delete;
  LightFlow& operator=(const LightFlow&) = delete;

  void AddRoutes(ui::RouteRegistry& routes);

  // The actions of the routes.
  void ChooseEffect(LightZone zone);
  void ChangeBrightness(LightZone zone);
  void ChangeSpeed(LightZone zone);
  void ChangeMultiColour(LightZone zone);
  void ChangeDirection(LightZone zone, bool fxl);
  void ChangeLogoOn();
  // The palette's colour: the write is paced (see above).
  void ChangePaletteColour(LightZone zone);
  void ChoosePresetColour(LightZone zone, int n);
  void ChangeComponent(LightZone zone, CLightControlUI::Component component);
  void ChooseLedMode();
  // Custom lighting (keyboard effect 20): a group chosen, every key lit or dark, and the keys
  // selected on the picture painted with the main colour.
  void ChooseCustomGroup();
  // "deng_same_mode": every connected device shows this device's effect, driven by the light-sync
  // thread (their pause flags set). An effect without a common type changes nothing.
  void Synchronise();
  void SetSyncHooks(SyncHooks hooks) { sync_ = std::move(hooks); }
  // Two or more devices are present: the editor may offer synchronising.
  void SetSameModeAllowed(bool allowed);
  void FillCustomGroup(bool on);
  void PaintSelectedKeys();

  // The clock the pacing reads (tests hold it still).
  void SetClock(std::function<Clock::time_point()> clock) { clock_ = std::move(clock); }

  // Settings writes sent by this flow (paced ones included once sent).
  int SettingsWrites() const { return settings_writes_; }
  bool WritePending() const { return write_timer_.isActive(); }

  devices::CHalveronUSBDevicePage* Page() const { return page_; }
  CLightControlUI* Editor() const { return editor_; }

 private:
  // Null once the page is gone.
  devices::CHalveronUSBDevice* Device() const;
  devices::LightModel* Model() const;
  // The device when it is a keyboard (custom lighting), else null.
  devices::CHalveronKeyboardDevice* Keyboard() const;
  int BrightnessMax() const;
  // A copy of the zone's record as the profile holds it.
  config::LightStateRecord Take(LightZone zone) const;
  // Hands the record back, saves the profile and applies the lighting (no write).
  void Store(LightZone zone, const config::LightStateRecord& record);
  // Clears the device's pause flag: synchronised lighting ends for it.
  void LeaveSync();
  // Take, change, Store, write now.
  template <class Change>
  void Edit(LightZone zone, Change change);
  void ApplyColour(LightZone zone, ui::Argb colour, bool preset);
  // WriteSettings now (a paced write still waiting is dropped: this one carries the same profile).
  void WriteNow();
  void WritePaced();
  // The key buttons the rubber band selected.
  std::vector<int> SelectedKeys() const;

  QPointer<devices::CHalveronUSBDevicePage> page_;
  devices::LightModel* model_;  // the page's model: valid while page_ is
  QPointer<CLightControlUI> editor_;
  QSize screen_;
  SyncHooks sync_;
  QTimer write_timer_;
  std::function<Clock::time_point()> clock_ = [] { return Clock::now(); };
  Clock::time_point last_write_{};
  int settings_writes_ = 0;
};

}  // namespace zrv::editors
