// The main window's profile flows over a profile bar built from the skin and a recording device:
// confirmations, import and export through the file dialogs, renaming, resets per device kind and
// the 400 ms switch.

#include "app/profile_flows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <vector>

#include "app/control_classes.h"
#include "app/main_wnd.h"
#include "app/msg_wnd.h"
#include "app/profile_flows_device.h"
#include "app/window_timers.h"
#include "config/json_file.h"
#include "controls/device_profile.h"
#include "device/device_tables.h"
#include "devices/model/device_folders.h"
#include "main_wnd_support.h"
#include "ui/dialog_builder.h"
#include "ui/file_dialog.h"
#include "ui/language.h"

namespace zrv::app {
namespace {

const QString kTemplates = QStringLiteral(ZRV31_SOURCE_DIR "/DefaultData/");

// Writes down what the flows do to the device.
class RecordingDevice : public ProfileDevice {
 public:
  device::DeviceKind Kind() const override { return kind; }
  void SetProfileId(const QString& id) override { log << "SetProfileId " + id; }
  void LoadProfile() override { log << "LoadProfile"; }
  void CheckAssignments() override { log << "CheckAssignments"; }
  void RefreshPage() override { log << "RefreshPage"; }
  int WriteSettings(int index, int first, int third, int width, int height) override {
    log << QString("WriteSettings %1 %2 %3 %4 %5").arg(index).arg(first).arg(third).arg(width).arg(height);
    return 1;
  }
  int WriteMacros() override {
    log << "WriteMacros";
    return macro_result;
  }
  int WriteKeyAssignmentList(int index) override {
    log << QString("WriteKeyAssignmentList %1").arg(index);
    return 1;
  }
  void ReloadCustomLightModes() override { log << "ReloadCustomLightModes"; }
  void HideKeySetLayout() override { log << "HideKeySetLayout"; }
  void DisableKeySaveButtons() override { log << "DisableKeySaveButtons"; }

  QString Presence() const override { return presence; }

  device::DeviceKind kind = device::DeviceKind::kKeyboard;
  int macro_result = 0;
  QString presence = "hidraw-1";
  QStringList log;
};

// Answers the message boxes (confirming unless told otherwise) and writes them down; the file
// dialogs are the real ones, answered through the file-dialog hook.
class RecordingAsker : public ProfileAsker {
 public:
  int MessageBox(const QString& text, bool text_is_id, int buttons) override {
    boxes << (text_is_id ? text : "text:" + text) + (buttons == kConfirmAndCancel ? "?" : "");
    if (while_open) while_open();  // what happens while the box is open
    return confirm ? 1 : 0;
  }
  bool confirm = true;
  std::function<void()> while_open;
  QStringList boxes;
};

class ProfileFlowsTest : public ::testing::Test {
 protected:
  void SetUp() override { Build(device::DeviceKind::kKeyboard, "keyboard"); }
  void TearDown() override { ui::SetFileDialogHook(nullptr); }

  // A bar of a device of `kind` over a new data folder, initialised as the page does.
  void Build(device::DeviceKind kind, const QString& template_name) {
    data_ = std::make_unique<QTemporaryDir>();
    ui::DialogBuilder builder;
    root_.reset(builder.Create(QStringLiteral("XML/CustomControlXML/DeviceProfile.xml")));
    ASSERT_NE(root_, nullptr) << builder.Error().ToString().toStdString();
    bar_ = dynamic_cast<controls::CDeviceProfileUI*>(root_.get());
    ASSERT_NE(bar_, nullptr);
    bar_->SetDeviceKind(kind);
    bar_->SetPaths(data_->path() + "/", kTemplates + template_name + ".Json");
    ASSERT_TRUE(bar_->InitProfiles());
    bar_->SelectOpTab(1);
    device_ = std::make_shared<RecordingDevice>();
    device_->kind = kind;
    flows_ = std::make_unique<ProfileFlows>(asker_, [this] { return ProfileFlows::Target{bar_, device_}; });
    flows_->SetScreenSize(QSize(1920, 1080));
  }

