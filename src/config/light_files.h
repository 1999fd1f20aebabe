#pragma once
// The lighting files: "default_light.json" (the effect lists of every device kind and zone, shipped
// in the default data folder), "orvex_light.config" (the custom effects of every device kind, in the
// user data folder) and one ".light" file per custom effect (its effect steps).
//
// The program only reads them. Each may be missing, empty, broken or written by someone else: such a
// file reads as empty, members of the wrong type read as missing, and nothing a file says makes us
// read beyond a bounded size, keep more than a bounded number of entries, or open a file outside the
// folder the custom effects live in.

#include <json/json.h>

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

#include "config/profile_records.h"

namespace zrv::config {

inline constexpr const char* kDefaultLightFile = "default_light.json";
inline constexpr const char* kLightConfigFile = "orvex_light.config";
inline constexpr const char* kLightFileSuffix = ".light";

// Our lighting files are a few kilobytes; the bounds keep a hostile one from taking the memory.
inline constexpr qint64 kMaxLightFileBytes = 1024 * 1024;
inline constexpr size_t kMaxLightListEntries = 512;
inline constexpr size_t kMaxEffectSteps = 1024;
inline constexpr size_t kMaxEffectStemLength = 128;

// One zone's effects: entry i is effect number i; a hidden entry keeps its number.
struct EffectList {
  std::vector<QString> names;  // text ids
  std::vector<bool> visible;
  friend bool operator==(const EffectList&, const EffectList&) = default;
};

// What a device keeps of the lighting files.
struct LightLists {
  EffectList main;                      // "DefaultLightName"
  EffectList logo;                      // "LightTab1LightName" (keyboard)
  EffectList strip;                     // "LightTab2LightName" (keyboard)
  std::vector<QString> area_names;      // "AreaLightName"
  std::vector<QString> custom_effects;  // "LightInfo"[d][i]."LightName" of "orvex_light.config"
};

// One step of a custom effect: the step's animation in the eight zone fields of `light.main`
// (mode in select_item), and how long it lasts.
struct EffectStep {
  LightStateRecord light;
  int32_t time = 0;   // milliseconds
  int32_t cycle = 0;  // kept, not used
  friend bool operator==(const EffectStep&, const EffectStep&) = default;
};

// Reads a lighting file: null when missing, larger than kMaxLightFileBytes or not valid JSON.
Json::Value ReadLightFile(const QString& path);

// Refreshes `lists` for the device kind of display index `display_index` from the two documents
// (null documents change nothing). Only a keyboard reads the logo and strip lists. A member whose
// element for the display index is null leaves its list as it was.
void FillLightLists(LightLists& lists, const Json::Value& default_light, const Json::Value& light_config,
                    int display_index, bool keyboard);

// The ".light" file of a custom effect whose stamp is `stem`, in `folder`: empty when the stem is
// not a plain file name (empty, too long, a separator, "." or "..", control characters).
QString EffectStepsPath(const QString& folder, const std::string& stem);

// The steps of a ".light" document, at most kMaxEffectSteps.
std::vector<EffectStep> ParseEffectSteps(const Json::Value& document);

// The steps of the custom effect that main effect `effect` names: entry effect - built_in of
// "LightInfo"[display_index] in `light_config`, its ".light" file taken from `folder`. Empty when
// the effect is a built-in one, the entry or its file is missing or the stamp is not acceptable.
std::vector<EffectStep> ReadCustomEffectSteps(const Json::Value& light_config, int display_index, int effect,
                                              int built_in, const QString& folder);

}  // namespace zrv::config
