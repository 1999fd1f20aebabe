#include "config/keyboard_profiledata.h"

#include "config/json_fields.h"
#include "config/json_value.h"

namespace zrv::config {
namespace {

constexpr const char* kSystemMember = "SystemStages";
constexpr JsonField<KeyboardSystem> kSystemFields[] = {
    NumberField<&KeyboardSystem::repeat>("Repeat"),        NumberField<&KeyboardSystem::repeat_delay>("RepeatDelay"),
    NumberField<&KeyboardSystem::key6_flag>("Key6Flag"),   NumberField<&KeyboardSystem::polling_rate>("PollingRate"),
    NumberField<&KeyboardSystem::w_flag>("WFlag"),         NumberField<&KeyboardSystem::win_flag>("WinFlag"),
    NumberField<&KeyboardSystem::scan_delay>("ScanDelay"),
};

// "CustomLightMode"."LightColorInfo"[mode][led].
constexpr const char* kCustomModeMember = "CustomLightMode";
constexpr const char* kModeColoursMember = "LightColorInfo";
constexpr const char* kModeIndexMember = "CustomLightModeGroupIndex";
constexpr JsonField<ModeColour> kColourFields[] = {
    NumberField<&ModeColour::red>("Red"),
    NumberField<&ModeColour::green>("Green"),
    NumberField<&ModeColour::blue>("Blue"),
    NumberField<&ModeColour::alpha>("Alpha"),
};

}  // namespace

KeyboardSystem CKeyboardProfiledata::GetKeyboardSystem() {
  ReadFields<KeyboardSystem>(Section(kSystemMember), kSystemFields, system_);
  return system_;
}

KeyboardSystem CKeyboardProfiledata::ReadKeyboardSystem(const Json::Value& settings) {
  return ReadRecord<KeyboardSystem>(Member(settings, kSystemMember), kSystemFields);
}

void CKeyboardProfiledata::SetKeyboardSystem(const KeyboardSystem& values) {
  WriteFields<KeyboardSystem>(SectionForWrite(kSystemMember), kSystemFields, values);
  system_ = values;
}

std::vector<ModeColour> CKeyboardProfiledata::GetCustomModeColors(int mode, int led_count) {
  mode_colours_.clear();
  if (mode < 0 || mode >= kMaxCustomModes || led_count < 0 || led_count > kMaxModeLeds) return mode_colours_;
  Json::Value& modes = MemberForWrite(SectionForWrite(kCustomModeMember), kModeColoursMember);
  Json::Value& entries = ElementForWrite(modes, static_cast<Json::ArrayIndex>(mode));
  EnsureArray(entries);
  mode_colours_.reserve(static_cast<size_t>(led_count));
  for (Json::ArrayIndex i = 0; i < static_cast<Json::ArrayIndex>(led_count); ++i) {
    Json::Value& entry = entries[i];
    if (!entry.isObject()) WriteFields<ModeColour>(entry, kColourFields, ModeColour{});
    mode_colours_.push_back(ReadRecord<ModeColour>(entry, kColourFields));
  }
  return mode_colours_;
}

void CKeyboardProfiledata::SetCustomModeColors(const std::vector<ModeColour>& colours, int mode) {
  if (mode < 0 || mode >= kMaxCustomModes) return;
  Json::Value& modes = MemberForWrite(SectionForWrite(kCustomModeMember), kModeColoursMember);
  Json::Value& entries = ElementForWrite(modes, static_cast<Json::ArrayIndex>(mode));
  for (size_t i = 0; i < colours.size(); ++i) {
    WriteFields<ModeColour>(ElementForWrite(entries, static_cast<Json::ArrayIndex>(i)), kColourFields, colours[i]);
  }
  mode_colours_ = colours;
}

int CKeyboardProfiledata::GetCustomModeIndex() {
  custom_mode_ = static_cast<int>(ReadInt(Member(Section(kCustomModeMember), kModeIndexMember)));
  return custom_mode_;
}

void CKeyboardProfiledata::SetCustomModeIndex(int mode) {
  MemberForWrite(SectionForWrite(kCustomModeMember), kModeIndexMember) = mode;
  custom_mode_ = mode;
}

}  // namespace zrv::config
