// The profile bar built from the skin's layout: its parts, the rows mirroring the list file, the
// tabs of each device kind, and the messages it gives.

#include "controls/device_profile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <memory>

#include "config/json_file.h"
#include "ui/control_factory.h"
#include "ui/dialog_builder.h"
#include "ui/lookup.h"
#include "ui/resources.h"

namespace zrv::controls {
namespace {

const QString kSkin = QStringLiteral(ZRV31_SOURCE_DIR "/skin");
const QString kKeyboardTemplate = QStringLiteral(ZRV31_SOURCE_DIR "/DefaultData/keyboard.Json");

class ProfileBar : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::Resources::Instance().SetResourcePath(kSkin);
    ui::RegistControl<CDeviceProfileUI>(QStringLiteral("CDeviceProfileUI"));
    Build();
  }
  // A new bar from the layout (over the same data folder).
  void Build() {
    messages_.clear();
    ui::DialogBuilder builder;
    root_.reset(builder.Create(QStringLiteral("XML\\CustomControlXML\\DeviceProfile.xml")));
    ASSERT_NE(root_, nullptr) << builder.Error().ToString().toStdString();
    bar_ = dynamic_cast<CDeviceProfileUI*>(root_.get());
    ASSERT_NE(bar_, nullptr);
    bar_->SetMessageSink([this](const QString& id) { messages_ << id; });
  }
  void TearDown() override { ui::ControlFactory::Instance().Unregister(QStringLiteral("CDeviceProfileUI")); }

  void Init(device::DeviceKind kind) {
    bar_->SetDeviceKind(kind);
    bar_->SetPaths(dir_.path() + "/", kKeyboardTemplate);
    ASSERT_TRUE(bar_->InitProfiles());
    bar_->SelectOpTab(1);
  }
  QStringList Rows() const {
    QStringList rows;
    ui::Combo* combo = bar_->ProfileCombo();
    for (int i = 0; i < combo->GetCount(); ++i) rows << combo->GetItemText(i);
    return rows;
  }
  // The names the list file holds, in order.
  QStringList ListedNames() {
    QStringList names;
    for (const config::ProfileEntry& entry : bar_->List().Load()) names << entry.name;
    return names;
  }
  QString VisibleTabs() const {
    QStringList shown;
    for (int n = 1; n <= 8; ++n) {
      if (bar_->OpTab(n)->IsVisible()) shown << QString::number(n);
    }
    return shown.join(',');
  }

  QTemporaryDir dir_;
  std::unique_ptr<ui::Control> root_;
  CDeviceProfileUI* bar_ = nullptr;
  QStringList messages_;
};

TEST_F(ProfileBar, TheLayoutHoldsEveryPartOfTheBar) {
  EXPECT_EQ(bar_->GetName(), "DeviceProfileItem");
  EXPECT_EQ(bar_->GetClass(), "DeviceProfile");
  EXPECT_NE(bar_->ProfileCombo(), nullptr);
  EXPECT_NE(bar_->NameEdit(), nullptr);
  ASSERT_NE(bar_->MenuLayout(), nullptr);
  for (int n = 1; n <= 8; ++n) EXPECT_NE(bar_->OpTab(n), nullptr) << n;
  EXPECT_EQ(bar_->OpTab(0), nullptr);
  EXPECT_EQ(bar_->OpTab(9), nullptr);
  for (const char* button :
       {"device_add_btn", "device_sub_btn", "device_copy_btn", "device_import_btn", "device_export_btn",
        "device_reset_btn", "device_profile_edit_save_btn", "profile_fun_spread_btn"}) {
    EXPECT_NE(ui::FindSubControlByName<ui::Button>(bar_, button), nullptr) << button;
  }
  EXPECT_FALSE(bar_->IsMenuVisible()) << "the tools start folded";
}