  // A second device page, a mouse's, with a bar of its own; the flows see it as the shown page
  // while other_shown_ is set.
  void AddMousePage() {
    other_data_ = std::make_unique<QTemporaryDir>();
    ui::DialogBuilder builder;
    other_root_.reset(builder.Create(QStringLiteral("XML/CustomControlXML/DeviceProfile.xml")));
    other_bar_ = dynamic_cast<controls::CDeviceProfileUI*>(other_root_.get());
    ASSERT_NE(other_bar_, nullptr);
    other_bar_->SetDeviceKind(device::DeviceKind::kMouse);
    other_bar_->SetPaths(other_data_->path() + "/", kTemplates + "mouse.Json");
    ASSERT_TRUE(other_bar_->InitProfiles());
    other_bar_->NewProfile();
    other_device_ = std::make_shared<RecordingDevice>();
    other_device_->kind = device::DeviceKind::kMouse;
    flows_ = std::make_unique<ProfileFlows>(asker_, [this] {
      return other_shown_ ? ProfileFlows::Target{other_bar_, other_device_} : ProfileFlows::Target{bar_, device_};
    });
    flows_->SetBarDeviceProvider([this](controls::CDeviceProfileUI* bar) -> std::shared_ptr<ProfileDevice> {
      if (bar == bar_) return device_;
      if (bar == other_bar_) return other_device_;
      return nullptr;
    });
    flows_->SetScreenSize(QSize(1920, 1080));
  }

  QStringList Rows() const {
    QStringList rows;
    for (int i = 0; i < bar_->ProfileCombo()->GetCount(); ++i) rows << bar_->ProfileCombo()->GetItemText(i);
    return rows;
  }
  QString Data(const QString& name) const { return data_->filePath(name); }
  QStringList DataFiles() const { return QDir(data_->path()).entryList(QDir::Files, QDir::Name); }
  // The user picks row `position` of the drop-down list.
  void UserSelects(int position) {
    bar_->ProfileCombo()->SelectItem(position);
    flows_->OnProfileSelected();
  }
  // Answers every file dialog with `path`, keeping the requests.
  void AnswerDialogs(const QString& path) {
    ui::SetFileDialogHook([this, path](const ui::FileDialogRequest& request) {
      requests_.push_back(request);
      return path;
    });
  }

