#include "config/light_files.h"

#include <QByteArray>
#include <QDir>

#include <algorithm>

#include "config/json_fields.h"
#include "config/json_file.h"
#include "config/json_value.h"

namespace zrv::config {
namespace {

constexpr const char* kMainListMember = "DefaultLightName";
constexpr const char* kLogoListMember = "LightTab1LightName";
constexpr const char* kStripListMember = "LightTab2LightName";
constexpr const char* kAreaListMember = "AreaLightName";
constexpr const char* kNameMember = "LightName";
constexpr const char* kVisibleMember = "visible";
constexpr const char* kLightInfoMember = "LightInfo";
constexpr const char* kStemMember = "Guid";
constexpr const char* kStepListMember = "LEDEffectList";

// The members of a step that land in the zone fields of the step's record.
constexpr JsonField<LightZoneFields> kStepZoneFields[] = {
    NumberField<&LightZoneFields::select_item>("LEDREGMode"),
    NumberField<&LightZoneFields::light>("LEDBrightness"),
    NumberField<&LightZoneFields::speed>("LEDSpeed"),
    NumberField<&LightZoneFields::fx>("LEDDirection"),
    NumberField<&LightZoneFields::multi_color>("LEDMultiColor"),
    NumberField<&LightZoneFields::red>("red"),
    NumberField<&LightZoneFields::green>("green"),
    NumberField<&LightZoneFields::blue>("blue"),
};
constexpr JsonField<EffectStep> kStepFields[] = {
    NumberField<&EffectStep::time>("Time"),
    NumberField<&EffectStep::cycle>("Cyle"),
};

// Entries of an array, at most kMaxLightListEntries of them.
Json::ArrayIndex BoundedSize(const Json::Value& array) {
  if (!array.isArray()) return 0;
  return std::min<Json::ArrayIndex>(array.size(), kMaxLightListEntries);
}

QString Text(const Json::Value& entry) { return QString::fromStdString(ReadText(Member(entry, kNameMember))); }

// A list member of "default_light.json": element `display_index` replaces the list unless null.
void FillEffectList(EffectList& list, const Json::Value& document, const char* member, int display_index) {
  const Json::Value& entries = Element(Member(document, member), static_cast<Json::ArrayIndex>(display_index));
  if (entries.isNull()) return;
  list = {};
  for (Json::ArrayIndex i = 0; i < BoundedSize(entries); ++i) {
    const Json::Value& entry = entries[i];
    list.names.push_back(Text(entry));
    list.visible.push_back(ReadFlag(Member(entry, kVisibleMember)));
  }
}

void FillNames(std::vector<QString>& names, const Json::Value& entries) {
  if (entries.isNull()) return;
  names.clear();
  for (Json::ArrayIndex i = 0; i < BoundedSize(entries); ++i) names.push_back(Text(entries[i]));
}

bool AcceptableStem(const std::string& stem) {
  if (stem.empty() || stem.size() > kMaxEffectStemLength || stem == "." || stem == "..") return false;
  return std::none_of(stem.begin(), stem.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F;
  });
}

}  // namespace

Json::Value ReadLightFile(const QString& path) {
  QByteArray bytes;
  if (!ReadFileBytes(path, kMaxLightFileBytes, &bytes)) return Json::Value();
  return ParseJson(bytes);
}

void FillLightLists(LightLists& lists, const Json::Value& default_light, const Json::Value& light_config,
                    int display_index, bool keyboard) {
  if (display_index < 0) return;
  const auto d = static_cast<Json::ArrayIndex>(display_index);
  if (!default_light.isNull()) {
    FillEffectList(lists.main, default_light, kMainListMember, display_index);
    if (keyboard) {
      FillEffectList(lists.logo, default_light, kLogoListMember, display_index);
      FillEffectList(lists.strip, default_light, kStripListMember, display_index);
    }
    FillNames(lists.area_names, Element(Member(default_light, kAreaListMember), d));
  }
  FillNames(lists.custom_effects, Element(Member(light_config, kLightInfoMember), d));
}

QString EffectStepsPath(const QString& folder, const std::string& stem) {
  if (folder.isEmpty() || !AcceptableStem(stem)) return {};
  return QDir(folder).filePath(QString::fromStdString(stem + kLightFileSuffix));
}

std::vector<EffectStep> ParseEffectSteps(const Json::Value& document) {
  const Json::Value& list = Member(document, kStepListMember);
  std::vector<EffectStep> steps;
  if (!list.isArray()) return steps;
  const Json::ArrayIndex count = std::min<Json::ArrayIndex>(list.size(), kMaxEffectSteps);
  steps.resize(count);
  for (Json::ArrayIndex i = 0; i < count; ++i) {
    ReadFields<LightZoneFields>(list[i], kStepZoneFields, steps[i].light.main);
    ReadFields<EffectStep>(list[i], kStepFields, steps[i]);
  }
  return steps;
}

std::vector<EffectStep> ReadCustomEffectSteps(const Json::Value& light_config, int display_index, int effect,
                                              int built_in, const QString& folder) {
  if (light_config.isNull() || display_index < 0 || effect < built_in) return {};
  const Json::Value& effects =
      Element(Member(light_config, kLightInfoMember), static_cast<Json::ArrayIndex>(display_index));
  const Json::Value& entry = Element(effects, static_cast<Json::ArrayIndex>(effect - built_in));
  const QString path = EffectStepsPath(folder, ReadText(Member(entry, kStemMember)));
  if (path.isEmpty()) return {};
  return ParseEffectSteps(ReadLightFile(path));
}

}  // namespace zrv::config