TEST_F(ProfileBar, FirstStartShowsProfile1Selected) {
  Init(device::DeviceKind::kKeyboard);
  EXPECT_EQ(Rows(), QStringList{"profile1"});
  EXPECT_EQ(bar_->GetCurSel(), 0);
  EXPECT_EQ(bar_->GetCurItemText(), "profile1");
  EXPECT_EQ(bar_->NameEdit()->GetText(), "profile1");
  EXPECT_EQ(bar_->GetCurrentProfileId(), bar_->List().SelectedId());
  EXPECT_TRUE(QFile::exists(dir_.filePath(bar_->GetCurrentProfileId() + ".Json")));
  EXPECT_EQ(bar_->ProfileCombo()->GetItemUserData(0), "profile1");
  EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(ProfileBar, EachDeviceKindShowsItsTabs) {
  // Tabs a kind does not name keep the skin's state: 1-5 shown, 6-8 hidden.
  using enum device::DeviceKind;
  const std::pair<device::DeviceKind, const char*> expected[] = {
      {kKeyboard, "1,2,3,4"},        {kMouse, "1,2,3,4,5"}, {kMousePad, "1"}, {kHeadsetAlias, "1,4"}, {kHub, "1"},
      {kWirelessMouse, "1,2,3,4,5"}, {kHeadset, "1,6,7,8"}};
  for (const auto& [kind, tabs] : expected) {
    Build();
    Init(kind);
    EXPECT_EQ(VisibleTabs(), tabs) << "kind " << device::KindNumber(kind);
  }
}

TEST_F(ProfileBar, SelectOpTabSelectsExactlyOneTabSilently) {
  Init(device::DeviceKind::kHeadset);
  for (int n = 1; n <= 8; ++n) {
    bar_->SelectOpTab(n);
    for (int i = 1; i <= 8; ++i) EXPECT_EQ(bar_->OpTab(i)->IsSelected(), i == n) << n << " " << i;
  }
  // The tabs of two bars do not exclude each other.
  ui::DialogBuilder builder;
  std::unique_ptr<ui::Control> other(builder.Create(QStringLiteral("XML/CustomControlXML/DeviceProfile.xml")));
  auto* second = dynamic_cast<CDeviceProfileUI*>(other.get());
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second->OpTab(1)->GetGroup(), bar_->OpTab(1)->GetGroup());
}

TEST_F(ProfileBar, NewAddsARowButKeepsTheShownProfile) {
  Init(device::DeviceKind::kKeyboard);
  const QString current = bar_->GetCurrentProfileId();
  ASSERT_TRUE(bar_->NewProfile());
  EXPECT_EQ(Rows(), (QStringList{"profile1", "profile2"}));
  EXPECT_EQ(bar_->GetCurSel(), 0);
  EXPECT_EQ(bar_->NameEdit()->GetText(), "profile1");
  EXPECT_EQ(bar_->GetCurrentProfileId(), current);
  bar_->List().Load();
  EXPECT_EQ(bar_->List().RecordedSelection(), 1) << "the new profile is the one of the next start";
}

TEST_F(ProfileBar, RowsFollowCopyImportAndDelete) {
  Init(device::DeviceKind::kKeyboard);
  ASSERT_TRUE(bar_->CopyProfile());
  QTemporaryDir elsewhere;
  const QString file = elsewhere.filePath("Game.json");
  config::WriteJsonFile(file, [] {
    Json::Value profile(Json::objectValue);
    profile["profilename"] = "x";
    profile["profileUUID"] = "y";
    return profile;
  }());
  ASSERT_TRUE(bar_->ImportProfile(file));
  EXPECT_EQ(Rows(), (QStringList{"profile1", "profile1 copy", "Game"}));
  EXPECT_EQ(Rows(), ListedNames());

  ASSERT_TRUE(bar_->SelectProfile(2, false));
  ASSERT_TRUE(bar_->DeleteProfile());
  EXPECT_EQ(Rows(), (QStringList{"profile1", "profile1 copy"}));
  EXPECT_EQ(bar_->GetCurSel(), 1);
  EXPECT_EQ(bar_->NameEdit()->GetText(), "profile1 copy");
  EXPECT_EQ(Rows(), ListedNames());

  bar_->SelectProfile(0, false);
  ASSERT_TRUE(bar_->DeleteProfile());
  EXPECT_EQ(bar_->GetCurSel(), 0);
  EXPECT_FALSE(bar_->DeleteProfile());
  EXPECT_EQ(messages_, QStringList{"message_text_11"});
  EXPECT_EQ(Rows(), QStringList{"profile1 copy"});
}

TEST_F(ProfileBar, RenameUpdatesTheRowOrRefuses) {
  Init(device::DeviceKind::kKeyboard);
  bar_->NewProfile();
  EXPECT_EQ(bar_->RenameProfile("Game"), config::kRenameDone);
  EXPECT_EQ(bar_->GetCurItemText(), "Game");
  EXPECT_EQ(bar_->ProfileCombo()->GetItemUserData(0), "Game");
  EXPECT_EQ(bar_->NameEdit()->GetText(), "Game");
  EXPECT_EQ(bar_->RenameProfile("PROFILE2"), config::kRenameNameUsed);
  EXPECT_EQ(bar_->RenameProfile(" x"), config::kRenameLeadingSpace);
  EXPECT_EQ(bar_->RenameProfile("a&b"), config::kRenameAmpersand);
  EXPECT_EQ(Rows(), (QStringList{"Game", "profile2"}));
  EXPECT_TRUE(messages_.isEmpty()) << "the rename flow tells the user";
}

TEST_F(ProfileBar, ANameWithAnAmpersandIsReportedAndReadAsEmpty) {
  Init(device::DeviceKind::kKeyboard);
  bar_->SetNameEditText("Tom & Jerry");
  EXPECT_EQ(bar_->GetNameEditText(), "");
  EXPECT_EQ(messages_, QStringList{"message_text_5_3"});
  bar_->SetNameEditText("Tom");
  EXPECT_EQ(bar_->GetNameEditText(), "Tom");
}

