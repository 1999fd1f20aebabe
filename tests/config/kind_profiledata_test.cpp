// The members that only one device kind has: keyboard system values and custom light modes, mouse
// DPI stages, system values and corrections, headset values and equaliser curves.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "config/hs6533_profiledata.h"
#include "config/json_file.h"
#include "config/keyboard_profiledata.h"
#include "config/mouse_profiledata.h"
#include "config/test_support.h"

namespace zrv::config {
namespace {

using test::Doc;
using test::JsonBytes;
using test::PutFile;

// Loads `settings` as "Device"[0] of a profile in a temporary folder.
template <typename Data>
class Loaded {
 public:
  explicit Loaded(const std::string& settings) {
    path_ = dir_.filePath("p.Json");
    Json::Value document;
    document["Device"].append(Doc(settings));
    PutFile(path_, JsonBytes(document));
    data.SetProfilePath(path_);
    data.LoadDeviceSection(path_);
  }
  void Reload(const std::string& settings) {
    Json::Value document;
    document["Device"].append(Doc(settings));
    PutFile(path_, JsonBytes(document));
    data.LoadDeviceSection(path_);
  }
  Json::Value Saved() {
    EXPECT_TRUE(data.Save());
    return ReadJsonFile(path_)["Device"][0];
  }
  Data data;

 private:
  QTemporaryDir dir_;
  QString path_;
};

TEST(KeyboardProfile, SystemValuesReadZeroWhenMissingAndWriteAllSeven) {
  Loaded<CKeyboardProfiledata> profile(R"({"SystemStages":{"Repeat":31,"PollingRate":70000,"WinFlag":"on"}})");
  const KeyboardSystem read = profile.data.GetKeyboardSystem();
  EXPECT_EQ(read, (KeyboardSystem{31, 0, 0, 70000 & 0xFFFF, 0, 0, 0}));
  profile.data.SetKeyboardSystem({1, 2, 3, 4, 5, 6, 7});
  EXPECT_EQ(profile.Saved()["SystemStages"],
            Doc(R"({"Repeat":1,"RepeatDelay":2,"Key6Flag":3,"PollingRate":4,"WFlag":5,"WinFlag":6,"ScanDelay":7})"));
  profile.Reload(R"({"LightInfo":{}})");
  EXPECT_EQ(profile.data.GetKeyboardSystem(), KeyboardSystem{});
}

TEST(KeyboardProfile, ReadingACustomModeCreatesWhatIsMissing) {
  Loaded<CKeyboardProfiledata> profile(R"({"CustomLightMode":{"LightColorInfo":[
      [{"Red":1,"Green":2,"Blue":3,"Alpha":255},null,{"Red":9}]]}})");
  const std::vector<ModeColour> first = profile.data.GetCustomModeColors(0, 4);
  EXPECT_EQ(first, (std::vector<ModeColour>{{1, 2, 3, 255}, {}, {9, 0, 0, 0}, {}}));
  const std::vector<ModeColour> third = profile.data.GetCustomModeColors(2, 3);
  EXPECT_EQ(third, std::vector<ModeColour>(3));
  const Json::Value saved = profile.Saved()["CustomLightMode"]["LightColorInfo"];
  const Json::Value zero = Doc(R"({"Red":0,"Green":0,"Blue":0,"Alpha":0})");
  ASSERT_EQ(saved.size(), 3u);
  EXPECT_EQ(saved[0][1], zero) << "a missing entry is created with zeros";
  EXPECT_EQ(saved[0][2], Doc(R"({"Red":9})")) << "an existing entry is left as it is";
  EXPECT_EQ(saved[0][3], zero);
  EXPECT_TRUE(saved[1].isNull()) << "modes that were not read stay missing";
  EXPECT_EQ(saved[2], Doc(R"([{"Red":0,"Green":0,"Blue":0,"Alpha":0},{"Red":0,"Green":0,"Blue":0,"Alpha":0},
                               {"Red":0,"Green":0,"Blue":0,"Alpha":0}])"));
}

