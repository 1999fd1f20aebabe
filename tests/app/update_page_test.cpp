// The settings window's update page against a real HTTPS server on 127.0.0.1: the rows and page
// status after the check, the confirmation, downloads (complete, cut off, stopped), the install
// of a real installer script that reports through the single-instance channel, and the close rule.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <memory>

#include "app/set_wnd.h"
#include "app/update_info_list_item.h"
#include "main_wnd_support.h"
#include "platform/qt/ipc_names.h"
#include "platform/qt/single_instance.h"
#include "ui/button.h"
#include "ui/containers.h"
#include "ui/language.h"
#include "update/app_version.h"
#include "update/local_https_server.h"
#include "update/update_target.h"

namespace zrv::app {
namespace {

namespace fs = std::filesystem;
using update::testing::LocalHttpsServer;

constexpr const char* kKeyboardKey = "ZRV31_1_KEYBOARD_K31_1";
constexpr const char* kAppKey = "ZRV31_0_ALL_APP_1";

// The program row and the keyboard row (firmware 0x0123) of the working copy.
std::vector<update::UpdateTarget> KeyboardAndProgram() {
  const auto& table = update::UpdateTargetTable();
  update::UpdateTarget keyboard = table[1];
  keyboard.current_version = 0x0123;
  update::UpdateTarget program = table.back();
  program.current_version = update::InstalledAppVersion();
  return {keyboard, program};
}

std::string Answer(const std::string& version, const std::string& version_name, const std::string& path,
                   int device_id = 0) {
  return R"({"path": ")" + path + R"(", "name": "setup", "version_name": ")" + version_name + R"(", "version": ")" +
         version + R"(", "device_id": )" + std::to_string(device_id) + "}";
}

class UpdatePageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = std::make_unique<LocalHttpsServer>(ZRV31_SOURCE_DIR "/tests/update/https_server.py");
    start_error_ = server_->Start();
  }
  static void TearDownTestSuite() { server_.reset(); }

  void SetUp() override {
    ASSERT_EQ(start_error_, "");
    ASSERT_TRUE(ui::LoadLanguage("lan_en.xml"));
    // No answer unless a test gives one.
    std::error_code error;
    fs::remove(server_->dir() / "answers" / kKeyboardKey, error);
    fs::remove(server_->dir() / "answers" / kAppKey, error);
  }
  void TearDown() override {
    if (window_) {
      window_->Updates().StopThreads();
      delete window_.data();
    }
  }

  // Opens the window (not modal) and waits for the check's end.
  void Open(std::vector<update::UpdateTarget> targets, std::string server) {
    CSetWnd::Options options;
    options.targets = std::move(targets);
    options.settings.server = std::move(server);
    options.settings.download_dir = fs::path(cache_.path().toStdString()) / "UpdateData";
    options.settings.time_file = cache_.filePath("updatetime.config");
    options.settings.http.extra_ca_file = server_->ca_file().string();
    options.hooks.clear_update_mark = [this] { ++marks_cleared_; };
    options.hooks.show_failure = [this](const QString& text) { failures_ << text; };
    options.hooks.open_with_desktop = [this](const fs::path& path) {
      desktop_opened_.push_back(path);
      return true;
    };
    window_ = CSetWnd::Open(nullptr, std::move(options));
    ASSERT_NE(window_, nullptr);
    window_->ShowWindow(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window_->Updates().Checked(); }, 20000));
  }
  CUpdateInfoListItemUI* Row(size_t index) { return window_->Updates().Row(index); }
  void Click(const char* name) {
    ui::Control* control = window_->FindControl(QString::fromLatin1(name));
    ASSERT_NE(control, nullptr) << name;
    control->SendNotify(QString::fromLatin1(ui::notify::kClick));
  }
  bool WaitForStatus(size_t row, int status) {
    return QTest::qWaitFor([&] { return Row(row)->Status() == status; }, 20000);
  }

  static inline std::unique_ptr<LocalHttpsServer> server_;
  static inline std::string start_error_;
  QTemporaryDir cache_;
  QPointer<CSetWnd> window_;
  int marks_cleared_ = 0;
  QStringList failures_;
  std::vector<fs::path> desktop_opened_;
};

