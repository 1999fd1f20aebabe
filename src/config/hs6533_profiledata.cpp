#include "config/hs6533_profiledata.h"

#include <algorithm>

#include "config/json_fields.h"
#include "config/json_value.h"
#include "config/profile_members.h"

namespace zrv::config {
namespace {

constexpr const char* kSettingsMember = "SystemSetStages";
constexpr JsonField<HeadsetSettings> kSettingsFields[] = {
    NumberField<&HeadsetSettings::magic_enable>("MagicEnable"),
    NumberField<&HeadsetSettings::magic_type>("MagicType"),
    NumberField<&HeadsetSettings::eq_type>("EqType"),
    NumberField<&HeadsetSettings::custom_eq_select_index>("CustomEqSeletIndex"),
    NumberField<&HeadsetSettings::mic_in_select>("MicInSelect"),
    NumberField<&HeadsetSettings::mic_in_value>("MicInValue"),
    NumberField<&HeadsetSettings::mic_monitor_select>("MicMoniterSelect"),
    NumberField<&HeadsetSettings::mic_monitor_value>("MicMoniterValue"),
};

constexpr const char* kPresetCurvesMember = "EQHzValueInfo";
// An element of a curve: one band.
constexpr const char* kBandValueMember = "value";
// An element of "CustomEQNameInfo".
constexpr const char* kEqNameMember = "Name";

}  // namespace

HeadsetSettings CHs6533Profiledata::GetHeadsetSettings() {
  ReadFields<HeadsetSettings>(Section(kSettingsMember), kSettingsFields, settings_);
  return settings_;
}

void CHs6533Profiledata::SetHeadsetSettings(const HeadsetSettings& values) {
  WriteFields<HeadsetSettings>(SectionForWrite(kSettingsMember), kSettingsFields, values);
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
    if (!Member(band, kBandValueMember).isNumeric()) MemberForWrite(band, kBandValueMember) = 0;
    bands.push_back(MemberInt32(band, kBandValueMember));
  }
  return bands;
}

void CHs6533Profiledata::WriteCurve(const char* member, int element, const EqCurve& bands) {
  Json::Value& curve = ElementForWrite(SectionForWrite(member), static_cast<Json::ArrayIndex>(element));
  const size_t count = std::min(bands.size(), static_cast<size_t>(kEqBands));
  for (size_t b = 0; b < count; ++b) {
    MemberForWrite(ElementForWrite(curve, static_cast<Json::ArrayIndex>(b)), kBandValueMember) = bands[b];
  }
}

EqCurve CHs6533Profiledata::GetEqCurve(int preset) {
  const int element = PresetElement(preset);
  if (element < 0) return {};
  return ReadCurve(kPresetCurvesMember, element);
}

void CHs6533Profiledata::SetEqCurve(int preset, const EqCurve& bands) {
  const int element = PresetElement(preset);
  if (element >= 0) WriteCurve(kPresetCurvesMember, element, bands);
}

QStringList CHs6533Profiledata::GetCustomEqNames() {
  QStringList names;
  const Json::Value& list = Section(kCustomEqNamesMember);
  if (!list.isArray()) return names;
  for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
    names.append(QString::fromStdString(ReadText(Member(list[i], kEqNameMember))));
  }
  return names;
}

void CHs6533Profiledata::SetCustomEqNames(const QStringList& names) {
  Json::Value list(Json::arrayValue);
  for (const QString& name : names) {
    Json::Value entry(Json::objectValue);
    entry[kEqNameMember] = name.toStdString();
    list.append(std::move(entry));
  }
  SectionForWrite(kCustomEqNamesMember) = std::move(list);
}

EqCurve CHs6533Profiledata::GetCustomEqCurve(int curve) {
  if (curve < 0 || curve > kMaxCustomCurve) return {};
  return ReadCurve(kCustomEqCurvesMember, curve);
}

void CHs6533Profiledata::SetCustomEqCurve(int curve, const EqCurve& bands) {
  if (curve < 0 || curve > kMaxCustomCurve) return;
  WriteCurve(kCustomEqCurvesMember, curve, bands);
}

}  // namespace zrv::config
