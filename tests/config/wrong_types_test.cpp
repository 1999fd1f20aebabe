// Profiles are hand-edited, imported and damaged: every member of every template, replaced by a
// value of each JSON type, must read as missing (or as its number) and be writable again, without
// an exception from the JSON library reaching the caller.

#include <gtest/gtest.h>

#include <QDir>

#include <string>
#include <vector>

#include "config/hs6533_profiledata.h"
#include "config/json_file.h"
#include "config/keyboard_profiledata.h"
#include "config/mouse_profiledata.h"
#include "config/test_support.h"

namespace zrv::config {
namespace {

// A member name, or an array element when index is not negative.
struct Step {
  std::string name;
  int index = -1;
};
using Path = std::vector<Step>;

// Every member and the first elements of every array, depth first.
void CollectPaths(const Json::Value& value, Path& at, std::vector<Path>& paths) {
  if (value.isObject()) {
    for (const std::string& name : value.getMemberNames()) {
      at.push_back({name});
      paths.push_back(at);
      CollectPaths(value[name], at, paths);
      at.pop_back();
    }
  } else if (value.isArray()) {
    for (Json::ArrayIndex i = 0; i < value.size() && i < 2; ++i) {
      at.push_back({std::string(), static_cast<int>(i)});
      paths.push_back(at);
      CollectPaths(value[i], at, paths);
      at.pop_back();
    }
  }
}

// Long lists shortened to three elements: the damage only reaches the first two anyway.
void Shorten(Json::Value& value) {
  if (value.isArray() && value.size() > 3) value.resize(3);
  if (value.isArray() || value.isObject()) {
    for (Json::Value& child : value) Shorten(child);
  }
}

Json::Value& At(Json::Value& root, const Path& path) {
  Json::Value* value = &root;
  for (const Step& step : path) {
    value = step.index < 0 ? &(*value)[step.name] : &(*value)[static_cast<Json::ArrayIndex>(step.index)];
  }
  return *value;
}

std::vector<Json::Value> WrongValues() {
  return {Json::Value(),
          Json::Value(-7),
          Json::Value(Json::UInt64(1) << 63),
          Json::Value(2.5),
          Json::Value(1e300),
          Json::Value("text"),
          Json::Value(true),
          test::Doc("[]"),
          test::Doc("[1,{\"a\":[]}]"),
          test::Doc("{}"),
          test::Doc("{\"value\":\"x\"}")};
}

// Each kind's data object with a way to put a settings object in place without a file.
template <typename Base>
struct Injected : Base {
  void Put(const Json::Value& settings) { this->SettingsForWrite() = settings; }
};

void ExerciseCommon(CBasicProfiledata& data) {
  for (const LightSection section : {LightSection::kMain, LightSection::kLogo, LightSection::kStrip}) {
    data.WriteLight(section, data.ReadLight(section));
  }
  data.GetLedList();
  data.SetKeyAssignments(data.GetKeyList());
}

void Exercise(Injected<CKeyboardProfiledata>& data) {
  ExerciseCommon(data);
  data.SetKeyboardSystem(data.GetKeyboardSystem());
  const int mode = data.GetCustomModeIndex();
  data.SetCustomModeIndex(mode);
  for (int m : {0, 1, mode}) data.SetCustomModeColors(data.GetCustomModeColors(m, 126), m);
}

void Exercise(Injected<CMouseProfiledata>& data) {
  ExerciseCommon(data);
  data.SetDpiStages(data.GetDpiStages());
  data.SetActiveStage(data.GetActiveStage());
  data.SetMouseSystem(data.GetMouseSystem());
  SelectedCorrection(data.GetCorrections());
}

void Exercise(Injected<CHs6533Profiledata>& data) {
  ExerciseCommon(data);
  const HeadsetSettings settings = data.GetHeadsetSettings();
  data.SetHeadsetSettings(settings);
  for (int preset : {0, 1, 12, 13, settings.eq_type}) data.SetEqCurve(preset, data.GetEqCurve(preset));
  data.SetCustomEqNames(data.GetCustomEqNames());
  for (int curve : {0, 1, settings.custom_eq_select_index}) data.SetCustomEqCurve(curve, data.GetCustomEqCurve(curve));
}

void Exercise(Injected<CBasicProfiledata>& data) { ExerciseCommon(data); }

template <typename Data>
void EveryMemberOfEveryType(const char* kind) {
  Json::Value settings = ReadJsonFile(
      QDir(QStringLiteral(ZRV31_SOURCE_DIR "/DefaultData")).filePath(QString::fromLatin1(kind) + ".Json"))["Device"][0];
  ASSERT_TRUE(settings.isObject()) << kind;
  Shorten(settings);
  std::vector<Path> paths{{}};  // the settings object itself too
  Path at;
  CollectPaths(settings, at, paths);
  for (const Path& path : paths) {
    for (const Json::Value& wrong : WrongValues()) {
      Json::Value damaged = settings;
      At(damaged, path) = wrong;
      Injected<Data> data;
      data.Put(damaged);
      ASSERT_NO_THROW(Exercise(data)) << kind << " member " << path.size() << " deep as " << wrong.toStyledString();
    }
  }
}

TEST(WrongTypes, KeyboardProfile) { EveryMemberOfEveryType<CKeyboardProfiledata>("keyboard"); }
TEST(WrongTypes, MouseProfile) { EveryMemberOfEveryType<CMouseProfiledata>("mouse"); }
TEST(WrongTypes, MousePadProfile) { EveryMemberOfEveryType<CBasicProfiledata>("MousePad"); }
TEST(WrongTypes, HeadsetProfile) { EveryMemberOfEveryType<CHs6533Profiledata>("HD"); }

}  // namespace
}  // namespace zrv::config
