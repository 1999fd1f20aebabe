#pragma once
// CLightControlUI ("LightControl", layout "XML/CustomControlXML/LightControl.xml"): the lighting
// editor of a device page, named "LightControlItem". It shows the three lighting records of its
// device (main zone; a keyboard also the logo zone "LightTab1_" and the strip zone "LightTab2_")
// and enables or hides the groups of each zone by the chosen effect. What a change does to the
// device is LightFlow's; this class only moves records to the controls and reads them back.
//
// Controls of a zone (prefix + name; a control the skin lacks is skipped by everything):
//   "light_combo_modeSelect" effect (item index = effect number), "deng_light_slider",
//   "deng_speed_slider", "deng_edit_R" / "_G" / "_B", "deng_Color_Pallet", "deng_colordp_btn",
//   "color_option_" N (preset colours), "deng_7color_check", "deng_FXL_check" (Fx 1),
//   "deng_FXR_check" (Fx 0), "deng_same_mode" and the effect layouts "deng_color_layout",
//   "colorpallet_layout", "deng_light_layout", "deng_speed_layout", "deng_fx_layout",
//   "deng_rgb_layout"; the main zone also "deng_7colorselect_layout", "lightcustom_layout",
//   "light_combo_custommodeSelect(Layout)", "light_combo_ZZCCmodeSelect(Layout)"; the logo zone
//   "LightTab1_RGBdeng_check".
//
// It is its device model's LightView: a page refresh shows the profile's records through it.

#include <QPointer>
#include <QString>

#include <array>
#include <cstdint>

#include "config/light_files.h"
#include "config/profile_records.h"
#include "device/device_tables.h"
#include "devices/model/light_view.h"
#include "ui/button.h"
#include "ui/color_palette.h"
#include "ui/combo.h"
#include "ui/containers.h"
#include "ui/edit.h"
#include "ui/slider.h"

namespace zrv::editors {

enum class LightZone { kMain = 0, kLogo = 1, kStrip = 2 };
inline constexpr int kLightZones = 3;

// The prefix of a zone's control names.
const char* ZonePrefix(LightZone zone);
// The fields of `zone` inside a light state record.
config::LightZoneFields& ZoneFields(config::LightStateRecord& record, LightZone zone);
const config::LightZoneFields& ZoneFields(const config::LightStateRecord& record, LightZone zone);
// 0xFF000000 | red << 16 | green << 8 | blue.
ui::Argb ZoneColour(const config::LightZoneFields& fields);

// A colour component typed into an edit: its leading decimal number (0 when there is none),
// above 255 taken as 255, never wrapped.
int ParseComponent(const QString& text);

class CLightControlUI : public ui::HorizontalLayout, public devices::LightView {
  Q_OBJECT
 public:
  enum class Component { kRed = 0, kGreen = 1, kBlue = 2 };
  static constexpr int kEffectItemHeight = 30;

  explicit CLightControlUI(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("LightControl"); }
  void DoInit() override;

  // Finds every control of the editor (once the subtree exists).
  void InitControls();
  // Stores the kind; only a keyboard has the logo and strip zones to choose among ("light_zone_nav").
  void SetDeviceKind(device::DeviceKind kind);
  device::DeviceKind GetDeviceKind() const { return kind_; }

  // Fills the zone's effect drop-down (hidden entries keep their index) and the slider maxima.
  void FillEffects(LightZone zone, const config::EffectList& effects, int brightness_max, int speed_max);
  // devices::LightView: ShowLight, ShowLogoLight and ShowStripLight.
  void ShowLightRecords(const config::LightStateRecord& main, const config::LightStateRecord& logo,
                        const config::LightStateRecord& strip) override;
  void ShowCustomGroup(int group) override;
  int SelectedCustomGroup() const override { return CustomGroup(); }
  void ShowLight(const config::LightStateRecord& record);
  void ShowLogoLight(const config::LightStateRecord& record);
  void ShowStripLight(const config::LightStateRecord& record);
  // Selects the effect without notification and applies the zone's effect layout.
  void SelectEffect(LightZone zone, int effect);
  // Stores the flag and applies the main layout for the main drop-down's selection.
  void SetSameModeAllowed(bool allowed);
  bool SameModeAllowed() const { return same_mode_allowed_; }
  void ApplyEffectLayout(LightZone zone, int effect);

