#include "editors/light_flow.h"

#include <algorithm>
#include <array>

#include "controls/device_key_button.h"
#include "devices/model/light_info.h"
#include "ui/lookup.h"
#include "ui/notify.h"

namespace zrv::editors {
namespace {

constexpr int kWriteOk = 1;
constexpr int kEffectCustom = 20;
constexpr const char* kKeyPanel = "keyboard_device_key_light_0";

// Common types 0-4: breathing, static, blink, colour cycle, off.
constexpr std::array<int, 5> kKeyboardEffects = {5, 6, 26, 4, 24};
constexpr std::array<int, 5> kOtherEffects = {2, 3, 4, 1, 8};

}  // namespace

int SyncTypeOfEffect(device::DeviceKind kind, int effect) {
  const std::array<int, 5>* effects = nullptr;
  if (kind == device::DeviceKind::kKeyboard) {
    effects = &kKeyboardEffects;
  } else if (device::IsMouse(kind) || kind == device::DeviceKind::kMousePad || kind == device::DeviceKind::kHeadset) {
    effects = &kOtherEffects;
  }
  if (effects == nullptr) return -1;
  const auto found = std::find(effects->begin(), effects->end(), effect);
  return found != effects->end() ? static_cast<int>(found - effects->begin()) : -1;
}

int KeyboardEffectOfSyncType(int type) {
  return type >= 0 && type < static_cast<int>(kKeyboardEffects.size()) ? kKeyboardEffects[static_cast<size_t>(type)]
                                                                       : -1;
}

int OtherEffectOfSyncType(int type) {
  return type >= 0 && type < static_cast<int>(kOtherEffects.size()) ? kOtherEffects[static_cast<size_t>(type)] : -1;
}

std::unique_ptr<LightFlow> LightFlow::Bind(devices::CHalveronUSBDevicePage& page, QSize screen) {
  auto* model = dynamic_cast<devices::LightModel*>(&page.Model());
  if (model == nullptr) return nullptr;
  auto* editor = ui::FindSubControlByName<CLightControlUI>(&page, QLatin1String(kEditorName));
  if (editor == nullptr) return nullptr;
  return std::make_unique<LightFlow>(page, *model, *editor, screen);
}

LightFlow::LightFlow(devices::CHalveronUSBDevicePage& page, devices::LightModel& model, CLightControlUI& editor,
                     QSize screen)
    : page_(&page), model_(&model), editor_(&editor), screen_(screen) {
  editor.SetDeviceKind(page.Model().Kind());
  // The lists come from the program's own files: the page can offer them before the device is there.
  model.LoadLists();
  const config::LightLists& lists = model.GetLightLists();
  editor.FillEffects(LightZone::kMain, lists.main, BrightnessMax(), kSpeedMax);
  if (Keyboard() != nullptr) {
    editor.FillEffects(LightZone::kLogo, lists.logo, kKeyboardBrightnessMax, kSpeedMax);
    editor.FillEffects(LightZone::kStrip, lists.strip, kKeyboardBrightnessMax, kSpeedMax);
  }
  model.SetLightView(&editor);
  editor.ShowLightRecords(Take(LightZone::kMain), Take(LightZone::kLogo), Take(LightZone::kStrip));

  write_timer_.setSingleShot(true);
  QObject::connect(&write_timer_, &QTimer::timeout, [this] { WriteNow(); });
}

LightFlow::~LightFlow() {
  if (devices::LightModel* model = Model()) model->SetLightView(nullptr);
}

void LightFlow::AddRoutes(ui::RouteRegistry& routes) {
  const ui::RouteRegistry::Owner owner = page_.data();
  using ui::RouteHit;
  namespace notify = ui::notify;
  for (const LightZone zone : {LightZone::kMain, LightZone::kLogo, LightZone::kStrip}) {
    const std::string prefix = ZonePrefix(zone);
    const auto name = [&prefix](const char* control) { return prefix + control; };
    routes.AddName(owner, notify::kItemSelect, name("light_combo_modeSelect").c_str(),
                   [this, zone](const RouteHit&) { ChooseEffect(zone); });
    routes.AddName(owner, notify::kValueChanged, name("deng_light_slider").c_str(),
                   [this, zone](const RouteHit&) { ChangeBrightness(zone); });
    routes.AddName(owner, notify::kValueChanged, name("deng_speed_slider").c_str(),
                   [this, zone](const RouteHit&) { ChangeSpeed(zone); });
    routes.AddName(owner, notify::kSelectChanged, name("deng_7color_check").c_str(),
                   [this, zone](const RouteHit&) { ChangeMultiColour(zone); });
    // Choosing one option clears the other: both report, only the chosen one counts.
    routes.AddName(owner, notify::kSelectChanged, name("deng_FXL_check").c_str(), [this, zone](const RouteHit& hit) {
      if (hit.msg.wParam != 0) ChangeDirection(zone, true);
    });
    routes.AddName(owner, notify::kSelectChanged, name("deng_FXR_check").c_str(), [this, zone](const RouteHit& hit) {
      if (hit.msg.wParam != 0) ChangeDirection(zone, false);
    });
    routes.AddName(owner, notify::kColorChanged, name("deng_Color_Pallet").c_str(),
                   [this, zone](const RouteHit&) { ChangePaletteColour(zone); });
    routes.AddName(owner, notify::kKillFocus, name("deng_edit_R").c_str(),
                   [this, zone](const RouteHit&) { ChangeComponent(zone, CLightControlUI::Component::kRed); });
    routes.AddName(owner, notify::kKillFocus, name("deng_edit_G").c_str(),
                   [this, zone](const RouteHit&) { ChangeComponent(zone, CLightControlUI::Component::kGreen); });
    routes.AddName(owner, notify::kKillFocus, name("deng_edit_B").c_str(),
                   [this, zone](const RouteHit&) { ChangeComponent(zone, CLightControlUI::Component::kBlue); });
    routes.AddPrefix(owner, notify::kClick, name("color_option_").c_str(),
                     [this, zone](const RouteHit& hit) { ChoosePresetColour(zone, hit.number); });
  }
  routes.AddName(owner, notify::kSelectChanged, "LightTab1_RGBdeng_check", [this](const RouteHit&) { ChangeLogoOn(); });
  routes.AddName(owner, notify::kItemSelect, "light_combo_ZZCCmodeSelect",
                 [this](const RouteHit&) { ChooseLedMode(); });
  routes.AddName(owner, notify::kItemSelect, "light_combo_custommodeSelect",
                 [this](const RouteHit&) { ChooseCustomGroup(); });
  routes.AddName(owner, notify::kClick, "custom_bright_color_btn", [this](const RouteHit&) { FillCustomGroup(true); });
  routes.AddName(owner, notify::kClick, "custom_off_color_btn", [this](const RouteHit&) { FillCustomGroup(false); });
  routes.AddName(owner, notify::kClickSelectEnd, kKeyPanel, [this](const RouteHit&) { PaintSelectedKeys(); });
  // The logo's and the strip's buttons have no action of their own.
  routes.AddName(owner, notify::kClick, "deng_same_mode", [this](const RouteHit&) { Synchronise(); });
}

// ---- the sequence

devices::CHalveronUSBDevice* LightFlow::Device() const { return page_ != nullptr ? &page_->Model() : nullptr; }

devices::LightModel* LightFlow::Model() const { return page_ != nullptr ? model_ : nullptr; }

devices::CHalveronKeyboardDevice* LightFlow::Keyboard() const {
  return dynamic_cast<devices::CHalveronKeyboardDevice*>(Device());
}

int LightFlow::BrightnessMax() const { return Keyboard() != nullptr ? kKeyboardBrightnessMax : kOtherBrightnessMax; }

config::LightStateRecord LightFlow::Take(LightZone zone) const {
  devices::CHalveronUSBDevice* device = Device();
  config::CBasicProfiledata* profile = device != nullptr ? device->ProfileData() : nullptr;
  if (profile == nullptr) return {};
  switch (zone) {
    case LightZone::kLogo: return profile->ReadLogoLightInfo();
    case LightZone::kStrip: return profile->ReadStLightInfo();
    case LightZone::kMain: break;
  }
  return profile->ReadLightInfo();
}

void LightFlow::Store(LightZone zone, const config::LightStateRecord& record) {
  devices::CHalveronUSBDevice* device = Device();
  devices::LightModel* model = Model();
  config::CBasicProfiledata* profile = device != nullptr ? device->ProfileData() : nullptr;
  if (model == nullptr || profile == nullptr) return;
  const devices::LightInts values = devices::PackLightInts(record);
  switch (zone) {
    case LightZone::kMain:
      device->SetLightInfo(values);
      profile->WriteLightInfo(record);
      break;
    case LightZone::kLogo:
      device->SetLogoLightInfo(values);
      profile->WriteLogoLightInfo(record);
      break;
    case LightZone::kStrip:
      device->SetStripLightInfo(values);
      profile->WriteStLightInfo(record);
      break;
  }
  device->SaveProfile();
  model->ApplyLightSettings();
}

void LightFlow::LeaveSync() {
  if (devices::CHalveronUSBDevice* device = Device()) device->CommandLink().SetPaused(false);
}

template <class Change>
void LightFlow::Edit(LightZone zone, Change change) {
  if (Model() == nullptr || editor_ == nullptr) return;
  LeaveSync();
  config::LightStateRecord record = Take(zone);
  change(record, ZoneFields(record, zone));
  Store(zone, record);
  WriteNow();
}

void LightFlow::WriteNow() {
  write_timer_.stop();
  devices::CHalveronUSBDevice* device = Device();
  devices::LightModel* model = Model();
  if (device == nullptr || model == nullptr) return;
  last_write_ = clock_();
  ++settings_writes_;
  const int result = device->WriteSettings(0, 0, 1, screen_.width(), screen_.height());
  if (result == kWriteOk || !device->Connected()) return;
  // Refused: not reported, but the editor must not pretend the device took it.
  model->ReadDeviceSettings();
  device->RefreshPage();
}

void LightFlow::WritePaced() {
  if (write_timer_.isActive()) return;  // the trailing write takes the latest profile
  const auto since = std::chrono::duration_cast<std::chrono::milliseconds>(clock_() - last_write_);
  if (since >= kColourWriteInterval) {
    WriteNow();
    return;
  }
  write_timer_.start(static_cast<int>((kColourWriteInterval - since).count()));
}

// ---- the changes

void LightFlow::ChooseEffect(LightZone zone) {
  if (editor_ == nullptr) return;
  const int effect = editor_->SelectedEffect(zone);
  if (effect < 0) return;
  editor_->SelectEffect(zone, effect);
  Edit(zone, [effect](config::LightStateRecord&, config::LightZoneFields& fields) {
    fields.select_item = static_cast<uint8_t>(effect);
  });
}

void LightFlow::ChangeBrightness(LightZone zone) {
  if (editor_ == nullptr) return;
  const int value =
      std::clamp(editor_->Brightness(zone), 0, zone == LightZone::kMain ? BrightnessMax() : kKeyboardBrightnessMax);
  Edit(zone, [value](config::LightStateRecord&, config::LightZoneFields& fields) {
    fields.light = static_cast<uint8_t>(value);
  });
}

void LightFlow::ChangeSpeed(LightZone zone) {
  if (editor_ == nullptr) return;
  const int value = std::clamp(editor_->Speed(zone), 0, kSpeedMax);
  Edit(zone, [value](config::LightStateRecord&, config::LightZoneFields& fields) {
    fields.speed = static_cast<uint8_t>(value);
  });
}

void LightFlow::ChangeMultiColour(LightZone zone) {
  if (editor_ == nullptr) return;
  const bool on = editor_->MultiColour(zone);
  // The editor sets the check with its notification when it shows a record or a colour: nothing
  // changed then, nothing to write.
  if ((ZoneFields(Take(zone), zone).multi_color != 0) == on) return;
  Edit(zone, [on](config::LightStateRecord&, config::LightZoneFields& fields) { fields.multi_color = on ? 1 : 0; });
}

void LightFlow::ChangeDirection(LightZone zone, bool fxl) {
  if (editor_ == nullptr) return;
  editor_->ShowDirection(zone, fxl);
  Edit(zone, [fxl](config::LightStateRecord&, config::LightZoneFields& fields) { fields.fx = fxl ? 1 : 0; });
}

void LightFlow::ChangeLogoOn() {
  if (editor_ == nullptr) return;
  const bool on = editor_->LogoOn();
  if ((Take(LightZone::kLogo).logo_on != 0) == on) return;  // shown, not changed
  Edit(LightZone::kLogo,
       [on](config::LightStateRecord& record, config::LightZoneFields&) { record.logo_on = on ? 1 : 0; });
}

void LightFlow::ChooseLedMode() {
  if (editor_ == nullptr || Keyboard() == nullptr) return;
  const int mode = editor_->LedMode();
  if (mode < 0) return;
  config::LightStateRecord record = Take(LightZone::kMain);
  record.zzcc_led_mode = static_cast<uint8_t>(mode);
  Store(LightZone::kMain, record);
  WriteNow();
}

void LightFlow::ApplyColour(LightZone zone, ui::Argb colour, bool preset) {
  if (editor_ == nullptr || Model() == nullptr) return;
  config::LightStateRecord record = Take(zone);
  config::LightZoneFields& fields = ZoneFields(record, zone);
  fields.red = static_cast<uint8_t>(colour >> 16);
  fields.green = static_cast<uint8_t>(colour >> 8);
  fields.blue = static_cast<uint8_t>(colour);
  fields.multi_color = 0;
  Store(zone, record);
  editor_->ShowComponents(zone, fields.red, fields.green, fields.blue);
  // Its notification stores MultiColour 0 again, which the record already holds.
  editor_->SetMultiColour(zone, false, true);
  editor_->ShowColour(zone, ZoneColour(fields), preset);
  if (zone == LightZone::kMain && fields.select_item == kEffectCustom) PaintSelectedKeys();
}

void LightFlow::ChangePaletteColour(LightZone zone) {
  if (editor_ == nullptr) return;
  LeaveSync();
  ApplyColour(zone, editor_->PaletteColour(zone), false);
  WritePaced();
}

void LightFlow::ChoosePresetColour(LightZone zone, int n) {
  if (editor_ == nullptr) return;
  ApplyColour(zone, editor_->PresetColour(zone, n), true);
  WriteNow();
}

void LightFlow::ChangeComponent(LightZone zone, CLightControlUI::Component component) {
  if (editor_ == nullptr || Model() == nullptr) return;
  const int value = editor_->TakeComponent(zone, component);
  LeaveSync();
  config::LightStateRecord record = Take(zone);
  config::LightZoneFields& fields = ZoneFields(record, zone);
  uint8_t* target = component == CLightControlUI::Component::kRed     ? &fields.red
                    : component == CLightControlUI::Component::kGreen ? &fields.green
                                                                      : &fields.blue;
  *target = static_cast<uint8_t>(value);
  fields.multi_color = 0;
  Store(zone, record);
  editor_->SetMultiColour(zone, false, true);
  editor_->ShowColour(zone, ZoneColour(fields), true);
  if (zone == LightZone::kMain && fields.select_item == kEffectCustom) PaintSelectedKeys();
  WriteNow();
}

// ---- custom lighting

std::vector<int> LightFlow::SelectedKeys() const {
  std::vector<int> keys;
  devices::CHalveronKeyboardDevice* keyboard = Keyboard();
  if (keyboard == nullptr) return keys;
  for (int key = 0; key < keyboard->KeyButtonCount(); ++key) {
    const controls::CDeviceKeyButtonUI* button = page_->KeyButton(key);
    if (button != nullptr && button->GetSelectState() != 0) keys.push_back(key);
  }
  return keys;
}

void LightFlow::PaintSelectedKeys() {
  devices::CHalveronKeyboardDevice* keyboard = Keyboard();
  if (keyboard == nullptr) return;
  const std::vector<int> keys = SelectedKeys();
  if (!keys.empty()) keyboard->PaintKeys(keys);
}

void LightFlow::ChooseCustomGroup() {
  devices::CHalveronKeyboardDevice* keyboard = Keyboard();
  if (editor_ == nullptr || keyboard == nullptr) return;
  const int group = editor_->CustomGroup();
  if (group < 0) return;
  keyboard->SelectCustomMode(group);
  config::LightStateRecord record = Take(LightZone::kMain);
  record.custom_light_mode_group = static_cast<uint8_t>(group);
  Store(LightZone::kMain, record);
  keyboard->ReloadCustomMode();
  WriteNow();
}

void LightFlow::FillCustomGroup(bool on) {
  if (devices::CHalveronKeyboardDevice* keyboard = Keyboard()) keyboard->FillCustomMode(on);
}

}  // namespace zrv::editors

