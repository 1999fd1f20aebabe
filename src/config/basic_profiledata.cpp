#include "config/basic_profiledata.h"

#include "config/json_fields.h"
#include "config/json_file.h"
#include "config/json_value.h"
#include "config/profile_members.h"

namespace zrv::config {
namespace {

const char* SectionName(LightSection section) {
  switch (section) {
    case LightSection::kMain: return "LightInfo";
    case LightSection::kLogo: return "LogoLightInfo";
    case LightSection::kStrip: return "StLightInfo";
  }
  return "LightInfo";
}

LightZoneFields& ZoneOf(LightStateRecord& record, LightSection section) {
  switch (section) {
    case LightSection::kMain: return record.main;
    case LightSection::kLogo: return record.logo;
    case LightSection::kStrip: return record.strip;
  }
  return record.main;
}

const LightZoneFields& ZoneOf(const LightStateRecord& record, LightSection section) {
  return ZoneOf(const_cast<LightStateRecord&>(record), section);
}

// The eight fields of every lighting object.
constexpr JsonField<LightZoneFields> kZoneFields[] = {
    NumberField<&LightZoneFields::select_item>("SelectItem"),
    NumberField<&LightZoneFields::light>("Light"),
    NumberField<&LightZoneFields::speed>("Speed"),
    NumberField<&LightZoneFields::fx>("Fx"),
    FlagField<&LightZoneFields::multi_color>("MultiColor"),
    NumberField<&LightZoneFields::red>("Red"),
    NumberField<&LightZoneFields::green>("Green"),
    NumberField<&LightZoneFields::blue>("Blue"),
};
// What "LightInfo" and "LogoLightInfo" hold beyond the eight.
constexpr JsonField<LightStateRecord> kMainLightFields[] = {
    NumberField<&LightStateRecord::zzcc_led_mode>("ZZCCLedMode"),
    NumberField<&LightStateRecord::custom_light_mode_group>("CustomLightModeGroupIndex"),
};
constexpr JsonField<LightStateRecord> kLogoLightFields[] = {
    NumberField<&LightStateRecord::logo_on>("RGBdengoffon"),
};
std::span<const JsonField<LightStateRecord>> ExtraLightFields(LightSection section) {
  switch (section) {
    case LightSection::kMain: return kMainLightFields;
    case LightSection::kLogo: return kLogoLightFields;
    case LightSection::kStrip: return {};
  }
  return {};
}

// An element of "LightList" (read only).
constexpr JsonField<LedRecord> kLedFields[] = {
    NumberField<&LedRecord::mode>("LEDREGMode"),
    NumberField<&LedRecord::brightness>("LEDBrightness"),
    NumberField<&LedRecord::speed>("LEDSpeed"),
    FlagField<&LedRecord::direction>("LEDDirection"),
    FlagField<&LedRecord::multi_color>("LEDMultiColor"),
    NumberField<&LedRecord::red>("red"),
    NumberField<&LedRecord::green>("green"),
    NumberField<&LedRecord::blue>("blue"),
};

constexpr const char* kLightListMember = "LightList";
constexpr const char* kKeyListMember = "KeyList";
// Members of an element of "KeyList": assignment codes (KeyHalf::Code).
constexpr const char* kAssignmentMember = "Assignment";
constexpr const char* kDefaultAssignmentMember = "DefaultAssignment";

size_t CacheSlot(LightSection section) { return static_cast<size_t>(section); }

}  // namespace

void CBasicProfiledata::SetProfilePath(const QString& path) {
  if (!path.isEmpty()) profile_path_ = path;
}

void CBasicProfiledata::SetTemplatePath(const QString& path) {
  if (!path.isEmpty()) template_path_ = path;
}

void CBasicProfiledata::SetDeviceIndex(int index) {
  if (index >= 0 && index <= kMaxDeviceIndex) device_index_ = index;
}

bool CBasicProfiledata::Save() { return SaveDeviceSection(settings_, profile_path_); }

bool CBasicProfiledata::SaveDeviceSection(const Json::Value& settings, const QString& path) {
  Json::Value document = ReadJsonFile(path);
  EnsureObject(document);
  ElementForWrite(MemberForWrite(document, kDeviceMember), static_cast<Json::ArrayIndex>(device_index_)) = settings;
  return WriteDocument(document, path);
}

bool CBasicProfiledata::WriteDocument(const Json::Value& document, const QString& path) {
  last_write_failed_ = !WriteJsonFile(path, document);
  return !last_write_failed_;
}

Json::Value CBasicProfiledata::LoadDeviceSection(const QString& path) {
  const auto index = static_cast<Json::ArrayIndex>(device_index_);
  Json::Value document = ReadJsonFile(path);
  settings_ = Element(Member(document, kDeviceMember), index);
  if (!settings_.isObject()) {
    // Repair the profile from the template. A template without settings repairs nothing, so the
    // file is left as it is rather than rewritten with an empty element.
    settings_ = Element(Member(ReadJsonFile(template_path_), kDeviceMember), index);
    if (settings_.isObject()) {
      EnsureObject(document);
      ElementForWrite(MemberForWrite(document, kDeviceMember), index) = settings_;
      WriteDocument(document, path);
    } else {
      settings_ = Json::Value();
    }
  }
  return settings_;
}

Json::Value CBasicProfiledata::LoadLightConfig(const QString& path) {
  light_config_ = ReadLightFile(path);
  return light_config_;
}

std::vector<EffectStep> CBasicProfiledata::ReadCustomEffectSteps(int display_index, const QString& folder) {
  const int effect = CachedLight(LightSection::kMain).main.select_item;
  effect_steps_ = config::ReadCustomEffectSteps(light_config_, display_index, effect, built_in_effects_, folder);
  return effect_steps_;
}

const Json::Value& CBasicProfiledata::Section(const char* name) const { return Member(settings_, name); }

Json::Value& CBasicProfiledata::SettingsForWrite() { return EnsureObject(settings_); }

LightStateRecord CBasicProfiledata::ReadLight(LightSection section) {
  LightStateRecord record;
  const Json::Value& object = Section(SectionName(section));
  if (object.isObject()) {
    ReadFields<LightZoneFields>(object, kZoneFields, ZoneOf(record, section));
    ReadFields(object, ExtraLightFields(section), record);
  }
  light_cache_[CacheSlot(section)] = record;
  return record;
}

void CBasicProfiledata::WriteLight(LightSection section, const LightStateRecord& record) {
  const LightZoneFields& zone = ZoneOf(record, section);
  Json::Value object(Json::objectValue);
  WriteFields<LightZoneFields>(object, kZoneFields, zone);
  WriteFields(object, ExtraLightFields(section), record);
  SectionForWrite(SectionName(section)) = std::move(object);
  light_cache_[CacheSlot(section)] = record;
}

const LightStateRecord& CBasicProfiledata::CachedLight(LightSection section) const {
  return light_cache_[CacheSlot(section)];
}

const std::vector<LedRecord>& CBasicProfiledata::GetLedList() {
  const Json::Value& list = Section(kLightListMember);
  if (!list.isArray()) return led_list_;
  led_list_.assign(list.size(), LedRecord{});
  for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
    const Json::Value& element = list[i];
    if (!element.isObject()) continue;
    LedRecord& led = led_list_[i];
    ReadFields<LedRecord>(element, kLedFields, led);
    led.present = 1;
  }
  return led_list_;
}

const std::vector<KeyRecord>& CBasicProfiledata::GetKeyList() {
  const Json::Value& list = Section(kKeyListMember);
  key_list_.clear();
  if (!list.isArray()) return key_list_;
  key_list_.reserve(list.size());
  for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
    const Json::Value& element = list[i];
    const auto key = static_cast<uint16_t>(i);
    key_list_.push_back(
        {KeyHalf::FromCode(key, static_cast<uint32_t>(ReadInt(Member(element, kAssignmentMember)))),
         KeyHalf::FromCode(key, static_cast<uint32_t>(ReadInt(Member(element, kDefaultAssignmentMember))))});
  }
  return key_list_;
}

void CBasicProfiledata::SetKeyAssignments(const std::vector<KeyRecord>& keys) {
  Json::Value& list = SectionForWrite(kKeyListMember);
  for (size_t i = 0; i < keys.size(); ++i) {
    Json::Value& element = ElementForWrite(list, static_cast<Json::ArrayIndex>(i));
    MemberForWrite(element, kAssignmentMember) = Json::Value(static_cast<Json::Int>(keys[i].assignment.Code()));
  }
}

}  // namespace zrv::config