  // Direction options as ShowLight sets them (no notification).
  void ShowDirection(LightZone zone, bool fx);
  // The three edits ("%d"), the palette and the colour button.
  void ShowComponents(LightZone zone, uint8_t red, uint8_t green, uint8_t blue);
  void ShowColour(LightZone zone, ui::Argb colour, bool palette);
  void SetMultiColour(LightZone zone, bool on, bool notify);
  // Reads one component edit: the value in range, the edit's text made to show it.
  int TakeComponent(LightZone zone, Component component);

  // Getters (-1 / 0 / empty when the control is missing).
  int SelectedEffect(LightZone zone) const;
  int Brightness(LightZone zone) const;
  int Speed(LightZone zone) const;
  int BrightnessMax(LightZone zone) const;
  int SpeedMax(LightZone zone) const;
  QString EditText(LightZone zone, Component component) const;
  ui::Argb PaletteColour(LightZone zone) const;
  bool MultiColour(LightZone zone) const;
  bool DirectionFx(LightZone zone) const;  // FXL selected
  bool LogoOn() const;
  int CustomGroup() const;
  int LedMode() const;
  // The background colour of preset "color_option_" N of the zone; 0 when there is none.
  ui::Argb PresetColour(LightZone zone, int n) const;

 private:
  // Plain controls and layouts are not QObjects: they are children of this editor and live as long.
  struct ZoneControls {
    QPointer<ui::Combo> effects;
    QPointer<ui::Slider> brightness;
    QPointer<ui::Slider> speed;
    std::array<QPointer<ui::Edit>, 3> edits;
    QPointer<ui::ColorPalette> palette;
    ui::Control* colour_button = nullptr;
    QPointer<ui::CheckBox> multi_colour;
    QPointer<ui::Option> fxl;
    QPointer<ui::Option> fxr;
    ui::Control* same_mode = nullptr;
    // deng_7color_check's layouts, in the column order of the effect tables.
    ui::Control* colour_layout = nullptr;
    ui::Control* multi_colour_layout = nullptr;  // main zone
    ui::Control* palette_layout = nullptr;
    ui::Control* light_layout = nullptr;
    ui::Control* speed_layout = nullptr;
    ui::Control* fx_layout = nullptr;
    ui::Control* rgb_layout = nullptr;
    ui::Control* effect_layout = nullptr;
  };
  const ZoneControls& Zone(LightZone zone) const { return zones_[static_cast<size_t>(zone)]; }
  ZoneControls& Zone(LightZone zone) { return zones_[static_cast<size_t>(zone)]; }
  void ShowZone(LightZone zone, const config::LightZoneFields& fields, const config::LightStateRecord& record);
  void ApplyKeyboardMainLayout(int effect);
  void ApplyKeyboardSideLayout(LightZone zone, int effect);
  void ApplyOtherKindLayout(int effect);
  void ShowSameMode(LightZone zone, bool offered);

  device::DeviceKind kind_ = device::DeviceKind::kNone;
  bool same_mode_allowed_ = false;
  std::array<ZoneControls, kLightZones> zones_;
  QPointer<ui::CheckBox> logo_on_;
  QPointer<ui::Combo> custom_combo_;
  QPointer<ui::Combo> led_mode_combo_;
  ui::Control* custom_layout_ = nullptr;
  ui::Control* custom_combo_layout_ = nullptr;
  ui::Control* led_mode_layout_ = nullptr;
};

}  // namespace zrv::editors