TEST(KeyboardProfile, WritingACustomModeSetsItsEntriesOnly) {
  Loaded<CKeyboardProfiledata> profile(R"({"CustomLightMode":{"CustomLightModeGroupIndex":3,
      "LightColorInfo":[[{"Red":1},{"Red":2},{"Red":3,"Extra":true}]]}})");
  profile.data.SetCustomModeColors({{10, 20, 30, 40}, {50, 60, 70, 0}}, 0);
  profile.data.SetCustomModeColors({{1, 1, 1, 1}}, 1);
  const Json::Value saved = profile.Saved()["CustomLightMode"];
  EXPECT_EQ(saved["LightColorInfo"][0], Doc(R"([{"Red":10,"Green":20,"Blue":30,"Alpha":40},
      {"Red":50,"Green":60,"Blue":70,"Alpha":0},{"Red":3,"Extra":true}])"));
  EXPECT_EQ(saved["LightColorInfo"][1], Doc(R"([{"Red":1,"Green":1,"Blue":1,"Alpha":1}])"));
  EXPECT_EQ(saved["CustomLightModeGroupIndex"].asInt(), 3);
  EXPECT_EQ(profile.data.CachedModeColours().size(), 1u);
}

TEST(KeyboardProfile, CustomModeIndexAndHostileModeNumbers) {
  Loaded<CKeyboardProfiledata> profile(R"({"CustomLightMode":{"CustomLightModeGroupIndex":"two"}})");
  EXPECT_EQ(profile.data.GetCustomModeIndex(), 0);
  profile.data.SetCustomModeIndex(4);
  EXPECT_EQ(profile.data.GetCustomModeIndex(), 4);
  EXPECT_TRUE(profile.data.GetCustomModeColors(-1, 10).empty());
  EXPECT_TRUE(profile.data.GetCustomModeColors(2000000000, 10).empty()) << "no array of two billion modes";
  EXPECT_TRUE(profile.data.GetCustomModeColors(0, 100000).empty());
  EXPECT_EQ(profile.Saved(), Doc(R"({"CustomLightMode":{"CustomLightModeGroupIndex":4}})"));
}

TEST(MouseProfile, DpiStagesOfAShorterProfileLeaveTheLaterCachedStages) {
  Loaded<CMouseProfiledata> profile(R"({"DPIStages":{"StageActive":2,"StageDPIs":[
      {"StageActive":1,"StageXY":0,"StageDPIX":8,"StageDPIY":8,"StageColorR":255,"StageColorG":0,"StageColorB":0},
      {"StageActive":1,"StageDPIX":16},{"StageActive":1,"StageDPIX":32},{"StageActive":1,"StageDPIX":64},
      {"StageActive":1,"StageDPIX":128,"StageDPIY":70000}]}})");
  const std::vector<DpiStage> five = profile.data.GetDpiStages();
  ASSERT_EQ(five.size(), 5u);
  EXPECT_EQ(five[0], (DpiStage{1, 0, 8, 8, 255, 0, 0}));
  EXPECT_EQ(five[4], (DpiStage{1, 0, 128, 70000 & 0xFFFF, 0, 0, 0}));
  EXPECT_EQ(profile.data.GetActiveStage(), 2);

  profile.Reload(R"({"DPIStages":{"StageActive":0,"StageDPIs":[{"StageDPIX":10},{"StageDPIX":20},{"StageDPIX":30}]}})");
  const std::vector<DpiStage> mixed = profile.data.GetDpiStages();
  ASSERT_EQ(mixed.size(), 5u);
  EXPECT_EQ(mixed[0].dpi_x, 10);
  EXPECT_EQ(mixed[2].dpi_x, 30);
  EXPECT_EQ(mixed[3], five[3]) << "stages 4 and 5 of the previous profile stay";
  EXPECT_EQ(mixed[4], five[4]);
  EXPECT_EQ(profile.data.GetActiveStage(), 0);

  profile.Reload(R"({"LightInfo":{}})");
  EXPECT_EQ(profile.data.GetDpiStages(), mixed) << "without \"DPIStages\" nothing changes";
  EXPECT_EQ(profile.data.GetActiveStage(), 0);
}

TEST(MouseProfile, WritingStagesReplacesTheCacheAndKeepsLaterElements) {
  Loaded<CMouseProfiledata> profile(R"({"DPIStages":{"StageActive":1,"Note":"x","StageDPIs":[{"StageDPIX":1},
      {"StageDPIX":2},{"StageDPIX":3,"Own":1}]}})");
  profile.data.GetDpiStages();
  profile.data.SetDpiStages({{1, 1, 100, 200, 1, 2, 3}, {0, 0, 5, 6, 7, 8, 9}});
  EXPECT_EQ(profile.data.GetDpiStages().size(), 3u) << "the profile still holds three";
  profile.data.SetActiveStage(1);
  const Json::Value saved = profile.Saved()["DPIStages"];
  EXPECT_EQ(saved, Doc(R"({"StageActive":1,"Note":"x","StageDPIs":[
      {"StageActive":1,"StageXY":1,"StageDPIX":100,"StageDPIY":200,"StageColorR":1,"StageColorG":2,"StageColorB":3},
      {"StageActive":0,"StageXY":0,"StageDPIX":5,"StageDPIY":6,"StageColorR":7,"StageColorG":8,"StageColorB":9},
      {"StageDPIX":3,"Own":1}]})"));
}

