// The lighting files: effect lists by display index, custom effect names, the step files of custom
// effects, and files that are missing, broken or hostile.

#include "config/light_files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "config/basic_profiledata.h"
#include "config/json_file.h"
#include "test_support.h"

namespace zrv::config {
namespace {

using test::Doc;
using test::PutFile;

class LightFiles : public ::testing::Test {
 protected:
  QString Path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }
  QTemporaryDir dir_;
};

TEST_F(LightFiles, ListsOfOneDisplayIndexKeepHiddenEntriesInPlace) {
  const Json::Value lights = Doc(R"({
    "DefaultLightName": [[{"LightName":"a","visible":true},{"LightName":"b","visible":false},{"LightName":"c","visible":1}]],
    "LightTab1LightName": [[{"LightName":"logo0"}]],
    "LightTab2LightName": [[{"visible":true}]],
    "AreaLightName": [[{"LightName":"keys"}],[{"LightName":"wheel"}]]})");
  LightLists keyboard;
  FillLightLists(keyboard, lights, Json::Value(), 0, true);
  EXPECT_EQ(keyboard.main.names, (std::vector<QString>{"a", "b", "c"}));
  EXPECT_EQ(keyboard.main.visible, (std::vector<bool>{true, false, true}));
  EXPECT_EQ(keyboard.logo, (EffectList{{"logo0"}, {false}})) << "a missing flag is false";
  EXPECT_EQ(keyboard.strip, (EffectList{{""}, {true}})) << "a missing name is empty";
  EXPECT_EQ(keyboard.area_names, (std::vector<QString>{"keys"}));

  // The mouse's elements are null: its lists stay as they were, except the areas it has.
  LightLists mouse;
  mouse.main = {{"kept"}, {true}};
  FillLightLists(mouse, lights, Json::Value(), 1, false);
  EXPECT_EQ(mouse.main, (EffectList{{"kept"}, {true}}));
  EXPECT_TRUE(mouse.logo.names.empty()) << "only a keyboard reads the logo list";
  EXPECT_EQ(mouse.area_names, (std::vector<QString>{"wheel"}));
}

TEST_F(LightFiles, CustomEffectNamesComeFromTheConfigurationAndANullOneChangesNothing) {
  LightLists lists;
  lists.main = {{"kept"}, {true}};
  FillLightLists(lists, Json::Value(), Doc(R"({"LightInfo":[[{"LightName":"Fire","Guid":"g1"},{"Guid":"g2"}]]})"), 0,
                 true);
  EXPECT_EQ(lists.custom_effects, (std::vector<QString>{"Fire", ""}));
  EXPECT_EQ(lists.main, (EffectList{{"kept"}, {true}})) << "no default list: the effect lists stay";
  FillLightLists(lists, Json::Value(), Json::Value(), 0, true);
  EXPECT_EQ(lists.custom_effects, (std::vector<QString>{"Fire", ""}));
}

TEST_F(LightFiles, StepsTakeTheLowBitsOfEveryMemberAndMissingOnesAreZero) {
  const std::vector<EffectStep> steps = ParseEffectSteps(Doc(R"({"LEDEffectList":[
      {"LEDREGMode":2,"LEDBrightness":300,"LEDSpeed":3,"LEDDirection":1,"LEDMultiColor":1,
       "red":10,"green":20,"blue":30,"Time":100,"Cyle":7},
      {"Time":-5,"red":"text"},
      7]})"));
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[0].light.main, (LightZoneFields{2, 44, 3, 1, 1, 10, 20, 30}));
  EXPECT_EQ(steps[0].time, 100);
  EXPECT_EQ(steps[0].cycle, 7);
  EXPECT_EQ(steps[0].light.logo, LightZoneFields{}) << "every other field is 0";
  EXPECT_EQ(steps[1].light.main, LightZoneFields{});
  EXPECT_EQ(steps[1].time, -5);
  EXPECT_EQ(steps[2], EffectStep{}) << "an element of another type is an empty step";
  EXPECT_TRUE(ParseEffectSteps(Doc(R"({"LEDEffectList":{"0":{}}})")).empty());
}

TEST_F(LightFiles, TheEntryOfACustomEffectIsCountedFromTheBuiltInEffects) {
  const Json::Value config = Doc(R"({"LightInfo":[[{"Guid":"first"},{"Guid":"second"}]]})");
  PutFile(Path("first.light"), R"({"LEDEffectList":[{"Time":1}]})");
  PutFile(Path("second.light"), R"({"LEDEffectList":[{"Time":2},{"Time":3}]})");
  EXPECT_EQ(ReadCustomEffectSteps(config, 0, 28, 28, dir_.path()).size(), 1u);
  EXPECT_EQ(ReadCustomEffectSteps(config, 0, 29, 28, dir_.path()).size(), 2u);
  EXPECT_TRUE(ReadCustomEffectSteps(config, 0, 27, 28, dir_.path()).empty()) << "a built-in effect";
  EXPECT_TRUE(ReadCustomEffectSteps(config, 0, 30, 28, dir_.path()).empty()) << "no such entry";
  EXPECT_TRUE(ReadCustomEffectSteps(config, 1, 28, 28, dir_.path()).empty()) << "no entries for the kind";
  EXPECT_TRUE(ReadCustomEffectSteps(Json::Value(), 0, 28, 28, dir_.path()).empty());
}

