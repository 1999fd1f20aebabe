#include "config/hs6533_profiledata.h"

#include <algorithm>

#include "config/json_value.h"

namespace zrv::config {
HeadsetSettings CHs6533Profiledata::GetHeadsetSettings() {
  const Json::Value& stages = Section("SystemSetStages");
  settings_.magic_enable = MemberInt32(stages, "MagicEnable");
  settings_.magic_type = MemberInt32(stages, "MagicType");
  settings_.eq_type = MemberInt32(stages, "EqType");
  settings_.custom_eq_select_index = MemberInt32(stages, "CustomEqSeletIndex");
  settings_.mic_in_select = MemberInt32(stages, "MicInSelect");
  settings_.mic_in_value = MemberInt32(stages, "MicInValue");
  settings_.mic_monitor_select = MemberInt32(stages, "MicMoniterSelect");
  settings_.mic_monitor_value = MemberInt32(stages, "MicMoniterValue");
  return settings_;
}

void CHs6533Profiledata::SetHeadsetSettings(const HeadsetSettings& values) {
  Json::Value& stages = EnsureObject(SectionForWrite("SystemSetStages"));
  stages["MagicEnable"] = values.magic_enable;
  stages["MagicType"] = values.magic_type;
  stages["EqType"] = values.eq_type;
  stages["CustomEqSeletIndex"] = values.custom_eq_select_index;
  stages["MicInSelect"] = values.mic_in_select;
  stages["MicInValue"] = values.mic_in_value;
  stages["MicMoniterSelect"] = values.mic_monitor_select;
  stages["MicMoniterValue"] = values.mic_monitor_value;
  settings_ = values;
}

int CHs6533Profiledata::PresetElement(int preset) {
  if (preset == kCustomPreset) return -1;
  if (preset >= 1 && preset <= 12) return preset;
  return 1;
}

EqCurve CHs6533Profiledata::ReadCurve(const char* member, int element) {
  Json::Value& curve = EnsureArray(ElementForWrite(SectionForWrite(member), static_cast<Json::ArrayIndex>(element)));
  EqCurve bands;
  bands.reserve(kEqBands);
  for (Json::ArrayIndex b = 0; b < static_cast<Json::ArrayIndex>(kEqBands); ++b) {
    Json::Value& band = curve[b];
    if (!Member(band, "value").isNumeric()) MemberForWrite(band, "value") = 0;
    bands.push_back(MemberInt32(band, "value"));
  }
  return bands;
}

void CHs6533Profiledata::WriteCurve(const char* member, int element, const EqCurve& bands) {
  Json::Value& curve = ElementForWrite(SectionForWrite(member), static_cast<Json::ArrayIndex>(element));
  const size_t count = std::min(bands.size(), static_cast<size_t>(kEqBands));
  for (size_t b = 0; b < count; ++b) {
    MemberForWrite(ElementForWrite(curve, static_cast<Json::ArrayIndex>(b)), "value") = bands[b];
  }
}

EqCurve CHs6533Profiledata::GetEqCurve(int preset) {
  const int element = PresetElement(preset);
  if (element < 0) return {};
  return ReadCurve("EQHzValueInfo", element);
}

void CHs6533Profiledata::SetEqCurve(int preset, const EqCurve& bands) {
  const int element = PresetElement(preset);
  if (element >= 0) WriteCurve("EQHzValueInfo", element, bands);
}

QStringList CHs6533Profiledata::GetCustomEqNames() {
  QStringList names;
  const Json::Value& list = Section("CustomEQNameInfo");
  if (!list.isArray()) return names;
  for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
    names.append(QString::fromStdString(ReadText(Member(list[i], "Name"))));
  }
  return names;
}

void CHs6533Profiledata::SetCustomEqNames(const QStringList& names) {
  Json::Value list(Json::arrayValue);
  for (const QString& name : names) {
    Json::Value entry(Json::objectValue);
    entry["Name"] = name.toStdString();
    list.append(std::move(entry));
  }
  SectionForWrite("CustomEQNameInfo") = std::move(list);
}

EqCurve CHs6533Profiledata::GetCustomEqCurve(int curve) {
  if (curve < 0 || curve > kMaxCustomCurve) return {};
  return ReadCurve("CustomEQHzValueInfo", curve);
}

void CHs6533Profiledata::SetCustomEqCurve(int curve, const EqCurve& bands) {
  if (curve < 0 || curve > kMaxCustomCurve) return;
  WriteCurve("CustomEQHzValueInfo", curve, bands);
}

}  // namespace zrv::config
