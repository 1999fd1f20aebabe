// The keyboard's lighting: painting, the custom group read from and written to the keyboard, the
// lighting files.

#include <QString>

#include <algorithm>
#include <array>
#include <span>

#include "config/light_files.h"
#include "devices/model/frame_grid.h"
#include "devices/model/keyboard_device.h"
#include "devices/model/keyboard_page_view.h"

namespace zrv::devices {
namespace {

constexpr size_t kCustomBufferSize = LightingEngine::kLightFrameSize;  // 512
constexpr uint8_t kNoLed = 255;
constexpr int kLightingFunctionMode = 1;
constexpr std::chrono::milliseconds kCustomWritePause{200};
constexpr size_t kInfoKeySlots = 5;

// Keys whose LED the keyboard fixes, whatever its LED map says.
uint8_t FixedLed(int key) {
  switch (key) {
    case 17:
    case 18:
    case 19:
    case 20: return static_cast<uint8_t>(key);
    case 110: return 117;
    case 111: return 116;
    default: return kNoLed;
  }
}

bool FitsBuffer(uint8_t led) { return led != kNoLed && size_t{led} * 3 + 2 < kCustomBufferSize; }

}  // namespace

// ---- painting (repaint timer)

bool CHalveronKeyboardDevice::PictureShown() const {
  return keyboard_view_ == nullptr || keyboard_view_->PictureShown();
}

void CHalveronKeyboardDevice::RenderLightFrame() {
  if (!LightControl()) return;
  if (custom_write_pending_ && Lighting().Now() >= custom_pause_until_) WriteCustomLight();
  // Nothing to paint for nobody; the effects then step in larger pieces.
  const bool shown = PictureShown();
  effects_.SetWatched(shown);
  if (shown && GetFunctionMode() == kLightingFunctionMode) PaintKeyButtons(KeyColours());
}

int CHalveronKeyboardDevice::NextRepaintDelayMs(std::chrono::steady_clock::time_point now) const {
  if (PictureShown() || custom_write_pending_) return CHalveronUSBDevice::NextRepaintDelayMs(now);
  return static_cast<int>(kUnwatchedPeriod.count());
}

void CHalveronKeyboardDevice::OnPictureShown() {
  if (Connected()) RequestTimer(kTimerRepaint, kFirstRepaintDelayMs);
}

void CHalveronKeyboardDevice::OnFrameTaken() {
  if (effects_.Watched()) effects_.FrameTaken();
}

void CHalveronKeyboardDevice::RenderLogoLights() {
  if (!LightControl() || keyboard_view_ == nullptr || !PictureShown()) return;
  const std::vector<KeyColour> colours = LogoColours();
  for (size_t i = 0; i < colours.size(); ++i) {
    keyboard_view_->PaintLogoLight(static_cast<int>(i), KeyTint(colours[i]), KeyIntensity(colours[i]));
  }
}

void CHalveronKeyboardDevice::RenderStripLights() {
  if (!LightControl() || keyboard_view_ == nullptr || !PictureShown()) return;
  const std::vector<KeyColour> colours = StripColours();
  for (size_t i = 0; i < colours.size(); ++i) {
    keyboard_view_->PaintStripLight(static_cast<int>(i), KeyTint(colours[i]), KeyIntensity(colours[i]));
  }
}

// ---- lighting files

void CHalveronKeyboardDevice::ApplyLightSettings() {
  config::LightStateRecord light = Profile().ReadLightInfo();
  const config::LightStateRecord logo = Profile().ReadLogoLightInfo();
  light.logo = logo.logo;
  light.logo_on = logo.logo_on;
  light.strip = Profile().ReadStLightInfo().strip;
  ApplyProfileLighting(light);
}

void CHalveronKeyboardDevice::LoadLists() {
  const QString defaults = QString::fromStdString(DefaultDataFolder() + config::kDefaultLightFile);
  const QString configuration = QString::fromStdString(UserDataFolder() + config::kLightConfigFile);
  config::FillLightLists(light_lists_, config::ReadLightFile(defaults), config::ReadLightFile(configuration),
                         GetDisplayIndex(), true);
}

// ---- custom group

uint8_t CHalveronKeyboardDevice::CustomLedOfKey(int key) const {
  if (const uint8_t fixed = FixedLed(key); fixed != kNoLed) return fixed;
  const std::vector<uint8_t> leds = LedMap();
  if (key < 0 || static_cast<size_t>(key) >= leds.size()) return kNoLed;
  return leds[static_cast<size_t>(key)];
}

size_t CHalveronKeyboardDevice::CustomGroupKeys() const {
  // The keyboard's slot count as read, never past the end of its group.
  const size_t slot_count = Links().Info()[kInfoKeySlots] != 0 ? Links().Info()[kInfoKeySlots] : KeySlotCount();
  return std::min<size_t>(slot_count, device::DeviceLink::kCustomLightGroupSize / 3);
}

int CHalveronKeyboardDevice::ReadCustomLight() {
  const int group = GetLightInfo().custom_light_mode_group;
  std::array<uint8_t, kCustomBufferSize> buffer{};
  const int result = Links().Command().ReadCustomLight(std::span<uint8_t>(buffer.data(), CustomGroupKeys() * 3),
                                                       static_cast<uint32_t>(group));
  if (result != 1) return result;
  std::vector<Rgb> colours(kKeyboardKeys);
  for (size_t key = 0; key < colours.size(); ++key) {
    const uint8_t led = CustomLedOfKey(static_cast<int>(key));
    if (!FitsBuffer(led)) continue;
    colours[key] = {buffer[3 * led], buffer[3 * led + 1], buffer[3 * led + 2]};
  }
  effects_.SetCustomColours(colours);
  StoreCustomColours(group);
  return result;
}

int CHalveronKeyboardDevice::WriteCustomLight() {
  const LightRecord record = GetLightInfo();
  if (record.main.select_item != kEffectCustom) return 0;
  custom_write_pending_ = false;
  if (Lighting().Now() < custom_pause_until_) {
    custom_write_pending_ = true;  // sent by the repaint once the pause is over
    return 0;
  }
  std::array<uint8_t, kCustomBufferSize> buffer{};
  const std::vector<Rgb> colours = effects_.CustomColours();
  for (size_t key = 0; key < colours.size(); ++key) {
    const uint8_t led = CustomLedOfKey(static_cast<int>(key));
    if (!FitsBuffer(led)) continue;
    buffer[3 * led] = colours[key].red;
    buffer[3 * led + 1] = colours[key].green;
    buffer[3 * led + 2] = colours[key].blue;
  }
  const int result = Links().Command().WriteCustomLight(std::span<const uint8_t>(buffer.data(), CustomGroupKeys() * 3),
                                                        record.custom_light_mode_group);
  if (result != 1) custom_pause_until_ = Lighting().Now() + kCustomWritePause;
  return result;
}

void CHalveronKeyboardDevice::PaintKey(int key) { PaintKeys({key}); }

void CHalveronKeyboardDevice::PaintKeys(const std::vector<int>& keys) {
  const LightRecord record = GetLightInfo();
  if (record.main.select_item != kEffectCustom) return;
  bool painted = false;
  for (const int key : keys) {
    if (key < 0 || key >= KeyButtonCount() || static_cast<size_t>(key) >= kKeyboardKeys) continue;
    effects_.SetCustomColour(key, {record.main.red, record.main.green, record.main.blue});
    painted = true;
  }
  if (!painted) return;
  StoreCustomColours(record.custom_light_mode_group);
  RefreshPage();
  WriteCustomLight();
}

void CHalveronKeyboardDevice::SelectCustomMode(int group) {
  if (LightView* view = GetLightView()) view->ShowCustomGroup(group);
  Profile().SetCustomModeIndex(group);
  SaveProfile();
}

void CHalveronKeyboardDevice::ReloadCustomMode() {
  LoadCustomColours();
  if (LightView* view = GetLightView()) view->ShowCustomGroup(GetLightInfo().custom_light_mode_group);
  WriteCustomLight();
}

void CHalveronKeyboardDevice::FillCustomMode(bool on) {
  const config::LightZoneFields main = Profile().ReadLightInfo().main;
  const Rgb colour = on ? Rgb{main.red, main.green, main.blue} : Rgb{0, 0, 0};
  effects_.SetCustomColours(std::vector<Rgb>(kKeyboardKeys, colour));
  WriteCustomLight();
  const int group = GetLightView() != nullptr ? GetLightView()->SelectedCustomGroup() : -1;
  if (group >= 0) StoreCustomColours(group);
}

void CHalveronKeyboardDevice::ShowCustomGroup() {
  const int group = GetLightInfo().custom_light_mode_group;
  if (LightView* view = GetLightView()) view->ShowCustomGroup(group);
  LoadCustomColours();
  WriteCustomLight();
  Profile().SetCustomModeIndex(group);
}

void CHalveronKeyboardDevice::LoadCustomColours() {
  const int group = GetLightInfo().custom_light_mode_group;
  const std::vector<config::ModeColour> stored = Profile().GetCustomModeColors(group, static_cast<int>(kKeyboardKeys));
  std::vector<Rgb> colours(kKeyboardKeys);
  for (size_t key = 0; key < std::min(stored.size(), colours.size()); ++key) {
    colours[key] = {stored[key].red, stored[key].green, stored[key].blue};
  }
  effects_.SetCustomColours(colours);
}

void CHalveronKeyboardDevice::StoreCustomColours(int group) {
  const std::vector<Rgb> colours = effects_.CustomColours();
  std::vector<config::ModeColour> stored(colours.size());
  for (size_t key = 0; key < colours.size(); ++key) {
    // Alpha 0 marks a key without an LED: it is dark in every custom group.
    const uint8_t alpha = CustomLedOfKey(static_cast<int>(key)) == kNoLed ? 0 : 255;
    stored[key] = {colours[key].red, colours[key].green, colours[key].blue, alpha};
  }
  Profile().GetCustomModeColors(group, static_cast<int>(stored.size()));  // makes the entries
  Profile().SetCustomModeColors(stored, group);
  Profile().Save();
}

}  // namespace zrv::devices