TEST_F(LightFiles, AStampNamesAFileInTheFolderAndNothingElse) {
  EXPECT_EQ(EffectStepsPath("/data/kb", "2024_01_02"), "/data/kb/2024_01_02.light");
  for (const std::string& stem : std::vector<std::string>{"", ".", "..", "../x", "/etc/passwd", "a/b", "a\\b",
                                                          "tab\tname", std::string(129, 'a')}) {
    EXPECT_TRUE(EffectStepsPath("/data/kb", stem).isEmpty()) << stem;
  }
  EXPECT_TRUE(EffectStepsPath("", "name").isEmpty());

  // A stamp that climbs out of the folder reads as no steps, although the file is there.
  QDir(dir_.path()).mkdir("inner");
  PutFile(Path("outside.light"), R"({"LEDEffectList":[{"Time":1}]})");
  const Json::Value config = Doc(R"({"LightInfo":[[{"Guid":"../outside"},{"Guid":5}]]})");
  EXPECT_TRUE(ReadCustomEffectSteps(config, 0, 0, 0, Path("inner")).empty());
  EXPECT_TRUE(ReadCustomEffectSteps(config, 0, 1, 0, Path("inner")).empty()) << "a stamp that is no text";
}

TEST_F(LightFiles, BrokenEmptyHugeAndWronglyTypedFilesReadAsEmpty) {
  PutFile(Path("empty.light"), "");
  PutFile(Path("broken.light"), R"({"LEDEffectList":[{"Time":1})");
  PutFile(Path("scalar.light"), "42");
  PutFile(Path("deep.light"), QByteArray(100000, '['));
  QByteArray huge = R"({"LEDEffectList":[)";
  while (huge.size() <= kMaxLightFileBytes) huge += "{},";
  huge += "{}]}";
  PutFile(Path("huge.light"), huge);
  for (const char* name :
       {"missing.light", "empty.light", "broken.light", "scalar.light", "deep.light", "huge.light"}) {
    EXPECT_TRUE(ParseEffectSteps(ReadLightFile(Path(name))).empty()) << name;
  }
  EXPECT_TRUE(ReadLightFile(dir_.path()).isNull()) << "a folder";

  // Under the size bound, a list longer than we keep is cut.
  QByteArray many = R"({"LEDEffectList":[)";
  for (size_t i = 0; i <= kMaxEffectSteps; ++i) many += "{},";
  many += "{}]}";
  PutFile(Path("many.light"), many);
  EXPECT_EQ(ParseEffectSteps(ReadLightFile(Path("many.light"))).size(), kMaxEffectSteps);

  LightLists lists;
  FillLightLists(lists, Doc(R"({"DefaultLightName":"text","AreaLightName":[5]})"), Doc("[1,2]"), 0, true);
  EXPECT_TRUE(lists.main.names.empty());
  EXPECT_TRUE(lists.area_names.empty());
  EXPECT_TRUE(lists.custom_effects.empty());
}

TEST_F(LightFiles, TheProfileDataObjectKeepsTheStepsOfItsMainEffect) {
  CBasicProfiledata data;
  data.SetBuiltInEffectCount(28);
  PutFile(Path("orvex_light.config"), R"({"LightInfo":[[{"LightName":"Fire","Guid":"fire"}]]})");
  PutFile(Path("fire.light"), R"({"LEDEffectList":[{"Time":100},{"Time":0},{"Time":50}]})");
  PutFile(Path("profile.Json"), R"({"Device":[{"LightInfo":{"SelectItem":28}}]})");
  data.LoadDeviceSection(Path("profile.Json"));
  data.ReadLightInfo();
  data.LoadLightConfig(Path("orvex_light.config"));
  const std::vector<EffectStep> steps = data.ReadCustomEffectSteps(0, dir_.path());
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[2].time, 50);
  EXPECT_EQ(data.EffectSteps(), steps);

  QFile::remove(Path("orvex_light.config"));
  data.LoadLightConfig(Path("orvex_light.config"));
  EXPECT_TRUE(data.ReadCustomEffectSteps(0, dir_.path()).empty()) << "no configuration, no steps";
  EXPECT_TRUE(data.EffectSteps().empty());
}

// The shipped lists: the keyboard's main effects cover every number the keyboard animates, the
// logo and strip their six, and every name is a text of both language files.
TEST(ShippedLightFile, EveryKindHasItsListsAndEveryNameIsTranslated) {
  const Json::Value document = ReadLightFile(QStringLiteral(ZRV31_SOURCE_DIR "/DefaultData/default_light.json"));
  ASSERT_FALSE(document.isNull());
  std::vector<QByteArray> languages;
  for (const char* name : {"lan_en.xml", "lan_cn.xml"}) {
    QFile file(QStringLiteral(ZRV31_SOURCE_DIR "/skin/") + name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    languages.push_back(file.readAll());
  }
  for (int kind = 0; kind < 4; ++kind) {
    LightLists lists;
    FillLightLists(lists, document, Json::Value(), kind, kind == 0);
    EXPECT_GE(lists.main.names.size(), kind == 0 ? 28u : 9u) << kind;
    EXPECT_FALSE(lists.area_names.empty()) << kind;
    std::vector<QString> names = lists.main.names;
    names.insert(names.end(), lists.logo.names.begin(), lists.logo.names.end());
    names.insert(names.end(), lists.strip.names.begin(), lists.strip.names.end());
    names.insert(names.end(), lists.area_names.begin(), lists.area_names.end());
    for (const QString& name : names) {
      for (const QByteArray& language : languages) {
        EXPECT_TRUE(language.contains("id=\"" + name.toUtf8() + "\"")) << name.toStdString();
      }
    }
    if (kind == 0) {
      EXPECT_EQ(lists.logo.names.size(), 6u);
      EXPECT_EQ(lists.strip.names.size(), 6u);
      EXPECT_FALSE(lists.main.visible[19]) << "no animation of its own: not offered";
      EXPECT_TRUE(lists.main.visible[20]);
    }
  }
}

}  // namespace
}  // namespace zrv::config