TEST_F(UpdatePageTest, NewerVersionsAreListedCheckedAndOfferedForUpdate) {
  server_->SetAnswer(kKeyboardKey, Answer("0124", "K31 1.24", server_->Url("/files/kb.bin")));
  server_->SetAnswer(kAppKey, Answer("99999", "V9.9.9.9", server_->Url("/files/app.sh")));
  Open(KeyboardAndProgram(), server_->Url(""));

  ASSERT_EQ(window_->Updates().RowCount(), 2u);
  EXPECT_EQ(Row(0)->Name(), "Keyboard") << "the target's label, not the service's name";
  EXPECT_EQ(Row(0)->OldVersion(), "V0123");
  EXPECT_EQ(Row(0)->NewVersion(), "V0124");
  EXPECT_EQ(Row(1)->Name(), "AP");
  EXPECT_EQ(Row(1)->OldVersion(), QString("V%1").arg(update::InstalledAppVersion()));
  EXPECT_EQ(Row(1)->NewVersion(), "V9.9.9.9") << "the program shows the version name";
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(Row(i)->Status(), update::kStatusNewer);
    EXPECT_TRUE(Row(i)->IsChecked());
    EXPECT_TRUE(Row(i)->IsCheckEnabled());
  }
  EXPECT_EQ(Row(1)->GetUserData(), QString::fromStdString(server_->Url("/files/app.sh")));
  EXPECT_EQ(window_->Updates().PageStatus(), update::kPageUpdatable);
  EXPECT_TRUE(window_->FindControl("update_fw_and_ap")->IsVisible());
  EXPECT_EQ(marks_cleared_, 0);

  // Unchecking every row withdraws the offer.
  Row(0)->Check()->SetCheck(false, true);
  Row(1)->Check()->SetCheck(false, true);
  EXPECT_FALSE(window_->FindControl("update_fw_and_ap")->IsVisible());
  Row(1)->Check()->SetCheck(true, true);
  EXPECT_TRUE(window_->FindControl("update_fw_and_ap")->IsVisible());
}

TEST_F(UpdatePageTest, UpToDateNoServerAndBadAnswersEachGiveTheirStatus) {
  server_->SetAnswer(kKeyboardKey, Answer("0123", "", ""));
  server_->SetAnswer(kAppKey, "<html>not an update answer</html>");
  Open(KeyboardAndProgram(), server_->Url(""));
  EXPECT_EQ(Row(0)->Status(), update::kStatusUpToDate);
  EXPECT_EQ(Row(0)->NewVersion(), "") << "nothing newer is shown";
  EXPECT_EQ(Row(1)->Status(), update::kStatusUnknown) << "an answer that is not one leaves the row unchecked";
  EXPECT_FALSE(Row(1)->IsCheckEnabled());
  EXPECT_EQ(window_->Updates().PageStatus(), update::kPageUpToDate);
  EXPECT_EQ(marks_cleared_, 1) << "up to date clears the settings button's mark";
  EXPECT_TRUE(window_->FindControl("Update_Status_text")->GetText().endsWith(window_->Updates().LastCheckDate()));
  EXPECT_TRUE(QFile::exists(cache_.filePath("updatetime.config")));
  window_->Updates().StopThreads();
  delete window_.data();

  Open(KeyboardAndProgram(), std::string());  // no server configured
  EXPECT_EQ(window_->Updates().PageStatus(), update::kPageNoAnswer);
  EXPECT_EQ(Row(0)->Status(), update::kStatusUnknown);
  EXPECT_EQ(Row(0)->OldVersion(), "V0123") << "what is installed is still shown";
  EXPECT_FALSE(window_->FindControl("update_fw_and_ap")->IsVisible());
}

TEST_F(UpdatePageTest, ACutOffDownloadFailsLeavesNoFileAndCanBeConfirmedAgain) {
  server_->SetAnswer(kAppKey, Answer("99999", "V9", server_->Url("/cut/50000")));
  Open({KeyboardAndProgram()[1]}, server_->Url(""));
  Click("update_fw_and_ap");
  EXPECT_EQ(window_->FindControl<ui::TabLayout>("get_update_tab_layout")->GetCurSel(), 1);
  Click("update_OK_btn");
  EXPECT_EQ(window_->FindControl<ui::TabLayout>("get_update_tab_layout")->GetCurSel(), 0);
  ASSERT_TRUE(WaitForStatus(0, update::kStatusFailed));
  EXPECT_TRUE(Row(0)->IsCheckEnabled());
  EXPECT_TRUE(fs::is_empty(fs::path(cache_.path().toStdString()) / "UpdateData")) << "nothing half-downloaded";
  EXPECT_TRUE(QTest::qWaitFor([&] { return window_->Updates().PageStatus() == update::kPageUpdatable; }, 5000));
  EXPECT_TRUE(failures_.isEmpty()) << "nothing was started";
  EXPECT_TRUE(window_->RequestClose()) << "a failed row does not hold the window";
}

TEST_F(UpdatePageTest, TheWindowStaysOpenWhileDownloadingAndAStopEndsTheDownload) {
  server_->SetAnswer(kAppKey, Answer("99999", "V9", server_->Url("/stall")));
  Open({KeyboardAndProgram()[1]}, server_->Url(""));
  Click("update_OK_btn");
  ASSERT_TRUE(WaitForStatus(0, update::kStatusDownloading));
  EXPECT_EQ(window_->Updates().PageStatus(), update::kPageBusy);
  EXPECT_FALSE(window_->RequestClose());
  EXPECT_TRUE(window_->isVisible());
  window_->Updates().StopThreads();  // the title bar's close does this first
  ASSERT_TRUE(WaitForStatus(0, update::kStatusFailed));
  EXPECT_TRUE(window_->RequestClose());
}

