// The keyboard's settings record against the simulator: written from the profile byte for byte,
// read back into the profile (lighting and flags taken over, polling rate and scan delay not), and
// a failed read that leaves the profile alone.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "device/device_link.h"
#include "keyboard_test_support.h"
#include "sim/memory_map.h"

namespace zrv::devices {
namespace {

using device::LinkCommand;
using testing::KeyboardSimTest;

constexpr uint8_t kWriteSettingsCmd = static_cast<uint8_t>(LinkCommand::kWriteSettings);
constexpr uint8_t kReadSettingsCmd = static_cast<uint8_t>(LinkCommand::kReadSettings);

config::LightStateRecord Lighting() {
  config::LightStateRecord light;
  light.main = {26, 20, 1, 1, 0, 10, 20, 30};  // effect 26: the program's own, sent as 0
  light.zzcc_led_mode = 5;
  light.custom_light_mode_group = 9;  // "LightInfo"'s copy; the record carries "CustomLightMode"'s
  light.logo = {3, 12, 4, 0, 1, 40, 50, 60};
  light.logo_on = 1;
  light.strip = {25, 7, 0, 1, 1, 70, 80, 90};
  return light;
}

constexpr config::KeyboardSystem kSystem{
    .repeat = 31, .repeat_delay = 2, .key6_flag = 1, .polling_rate = 2, .w_flag = 1, .win_flag = 1, .scan_delay = 3};

// What the keyboard must hold for Lighting(), kSystem and custom mode 3.
const KeyboardSettingsBytes kExpectedRecord = {0,                              // profile number (first byte)
                                               0, 20, 3, 1, 0, 10, 20, 30,     // main: effect 26 -> 0, speed 1 -> 3
                                               0, 0,  0, 0, 0, 0,  0,  0,  0,  // 9-17
                                               5,                              // LED mode
                                               1, 1,  1,                       // W, 6-key, Win
                                               2, 0,  0,                       // polling rate, 23-24
                                               3,                              // scan delay
                                               3,                              // custom lighting group
                                               3, 12, 0, 0, 1, 40, 50, 60,     // logo: speed 4 -> 0
                                               0, 1,                           // 35, logo on
                                               0, 7,  4, 1, 1, 70, 80, 90,     // strip: effect 25 -> 0, speed 0 -> 4
                                               0};

class KeyboardSettingsTest : public KeyboardSimTest {
 protected:
  void SetUp() override {
    Plug();
    keyboard_.SetProfileId("2024_01_02_03_04_05_006");
    keyboard_.LoadProfile();  // made from the template on first use
  }
  void PutProfileValues() {
    config::CKeyboardProfiledata& profile = keyboard_.Profile();
    profile.WriteLightInfo(Lighting());
    profile.WriteLogoLightInfo(Lighting());
    profile.WriteStLightInfo(Lighting());
    profile.SetCustomModeIndex(3);
    profile.SetKeyboardSystem(kSystem);
  }
};

TEST_F(KeyboardSettingsTest, TheRecordOfTheProfileReachesTheKeyboardByteForByte) {
  PutProfileValues();
  device_->Log().Clear();

  EXPECT_EQ(keyboard_.WriteSettings(0, 0, 1, 1920, 1080), 1);
  EXPECT_EQ(device_->SettingsRecord(0), std::vector<uint8_t>(kExpectedRecord.begin(), kExpectedRecord.end()));
  const auto frame = device_->Log().LastFrame(kWriteSettingsCmd);
  ASSERT_TRUE(frame.has_value());
  EXPECT_EQ(frame->Offset(), 0);
  EXPECT_EQ(frame->Length(), 46);
  EXPECT_EQ(device_->BeginCount(), 1u);
  EXPECT_FALSE(device_->InSequence());

  // Another profile index and first byte: the record goes to index x 46 and starts with the byte.
  EXPECT_EQ(keyboard_.WriteSettings(1, 7, 1, 0, 0), 1);
  std::vector<uint8_t> second = device_->SettingsRecord(1);
  ASSERT_EQ(second.size(), 46u);
  EXPECT_EQ(second[0], 7);
  EXPECT_TRUE(std::equal(second.begin() + 1, second.end(), kExpectedRecord.begin() + 1));
}

// Offsets travel as 16 bits: a record that does not fit below 65536 would land, cut short, on the
// records at the start of the area (index 1425 x 46 = 65550 is sent as 14).
TEST_F(KeyboardSettingsTest, ARecordBeyondTheSixteenBitOffsetsIsNotWritten) {
  const std::vector<uint8_t> before = device_->AreaBytes(sim::Area::kSettings);
  device_->Log().Clear();
  EXPECT_EQ(keyboard_.WriteSettings(1425, 0, 1, 0, 0), 0);
  EXPECT_EQ(keyboard_.WriteSettings(65536 / 46, 0, 1, 0, 0), 0) << "65504-65549 does not fit either";
  EXPECT_EQ(keyboard_.WriteSettings(2147483647, 0, 1, 0, 0), 0);
  EXPECT_EQ(device_->Log().CountFrames(kWriteSettingsCmd), 0u);
  EXPECT_EQ(device_->AreaBytes(sim::Area::kSettings), before);
  // The last record that fits is sent (this keyboard's area is smaller and refuses it).
  keyboard_.WriteSettings(65536 / 46 - 1, 0, 1, 0, 0);
  const auto frame = device_->Log().LastFrame(kWriteSettingsCmd);
  ASSERT_TRUE(frame.has_value());
  EXPECT_EQ(frame->Offset(), (65536 / 46 - 1) * 46);
}

TEST_F(KeyboardSettingsTest, ReadingTakesOverLightingAndFlagsButKeepsTheProfilesRates) {
  PutProfileValues();
  keyboard_.SaveProfile();
  // The keyboard holds other values: polling rate 3 and scan delay 1 must not reach the profile.
  KeyboardSettingsBytes on_device = kExpectedRecord;
  on_device[19] = 0;     // W
  on_device[21] = 0;     // Win
  on_device[22] = 3;     // polling rate
  on_device[25] = 1;     // scan delay
  on_device[16] = 0xAB;  // not part of the record
  on_device[3] = 0;      // main speed byte 0: Speed 4
  device_->SetAreaBytes(sim::Area::kSettings, 0, on_device);
  keyboard_.CommandLink().SetPaused(true);
  device_->Log().Clear();

  EXPECT_EQ(keyboard_.ReadDeviceSettings(), 0);
  EXPECT_FALSE(keyboard_.CommandLink().Paused()) << "reading the keyboard ends synchronised lighting";
  const auto reads = device_->Log().Frames(kReadSettingsCmd);
  ASSERT_EQ(reads.size(), 2u);
  EXPECT_EQ(reads[0].Length(), 1);
  EXPECT_EQ(reads[1].Length(), 46);
  EXPECT_EQ(keyboard_.SettingsRecord()[16], 0);

  const KeyboardSettings& decoded = keyboard_.DecodedSettings();
  EXPECT_EQ(decoded.light.main.speed, 4);
  EXPECT_EQ(decoded.light.main.select_item, 0);
  EXPECT_EQ(decoded.light.logo, (config::LightZoneFields{3, 12, 4, 0, 1, 40, 50, 60}));
  EXPECT_EQ(decoded.light.custom_light_mode_group, 3);
  EXPECT_EQ(decoded.polling_rate, 3);

  const Json::Value settings = ProfileSettings();
  EXPECT_EQ(settings["LightInfo"]["Speed"].asInt(), 4);
  EXPECT_EQ(settings["LightInfo"]["SelectItem"].asInt(), 0);
  EXPECT_EQ(settings["LightInfo"]["ZZCCLedMode"].asInt(), 5);
  EXPECT_EQ(settings["LightInfo"]["CustomLightModeGroupIndex"].asInt(), 3);
  EXPECT_EQ(settings["LogoLightInfo"]["RGBdengoffon"].asInt(), 1);
  EXPECT_EQ(settings["LogoLightInfo"]["Speed"].asInt(), 4);
  EXPECT_EQ(settings["StLightInfo"]["Speed"].asInt(), 0);
  EXPECT_EQ(settings["StLightInfo"]["Blue"].asInt(), 90);
  const Json::Value& stages = settings["SystemStages"];
  EXPECT_EQ(stages["WFlag"].asInt(), 0);
  EXPECT_EQ(stages["WinFlag"].asInt(), 0);
  EXPECT_EQ(stages["Key6Flag"].asInt(), 1);
  EXPECT_EQ(stages["PollingRate"].asInt(), 2) << "the profile keeps its polling rate";
  EXPECT_EQ(stages["ScanDelay"].asInt(), 3) << "and its scan delay";
  EXPECT_EQ(stages["Repeat"].asInt(), 31);
  EXPECT_EQ(stages["RepeatDelay"].asInt(), 2);

  // The device's lighting record holds speed indices: Speed 4 is index 0.
  EXPECT_EQ(keyboard_.GetLightInfo().main.speed, 0);

  // Written back, the record is what was read, but for the profile's rates.
  device_->Log().Clear();
  keyboard_.WriteSettings(0, 0, 1, 0, 0);
  KeyboardSettingsBytes expected = on_device;
  expected[16] = 0;
  expected[22] = 2;
  expected[25] = 3;
  expected[26] = 3;
  EXPECT_EQ(device_->SettingsRecord(0), std::vector<uint8_t>(expected.begin(), expected.end()));
  EXPECT_EQ(keyboard_.PreviousSettings().profile, 0);
}

// Speeds run 0-4 and brightness levels 0-24 on both sides. A value beyond (a broken keyboard, an
// edited or imported profile) is taken as the nearest one in range: "4 - Speed" must not wrap
// round to a speed of 250 or a speed byte of 255.
TEST_F(KeyboardSettingsTest, SpeedsAndBrightnessOutOfRangeAreBroughtIntoRange) {
  KeyboardSettingsBytes on_device = kExpectedRecord;
  on_device[2] = 200;   // main brightness
  on_device[3] = 9;     // main speed byte: "Speed -5"
  on_device[29] = 255;  // logo speed byte
  on_device[38] = 25;   // strip brightness
  device_->SetAreaBytes(sim::Area::kSettings, 0, on_device);
  keyboard_.ReadDeviceSettings();
  const KeyboardSettings& decoded = keyboard_.DecodedSettings();
  EXPECT_EQ(decoded.light.main.light, 24);
  EXPECT_EQ(decoded.light.main.speed, 0);
  EXPECT_EQ(decoded.light.logo.speed, 0);
  EXPECT_EQ(decoded.light.strip.light, 24);
  const Json::Value settings = ProfileSettings();
  EXPECT_EQ(settings["LightInfo"]["Speed"].asInt(), 0);
  EXPECT_EQ(settings["LightInfo"]["Light"].asInt(), 24);
  EXPECT_EQ(settings["LogoLightInfo"]["Speed"].asInt(), 0);
  EXPECT_EQ(settings["StLightInfo"]["Light"].asInt(), 24);
  EXPECT_EQ(keyboard_.GetLightInfo().main.speed, 4) << "the device's record holds the speed index";

  // From the profile: Speed 7 goes out as the fastest (byte 0), Light 40 as 24.
  config::LightStateRecord light = Lighting();
  light.main.speed = 7;
  light.main.light = 40;
  keyboard_.Profile().WriteLightInfo(light);
  ASSERT_EQ(keyboard_.WriteSettings(0, 0, 1, 0, 0), 1);
  const std::vector<uint8_t> record = device_->SettingsRecord(0);
  ASSERT_EQ(record.size(), 46u);
  EXPECT_EQ(record[2], 24);
  EXPECT_EQ(record[3], 0);
}

TEST_F(KeyboardSettingsTest, TheActiveProfilesRecordIsReadAndItsNumberReturned) {
  device_->SetActiveProfile(2);
  device_->Log().Clear();
  EXPECT_EQ(keyboard_.ReadDeviceSettings(), 2);
  const auto reads = device_->Log().Frames(kReadSettingsCmd);
  ASSERT_EQ(reads.size(), 2u);
  EXPECT_EQ(reads[1].Offset(), 2 * 46);
  EXPECT_EQ(keyboard_.SettingsRecord()[0], 2);
  EXPECT_EQ(keyboard_.DecodedSettings().profile, 2);
}

TEST_F(KeyboardSettingsTest, AFailedReadLeavesTheProfileAsItWas) {
  PutProfileValues();
  keyboard_.SaveProfile();
  const Json::Value before = ProfileSettings();

  device_->InjectNoAnswer({kReadSettingsCmd, 2});
  keyboard_.ReadDeviceSettings();
  EXPECT_EQ(ProfileSettings(), before);
  EXPECT_EQ(keyboard_.DecodedSettings(), KeyboardSettings{});

  keyboard_.CommandLink().SetConnected(false);
  keyboard_.ReadDeviceSettings();
  EXPECT_EQ(ProfileSettings(), before) << "nor does a keyboard that is gone";
  EXPECT_EQ(keyboard_.WriteSettings(0, 0, 1, 0, 0), 0);
}

TEST_F(KeyboardSettingsTest, AUserChangeIsSavedEvenWhenTheKeyboardDoesNotAnswer) {
  config::KeyboardSystem system = keyboard_.GetKeyboardSystem();
  system.polling_rate = 1;
  device_->InjectNoAnswer({kWriteSettingsCmd, 1});
  EXPECT_NE(keyboard_.ChangeKeyboardSystem(system, true), 1);
  EXPECT_EQ(ProfileSettings()["SystemStages"]["PollingRate"].asInt(), 1);

  system.repeat = 5;
  device_->Log().Clear();
  EXPECT_EQ(keyboard_.ChangeKeyboardSystem(system, false), 0);
  EXPECT_EQ(ProfileSettings()["SystemStages"]["Repeat"].asInt(), 5);
  EXPECT_EQ(device_->Log().CountCommandFrames(sim::Direction::kToDevice), 0u) << "stored only";
}

// A template that is JSON of another shape reads as a template without repeat values; nothing throws.
TEST(KeyboardTemplateTest, ATemplateOfTheWrongShapeResetsTheRepeatValuesToZero) {
  QTemporaryDir root;
  ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("program/DefaultData")));
  testing::ScopedEnv data("XDG_DATA_HOME", root.filePath(QStringLiteral("data")).toStdString());
  testing::ScopedEnv program("ZRV31_PROGRAM_DIR", root.filePath(QStringLiteral("program")).toStdString());
  const QString template_path = root.filePath(QStringLiteral("program/DefaultData/keyboard.Json"));
  CHalveronKeyboardDevice keyboard;
  keyboard.SetProfileId("2024_01_02_03_04_05_006");
  for (const char* text : {"[1, 2]", "{\"Device\": 7}", "{\"Device\": {\"0\": 1}}", "{\"Device\": [\"x\"]}",
                           "{\"Device\": [{\"SystemStages\": [3]}]}",
                           "{\"Device\": [{\"SystemStages\": {\"Repeat\": \"fast\", \"RepeatDelay\": {}}}]}"}) {
    QFile file(template_path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();
    keyboard.ChangeKeyboardSystem(kSystem, false);
    EXPECT_NO_THROW(keyboard.ResetKeyRepeat()) << text;
    const config::KeyboardSystem system = keyboard.GetKeyboardSystem();
    EXPECT_EQ(system.repeat, 0) << text;
    EXPECT_EQ(system.repeat_delay, 0) << text;
    EXPECT_EQ(system.polling_rate, kSystem.polling_rate) << text;
  }
}

// The repeat rate and delay come from "Repeat" and "RepeatDelay" of the template's first settings
// object, each into its own value; the template's other system values are not taken.
TEST(KeyboardTemplateTest, TheTemplateRepeatValuesAreTakenAndNothingElse) {
  QTemporaryDir root;
  ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("program/DefaultData")));
  testing::ScopedEnv data("XDG_DATA_HOME", root.filePath(QStringLiteral("data")).toStdString());
  testing::ScopedEnv program("ZRV31_PROGRAM_DIR", root.filePath(QStringLiteral("program")).toStdString());
  QFile file(root.filePath(QStringLiteral("program/DefaultData/keyboard.Json")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(R"({"Device": [{"SystemStages": {"Repeat": 7, "RepeatDelay": 65836, "PollingRate": 3}}, )"
             R"({"SystemStages": {"Repeat": 1, "RepeatDelay": 2}}]})");
  file.close();
  CHalveronKeyboardDevice keyboard;
  keyboard.SetProfileId("2024_01_02_03_04_05_006");
  keyboard.ChangeKeyboardSystem(kSystem, false);
  keyboard.ResetKeyRepeat();
  const config::KeyboardSystem system = keyboard.GetKeyboardSystem();
  EXPECT_EQ(system.repeat, 7);
  EXPECT_EQ(system.repeat_delay, 300) << "cut to 16 bits";
  EXPECT_EQ(system.polling_rate, kSystem.polling_rate);
  EXPECT_EQ(system.scan_delay, kSystem.scan_delay);
}

}  // namespace
}  // namespace zrv::devices