TEST(MouseProfile, SystemValuesNeedSystemStagesAndReportStagesFillsTheLast) {
  Loaded<CMouseProfiledata> profile(R"({"SystemStages":{"DoubleClickTime":500,"MouseSpeed":10,
      "PointerPrecision":1,"ScorllPage":0,"WheelScorlllinse":3}})");
  EXPECT_EQ(profile.data.GetMouseSystem(), (MouseSystem{500, 10, 1, 0, 3, 0})) << "no \"ReportStages\": option 0";
  profile.Reload(R"({"ReportStages":{"StageActive":3}})");
  EXPECT_EQ(profile.data.GetMouseSystem(), MouseSystem{}) << "\"ReportStages\" without \"SystemStages\" is ignored";
  profile.Reload(R"({"SystemStages":{"MouseSpeed":4},"ReportStages":{"StageActive":258}})");
  EXPECT_EQ(profile.data.GetMouseSystem(), (MouseSystem{0, 4, 0, 0, 0, 258}));
  profile.data.SetMouseSystem({1, 2, 3, 4, 5, 6});
  const Json::Value saved = profile.Saved();
  EXPECT_EQ(saved["SystemStages"], Doc(R"({"DoubleClickTime":1,"MouseSpeed":2,"PointerPrecision":3,
      "ScorllPage":4,"WheelScorlllinse":5})"));
  EXPECT_EQ(saved["ReportStages"], Doc(R"({"StageActive":6})"));
}

TEST(MouseProfile, CorrectionsAndTheEntryInUse) {
  Loaded<CMouseProfiledata> profile(R"({"CorrectInfo":[
      {"CorrectPixThresh":10,"CorrectMinSq":20,"CorrectSelect":0,"CorrectName":"Cloth"},
      5,
      {"CorrectPixThresh":12,"CorrectMinSq":24,"CorrectSelect":1,"CorrectName":"Glas \u00fc"},
      {"CorrectPixThresh":1,"CorrectMinSq":2,"CorrectSelect":1,"CorrectName":7}]})");
  const std::vector<Correction> entries = profile.data.GetCorrections();
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0], (Correction{10, 20, 0, "Cloth"}));
  EXPECT_EQ(entries[1], Correction{});
  EXPECT_EQ(entries[2].name, QString::fromUtf8("Glas \xC3\xBC"));
  EXPECT_EQ(entries[3].name, QString());
  const Correction* selected = SelectedCorrection(entries);
  ASSERT_NE(selected, nullptr);
  EXPECT_EQ(selected->min_sq, 24) << "the first selected entry";
  EXPECT_EQ(SelectedCorrection({}), nullptr);
}

TEST(HeadsetProfile, SettingsReadZeroWhenMissingAndWriteAllEight) {
  Loaded<CHs6533Profiledata> profile(R"({"SystemSetStages":{"MagicType":2,"MicInValue":-5}})");
  EXPECT_EQ(profile.data.GetHeadsetSettings(), (HeadsetSettings{0, 2, 0, 0, 0, -5, 0, 0}));
  profile.data.SetHeadsetSettings({1, 2, 3, 4, 5, 6, 7, 8});
  EXPECT_EQ(profile.Saved()["SystemSetStages"],
            Doc(R"({"MagicEnable":1,"MagicType":2,"EqType":3,"CustomEqSeletIndex":4,"MicInSelect":5,
                    "MicInValue":6,"MicMoniterSelect":7,"MicMoniterValue":8})"));
}

std::string Curve(int base) {
  std::string text = "[";
  for (int b = 0; b < 10; ++b) text += (b ? "," : "") + std::string("{\"value\":") + std::to_string(base + b) + "}";
  return text + "]";
}