  std::unique_ptr<QTemporaryDir> data_;
  QTemporaryDir elsewhere_;
  std::unique_ptr<ui::Control> root_;
  controls::CDeviceProfileUI* bar_ = nullptr;
  std::shared_ptr<RecordingDevice> device_;
  std::unique_ptr<QTemporaryDir> other_data_;  // AddMousePage
  std::unique_ptr<ui::Control> other_root_;
  controls::CDeviceProfileUI* other_bar_ = nullptr;
  std::shared_ptr<RecordingDevice> other_device_;
  bool other_shown_ = false;
  RecordingAsker asker_;
  std::unique_ptr<ProfileFlows> flows_;
  std::vector<ui::FileDialogRequest> requests_;
};

TEST_F(ProfileFlowsTest, EveryChangeIsConfirmedFirstAndDecliningChangesNothing) {
  bar_->CopyProfile();  // two profiles, so that delete is possible
  const QStringList files = DataFiles();
  asker_.confirm = false;
  for (const char* button : {"device_add_btn", "device_sub_btn", "device_copy_btn", "device_reset_btn"}) {
    EXPECT_TRUE(flows_->OnClick(button));
  }
  EXPECT_EQ(asker_.boxes,
            (QStringList{"message_text_27?", "message_text_29?", "message_text_26?", "message_text_22?"}));
  EXPECT_EQ(Rows(), (QStringList{"profile1", "profile1 copy"}));
  EXPECT_EQ(DataFiles(), files);
  EXPECT_TRUE(device_->log.isEmpty());
  EXPECT_FALSE(flows_->SwitchPending());

  asker_.confirm = true;
  flows_->OnClick("DEVICE_ADD_BTN");
  flows_->OnClick("device_copy_btn");
  EXPECT_EQ(Rows(), (QStringList{"profile1", "profile1 copy", "profile2", "profile1 copy copy"}));
}

TEST_F(ProfileFlowsTest, ButtonsAreRoutedByName) {
  EXPECT_FALSE(flows_->OnClick("device_select_next"));
  EXPECT_FALSE(flows_->OnClick("PROFILE_FUN_SPREAD_BTN")) << "the spread button is compared with case";
  EXPECT_TRUE(flows_->OnClick("profile_fun_spread_btn"));
  EXPECT_TRUE(bar_->IsMenuVisible());
  flows_->OnClick("profile_fun_spread_btn");
  EXPECT_FALSE(bar_->IsMenuVisible());
}

TEST_F(ProfileFlowsTest, NothingHappensWithoutADevice) {
  ProfileFlows none(asker_, [] { return ProfileFlows::Target{}; });
  AnswerDialogs(elsewhere_.filePath("x.json"));
  for (const char* button :
       {"device_add_btn", "device_sub_btn", "device_copy_btn", "device_import_btn", "device_export_btn",
        "device_reset_btn", "device_profile_edit_save_btn", "profile_fun_spread_btn"}) {
    EXPECT_TRUE(none.OnClick(button));
  }
  none.OnProfileSelected();
  none.SwitchProfile();
  EXPECT_TRUE(asker_.boxes.isEmpty());
  EXPECT_TRUE(requests_.empty());
  EXPECT_FALSE(bar_->IsMenuVisible());
}

TEST_F(ProfileFlowsTest, ImportGoesThroughTheOpenDialogAndTakesOnlyProfiles) {
  const QString file = elsewhere_.filePath("Game.json");
  config::WriteJsonFile(file, config::ParseJson(R"({"Device":[{"x":1}],"profilename":"a","profileUUID":"b"})"));
  AnswerDialogs(file);
  flows_->OnClick("device_import_btn");
  ASSERT_EQ(requests_.size(), 1u);
  EXPECT_FALSE(requests_[0].save);
  EXPECT_EQ(requests_[0].filter, "Profile Files(*.json)");
  EXPECT_EQ(Rows(), (QStringList{"profile1", "Game"}));

  // Not JSON, a member missing, far too large, or cancelled: nothing happens, nothing is said.
  const QString hostile = elsewhere_.filePath("hostile.json");
  for (const QByteArray& content : {QByteArray("<xml/>"), QByteArray(R"({"profilename":"a"})"),
                                    QByteArray(R"({"profileUUID":"a"})"), QByteArray(R"([])")}) {
    QFile out(hostile);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(content);
    out.close();
    AnswerDialogs(hostile);
    flows_->OnClick("device_import_btn");
  }
  QFile huge(hostile);
  ASSERT_TRUE(huge.open(QIODevice::WriteOnly | QIODevice::Truncate));
  huge.write(R"({"profilename":"a","profileUUID":"b","x":")");
  huge.write(QByteArray(config::kMaxJsonFileBytes, 'x'));
  huge.write("\"}");
  huge.close();
  flows_->OnClick("device_import_btn");
  AnswerDialogs(QString());
  flows_->OnClick("device_import_btn");
  EXPECT_EQ(Rows(), (QStringList{"profile1", "Game"}));
  EXPECT_TRUE(asker_.boxes.isEmpty());
}

TEST_F(ProfileFlowsTest, ExportGoesThroughTheSaveDialog) {
  const QString out = elsewhere_.filePath("mine.json");
  AnswerDialogs(out);
  flows_->OnClick("device_export_btn");
  ASSERT_EQ(requests_.size(), 1u);
  EXPECT_TRUE(requests_[0].save);
  EXPECT_EQ(requests_[0].defaultExt, "json");
  EXPECT_EQ(requests_[0].filter, "Profile Files(*.json)");
  EXPECT_EQ(config::ReadJsonFile(out), config::ReadJsonFile(Data(bar_->GetCurrentProfileId() + ".Json")));
  EXPECT_TRUE(config::ProfileList::IsImportableProfile(out));

  AnswerDialogs(QString());  // cancelled
  flows_->OnClick("device_export_btn");
  AnswerDialogs(elsewhere_.filePath("no/such/folder/mine.json"));
  flows_->OnClick("device_export_btn");
  EXPECT_EQ(asker_.boxes, QStringList{"message_text_save_failed"});
}

TEST_F(ProfileFlowsTest, FiftyProfilesRefuseNewAndExportWithAMessage) {
  for (int i = 1; i < 50; ++i) bar_->CopyProfile();
  ASSERT_EQ(bar_->ProfileCombo()->GetCount(), 50);
  AnswerDialogs(elsewhere_.filePath("out.json"));
  flows_->OnClick("device_add_btn");
  flows_->OnClick("device_export_btn");
  EXPECT_EQ(asker_.boxes, (QStringList{"message_text_27?", "message_text_30", "message_text_30"}));
  EXPECT_FALSE(QFile::exists(elsewhere_.filePath("out.json")));
  flows_->OnClick("device_copy_btn");
  EXPECT_EQ(bar_->ProfileCombo()->GetCount(), 51) << "copies are not limited";
}

TEST_F(ProfileFlowsTest, RenameRefusalsAreShownAndTheOldNameComesBack) {
  bar_->NewProfile();
  const QByteArray list = [this] {
    QFile file(Data("ProfileList.ini"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }();
  const std::pair<QString, QStringList> refusals[] = {
      {"", {"message_text_5_1"}},
      {"Tom & Jerry", {"message_text_5_3", "message_text_5_1"}},
      {" Game", {"message_text_25"}},
      {"PROFILE2", {"message_text_5"}},
  };
  for (const auto& [name, messages] : refusals) {
    asker_.boxes.clear();
    bar_->SetNameEditText(name);
    flows_->OnClick("device_profile_edit_save_btn");
    EXPECT_EQ(asker_.boxes, messages) << name.toStdString();
    EXPECT_EQ(bar_->NameEdit()->GetText(), "profile1") << name.toStdString();
  }
  QFile file(Data("ProfileList.ini"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), list) << "no refusal changes a file";

  asker_.boxes.clear();
  bar_->SetNameEditText("GAME");
  flows_->OnClick("device_profile_edit_save_btn");
  EXPECT_TRUE(asker_.boxes.isEmpty());
  EXPECT_EQ(Rows(), (QStringList{"GAME", "profile2"}));
  bar_->SetNameEditText("game");
  flows_->OnClick("device_profile_edit_save_btn");
  EXPECT_EQ(bar_->GetCurItemText(), "game") << "its own name in other letters";
}

TEST_F(ProfileFlowsTest, ThreeQuickSelectionsSwitchOnceToTheLast) {
  bar_->NewProfile();
  bar_->NewProfile();
  const QString last_id = bar_->List().Entries()[2].id;
  UserSelects(1);
  UserSelects(2);
  UserSelects(0);
  UserSelects(2);
  EXPECT_TRUE(flows_->SwitchPending());
  EXPECT_TRUE(device_->log.isEmpty()) << "nothing before the timer fires";
  ASSERT_TRUE(QTest::qWaitFor([this] { return !device_->log.isEmpty(); }, 3000));
  QTest::qWait(kProfileSwitchDelayMs + 100);
  EXPECT_EQ(device_->log, (QStringList{"SetProfileId " + last_id, "LoadProfile", "CheckAssignments", "RefreshPage",
                                       "WriteSettings 0 0 1 1920 1080", "WriteMacros", "ReloadCustomLightModes",
                                       "WriteKeyAssignmentList 0"}));
  EXPECT_EQ(bar_->GetCurrentProfileId(), last_id);
  bar_->List().Load();
  EXPECT_EQ(bar_->List().RecordedSelection(), 2);
  EXPECT_FALSE(flows_->SwitchPending());
}

TEST_F(ProfileFlowsTest, EverySelectionStartsTheTimerAgain) {
  bar_->NewProfile();
  UserSelects(1);
  QTest::qWait(150);
  if (!flows_->SwitchPending()) GTEST_SKIP() << "the machine was too slow to tell";
  const int left = flows_->SwitchRemainingMs();
  UserSelects(0);
  EXPECT_GT(flows_->SwitchRemainingMs(), left);
  // One switch, to the last selection.
  ASSERT_TRUE(QTest::qWaitFor([this] { return !device_->log.isEmpty(); }, 3000));
  EXPECT_EQ(device_->log.front(), "SetProfileId " + bar_->List().Entries()[0].id);
}

TEST_F(ProfileFlowsTest, AWindowMayKeepTheSwitchTimerItself) {
  int started = 0;
  flows_->SetSwitchTimerStarter([&started] { ++started; });
  bar_->NewProfile();
  UserSelects(1);
  bar_->SelectProfile(0, false);
  flows_->OnClick("device_sub_btn");
  EXPECT_EQ(started, 2) << "selections and deletes start the window's timer";
  EXPECT_FALSE(flows_->SwitchPending());
  flows_->SwitchProfile();  // the window's timer fired
  EXPECT_EQ(device_->log.front(), "SetProfileId " + bar_->GetCurrentProfileId());
}

TEST_F(ProfileFlowsTest, ARenameWhileASwitchIsPendingNeverRenamesTheOtherProfile) {
  bar_->NewProfile();
  const QString second_id = bar_->List().Entries()[1].id;
  bar_->SetNameEditText("Work");  // typed for profile1, which the field still shows
  UserSelects(1);
  flows_->OnClick("device_profile_edit_save_btn");
  EXPECT_EQ(Rows(), (QStringList{"profile1", "profile2"}));
  EXPECT_EQ(device_->log.value(0), "SetProfileId " + second_id) << "the pending switch is done first";
  EXPECT_EQ(bar_->GetCurrentProfileId(), second_id);
  EXPECT_EQ(bar_->NameEdit()->GetText(), "profile2");
  EXPECT_TRUE(asker_.boxes.isEmpty());

  // With the window's timer: when it fires after such a rename, the device is not written again.
  flows_->SetSwitchTimerStarter([] {});
  UserSelects(0);
  device_->log.clear();
  flows_->OnClick("device_profile_edit_save_btn");
  const QStringList once = device_->log;
  flows_->SwitchProfile();  // the window's timer
  EXPECT_EQ(device_->log, once);
  flows_->SwitchProfile();  // a later call switches again
  EXPECT_GT(device_->log.size(), once.size());
}

TEST_F(ProfileFlowsTest, ASelectionIsAppliedToItsOwnPageWhenAnotherPageIsShownMeanwhile) {
  // A second device page with a bar of its own.
  ASSERT_NO_FATAL_FAILURE(AddMousePage());
  controls::CDeviceProfileUI* other_bar = other_bar_;
  const std::shared_ptr<RecordingDevice>& other_device = other_device_;
  bool& other_shown = other_shown_;
  bar_->NewProfile();
  const QString keyboard_second = bar_->List().Entries()[1].id;

  // Chosen on the keyboard's page, then the mouse's page comes up before the timer fires.
  UserSelects(1);
  other_shown = true;
  flows_->SwitchProfile();
  EXPECT_EQ(device_->log.value(0), "SetProfileId " + keyboard_second);
  EXPECT_EQ(bar_->GetCurrentProfileId(), keyboard_second);
  EXPECT_EQ(bar_->NameEdit()->GetText(), "profile2");
  EXPECT_TRUE(other_device->log.isEmpty());

  // Chosen on the mouse's page, then on the keyboard's before the timer fires: both switch.
  device_->log.clear();
  const QString mouse_second = other_bar->List().Entries()[1].id;
  other_bar->ProfileCombo()->SelectItem(1);
  flows_->OnProfileSelected();
  other_shown = false;
  bar_->ProfileCombo()->SelectItem(0);
  flows_->OnProfileSelected();
  EXPECT_EQ(other_device->log.value(0), "SetProfileId " + mouse_second);
  EXPECT_EQ(other_bar->GetCurrentProfileId(), mouse_second);
  flows_->SwitchProfile();
  EXPECT_EQ(device_->log.value(0), "SetProfileId " + bar_->List().Entries()[0].id);
}

TEST_F(ProfileFlowsTest, SwitchTellsWhenTheMacrosCannotBeWritten) {
  ASSERT_TRUE(ui::LoadLanguage("lan_en.xml"));
  device_->macro_result = -1;
  flows_->SwitchProfile();
  device_->macro_result = 7;
  flows_->SwitchProfile();
  ASSERT_EQ(asker_.boxes.size(), 2);
  EXPECT_EQ(asker_.boxes[0], "message_text_7");
  EXPECT_TRUE(asker_.boxes[1].startsWith("text:")) << asker_.boxes[1].toStdString();
  EXPECT_TRUE(asker_.boxes[1].contains("(7 entries too many)")) << asker_.boxes[1].toStdString();
  EXPECT_EQ(MacrosTooLargeText(3).count('%'), 0);
}

TEST_F(ProfileFlowsTest, DeleteSwitchesToThePreviousProfile) {
  bar_->NewProfile();
  bar_->SelectProfile(1, false);
  const QString first_id = bar_->List().Entries()[0].id;
  const QString deleted_file = Data(bar_->GetCurrentProfileId() + ".Json");
  flows_->OnClick("device_sub_btn");
  EXPECT_FALSE(QFile::exists(deleted_file));
  EXPECT_EQ(Rows(), QStringList{"profile1"});
  EXPECT_TRUE(flows_->SwitchPending());
  ASSERT_TRUE(QTest::qWaitFor([this] { return !device_->log.isEmpty(); }, 3000));
  EXPECT_EQ(device_->log.front(), "SetProfileId " + first_id);
  EXPECT_EQ(bar_->GetCurrentProfileId(), first_id);

  device_->log.clear();
  flows_->OnClick("device_sub_btn");
  EXPECT_EQ(asker_.boxes.mid(1), (QStringList{"message_text_29?", "message_text_11"}));
  EXPECT_FALSE(flows_->SwitchPending());
}

TEST_F(ProfileFlowsTest, AFlowWhoseDeviceLeavesWhileTheUserIsAskedEndsWithoutWriting) {
  bar_->NewProfile();
  const QString elsewhere_file = elsewhere_.filePath("Game.json");
  config::WriteJsonFile(elsewhere_file, config::ParseJson(R"({"profilename":"a","profileUUID":"b"})"));
  const QString exported = elsewhere_.filePath("out.json");
  // The device unplugged, or unplugged and plugged in again (a connection of its own).
  for (const QString& after : {QString(), QString("hidraw-2")}) {
    const QStringList files = DataFiles();
    const QByteArray list = config::FormatJson(config::ReadJsonFile(Data("ProfileList.ini"))).c_str();
    device_->presence = "hidraw-1";
    asker_.while_open = [this, after] { device_->presence = after; };
    for (const char* button : {"device_add_btn", "device_sub_btn", "device_copy_btn", "device_reset_btn"}) {
      flows_->OnClick(button);
      device_->presence = "hidraw-1";
    }
    for (const QString& answer : {elsewhere_file, exported}) {
      ui::SetFileDialogHook([this, answer, after](const ui::FileDialogRequest&) {
        device_->presence = after;
        return answer;
      });
      flows_->OnClick(answer == exported ? "device_export_btn" : "device_import_btn");
      device_->presence = "hidraw-1";
    }
    EXPECT_EQ(Rows(), (QStringList{"profile1", "profile2"}));
    EXPECT_EQ(DataFiles(), files);
    EXPECT_EQ(config::FormatJson(config::ReadJsonFile(Data("ProfileList.ini"))).c_str(), list);
    EXPECT_FALSE(QFile::exists(exported));
    EXPECT_TRUE(device_->log.isEmpty()) << device_->log.join(", ").toStdString();
    EXPECT_FALSE(flows_->SwitchPending());
  }

  // A device that stays is written as ever.
  asker_.while_open = nullptr;
  flows_->OnClick("device_reset_btn");
  EXPECT_EQ(device_->log.value(0), "LoadProfile");
}

TEST_F(ProfileFlowsTest, AFlowStaysWithItsPageWhenAnotherIsShownWhileTheUserIsAsked) {
  ASSERT_NO_FATAL_FAILURE(AddMousePage());
  controls::CDeviceProfileUI* other_bar = other_bar_;
  const std::shared_ptr<RecordingDevice>& other_device = other_device_;
  bool& other_shown = other_shown_;
  other_device->presence = "hidraw-9";
  // The mouse arrives while the box is open, and its page comes up.
  asker_.while_open = [&] { other_shown = true; };

  bar_->NewProfile();
  bar_->SelectProfile(1, false);
  const QString first_id = bar_->List().Entries()[0].id;
  flows_->OnClick("device_sub_btn");
  EXPECT_EQ(Rows(), QStringList{"profile1"});
  EXPECT_EQ(other_bar->ProfileCombo()->GetCount(), 2);
  flows_->SwitchProfile();  // the timer
  EXPECT_EQ(device_->log.value(0), "SetProfileId " + first_id) << "the keyboard leaves the deleted profile";
  EXPECT_TRUE(other_device->log.isEmpty());

  other_shown = false;
  device_->log.clear();
  flows_->OnClick("device_reset_btn");
  EXPECT_EQ(device_->log.value(0), "LoadProfile");
  EXPECT_TRUE(other_device->log.isEmpty()) << other_device->log.join(", ").toStdString();
}

TEST_F(ProfileFlowsTest, WhatTheBarsHadToTellAtTheirFirstStartIsShownOnce) {
  // Two device pages whose lists cannot be written: a folder stands where the list should go.
  std::vector<std::unique_ptr<QTemporaryDir>> folders;
  std::vector<std::unique_ptr<ui::Control>> roots;
  for (int i = 0; i < 2; ++i) {
    folders.push_back(std::make_unique<QTemporaryDir>());
    ASSERT_TRUE(QDir(folders.back()->path()).mkpath("ProfileList.ini"));
    ui::DialogBuilder builder;
    roots.emplace_back(builder.Create(QStringLiteral("XML/CustomControlXML/DeviceProfile.xml")));
    auto* bar = dynamic_cast<controls::CDeviceProfileUI*>(roots.back().get());
    ASSERT_NE(bar, nullptr);
    bar->SetDeviceKind(device::DeviceKind::kKeyboard);
    bar->SetPaths(folders.back()->path() + "/", kTemplates + "keyboard.Json");
    EXPECT_FALSE(bar->InitProfiles());  // as the page builds it, before any flow
    flows_->AdoptBar(bar);
  }
  EXPECT_TRUE(asker_.boxes.isEmpty()) << "not in the middle of building the pages";
  ASSERT_TRUE(QTest::qWaitFor([this] { return !asker_.boxes.isEmpty(); }, 3000));
  QTest::qWait(50);
  EXPECT_EQ(asker_.boxes, QStringList{"message_text_save_failed"});
}

TEST(ProfileFlowsInTheWindow, AFirstStartThatCannotWriteTheListsTellsTheUserOnce) {
  testing::PrivateFolders folders;
  const QDir product(QString::fromStdString(devices::UserDataFolder("")));
  for (const device::DeviceKindRow& row : device::kDeviceKindTable) {
    ASSERT_TRUE(product.mkpath(QString::fromUtf8(row.kind_name.data(), row.kind_name.size()) + "/ProfileList.ini"));
  }
  QStringList texts;
  QTimer user;
  QObject::connect(&user, &QTimer::timeout, [&texts] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = dynamic_cast<CMsgWnd*>(widget);
      if (box == nullptr || !box->isVisible()) continue;
      texts << box->FindControl("MessageText")->GetText();
      box->Close(1);
    }
  });
  user.start(10);
  const std::unique_ptr<CMainWnd> window = testing::MakeMainWindow(testing::NoThreads());
  ASSERT_TRUE(QTest::qWaitFor([&texts] { return !texts.isEmpty(); }, 3000));
  QTest::qWait(200);
  EXPECT_EQ(texts, QStringList{ui::TextById("message_text_save_failed")});
}

TEST_F(ProfileFlowsTest, KeyboardResetReloadsAndRewritesTheDevice) {
  flows_->OnClick("device_reset_btn");
  EXPECT_EQ(device_->log,
            (QStringList{"LoadProfile", "RefreshPage", "WriteSettings 0 0 1 1920 1080", "HideKeySetLayout",
                         "WriteMacros", "WriteKeyAssignmentList 0", "DisableKeySaveButtons"}));
}

TEST_F(ProfileFlowsTest, MouseResetHidesTheEditorLast) {
  for (device::DeviceKind kind : {device::DeviceKind::kMouse, device::DeviceKind::kWirelessMouse}) {
    Build(kind, "mouse");
    device_->log.clear();
    flows_->OnClick("device_reset_btn");
    EXPECT_EQ(device_->log, (QStringList{"LoadProfile", "RefreshPage", "WriteSettings 0 0 1 1920 1080", "WriteMacros",
                                         "WriteKeyAssignmentList 0", "HideKeySetLayout", "DisableKeySaveButtons"}))
        << device::KindNumber(kind);
  }
}

TEST_F(ProfileFlowsTest, HeadsetResetKeepsItsEqualiserPresets) {
  Build(device::DeviceKind::kHeadset, "HD");
  const QString file = Data(bar_->GetCurrentProfileId() + ".Json");
  Json::Value profile = config::ReadJsonFile(file);
  profile["Device"][0]["CustomEQNameInfo"] = config::ParseJson(R"([{"Name":"Mine"}])");
  profile["Device"][0]["CustomEQHzValueInfo"] = config::ParseJson(R"([[{"value":3},{"value":-2}]])");
  profile["Device"][0]["SystemSetStages"]["EqType"] = 13;
  ASSERT_TRUE(config::WriteJsonFile(file, profile));

  device_->log.clear();
  flows_->OnClick("device_reset_btn");
  EXPECT_EQ(device_->log, (QStringList{"LoadProfile", "RefreshPage", "WriteSettings 0 0 1 1920 1080"}));
  const Json::Value reset = config::ReadJsonFile(file);
  EXPECT_EQ(reset["Device"][0]["CustomEQNameInfo"], profile["Device"][0]["CustomEQNameInfo"]);
  EXPECT_EQ(reset["Device"][0]["CustomEQHzValueInfo"], profile["Device"][0]["CustomEQHzValueInfo"]);
  const Json::Value factory = config::ReadJsonFile(kTemplates + "HD.Json");
  EXPECT_EQ(reset["Device"][0]["SystemSetStages"], factory["Device"][0]["SystemSetStages"]);
  EXPECT_EQ(reset["profilename"].asString(), "profile1");
}

TEST_F(ProfileFlowsTest, AFileThatCannotBeWrittenIsReported) {
  ASSERT_TRUE(QFile::remove(Data("ProfileList.ini")));
  ASSERT_TRUE(QDir(data_->path()).mkpath("ProfileList.ini"));
  const QStringList files = DataFiles();
  flows_->OnClick("device_add_btn");
  EXPECT_EQ(asker_.boxes, (QStringList{"message_text_27?", "message_text_save_failed"}));
  EXPECT_EQ(Rows(), QStringList{"profile1"});
  EXPECT_EQ(DataFiles(), files) << "no profile file without its list entry";
}

TEST_F(ProfileFlowsTest, TheWindowsTemplateNameBuildsTheBar) {
  std::unique_ptr<ui::Control> bar(CreateWindowControl("DeviceProfileUI", nullptr));
  ASSERT_NE(dynamic_cast<controls::CDeviceProfileUI*>(bar.get()), nullptr);
  EXPECT_EQ(bar->GetName(), "DeviceProfileItem");
}

TEST_F(ProfileFlowsTest, TheRealAskerShowsTheMessageBox) {
  QWidget parent;
  MsgWndAsker asker(&parent, [] { return 96; });
  QTimer::singleShot(0, [] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* box = dynamic_cast<CMsgWnd*>(widget); box != nullptr && box->isVisible()) {
        box->Close(1);
        return;
      }
    }
  });
  EXPECT_EQ(asker.MessageBox("message_text_27", true, ProfileAsker::kConfirmAndCancel), 1);
}

}  // namespace
}  // namespace zrv::app
