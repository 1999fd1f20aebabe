#include "config/basic_profiledata.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "config/json_file.h"
#include "config/test_support.h"

namespace zrv::config {
namespace {

using test::Doc;
using test::FileBytes;
using test::JsonBytes;
using test::PutFile;

class BasicProfile : public ::testing::Test {
 protected:
  void SetUp() override {
    template_path_ = dir_.filePath("template.Json");
    profile_path_ = dir_.filePath("2022_03_14_09_26_53_589.Json");
    template_ = Doc(R"({"profilename":"Default","profileUUID":"","Device":[{
        "LightInfo":{"SelectItem":1,"Light":24,"Speed":2,"Fx":1,"MultiColor":1,"Red":255,"Green":0,"Blue":0,
                     "ZZCCLedMode":3,"CustomLightModeGroupIndex":2},
        "LightList":[null,{"LEDREGMode":1,"LEDBrightness":20,"LEDSpeed":2,"LEDDirection":1,"LEDMultiColor":0,
                           "red":1,"green":2,"blue":3}],
        "KeyList":[{"Assignment":2097193,"DefaultAssignment":2097193},{"Assignment":7340800,"DefaultAssignment":2097210}]
      }]})");
    PutFile(template_path_, JsonBytes(template_));
    data_.SetTemplatePath(template_path_);
    data_.SetProfilePath(profile_path_);
  }

  const Json::Value& TemplateSettings() const { return template_["Device"][0]; }

  QTemporaryDir dir_;
  QString template_path_;
  QString profile_path_;
  Json::Value template_;
  CBasicProfiledata data_;
};

TEST_F(BasicProfile, AProfileWithoutDeviceTakesTheTemplatesAndKeepsItsOtherMembers) {
  PutFile(profile_path_, R"({"profilename":"Game","profileUUID":"2022_03_14_09_26_53_589","extra":[1]})");
  const Json::Value settings = data_.LoadDeviceSection(profile_path_);
  EXPECT_EQ(settings, TemplateSettings());
  EXPECT_FALSE(data_.LastWriteFailed());
  Json::Value expected = Doc(R"({"profilename":"Game","profileUUID":"2022_03_14_09_26_53_589","extra":[1]})");
  expected["Device"].append(TemplateSettings());
  EXPECT_EQ(FileBytes(profile_path_), JsonBytes(expected)) << "repaired on disk, byte for byte";
}

TEST_F(BasicProfile, MissingOrDamagedProfilesAreRepairedFromTheTemplate) {
  Json::Value only_device;
  only_device["Device"].append(TemplateSettings());
  for (const QByteArray& content : {QByteArray(), QByteArray("{\"Device\": [ {\"Li"), QByteArray("[1,2,3]"),
                                    QByteArray("{\"Device\": 5}"), QByteArray("{\"Device\": [\"text\"]}")}) {
    PutFile(profile_path_, content);
    EXPECT_EQ(data_.LoadDeviceSection(profile_path_), TemplateSettings()) << content.constData();
    EXPECT_EQ(FileBytes(profile_path_), JsonBytes(only_device)) << content.constData();
  }
  QFile::remove(profile_path_);
  EXPECT_EQ(data_.LoadDeviceSection(profile_path_), TemplateSettings());
  EXPECT_EQ(FileBytes(profile_path_), JsonBytes(only_device)) << "a missing profile is created with \"Device\" alone";
}

TEST_F(BasicProfile, AnIntactProfileIsNeitherChangedNorRewritten) {
  const QByteArray content = "{\"Device\":[{\"LightInfo\":{\"Light\":7}}],\"profilename\":\"x\"}";
  PutFile(profile_path_, content);
  EXPECT_EQ(data_.LoadDeviceSection(profile_path_), Doc(R"({"LightInfo":{"Light":7}})"));
  EXPECT_EQ(FileBytes(profile_path_), content);
}

TEST_F(BasicProfile, WithoutTemplateEverythingReadsZeroAndSaveWritesOnlyWhatWasSet) {
  QFile::remove(template_path_);
  EXPECT_TRUE(data_.LoadDeviceSection(profile_path_).isNull());
  EXPECT_FALSE(QFile::exists(profile_path_)) << "nothing to repair with, nothing written";
  EXPECT_EQ(data_.ReadLightInfo(), LightStateRecord{});
  EXPECT_TRUE(data_.GetKeyList().empty());
  EXPECT_TRUE(data_.GetLedList().empty());

  LightStateRecord record;
  record.logo.light = 9;
  record.logo_on = 1;
  data_.WriteLogoLightInfo(record);
  ASSERT_TRUE(data_.Save());
  EXPECT_EQ(ReadJsonFile(profile_path_),
            Doc(R"({"Device":[{"LogoLightInfo":{"SelectItem":0,"Light":9,"Speed":0,"Fx":0,"MultiColor":0,
                                 "Red":0,"Green":0,"Blue":0,"RGBdengoffon":1}}]})"));
}

