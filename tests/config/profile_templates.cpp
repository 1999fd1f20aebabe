#include "config/profile_templates.h"

#include "config/eq_preset_table.h"
#include "device/key_identity_table.h"

namespace zrv::config::test {
namespace {

using device::kKeyIdentityTable;
using device::kMouseKeyIdentityTable;

struct Zone {
  int effect, brightness, speed, fx, multi_color, red, green, blue;
};

Json::Value LightObject(const Zone& zone) {
  Json::Value object(Json::objectValue);
  object["SelectItem"] = zone.effect;
  object["Light"] = zone.brightness;
  object["Speed"] = zone.speed;
  object["Fx"] = zone.fx;
  object["MultiColor"] = zone.multi_color;
  object["Red"] = zone.red;
  object["Green"] = zone.green;
  object["Blue"] = zone.blue;
  return object;
}

// "LightInfo" of every kind: full brightness (level 24), middle speed, rainbow colours.
Json::Value MainLight(int effect) {
  Json::Value object = LightObject({effect, 24, 2, 1, 1, 255, 0, 0});
  object["ZZCCLedMode"] = 0;
  object["CustomLightModeGroupIndex"] = 0;
  return object;
}

// One null element per LED zone: no zone overrides the main effect.
Json::Value LedList(int leds) {
  Json::Value list(Json::arrayValue);
  for (int i = 0; i < leds; ++i) list.append(Json::Value());
  return list;
}

Json::Value KeyEntry(uint32_t code) {
  Json::Value entry(Json::objectValue);
  entry["Assignment"] = static_cast<Json::Int>(code);
  entry["DefaultAssignment"] = static_cast<Json::Int>(code);
  return entry;
}

Json::Value Colour(int red, int green, int blue, int alpha) {
  Json::Value entry(Json::objectValue);
  entry["Red"] = red;
  entry["Green"] = green;
  entry["Blue"] = blue;
  entry["Alpha"] = alpha;
  return entry;
}

bool IsGamingKey(const device::KeyCode& code) {
  // W, A, S, D and the four arrows.
  if (code.type != 0x20 || code.first != 0) return false;
  switch (code.second) {
    case 0x1A:
    case 0x04:
    case 0x16:
    case 0x07:
    case 0x52:
    case 0x50:
    case 0x51:
    case 0x4F: return true;
    default: return false;
  }
}

// Custom modes 0-3: every key white, red, green, blue; mode 4: the movement keys red, the rest off.
// Positions without a key stay off in every mode.
Json::Value CustomLightModes() {
  Json::Value modes(Json::arrayValue);
  const int plain[4][3] = {{255, 255, 255}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  for (int mode = 0; mode < kTemplateCustomModes; ++mode) {
    Json::Value leds(Json::arrayValue);
    for (const device::KeyCode& code : kKeyIdentityTable) {
      const bool is_key = code.Packed() != 0x200000 && code.Packed() != 0;
      if (!is_key) {
        leds.append(Colour(0, 0, 0, 0));
      } else if (mode < 4) {
        leds.append(Colour(plain[mode][0], plain[mode][1], plain[mode][2], 255));
      } else {
        leds.append(IsGamingKey(code) ? Colour(255, 0, 0, 255) : Colour(0, 0, 0, 0));
      }
    }
    modes.append(leds);
  }
  Json::Value custom(Json::objectValue);
  custom["CustomLightModeGroupIndex"] = 0;
  custom["LightColorInfo"] = modes;
  return custom;
}

Json::Value Profile(Json::Value settings) {
  Json::Value document(Json::objectValue);
  document["profilename"] = "Default";
  document["profileUUID"] = "";
  document["Device"].append(std::move(settings));
  return document;
}

Json::Value DpiStage(int dpi, int red, int green, int blue) {
  Json::Value stage(Json::objectValue);
  stage["StageActive"] = 1;
  stage["StageXY"] = 0;
  stage["StageDPIX"] = dpi;
  stage["StageDPIY"] = dpi;
  stage["StageColorR"] = red;
  stage["StageColorG"] = green;
  stage["StageColorB"] = blue;
  return stage;
}

Json::Value CorrectionEntry(const char* name, int threshold, int min_sq, int select) {
  Json::Value entry(Json::objectValue);
  entry["CorrectName"] = name;
  entry["CorrectPixThresh"] = threshold;
  entry["CorrectMinSq"] = min_sq;
  entry["CorrectSelect"] = select;
  return entry;
}

Json::Value Curve(const std::array<int32_t, 10>& gains) {
  Json::Value curve(Json::arrayValue);
  for (const int32_t gain : gains) {
    Json::Value band(Json::objectValue);
    band["value"] = gain;
    curve.append(band);
  }
  return curve;
}

}  // namespace

Json::Value KeyboardTemplate() {
  Json::Value settings(Json::objectValue);
  settings["LightInfo"] = MainLight(1);  // the rainbow wave
  Json::Value logo = LightObject({0, 24, 2, 1, 1, 0, 255, 255});
  logo["RGBdengoffon"] = 1;
  settings["LogoLightInfo"] = logo;
  settings["StLightInfo"] = LightObject({0, 24, 2, 1, 1, 0, 255, 255});
  settings["LightList"] = Json::Value(Json::arrayValue);
  Json::Value keys(Json::arrayValue);
  for (const device::KeyCode& code : kKeyIdentityTable) keys.append(KeyEntry(code.Packed()));
  settings["KeyList"] = keys;
  Json::Value system(Json::objectValue);
  system["Repeat"] = 31;      // fastest repeat
  system["RepeatDelay"] = 1;  // 500 ms
  system["Key6Flag"] = 0;     // full key rollover
  system["PollingRate"] = 0;  // the firmware's first (fastest) rate
  system["WFlag"] = 0;
  system["WinFlag"] = 0;  // Windows key not locked
  system["ScanDelay"] = 0;
  settings["SystemStages"] = system;
  settings["CustomLightMode"] = CustomLightModes();
  return Profile(settings);
}

Json::Value MouseTemplate() {
  Json::Value settings(Json::objectValue);
  settings["LightInfo"] = MainLight(0);  // the mouse wave
  settings["LightList"] = LedList(kMouseLeds);
  Json::Value keys(Json::arrayValue);
  for (const device::MouseKeyIdentity& key : kMouseKeyIdentityTable) keys.append(KeyEntry(key.code.Packed()));
  settings["KeyList"] = keys;
  // Slider values; with the usual DPI factor of 50: 400, 800, 1600, 3200 and 6400 DPI.
  Json::Value stages(Json::arrayValue);
  stages.append(DpiStage(8, 255, 0, 0));
  stages.append(DpiStage(16, 0, 255, 0));
  stages.append(DpiStage(32, 0, 0, 255));
  stages.append(DpiStage(64, 255, 255, 0));
  stages.append(DpiStage(128, 255, 0, 255));
  Json::Value dpi(Json::objectValue);
  dpi["StageActive"] = 1;
  dpi["StageDPIs"] = stages;
  settings["DPIStages"] = dpi;
  Json::Value system(Json::objectValue);
  system["DoubleClickTime"] = 500;
  system["MouseSpeed"] = 10;
  system["PointerPrecision"] = 1;
  system["ScorllPage"] = 0;
  system["WheelScorlllinse"] = 3;
  settings["SystemStages"] = system;
  Json::Value report(Json::objectValue);
  report["StageActive"] = 0;
  settings["ReportStages"] = report;
  Json::Value corrections(Json::arrayValue);
  corrections.append(CorrectionEntry("Standard", 12, 24, 1));
  corrections.append(CorrectionEntry("Cloth pad", 16, 32, 0));
  corrections.append(CorrectionEntry("Hard pad", 8, 16, 0));
  settings["CorrectInfo"] = corrections;
  return Profile(settings);
}

Json::Value MousePadTemplate() {
  Json::Value settings(Json::objectValue);
  settings["LightInfo"] = MainLight(0);  // the pad wave
  settings["LightList"] = LedList(kMousePadLeds);
  return Profile(settings);
}

Json::Value HeadsetTemplate() {
  Json::Value settings(Json::objectValue);
  settings["LightInfo"] = MainLight(0);  // the headset wave
  settings["LightList"] = LedList(kHeadsetLeds);
  Json::Value audio(Json::objectValue);
  audio["MagicEnable"] = 0;  // voice changer off
  audio["MagicType"] = 1;
  audio["EqType"] = 5;  // the flat preset
  audio["CustomEqSeletIndex"] = 0;
  audio["MicInSelect"] = 1;  // microphone on
  audio["MicInValue"] = 80;
  audio["MicMoniterSelect"] = 0;  // no monitoring
  audio["MicMoniterValue"] = 50;
  settings["SystemSetStages"] = audio;
  // Element t is preset t; element 0 (no preset) is flat.
  Json::Value presets(Json::arrayValue);
  for (const auto& gains : kEqPresetTable) presets.append(Curve(gains));
  settings["EQHzValueInfo"] = presets;
  settings["CustomEQNameInfo"] = Json::Value(Json::arrayValue);
  settings["CustomEQHzValueInfo"] = Json::Value(Json::arrayValue);
  return Profile(settings);
}

}  // namespace zrv::config::test
