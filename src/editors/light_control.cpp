#include "editors/light_control.h"

#include "ui/lookup.h"

namespace zrv::editors {
namespace {

constexpr int kEffectCustom = 20;
constexpr int kEffectLedMode = 17;
constexpr int kComponentMax = 255;

// A group's state for one effect: enabled, disabled, or disabled and hidden.
enum State : char { E = 'E', D = 'D', H = 'H' };

// Keyboard main zone, columns: multicolour check, colour, multicolour select, palette, brightness,
// speed, direction, RGB.
struct MainRow {
  std::array<State, 8> states;
  bool same_mode = false;
  const char* fxl_text = nullptr;
  const char* fxr_text = nullptr;
};

MainRow KeyboardMainRow(int effect) {
  switch (effect) {
    case 1:
    case 2: return {{E, E, E, E, E, E, E, E}};
    case 3:
    case 27: return {{E, E, E, E, E, E, E, E}, false, "light_set_clockwise_text", "light_set_anticlockwise_text"};
    case 4: return {{D, D, D, D, E, E, D, D}, true};
    case 5:
    case 26: return {{E, E, E, E, E, E, D, E}, true};
    case 6: return {{E, E, E, E, E, D, D, E}, true};
    case 7:
    case 8:
    case 9:
    case 10:
    case 13:
    case 14:
    case 15:
    case 21: return {{E, E, E, E, E, E, D, E}};
    case 11: return {{D, D, D, D, E, E, D, D}};
    case 12: return {{D, D, D, D, E, E, E, D}, false, "light_set_down_to_up_text", "light_set_up_to_down_text"};
    case 16: return {{E, E, E, E, E, D, D, E}};
    case kEffectLedMode: return {{D, D, D, D, E, H, D, D}};
    case 18:
      return {{D, D, D, D, E, D, E, D}, false, "light_set_outside_to_inside_text", "light_set_inside_to_outside_text"};
    case kEffectCustom: return {{D, E, D, E, E, H, H, E}};
    case 22:
    case 23: return {{D, D, D, D, E, E, D, E}};
    case 24: return {{D, D, D, D, D, D, D, E}, true};
    default: return {{D, D, D, D, D, D, D, E}};
  }
}

// Keyboard logo and strip zones, columns: multicolour check, colour, palette, brightness, speed,
// direction, RGB.
struct SideRow {
  std::array<State, 7> states;
  bool same_mode = false;
};

SideRow KeyboardSideRow(int effect) {
  if (effect == 0) return {{E, E, E, E, E, E, E}, true};
  if (effect >= 1 && effect <= 3) return {{E, E, E, E, E, D, E}, true};
  if (effect == 4) return {{E, E, E, E, D, D, E}, true};
  if (effect == 5) return {{D, D, D, D, D, D, D}, true};
  return {{D, D, D, D, D, D, E}, false};
}

// Mouse, mouse pad and headset, columns: multicolour check, colour, palette, brightness, speed,
// direction.
struct OtherRow {
  std::array<State, 6> states;
  bool same_mode = false;
};

OtherRow OtherKindRow(device::DeviceKind kind, int effect) {
  const bool mouse = device::IsMouse(kind);
  switch (effect) {
    case 0: return {{E, E, E, E, E, E}};
    case 1: return {{D, D, D, E, E, D}, true};
    case 2: return mouse ? OtherRow{{E, E, E, E, E, E}, true} : OtherRow{{E, E, E, E, E, D}, true};
    case 3: return {{D, E, E, E, D, D}, true};
    case 4: return {{E, E, E, E, E, D}, true};
    case 5:
      if (mouse) return {{E, E, E, E, E, E}};
      break;
    case 6:
    case 7:
      if (mouse) return {{D, D, D, E, E, D}};
      break;
    case 8: return {{D, D, D, D, D, D}, true};
    default: break;
  }
  return {{D, D, D, D, D, D}};
}

void Apply(ui::Control* control, State state) {
  if (control == nullptr) return;
  control->SetEnabled(state == E);
  if (state == H) control->SetVisible(false);
}

void Show(ui::Control* control, bool visible) {
  if (control != nullptr) control->SetVisible(visible);
}

void Enable(ui::Control* control, bool enabled) {
  if (control != nullptr) control->SetEnabled(enabled);
}

void SetTextIdOf(ui::Control* control, const char* id) {
  if (control != nullptr) control->SetTextId(QLatin1String(id));
}

template <class T>
void FindInto(const ui::Control* root, QPointer<T>& slot, const QString& name) {
  slot = ui::FindSubControlByName<T>(root, name);
}

void FindInto(const ui::Control* root, ui::Control*& slot, const QString& name) {
  slot = ui::FindSubControlByName(root, name);
}

}  // namespace

const char* ZonePrefix(LightZone zone) {
  switch (zone) {
    case LightZone::kLogo: return "LightTab1_";
    case LightZone::kStrip: return "LightTab2_";
    case LightZone::kMain: break;
  }
  return "";
}

config::LightZoneFields& ZoneFields(config::LightStateRecord& record, LightZone zone) {
  switch (zone) {
    case LightZone::kLogo: return record.logo;
    case LightZone::kStrip: return record.strip;
    case LightZone::kMain: break;
  }
  return record.main;
}

const config::LightZoneFields& ZoneFields(const config::LightStateRecord& record, LightZone zone) {
  return ZoneFields(const_cast<config::LightStateRecord&>(record), zone);
}

ui::Argb ZoneColour(const config::LightZoneFields& fields) {
  return 0xFF000000u | (ui::Argb{fields.red} << 16) | (ui::Argb{fields.green} << 8) | fields.blue;
}

int ParseComponent(const QString& text) {
  const QString trimmed = text.trimmed();
  qsizetype digits = 0;
  while (digits < trimmed.size() && trimmed[digits].isDigit() && trimmed[digits].unicode() < 0x80) ++digits;
  if (digits == 0) return 0;
  // Long digit runs would overflow an int: anything beyond three digits is above the maximum.
  if (digits > 3) return kComponentMax;
  return std::min(trimmed.left(digits).toInt(), kComponentMax);
}

CLightControlUI::CLightControlUI(QWidget* parent) : ui::HorizontalLayout(parent) {}

void CLightControlUI::DoInit() {
  ui::HorizontalLayout::DoInit();
  InitControls();
}

void CLightControlUI::SetDeviceKind(device::DeviceKind kind) {
  kind_ = kind;
  const bool zones = kind == device::DeviceKind::kKeyboard;
  Show(ui::FindSubControlByName(this, QStringLiteral("light_zone_nav")), zones);
  if (!zones) {
    if (auto* tab = ui::FindSubControlByName<ui::TabLayout>(this, QStringLiteral("light_zone_tab"))) tab->SelectItem(0);
  }
}

void CLightControlUI::InitControls() {
  for (int z = 0; z < kLightZones; ++z) {
    const auto zone = static_cast<LightZone>(z);
    const QString prefix = QLatin1String(ZonePrefix(zone));
    const auto find = [this, &prefix](auto& slot, const char* name) {
      FindInto(this, slot, prefix + QLatin1String(name));
    };
    ZoneControls& c = Zone(zone);
    find(c.effects, "light_combo_modeSelect");
    find(c.brightness, "deng_light_slider");
    find(c.speed, "deng_speed_slider");
    find(c.edits[0], "deng_edit_R");
    find(c.edits[1], "deng_edit_G");
    find(c.edits[2], "deng_edit_B");
    find(c.palette, "deng_Color_Pallet");
    find(c.colour_button, "deng_colordp_btn");
    find(c.multi_colour, "deng_7color_check");
    find(c.fxl, "deng_FXL_check");
    find(c.fxr, "deng_FXR_check");
    find(c.same_mode, "deng_same_mode");
    find(c.colour_layout, "deng_color_layout");
    find(c.palette_layout, "colorpallet_layout");
    find(c.light_layout, "deng_light_layout");
    find(c.speed_layout, "deng_speed_layout");
    find(c.fx_layout, "deng_fx_layout");
    find(c.rgb_layout, "deng_rgb_layout");
    find(c.effect_layout, "lighteffect_layout");
    if (zone == LightZone::kMain) find(c.multi_colour_layout, "deng_7colorselect_layout");
  }
  const auto find = [this](auto& slot, const char* name) { FindInto(this, slot, QLatin1String(name)); };
  find(logo_on_, "LightTab1_RGBdeng_check");
  find(custom_combo_, "light_combo_custommodeSelect");
  find(led_mode_combo_, "light_combo_ZZCCmodeSelect");
  find(custom_layout_, "lightcustom_layout");
  find(custom_combo_layout_, "light_combo_custommodeSelectLayout");
  find(led_mode_layout_, "light_combo_ZZCCmodeSelectLayout");
}

// ---- filling and showing

void CLightControlUI::FillEffects(LightZone zone, const config::EffectList& effects, int brightness_max,
                                  int speed_max) {
  ZoneControls& c = Zone(zone);
  if (c.effects != nullptr) {
    c.effects->RemoveAll();
    for (size_t i = 0; i < effects.names.size(); ++i) {
      ui::ComboItem item;
      item.text = effects.names[i];
      item.userData = effects.names[i];
      item.resourceText = true;
      item.height = kEffectItemHeight;
      item.visible = i < effects.visible.size() ? effects.visible[i] : true;
      c.effects->Add(item);
    }
  }
  if (c.brightness != nullptr) c.brightness->SetMaxValue(brightness_max);
  if (c.speed != nullptr) c.speed->SetMaxValue(speed_max);
}

void CLightControlUI::ShowLightRecords(const config::LightStateRecord& main, const config::LightStateRecord& logo,
                                       const config::LightStateRecord& strip) {
  ShowLight(main);
  if (kind_ != device::DeviceKind::kKeyboard) return;
  ShowLogoLight(logo);
  ShowStripLight(strip);
}

void CLightControlUI::ShowCustomGroup(int group) {
  if (custom_combo_ != nullptr) custom_combo_->SelectItem(group);
}

void CLightControlUI::ShowLight(const config::LightStateRecord& record) {
  ShowZone(LightZone::kMain, record.main, record);
}

void CLightControlUI::ShowLogoLight(const config::LightStateRecord& record) {
  ShowZone(LightZone::kLogo, record.logo, record);
}

void CLightControlUI::ShowStripLight(const config::LightStateRecord& record) {
  ShowZone(LightZone::kStrip, record.strip, record);
}

void CLightControlUI::ShowZone(LightZone zone, const config::LightZoneFields& fields,
                               const config::LightStateRecord& record) {
  ZoneControls& c = Zone(zone);
  SelectEffect(zone, fields.select_item);
  if (zone == LightZone::kLogo && logo_on_ != nullptr) logo_on_->SetCheck(record.logo_on != 0, true);
  // The sliders bring a hand-edited value outside their range into it.
  if (c.brightness != nullptr) c.brightness->SetValue(fields.light);
  if (c.speed != nullptr) c.speed->SetValue(fields.speed);
  ShowComponents(zone, fields.red, fields.green, fields.blue);
  ShowColour(zone, ZoneColour(fields), true);
  // With its notification, as a click would: what depends on the check follows it.
  SetMultiColour(zone, fields.multi_color != 0, true);
  if (zone == LightZone::kMain && led_mode_combo_ != nullptr) led_mode_combo_->SelectItem(record.zzcc_led_mode);
  ShowDirection(zone, fields.fx != 0);
  ApplyEffectLayout(zone, fields.select_item);
}

void CLightControlUI::SelectEffect(LightZone zone, int effect) {
  if (ui::Combo* combo = Zone(zone).effects) combo->SelectItem(effect);
  ApplyEffectLayout(zone, effect);
}

void CLightControlUI::SetSameModeAllowed(bool allowed) {
  same_mode_allowed_ = allowed;
  ApplyEffectLayout(LightZone::kMain, SelectedEffect(LightZone::kMain));
}

void CLightControlUI::ShowDirection(LightZone zone, bool fx) {
  ZoneControls& c = Zone(zone);
  if (c.fxl != nullptr) c.fxl->Selected(fx);
  if (c.fxr != nullptr) c.fxr->Selected(!fx);
}

void CLightControlUI::ShowComponents(LightZone zone, uint8_t red, uint8_t green, uint8_t blue) {
  const std::array<uint8_t, 3> values = {red, green, blue};
  for (size_t i = 0; i < values.size(); ++i) {
    if (ui::Edit* edit = Zone(zone).edits[i]) edit->SetText(QString::number(values[i]));
  }
}

void CLightControlUI::ShowColour(LightZone zone, ui::Argb colour, bool palette) {
  ZoneControls& c = Zone(zone);
  if (palette && c.palette != nullptr) c.palette->SetSelectColor(colour);
  if (c.colour_button != nullptr) c.colour_button->SetBkColor(colour);
}

void CLightControlUI::SetMultiColour(LightZone zone, bool on, bool notify) {
  if (ui::CheckBox* check = Zone(zone).multi_colour) check->SetCheck(on, notify);
}

int CLightControlUI::TakeComponent(LightZone zone, Component component) {
  ui::Edit* edit = Zone(zone).edits[static_cast<size_t>(component)];
  if (edit == nullptr) return 0;
  const int value = ParseComponent(edit->GetText());
  // The edit shows what is stored: "300" becomes "255", an empty edit "0".
  edit->SetText(QString::number(value));
  return value;
}

// ---- effect layouts

void CLightControlUI::ApplyEffectLayout(LightZone zone, int effect) {
  if (kind_ == device::DeviceKind::kKeyboard) {
    if (zone == LightZone::kMain) {
      ApplyKeyboardMainLayout(effect);
    } else {
      ApplyKeyboardSideLayout(zone, effect);
    }
  } else if (zone == LightZone::kMain) {
    ApplyOtherKindLayout(effect);
  }
}

void CLightControlUI::ShowSameMode(LightZone zone, bool offered) {
  Show(Zone(zone).same_mode, offered && same_mode_allowed_);
}

void CLightControlUI::ApplyKeyboardMainLayout(int effect) {
  ZoneControls& c = Zone(LightZone::kMain);
  Enable(c.effect_layout, true);
  Enable(c.fx_layout, true);
  Show(c.fx_layout, true);
  Show(c.speed_layout, true);
  Enable(c.rgb_layout, true);
  Show(custom_layout_, false);
  Show(custom_combo_layout_, false);
  Show(led_mode_layout_, false);
  Show(c.same_mode, false);
  SetTextIdOf(c.fxr, "light_set_left_to_right_text");
  SetTextIdOf(c.fxl, "light_set_right_to_left_text");

  const MainRow row = KeyboardMainRow(effect);
  const std::array<ui::Control*, 8> columns = {c.multi_colour, c.colour_layout, c.multi_colour_layout, c.palette_layout,
                                               c.light_layout, c.speed_layout,  c.fx_layout,           c.rgb_layout};
  for (size_t i = 0; i < columns.size(); ++i) Apply(columns[i], row.states[i]);
  if (row.fxl_text != nullptr) SetTextIdOf(c.fxl, row.fxl_text);
  if (row.fxr_text != nullptr) SetTextIdOf(c.fxr, row.fxr_text);
  ShowSameMode(LightZone::kMain, row.same_mode);
  if (effect == kEffectLedMode) Show(led_mode_layout_, true);
  if (effect == kEffectCustom) {
    Show(custom_layout_, true);
    Show(custom_combo_layout_, true);
  }
}

void CLightControlUI::ApplyKeyboardSideLayout(LightZone zone, int effect) {
  ZoneControls& c = Zone(zone);
  Enable(c.effect_layout, true);
  Show(c.same_mode, false);
  Enable(c.fx_layout, true);
  Show(c.fx_layout, true);
  Show(c.speed_layout, true);
  Enable(c.rgb_layout, true);
  const SideRow row = KeyboardSideRow(effect);
  const std::array<ui::Control*, 7> columns = {c.multi_colour, c.colour_layout, c.palette_layout, c.light_layout,
                                               c.speed_layout, c.fx_layout,     c.rgb_layout};
  for (size_t i = 0; i < columns.size(); ++i) Apply(columns[i], row.states[i]);
  ShowSameMode(zone, row.same_mode);
}

void CLightControlUI::ApplyOtherKindLayout(int effect) {
  ZoneControls& c = Zone(LightZone::kMain);
  Enable(c.effect_layout, true);
  Show(c.same_mode, false);
  Enable(c.fx_layout, true);
  const OtherRow row = OtherKindRow(kind_, effect);
  const std::array<ui::Control*, 6> columns = {c.multi_colour, c.colour_layout, c.palette_layout,
                                               c.light_layout, c.speed_layout,  c.fx_layout};
  for (size_t i = 0; i < columns.size(); ++i) Apply(columns[i], row.states[i]);
  ShowSameMode(LightZone::kMain, row.same_mode);
}

// ---- getters

int CLightControlUI::SelectedEffect(LightZone zone) const {
  const ui::Combo* combo = Zone(zone).effects;
  return combo != nullptr ? combo->GetCurSel() : -1;
}

namespace {
int ValueOf(const ui::Slider* slider) { return slider != nullptr ? slider->GetValue() : 0; }
int MaxOf(const ui::Slider* slider) { return slider != nullptr ? slider->GetMaxValue() : 0; }
}  // namespace

int CLightControlUI::Brightness(LightZone zone) const { return ValueOf(Zone(zone).brightness); }
int CLightControlUI::Speed(LightZone zone) const { return ValueOf(Zone(zone).speed); }
int CLightControlUI::BrightnessMax(LightZone zone) const { return MaxOf(Zone(zone).brightness); }
int CLightControlUI::SpeedMax(LightZone zone) const { return MaxOf(Zone(zone).speed); }

QString CLightControlUI::EditText(LightZone zone, Component component) const {
  const ui::Edit* edit = Zone(zone).edits[static_cast<size_t>(component)];
  return edit != nullptr ? edit->GetText() : QString();
}

ui::Argb CLightControlUI::PaletteColour(LightZone zone) const {
  const ui::ColorPalette* palette = Zone(zone).palette;
  return palette != nullptr ? palette->GetSelectColor() : 0;
}

bool CLightControlUI::MultiColour(LightZone zone) const {
  const ui::CheckBox* check = Zone(zone).multi_colour;
  return check != nullptr && check->GetCheck();
}

bool CLightControlUI::DirectionFx(LightZone zone) const {
  const ui::Option* fxl = Zone(zone).fxl;
  return fxl != nullptr && fxl->IsSelected();
}

bool CLightControlUI::LogoOn() const { return logo_on_ != nullptr && logo_on_->GetCheck(); }

int CLightControlUI::CustomGroup() const { return custom_combo_ != nullptr ? custom_combo_->GetCurSel() : -1; }

int CLightControlUI::LedMode() const { return led_mode_combo_ != nullptr ? led_mode_combo_->GetCurSel() : -1; }

ui::Argb CLightControlUI::PresetColour(LightZone zone, int n) const {
  const QString name = QLatin1String(ZonePrefix(zone)) + QStringLiteral("color_option_%1").arg(n);
  const ui::Control* option = ui::FindSubControlByName(this, name);
  return option != nullptr ? option->GetBkColor() : 0;
}

}  // namespace zrv::editors
