// The installed profile templates: byte-exact with the generator, and every getter of each kind
// reads the factory values from them.

#include "config/profile_templates.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "config/eq_preset_table.h"
#include "config/hs6533_profiledata.h"
#include "config/json_file.h"
#include "config/keyboard_profiledata.h"
#include "config/mouse_profiledata.h"
#include "config/test_support.h"
#include "device/key_identity_table.h"

namespace zrv::config {
namespace {

using test::FileBytes;
using test::JsonBytes;

QString TemplatePath(const char* kind) {
  return QDir(QStringLiteral(ZRV31_SOURCE_DIR "/DefaultData")).filePath(QString::fromLatin1(kind) + ".Json");
}

struct Generated {
  const char* kind;
  Json::Value (*build)();
};

TEST(ProfileTemplates, CommittedFilesAreTheGeneratedBytes) {
  const bool write = qEnvironmentVariableIsSet("ZRV31_WRITE_TEMPLATES");
  const Generated all[] = {{"keyboard", test::KeyboardTemplate},
                           {"mouse", test::MouseTemplate},
                           {"MousePad", test::MousePadTemplate},
                           {"HD", test::HeadsetTemplate}};
  for (const Generated& generated : all) {
    const QString path = TemplatePath(generated.kind);
    const Json::Value document = generated.build();
    if (write) {
      ASSERT_TRUE(WriteJsonFile(path, document)) << qPrintable(path);
    }
    EXPECT_EQ(FileBytes(path), JsonBytes(document))
        << qPrintable(path) << " differs from its generator; regenerate it with ZRV31_WRITE_TEMPLATES=1";
  }
}

// A device loads a profile that does not exist yet: it is made from the template.
template <typename Data>
void LoadFromTemplate(Data& data, const QTemporaryDir& dir, const char* kind) {
  data.SetTemplatePath(TemplatePath(kind));
  data.SetProfilePath(dir.filePath("new.Json"));
  ASSERT_TRUE(data.LoadDeviceSection(data.GetProfilePath()).isObject()) << kind;
  ASSERT_FALSE(data.LastWriteFailed());
}

LightStateRecord MainRecord(uint8_t effect) {
  LightStateRecord record;
  record.main = {effect, 24, 2, 1, 1, 255, 0, 0};
  return record;
}

TEST(ProfileTemplates, KeyboardGettersReadTheFactoryValues) {
  QTemporaryDir dir;
  CKeyboardProfiledata data;
  LoadFromTemplate(data, dir, "keyboard");
  EXPECT_EQ(data.ReadLightInfo(), MainRecord(1));
  LightStateRecord logo;
  logo.logo = {0, 24, 2, 1, 1, 0, 255, 255};
  logo.logo_on = 1;
  EXPECT_EQ(data.ReadLogoLightInfo(), logo);
  LightStateRecord strip;
  strip.strip = {0, 24, 2, 1, 1, 0, 255, 255};
  EXPECT_EQ(data.ReadStLightInfo(), strip);
  EXPECT_TRUE(data.GetLedList().empty());

  const std::vector<KeyRecord> keys = data.GetKeyList();
  ASSERT_EQ(keys.size(), device::kKeyboardLogicalKeys);
  for (size_t i = 0; i < keys.size(); ++i) {
    const uint32_t code = device::kKeyIdentityTable[i].Packed();
    EXPECT_EQ(keys[i].default_assignment.Code(), code) << "key " << i;
    EXPECT_EQ(keys[i].assignment.Code(), code) << "key " << i;
    EXPECT_EQ(keys[i].assignment.key, i);
  }
  EXPECT_EQ(data.GetKeyboardSystem(), (KeyboardSystem{31, 1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(data.GetCustomModeIndex(), 0);
  const std::vector<ModeColour> white = data.GetCustomModeColors(0, 126);
  EXPECT_EQ(white[0], (ModeColour{255, 255, 255, 255})) << "Esc";
  EXPECT_EQ(white[16], ModeColour{}) << "an empty position is off";
  const std::vector<ModeColour> gaming = data.GetCustomModeColors(4, 126);
  EXPECT_EQ(gaming[44], (ModeColour{255, 0, 0, 255})) << "W";
  EXPECT_EQ(gaming[96], (ModeColour{255, 0, 0, 255})) << "Up";
  EXPECT_EQ(gaming[0], ModeColour{});
  EXPECT_EQ(data.GetCustomModeColors(3, 126)[108], (ModeColour{0, 0, 255, 255}));
  const Json::Value before = data.GetSettings();
  for (int mode = 0; mode < test::kTemplateCustomModes; ++mode) data.GetCustomModeColors(mode, 126);
  EXPECT_EQ(data.GetSettings(), before) << "the template's modes are complete: reading creates nothing";
}

TEST(ProfileTemplates, MouseGettersReadTheFactoryValues) {
  QTemporaryDir dir;
  CMouseProfiledata data;
  LoadFromTemplate(data, dir, "mouse");
  EXPECT_EQ(data.ReadLightInfo(), MainRecord(0));
  EXPECT_EQ(data.GetLedList(), std::vector<LedRecord>(test::kMouseLeds));
  const std::vector<KeyRecord> keys = data.GetKeyList();
  ASSERT_EQ(keys.size(), device::kMouseLogicalKeys);
  for (size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(keys[i].default_assignment.Code(), device::kMouseKeyIdentityTable[i].code.Packed());
    EXPECT_EQ(keys[i].assignment, keys[i].default_assignment);
  }
  EXPECT_EQ(data.GetDpiStages(), (std::vector<DpiStage>{{1, 0, 8, 8, 255, 0, 0},
                                                        {1, 0, 16, 16, 0, 255, 0},
                                                        {1, 0, 32, 32, 0, 0, 255},
                                                        {1, 0, 64, 64, 255, 255, 0},
                                                        {1, 0, 128, 128, 255, 0, 255}}));
  EXPECT_EQ(data.GetActiveStage(), 1);
  EXPECT_EQ(data.GetMouseSystem(), (MouseSystem{500, 10, 1, 0, 3, 0}));
  const std::vector<Correction> corrections = data.GetCorrections();
  EXPECT_EQ(corrections,
            (std::vector<Correction>{{12, 24, 1, "Standard"}, {16, 32, 0, "Cloth pad"}, {8, 16, 0, "Hard pad"}}));
}

TEST(ProfileTemplates, MousePadGettersReadTheFactoryValues) {
  QTemporaryDir dir;
  CBasicProfiledata data;
  LoadFromTemplate(data, dir, "MousePad");
  EXPECT_EQ(data.ReadLightInfo(), MainRecord(0));
  EXPECT_EQ(data.GetLedList(), std::vector<LedRecord>(test::kMousePadLeds));
  EXPECT_TRUE(data.GetKeyList().empty());
}

TEST(ProfileTemplates, HeadsetGettersReadTheFactoryValues) {
  QTemporaryDir dir;
  CHs6533Profiledata data;
  LoadFromTemplate(data, dir, "HD");
  EXPECT_EQ(data.ReadLightInfo(), MainRecord(0));
  EXPECT_EQ(data.GetLedList(), std::vector<LedRecord>(test::kHeadsetLeds));
  EXPECT_EQ(data.GetHeadsetSettings(), (HeadsetSettings{0, 1, 5, 0, 1, 80, 0, 50}));
  for (int preset = 1; preset <= kEqPresetCount; ++preset) {
    const auto& gains = kEqPresetTable[static_cast<size_t>(preset)];
    EXPECT_EQ(data.GetEqCurve(preset), EqCurve(gains.begin(), gains.end())) << "preset " << preset;
  }
  EXPECT_EQ(data.GetEqCurve(2), (EqCurve{7, 11, 6, -3, -11, -1, 6, 13, 6, 13}));
  EXPECT_EQ(data.GetEqCurve(5), EqCurve(10, 0));
  EXPECT_TRUE(data.GetCustomEqNames().isEmpty());
}

TEST(ProfileTemplates, EveryTemplateIsACompleteProfile) {
  for (const char* kind : {"keyboard", "mouse", "MousePad", "HD"}) {
    const Json::Value document = ReadJsonFile(TemplatePath(kind));
    ASSERT_TRUE(document.isObject()) << kind;
    EXPECT_TRUE(document.isMember("profilename")) << kind;
    EXPECT_TRUE(document.isMember("profileUUID")) << kind;
    EXPECT_TRUE(document["Device"][0]["LightInfo"].isObject()) << kind;
  }
}

}  // namespace
}  // namespace zrv::config