TEST_F(BasicProfile, LightRecordsFillOnlyTheirOwnFields) {
  data_.LoadDeviceSection(profile_path_);
  const LightStateRecord main = data_.ReadLightInfo();
  LightStateRecord expected;
  expected.main = {1, 24, 2, 1, 1, 255, 0, 0};
  expected.zzcc_led_mode = 3;
  expected.custom_light_mode_group = 2;
  EXPECT_EQ(main, expected);
  EXPECT_EQ(main.ToBytes()[11], 3) << "field 12 is ZZCCLedMode";
  EXPECT_EQ(main.ToBytes()[30], 2) << "field 31 is the custom light mode group";
  EXPECT_EQ(data_.ReadLogoLightInfo(), LightStateRecord{}) << "no \"LogoLightInfo\": all zero";
  EXPECT_EQ(data_.CachedLight(LightSection::kMain), expected);
}

TEST_F(BasicProfile, WritingARecordReplacesTheMemberWithExactlyItsColumn) {
  PutFile(profile_path_, R"({"Device":[{"LightInfo":{"Old":1,"Light":3},"Other":true}]})");
  data_.LoadDeviceSection(profile_path_);
  LightStateRecord record = LightStateRecord::FromBytes({1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                                                         17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31});
  data_.WriteLightInfo(record);
  data_.WriteLogoLightInfo(record);
  data_.WriteStLightInfo(record);
  EXPECT_EQ(data_.GetSettings(), Doc(R"({"Other":true,
      "LightInfo":{"SelectItem":1,"Light":2,"Speed":3,"Fx":4,"MultiColor":1,"Red":6,"Green":7,"Blue":8,
                   "ZZCCLedMode":12,"CustomLightModeGroupIndex":31},
      "LogoLightInfo":{"SelectItem":13,"Light":14,"Speed":15,"Fx":16,"MultiColor":1,"Red":18,"Green":19,"Blue":20,
                       "RGBdengoffon":22},
      "StLightInfo":{"SelectItem":23,"Light":24,"Speed":25,"Fx":26,"MultiColor":1,"Red":28,"Green":29,"Blue":30}})"));
  EXPECT_EQ(data_.CachedLight(LightSection::kStrip), record);
  EXPECT_EQ(data_.ReadStLightInfo().strip, (LightZoneFields{23, 24, 25, 26, 1, 28, 29, 30}));
}

TEST_F(BasicProfile, NumbersAreCutToTheirFieldAndFlagsReadAsBooleans) {
  PutFile(profile_path_, R"({"Device":[{"LightInfo":{"SelectItem":300,"Light":-1,"MultiColor":7,"Red":12.9,
                                                     "Green":true,"Blue":4294967297}}]})");
  data_.LoadDeviceSection(profile_path_);
  const LightZoneFields main = data_.ReadLightInfo().main;
  EXPECT_EQ(main.select_item, 300 & 0xFF);
  EXPECT_EQ(main.light, 0xFF);
  EXPECT_EQ(main.multi_color, 1);
  EXPECT_EQ(main.red, 12);
  EXPECT_EQ(main.green, 1);
  EXPECT_EQ(main.blue, 1);
}

TEST_F(BasicProfile, MembersOfTheWrongTypeReadAsMissingAndAreReplacedOnWrite) {
  PutFile(profile_path_, R"({"Device":[{"LightInfo":"bright","LogoLightInfo":{"Light":"9","Red":[1],"Fx":{}},
                                         "LightList":{"a":1},"KeyList":[7,"x",{"Assignment":"big"},null]}]})");
  data_.LoadDeviceSection(profile_path_);
  EXPECT_EQ(data_.ReadLightInfo(), LightStateRecord{});
  EXPECT_EQ(data_.ReadLogoLightInfo(), LightStateRecord{});
  EXPECT_TRUE(data_.GetLedList().empty()) << "a \"LightList\" that is no array counts as missing";
  const auto& keys = data_.GetKeyList();
  ASSERT_EQ(keys.size(), 4u);
  for (uint16_t i = 0; i < 4; ++i) EXPECT_EQ(keys[i], (KeyRecord{{i, 0, 0, 0}, {i, 0, 0, 0}}));

  data_.SetKeyAssignments({{{0, 0x20, 0, 4}, {}}, {{1, 0x20, 0, 5}, {}}});
  data_.WriteLightInfo(LightStateRecord{});
  EXPECT_EQ(data_.GetSettings()["KeyList"], Doc(R"([{"Assignment":2097156},{"Assignment":2097157},
                                                    {"Assignment":"big"},null])"));
  EXPECT_TRUE(data_.GetSettings()["LightInfo"].isObject());
}

