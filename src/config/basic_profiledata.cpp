#include "config/basic_profiledata.h"

#include "config/json_file.h"
#include "config/json_value.h"

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

uint8_t FlagByte(const Json::Value& object, const char* name) { return ReadFlag(Member(object, name)) ? 1 : 0; }

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
  ElementForWrite(MemberForWrite(document, "Device"), static_cast<Json::ArrayIndex>(device_index_)) = settings;
  return WriteDocument(document, path);
}

bool CBasicProfiledata::WriteDocument(const Json::Value& document, const QString& path) {
  last_write_failed_ = !WriteJsonFile(path, document);
  return !last_write_failed_;
}

Json::Value CBasicProfiledata::LoadDeviceSection(const QString& path) {
  const auto index = static_cast<Json::ArrayIndex>(device_index_);
  Json::Value document = ReadJsonFile(path);
  settings_ = Element(Member(document, "Device"), index);
  if (!settings_.isObject()) {
    // Repair the profile from the template. A template without settings repairs nothing, so the
    // file is left as it is rather than rewritten with an empty element.
    settings_ = Element(Member(ReadJsonFile(template_path_), "Device"), index);
    if (settings_.isObject()) {
      EnsureObject(document);
      ElementForWrite(MemberForWrite(document, "Device"), index) = settings_;
      WriteDocument(document, path);
    } else {
      settings_ = Json::Value();
    }
  }
  return settings_;
}

Json::Value CBasicProfiledata::LoadLightConfig(const QString& path) {
  light_config_ = ReadJsonFile(path);
  return light_config_;
}

const Json::Value& CBasicProfiledata::Section(const char* name) const { return Member(settings_, name); }

Json::Value& CBasicProfiledata::SettingsForWrite() { return EnsureObject(settings_); }

LightStateRecord CBasicProfiledata::ReadLight(LightSection section) {
  LightStateRecord record;
  const Json::Value& object = Section(SectionName(section));
  if (object.isObject()) {
    LightZoneFields& zone = ZoneOf(record, section);
    zone.select_item = MemberByte(object, "SelectItem");
    zone.light = MemberByte(object, "Light");
    zone.speed = MemberByte(object, "Speed");
    zone.fx = MemberByte(object, "Fx");
    zone.multi_color = FlagByte(object, "MultiColor");
    zone.red = MemberByte(object, "Red");
    zone.green = MemberByte(object, "Green");
    zone.blue = MemberByte(object, "Blue");
    if (section == LightSection::kMain) {
      record.zzcc_led_mode = MemberByte(object, "ZZCCLedMode");
      record.custom_light_mode_group = MemberByte(object, "CustomLightModeGroupIndex");
    } else if (section == LightSection::kLogo) {
      record.logo_on = MemberByte(object, "RGBdengoffon");
    }
  }
  light_cache_[CacheSlot(section)] = record;
  return record;
}

void CBasicProfiledata::WriteLight(LightSection section, const LightStateRecord& record) {
  const LightZoneFields& zone = ZoneOf(record, section);
  Json::Value object(Json::objectValue);
  object["SelectItem"] = Json::Value(zone.select_item);
  object["Light"] = Json::Value(zone.light);
  object["Speed"] = Json::Value(zone.speed);
  object["Fx"] = Json::Value(zone.fx);
  object["MultiColor"] = Json::Value(zone.multi_color != 0 ? 1 : 0);
  object["Red"] = Json::Value(zone.red);
  object["Green"] = Json::Value(zone.green);
  object["Blue"] = Json::Value(zone.blue);
  if (section == LightSection::kMain) {
    object["ZZCCLedMode"] = Json::Value(record.zzcc_led_mode);
    object["CustomLightModeGroupIndex"] = Json::Value(record.custom_light_mode_group);
  } else if (section == LightSection::kLogo) {
    object["RGBdengoffon"] = Json::Value(record.logo_on);
  }
  SectionForWrite(SectionName(section)) = std::move(object);
  light_cache_[CacheSlot(section)] = record;
}

const LightStateRecord& CBasicProfiledata::CachedLight(LightSection section) const {
  return light_cache_[CacheSlot(section)];
}

const std::vector<LedRecord>& CBasicProfiledata::GetLedList() {
  const Json::Value& list = Section("LightList");
  if (!list.isArray()) return led_list_;
  led_list_.assign(list.size(), LedRecord{});
  for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
    const Json::Value& element = list[i];
    if (!element.isObject()) continue;
    LedRecord& led = led_list_[i];
    led.mode = MemberByte(element, "LEDREGMode");
    led.brightness = MemberByte(element, "LEDBrightness");
    led.speed = MemberByte(element, "LEDSpeed");
    led.direction = FlagByte(element, "LEDDirection");
    led.multi_color = FlagByte(element, "LEDMultiColor");
    led.red = MemberByte(element, "red");
    led.green = MemberByte(element, "green");
    led.blue = MemberByte(element, "blue");
    led.present = 1;
  }
  return led_list_;
}

const std::vector<KeyRecord>& CBasicProfiledata::GetKeyList() {
  const Json::Value& list = Section("KeyList");
  key_list_.clear();
  if (!list.isArray()) return key_list_;
  key_list_.reserve(list.size());
  for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
    const Json::Value& element = list[i];
    const auto key = static_cast<uint16_t>(i);
    key_list_.push_back({KeyHalf::FromCode(key, static_cast<uint32_t>(ReadInt(Member(element, "Assignment")))),
                         KeyHalf::FromCode(key, static_cast<uint32_t>(ReadInt(Member(element, "DefaultAssignment"))))});
  }
  return key_list_;
}

void CBasicProfiledata::SetKeyAssignments(const std::vector<KeyRecord>& keys) {
  Json::Value& list = SectionForWrite("KeyList");
  for (size_t i = 0; i < keys.size(); ++i) {
    Json::Value& element = ElementForWrite(list, static_cast<Json::ArrayIndex>(i));
    MemberForWrite(element, "Assignment") = Json::Value(static_cast<Json::Int>(keys[i].assignment.Code()));
  }
}

}  // namespace zrv::config