namespace zrv::editors {

// ---- synchronised lighting

void LightFlow::Synchronise() {
  devices::CHalveronUSBDevice* current = Device();
  if (current == nullptr) return;
  const config::LightStateRecord shared = Take(LightZone::kMain);
  const int type = SyncTypeOfEffect(current->Kind(), shared.main.select_item);
  if (type < 0) return;
  if (sync_.share) sync_.share(type, shared.main);

  const int from_max = BrightnessMax();
  const auto give = [&](devices::CHalveronUSBDevice& device, int effect) {
    if (!device.CommandLink().Connected()) return;
    device.CommandLink().SetPaused(true);
    config::LightStateRecord record = shared;
    record.main.select_item = static_cast<uint8_t>(effect);
    // The same brightness on the other device's own scale (a keyboard's 0-24, the others' 0-4):
    // a mouse must not be sent a level beyond its range, nor a keyboard a mouse's dim level.
    const int to_max = device.Kind() == device::DeviceKind::kKeyboard ? kKeyboardBrightnessMax : kOtherBrightnessMax;
    record.main.light =
        static_cast<uint8_t>((std::min<int>(record.main.light, from_max) * to_max + from_max / 2) / from_max);
    device.SetLightInfo(devices::PackLightInts(record));
    if (config::CBasicProfiledata* profile = device.ProfileData()) profile->WriteLightInfo(record);
    device.SaveProfile();
    if (auto* model = dynamic_cast<devices::LightModel*>(&device)) {
      model->ApplyLightSettings();
      // Shown once stored: the editor's own notifications then find nothing changed.
      model->ShowLightRecords();
    }
    device.WriteSettings(0, 0, 1, screen_.width(), screen_.height());
  };
  if (sync_.keyboards) {
    for (devices::CHalveronUSBDevice* device : sync_.keyboards()) {
      if (device != nullptr) give(*device, KeyboardEffectOfSyncType(type));
    }
  }
  if (sync_.others) {
    for (devices::CHalveronUSBDevice* device : sync_.others()) {
      if (device != nullptr) give(*device, OtherEffectOfSyncType(type));
    }
  }
}

void LightFlow::SetSameModeAllowed(bool allowed) {
  if (editor_ != nullptr) editor_->SetSameModeAllowed(allowed);
}

}  // namespace zrv::editors