TEST_F(UpdatePageTest, TheInstallerReportsThroughForwardAndTheRowEndsUpToDate) {
  testing::LocalChannelEnvironment environment;
  platform::SingleInstance channel;
  ASSERT_EQ(channel.AcquireLocal(), platform::SingleInstance::Claim::kFirst);
  // A real installer: a script that reports progress 50 and 100, then the end, to the instance.
  const std::string installer =
      "#!/usr/bin/env python3\nimport socket\nfor a, b in ((4, 50), (4, 100), (1, 0)):\n"
      "    s = socket.socket(socket.AF_UNIX)\n    s.connect('" +
      platform::InstanceSocketPath().toStdString() +
      "')\n    s.sendall(b'forward %d %d\\n' % (a, b))\n    s.recv(16)\n    s.close()\n";
  server_->SetFile("setup.py", installer);
  server_->SetAnswer(kKeyboardKey, Answer("0124", "", server_->Url("/files/none.bin")));
  server_->SetAnswer(kAppKey, Answer("99999", "V9.9", server_->Url("/files/setup.py")));
  Open(KeyboardAndProgram(), server_->Url(""));
  QSignalSpy reports(&channel, &platform::SingleInstance::forwardMessage);
  QObject::connect(&channel, &platform::SingleInstance::forwardMessage, window_.data(),
                   [this](int first, int second) { window_->ForwardMessage(first, second); });

  Row(0)->Check()->SetCheck(false, true);  // the keyboard waits
  Click("update_fw_and_ap");
  Click("update_OK_btn");
  EXPECT_FALSE(Row(0)->IsCheckEnabled()) << "an unconfirmed row is left out";
  ASSERT_TRUE(WaitForStatus(1, update::kStatusUpToDate))
      << Row(1)->Status() << " " << failures_.join(",").toStdString();
  ASSERT_EQ(reports.size(), 3);
  EXPECT_EQ(reports[0], QVariantList({4, 50}));
  EXPECT_EQ(reports[1], QVariantList({4, 100}));
  EXPECT_EQ(reports[2], QVariantList({1, 0}));
  EXPECT_EQ(Row(1)->OldVersion(), "V9.9") << "the new version is now the installed one";
  EXPECT_EQ(Row(1)->NewVersion(), "");
  EXPECT_FALSE(Row(1)->IsChecked());
  EXPECT_EQ(Row(0)->Status(), update::kStatusNewer);
  EXPECT_TRUE(Row(0)->IsCheckEnabled()) << "what was left out can be chosen now";
  EXPECT_EQ(window_->Updates().PageStatus(), update::kPageUpdatable);
  EXPECT_TRUE(failures_.isEmpty());
  const fs::path file = fs::path(cache_.path().toStdString()) / "UpdateData" / "AP.py";
  EXPECT_TRUE(fs::exists(file)) << "the served extension is kept";
}

TEST_F(UpdatePageTest, AnInstallerThatCannotStartFailsTheRowWithAMessage) {
  server_->SetFile("setup.txt", "plain text is no program");
  server_->SetAnswer(kAppKey, Answer("99999", "V9", server_->Url("/files/setup.txt")));
  Open({KeyboardAndProgram()[1]}, server_->Url(""));
  Click("update_OK_btn");
  ASSERT_TRUE(WaitForStatus(0, update::kStatusFailed));
  EXPECT_EQ(failures_, QStringList({"Update failed!"}));
  // A report with nothing installing changes nothing.
  window_->ForwardMessage(1, 0);
  EXPECT_EQ(Row(0)->Status(), update::kStatusFailed);
}

// A file handed to the desktop's handler never reports: the row shows it downloaded and the
// window may close, instead of waiting for a report that cannot come.
TEST_F(UpdatePageTest, AFileHandedToTheDesktopLeavesTheQueueAndTheWindowMayClose) {
  server_->SetFile("setup.deb", "a package for the desktop's installer");
  server_->SetAnswer(kAppKey, Answer("99999", "V9", server_->Url("/files/setup.deb"), 1));
  Open({KeyboardAndProgram()[1]}, server_->Url(""));
  Click("update_OK_btn");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !desktop_opened_.empty(); }, 20000));
  ASSERT_TRUE(WaitForStatus(0, update::kStatusDownloaded));
  EXPECT_FALSE(Row(0)->IsChecked());
  EXPECT_FALSE(window_->Updates().Busy());
  EXPECT_TRUE(failures_.isEmpty());
}

}  // namespace
}  // namespace zrv::app
