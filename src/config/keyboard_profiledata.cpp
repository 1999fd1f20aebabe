#include "config/keyboard_profiledata.h"

#include "config/json_value.h"

namespace zrv::config {
namespace {

Json::Value ZeroColour() {
  Json::Value entry(Json::objectValue);
  entry["Red"] = 0;
  entry["Green"] = 0;
  entry["Blue"] = 0;
  entry["Alpha"] = 0;
  return entry;
}

}  // namespace

KeyboardSystem CKeyboardProfiledata::GetKeyboardSystem() {
  const Json::Value& stages = Section("SystemStages");
  system_.repeat = MemberWord(stages, "Repeat");
  system_.repeat_delay = MemberWord(stages, "RepeatDelay");
  system_.key6_flag = MemberWord(stages, "Key6Flag");
  system_.polling_rate = MemberWord(stages, "PollingRate");
  system_.w_flag = MemberWord(stages, "WFlag");
  system_.win_flag = MemberWord(stages, "WinFlag");
  system_.scan_delay = MemberWord(stages, "ScanDelay");
  return system_;
}

void CKeyboardProfiledata::SetKeyboardSystem(const KeyboardSystem& values) {
  Json::Value& stages = EnsureObject(SectionForWrite("SystemStages"));
  stages["Repeat"] = values.repeat;
  stages["RepeatDelay"] = values.repeat_delay;
  stages["Key6Flag"] = values.key6_flag;
  stages["PollingRate"] = values.polling_rate;
  stages["WFlag"] = values.w_flag;
  stages["WinFlag"] = values.win_flag;
  stages["ScanDelay"] = values.scan_delay;
  system_ = values;
}

std::vector<ModeColour> CKeyboardProfiledata::GetCustomModeColors(int mode, int led_count) {
  mode_colours_.clear();
  if (mode < 0 || mode >= kMaxCustomModes || led_count < 0 || led_count > kMaxModeLeds) return mode_colours_;
  Json::Value& modes = MemberForWrite(SectionForWrite("CustomLightMode"), "LightColorInfo");
  Json::Value& entries = ElementForWrite(modes, static_cast<Json::ArrayIndex>(mode));
  EnsureArray(entries);
  mode_colours_.reserve(static_cast<size_t>(led_count));
  for (Json::ArrayIndex i = 0; i < static_cast<Json::ArrayIndex>(led_count); ++i) {
    Json::Value& entry = entries[i];
    if (!entry.isObject()) entry = ZeroColour();
    mode_colours_.push_back(
        {MemberByte(entry, "Red"), MemberByte(entry, "Green"), MemberByte(entry, "Blue"), MemberByte(entry, "Alpha")});
  }
  return mode_colours_;
}

void CKeyboardProfiledata::SetCustomModeColors(const std::vector<ModeColour>& colours, int mode) {
  if (mode < 0 || mode >= kMaxCustomModes) return;
  Json::Value& modes = MemberForWrite(SectionForWrite("CustomLightMode"), "LightColorInfo");
  Json::Value& entries = ElementForWrite(modes, static_cast<Json::ArrayIndex>(mode));
  for (size_t i = 0; i < colours.size(); ++i) {
    Json::Value& entry = EnsureObject(ElementForWrite(entries, static_cast<Json::ArrayIndex>(i)));
    entry["Red"] = colours[i].red;
    entry["Green"] = colours[i].green;
    entry["Blue"] = colours[i].blue;
    entry["Alpha"] = colours[i].alpha;
  }
  mode_colours_ = colours;
}

int CKeyboardProfiledata::GetCustomModeIndex() {
  custom_mode_ = static_cast<int>(ReadInt(Member(Section("CustomLightMode"), "CustomLightModeGroupIndex")));
  return custom_mode_;
}

void CKeyboardProfiledata::SetCustomModeIndex(int mode) {
  MemberForWrite(SectionForWrite("CustomLightMode"), "CustomLightModeGroupIndex") = mode;
  custom_mode_ = mode;
}

}  // namespace zrv::config