TEST_F(ProfileBar, TheMenuFoldsInAndOut) {
  bar_->SetMenuVisible(true);
  EXPECT_TRUE(bar_->IsMenuVisible());
  bar_->SetMenuVisible(false);
  EXPECT_FALSE(bar_->IsMenuVisible());
}

TEST_F(ProfileBar, AListThatCannotBeWrittenIsReported) {
  ASSERT_TRUE(QDir(dir_.path()).mkpath("ProfileList.ini"));
  bar_->SetDeviceKind(device::DeviceKind::kKeyboard);
  bar_->SetPaths(dir_.path(), kKeyboardTemplate);
  EXPECT_FALSE(bar_->InitProfiles());
  EXPECT_EQ(messages_, QStringList{"message_text_save_failed"});
  EXPECT_EQ(bar_->ProfileCombo()->GetCount(), 0);
  EXPECT_EQ(bar_->GetCurrentProfileId(), "");
  EXPECT_FALSE(bar_->DeleteProfile());
  EXPECT_FALSE(bar_->ExportProfile(dir_.filePath("x.json")));
}

TEST_F(ProfileBar, WhatIsToldBeforeThereIsASinkReachesTheFirstSinkOnce) {
  ASSERT_TRUE(QDir(dir_.path()).mkpath("ProfileList.ini"));
  bar_->SetMessageSink(nullptr);  // as the page builds the bar
  bar_->SetDeviceKind(device::DeviceKind::kKeyboard);
  bar_->SetPaths(dir_.path(), kKeyboardTemplate);
  EXPECT_FALSE(bar_->InitProfiles());
  EXPECT_FALSE(bar_->InitProfiles());
  bar_->SetMessageSink([this](const QString& id) { messages_ << id; });
  EXPECT_EQ(messages_, QStringList{"message_text_save_failed"});
  bar_->SetMessageSink([this](const QString& id) { messages_ << id; });
  EXPECT_EQ(messages_.size(), 1);
}

TEST_F(ProfileBar, CopiedAndImportedNamesShowWholeInTheNameField) {
  EXPECT_EQ(bar_->NameEdit()->GetMaxChar(), config::ProfileList::kMaxNameLength);
  Init(device::DeviceKind::kKeyboard);
  QTemporaryDir elsewhere;
  const QString file =
      elsewhere.filePath(QString(24, 'N') + QString::fromUtf8("\xC3\xA9\xF0\x9F\x8E\xAE").repeated(6) + ".json");
  config::WriteJsonFile(file, config::ParseJson(R"({"profilename":"x","profileUUID":"y"})"));
  ASSERT_TRUE(bar_->ImportProfile(file));
  ASSERT_TRUE(bar_->SelectProfile(1, false));
  ASSERT_TRUE(bar_->CopyProfile());
  for (int row : {1, 2}) {
    bar_->SelectProfile(row, false);
    EXPECT_EQ(bar_->NameEdit()->GetText(), bar_->GetCurItemText()) << row;
    EXPECT_EQ(bar_->GetNameEditText(), bar_->GetCurItemText()) << row;
  }
  EXPECT_TRUE(bar_->GetCurItemText().endsWith(" copy"));
  // Saving the name as the field shows it renames nothing.
  EXPECT_EQ(bar_->RenameProfile(bar_->GetNameEditText()), config::kRenameDone);
  EXPECT_EQ(Rows(), ListedNames());
}

TEST_F(ProfileBar, AnIdentifierThatIsNoPlainFileNameIsNeverHandedOn) {
  Init(device::DeviceKind::kKeyboard);
  const QString id = bar_->GetCurrentProfileId();
  // The list changed on disk behind the bar (hand-edited, or a repair that could not be written).
  config::WriteJsonFile(dir_.filePath("ProfileList.ini"),
                        config::ParseJson(R"({"profilelist":[{"profilename":"profile1","profileUUID":"../x"}],
                                              "profileselect":0})"));
  bar_->SelectProfile(0, false);
  EXPECT_EQ(bar_->GetCurrentProfileId(), id);
}

TEST_F(ProfileBar, WithoutItsPartsTheBarDoesNothing) {
  CDeviceProfileUI empty;
  EXPECT_EQ(empty.GetCurSel(), -1);
  EXPECT_EQ(empty.GetCurItemText(), "");
  EXPECT_EQ(empty.GetNameEditText(), "");
  EXPECT_FALSE(empty.IsMenuVisible());
  EXPECT_EQ(empty.RenameProfile("x"), config::kRenameNameUsed);
  EXPECT_FALSE(empty.SelectProfile(0, false));
  empty.SelectOpTab(1);
}

}  // namespace
}  // namespace zrv::controls