TEST(HeadsetProfile, PresetNumbersMapToTheirCurves) {
  std::string curves = "[";
  for (int t = 0; t <= 12; ++t) curves += (t ? "," : "") + Curve(t * 100);
  Loaded<CHs6533Profiledata> profile("{\"EQHzValueInfo\":" + curves + "]}");
  EXPECT_EQ(profile.data.GetEqCurve(5), (EqCurve{500, 501, 502, 503, 504, 505, 506, 507, 508, 509}));
  EXPECT_EQ(profile.data.GetEqCurve(12)[9], 1209);
  EXPECT_EQ(profile.data.GetEqCurve(0), profile.data.GetEqCurve(1)) << "0 uses element 1";
  EXPECT_EQ(profile.data.GetEqCurve(20), profile.data.GetEqCurve(1)) << "above 13 uses element 1";
  EXPECT_EQ(profile.data.GetEqCurve(-3), profile.data.GetEqCurve(1));
  EXPECT_TRUE(profile.data.GetEqCurve(13).empty()) << "13 is a custom curve: no preset";

  const Json::Value before = profile.data.GetSettings();
  profile.data.SetEqCurve(13, EqCurve(10, 7));
  EXPECT_EQ(profile.data.GetSettings(), before) << "writing preset 13 does nothing";
  profile.data.SetEqCurve(0, EqCurve(10, -1));
  EXPECT_EQ(profile.data.GetEqCurve(1), EqCurve(10, -1));
  profile.data.SetEqCurve(3, {1, 2});
  EXPECT_EQ(profile.data.GetEqCurve(3), (EqCurve{1, 2, 302, 303, 304, 305, 306, 307, 308, 309}));
}

TEST(HeadsetProfile, ReadingAMissingCurveCreatesZeroBands) {
  Loaded<CHs6533Profiledata> profile(R"({"EQHzValueInfo":[null,[{"value":4},{"value":"x"},7]],
                                         "CustomEQHzValueInfo":[]})");
  EXPECT_EQ(profile.data.GetEqCurve(1), (EqCurve{4, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(profile.data.GetCustomEqCurve(1), EqCurve(10, 0));
  const Json::Value saved = profile.Saved();
  EXPECT_EQ(saved["EQHzValueInfo"][1].size(), 10u);
  EXPECT_EQ(saved["EQHzValueInfo"][1][1], Doc(R"({"value":0})")) << "a band of the wrong type becomes 0";
  EXPECT_EQ(saved["EQHzValueInfo"][1][9], Doc(R"({"value":0})"));
  EXPECT_TRUE(saved["CustomEQHzValueInfo"][0].isNull());
  EXPECT_EQ(saved["CustomEQHzValueInfo"][1], Doc(R"([{"value":0},{"value":0},{"value":0},{"value":0},{"value":0},
                                                      {"value":0},{"value":0},{"value":0},{"value":0},{"value":0}])"));
  EXPECT_TRUE(profile.data.GetCustomEqCurve(-1).empty());
  EXPECT_TRUE(profile.data.GetCustomEqCurve(1000000).empty());
}

TEST(HeadsetProfile, CustomCurvesAndNames) {
  Loaded<CHs6533Profiledata> profile(R"({"CustomEQNameInfo":[{"Name":"a"},{"Name":"b"},{"Name":"c"},{"Name":"d"}],
                                         "CustomEQHzValueInfo":[)" +
                                     Curve(0) + "," + Curve(10) + "]}");
  EXPECT_EQ(profile.data.GetCustomEqNames(), (QStringList{"a", "b", "c", "d"}));
  EXPECT_EQ(profile.data.GetCustomEqCurve(1)[0], 10);
  profile.data.SetCustomEqNames({QString::fromUtf8("B\xC3\xA4sse"), "Voice"});
  profile.data.SetCustomEqCurve(0, EqCurve(10, 3));
  const Json::Value saved = profile.Saved();
  EXPECT_EQ(saved["CustomEQNameInfo"], Doc(R"([{"Name":"B\u00e4sse"},{"Name":"Voice"}])"))
      << "two names after four: exactly two objects";
  EXPECT_EQ(saved["CustomEQHzValueInfo"][0][5]["value"].asInt(), 3);
  EXPECT_EQ(saved["CustomEQHzValueInfo"][1], Doc(Curve(10)));
  profile.Reload(R"({"CustomEQNameInfo":[{"Name":"x"},{"NoName":1},"y"]})");
  EXPECT_EQ(profile.data.GetCustomEqNames(), (QStringList{"x", "", ""}));
}

}  // namespace
}  // namespace zrv::config