TEST_F(BasicProfile, KeyAssignmentsRoundTripAndLeaveDefaultsAndLaterElements) {
  data_.LoadDeviceSection(profile_path_);
  std::vector<KeyRecord> keys = data_.GetKeyList();
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[1].assignment, (KeyHalf{1, 0x70, 3, 0})) << "0x70 × 65536 + 3 × 256";
  EXPECT_EQ(keys[1].default_assignment, (KeyHalf{1, 0x20, 0, 0x3A}));
  keys.resize(1);
  keys[0].assignment = {0, 0x71, 2, 9};
  keys[0].default_assignment = {0, 0x01, 0x01, 0x01};  // must not be written
  data_.SetKeyAssignments(keys);
  EXPECT_EQ(
      data_.GetSettings()["KeyList"],
      Doc(R"([{"Assignment":7406089,"DefaultAssignment":2097193},{"Assignment":7340800,"DefaultAssignment":2097210}])"));
  data_.SetKeyAssignments(data_.GetKeyList());
  EXPECT_EQ(data_.GetSettings()["KeyList"][1]["Assignment"].asInt(), 0x700300) << "the same number written back";
}

TEST_F(BasicProfile, TheLedListKeepsItsLastContentWhenTheProfileHasNone) {
  data_.LoadDeviceSection(profile_path_);
  const std::vector<LedRecord> leds = data_.GetLedList();
  ASSERT_EQ(leds.size(), 2u);
  EXPECT_EQ(leds[0], LedRecord{}) << "a null element: zeros, not present";
  LedRecord second{1, 20, 2, 1, 0, 1, 2, 3};
  second.present = 1;
  EXPECT_EQ(leds[1], second);

  PutFile(profile_path_, R"({"Device":[{"LightInfo":{}}]})");
  data_.LoadDeviceSection(profile_path_);
  EXPECT_EQ(data_.GetLedList(), leds);
}

TEST_F(BasicProfile, SaveReplacesOnlyTheDeviceElement) {
  PutFile(profile_path_, R"({"profilename":"Game","profileUUID":"id","Device":[{"LightInfo":{}},{"second":2}]})");
  data_.LoadDeviceSection(profile_path_);
  LightStateRecord record;
  record.main.light = 5;
  data_.WriteLightInfo(record);
  // Someone renames the profile meanwhile: Save reads the file again and keeps that.
  PutFile(profile_path_, R"({"profilename":"Renamed","profileUUID":"id","Device":[{"LightInfo":{}},{"second":2}]})");
  ASSERT_TRUE(data_.Save());
  const Json::Value saved = ReadJsonFile(profile_path_);
  EXPECT_EQ(saved["profilename"].asString(), "Renamed");
  EXPECT_EQ(saved["Device"][0]["LightInfo"]["Light"].asInt(), 5);
  EXPECT_EQ(saved["Device"][1], Doc(R"({"second":2})"));
}

TEST_F(BasicProfile, WriteFailuresAreReported) {
  data_.LoadDeviceSection(profile_path_);
  data_.SetProfilePath(dir_.filePath("gone/profile.Json"));
  EXPECT_FALSE(data_.Save());
  EXPECT_TRUE(data_.LastWriteFailed());
  data_.SetProfilePath(profile_path_);
  EXPECT_TRUE(data_.Save());
  EXPECT_FALSE(data_.LastWriteFailed());

  CBasicProfiledata other;
  other.SetTemplatePath(template_path_);
  other.LoadDeviceSection(dir_.filePath("gone/profile.Json"));
  EXPECT_TRUE(other.LastWriteFailed()) << "the repair could not be written";
  EXPECT_EQ(other.GetSettings(), TemplateSettings()) << "the settings are loaded all the same";
}

TEST_F(BasicProfile, PathsAndDeviceIndex) {
  data_.SetProfilePath(QString());
  EXPECT_EQ(data_.GetProfilePath(), profile_path_) << "an empty path leaves the old one";
  data_.SetTemplatePath(QString());
  EXPECT_EQ(data_.GetTemplatePath(), template_path_);
  data_.SetDeviceIndex(-1);
  data_.SetDeviceIndex(100000);
  EXPECT_EQ(data_.GetDeviceIndex(), 0);

  data_.SetDeviceIndex(1);
  PutFile(profile_path_, R"({"Device":[{"zero":0}]})");
  EXPECT_TRUE(data_.LoadDeviceSection(profile_path_).isNull()) << "element 1 is missing and the template has none";
  EXPECT_EQ(FileBytes(profile_path_), R"({"Device":[{"zero":0}]})");
  data_.SetKeyAssignments({{{0, 1, 2, 3}, {}}});
  ASSERT_TRUE(data_.Save());
  EXPECT_EQ(ReadJsonFile(profile_path_), Doc(R"({"Device":[{"zero":0},{"KeyList":[{"Assignment":66051}]}]})"));
}

TEST_F(BasicProfile, LightConfigurationIsKeptAsRead) {
  const QString path = dir_.filePath("orvex_light.config");
  EXPECT_TRUE(data_.LoadLightConfig(path).isNull());
  PutFile(path, R"({"LightInfo":[[{"LightName":"Fire","Guid":"g1"}]]})");
  EXPECT_EQ(data_.LoadLightConfig(path)["LightInfo"][0][0]["Guid"].asString(), "g1");
  EXPECT_EQ(data_.GetLightConfig()["LightInfo"][0][0]["LightName"].asString(), "Fire");
  data_.SetLightConfigPath(path);
  EXPECT_EQ(data_.GetLightConfigPath(), path);
}

}  // namespace
}  // namespace zrv::config
