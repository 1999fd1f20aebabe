// The main window's secondary windows: the background check's mark and the settings window it
// opens, the installer reports passed on, the about window, the skin observer and "main.ini", the
// control-panel candidates, and the update threads' job runner.
#include <gtest/gtest.h>

#include <QSettings>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "app/about_wnd.h"
#include "app/control_panel.h"
#include "app/set_wnd.h"
#include "app/skin_frame.h"
#include "app/skin_observer.h"
#include "app/update_worker.h"
#include "app/window_messages.h"
#include "main_wnd_support.h"
#include "ui/containers.h"
#include "ui/language.h"
#include "update/app_version.h"
#include "update/local_https_server.h"

namespace zrv::app {
namespace {

// Runs `inspect` from within the next modal loop.
void WhileModal(std::function<void()> inspect) { QTimer::singleShot(0, std::move(inspect)); }

class EnvironmentVariable {
 public:
  EnvironmentVariable(const char* name, const QByteArray& value) : name_(name), saved_(qgetenv(name)) {
    qputenv(name, value);
  }
  ~EnvironmentVariable() {
    if (saved_.isEmpty()) {
      qunsetenv(name_);
    } else {
      qputenv(name_, saved_);
    }
  }

 private:
  const char* name_;
  QByteArray saved_;
};

TEST(BackgroundUpdateCheck, ANewerProgramMarksTheSettingsButtonAndOpensTheSettingsWindow) {
  testing::PrivateFolders folders;
  update::testing::LocalHttpsServer server(ZRV31_SOURCE_DIR "/tests/update/https_server.py");
  ASSERT_EQ(server.Start(), "");
  server.SetAnswer("ZRV31_0_ALL_APP_1", R"({"path": "", "name": "x", "version_name": "V9", "version": "99999"})");
  EnvironmentVariable url("ZRV31_UPDATE_URL", QByteArray::fromStdString(server.Url("")));
  EnvironmentVariable ca("ZRV31_CA_FILE", QByteArray::fromStdString(server.ca_file().string()));
  EnvironmentVariable cache("XDG_CACHE_HOME", folders.Path().toLocal8Bit() + "/cache");

  bool opened = false;
  QString mark;
  std::unique_ptr<CMainWnd> window;
  // The check's result opens the settings window (modal): it is looked at and closed from within.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (window == nullptr || window->SettingsWindow() == nullptr || opened) return;
    opened = true;
    mark = window->FindControl("setbtn")->GetForeImage();
    CSetWnd* settings = window->SettingsWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return settings->Updates().Checked(); }, 20000));
    EXPECT_EQ(settings->Updates().RowCount(), 1u) << "without devices only the program is listed";
    settings->Updates().StopThreads();
    EXPECT_TRUE(settings->RequestClose());
  });
  poll.start(10);
  window = testing::MakeMainWindow({false, true, false});
  ASSERT_TRUE(QTest::qWaitFor([&] { return opened; }, 20000));
  EXPECT_TRUE(mark.contains("haveNewInfo")) << mark.toStdString();
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->SettingsWindow() == nullptr; }, 5000)) << "the handle is forgotten";

  // Up to date (message 3094) clears the mark; a check without anything newer leaves none.
  window->OnCustomMessage(msg::kClearUpdateMark, 0, 0);
  EXPECT_EQ(window->FindControl("setbtn")->GetForeImage(), "");
}

TEST(SecondaryWindows, ReportsReachTheSettingsWindowOnlyWhileItIsOpen) {
  testing::PrivateFolders folders;
  auto window = testing::MakeMainWindow(testing::NoThreads());
  window->OnForwardMessage(1, 0);  // nothing open: dropped
  bool seen_open = false;
  WhileModal([&] {
    CSetWnd* settings = window->SettingsWindow();
    ASSERT_NE(settings, nullptr);
    seen_open = true;
    window->OpenSettingsWindow();  // a second one is not opened
    EXPECT_EQ(window->SettingsWindow(), settings);
    settings->Updates().StopThreads();
    window->CloseSecondaryWindows();
  });
  window->OpenSettingsWindow();
  EXPECT_TRUE(seen_open);
}

TEST(SecondaryWindows, TheAboutWindowShowsTheProgramsVersionAndOpensOnce) {
  testing::PrivateFolders folders;
  ASSERT_TRUE(ui::LoadLanguage("lan_en.xml"));
  auto window = testing::MakeMainWindow(testing::NoThreads());
  QString version;
  WhileModal([&] {
    CAboutWnd* about = window->AboutWindow();
    ASSERT_NE(about, nullptr);
    version = about->FindControl("software_ver_label")->GetText();
    window->OpenAboutWindow();  // ignored while open
    EXPECT_EQ(window->AboutWindow(), about);
    about->FindControl("closebtn")->SendNotify(ui::notify::kClick);
  });
  window->OpenAboutWindow();
  EXPECT_EQ(version, ui::TextById("software_rev_text") + "V" + QString::fromLatin1(update::AppVersionText()));
}

TEST(SkinChanges, ImagesAreKeptInMainIniAndAppliedAtTheNextStartColoursAreNot) {
  testing::PrivateFolders folders;
  {
    auto window = testing::MakeMainWindow(testing::NoThreads());
    ui::Control* root = window->FindControl("root");
    SkinChangeObserver().Broadcast({true, 0xFF102030, QString()});
    EXPECT_EQ(root->GetBkColor(), 0xFF102030u);
    EXPECT_EQ(root->GetBkImage(), "");

    CSkinFrame* frame = CSkinFrame::Open(window.get(), window->FindControl("skinbtn"));
    ASSERT_NE(frame, nullptr);
    frame->FindControl("skin_color")->SendNotify(ui::notify::kClick);
    EXPECT_EQ(frame->FindControl<ui::TabLayout>("skin_tab")->GetCurSel(), 1);
    frame->FindControl("skin_color_btn")->SendNotify(ui::notify::kClick);
    EXPECT_FALSE(QFile::exists(SkinIniFile())) << "a colour is not remembered";
    frame->FindControl("skin_image_btn")->SendNotify(ui::notify::kClick);
    EXPECT_EQ(root->GetBkColor(), 0u);
    EXPECT_EQ(root->GetBkImage(), "common/skin/bg_1.svg");
    QSettings ini(SkinIniFile(), QSettings::IniFormat);
    EXPECT_EQ(ini.value("SKINIMAGE/FLAGS").toString(), "1");
    EXPECT_EQ(ini.value("SKINIMAGE/IMAGE").toString(), "common/skin/bg_1.svg");
    frame->Close(0);
  }
  {
    auto window = testing::MakeMainWindow(testing::NoThreads());
    EXPECT_EQ(window->FindControl("root")->GetBkImage(), "common/skin/bg_1.svg") << "kept across a restart";
    CSkinFrame* frame = CSkinFrame::Open(window.get(), window->FindControl("skinbtn"));
    frame->FindControl("skin_reset")->SendNotify(ui::notify::kClick);
    frame->Close(0);
  }
  auto window = testing::MakeMainWindow(testing::NoThreads());
  EXPECT_EQ(window->FindControl("root")->GetBkImage(), "") << "after the reset the layout's own background";
  EXPECT_EQ(SkinChangeObserver().ReceiverCount(), 1u) << "windows that went left the observer";
}

TEST(ControlPanels, TheCurrentDesktopsProgramComesFirst) {
  const auto programs = [](ControlPanel panel, const QString& desktop) {
    QStringList names;
    for (const PanelCommand& c : ControlPanelCandidates(panel, desktop))
      names << c.program + " " + c.arguments.join(' ');
    return names;
  };
  EXPECT_EQ(programs(ControlPanel::kMouse, "ubuntu:GNOME").first(), "gnome-control-center mouse");
  EXPECT_EQ(programs(ControlPanel::kKeyboard, "KDE").first(), "kcmshell6 kcm_keyboard");
  EXPECT_EQ(programs(ControlPanel::kKeyboard, "KDE").at(1), "kcmshell5 keyboard");
  EXPECT_EQ(programs(ControlPanel::kMouse, "XFCE").first(), "xfce4-mouse-settings ");
  EXPECT_EQ(programs(ControlPanel::kMouse, "").size(), programs(ControlPanel::kMouse, "GNOME").size());

  // Only what is installed is started; none installed: nothing.
  const auto only = [](const QString& installed) {
    return [installed](const QString& program) { return program == installed ? "/usr/bin/" + program : QString(); };
  };
  const auto found = FindControlPanel(ControlPanel::kKeyboard, "GNOME", only("xfce4-keyboard-settings"));
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->program, "/usr/bin/xfce4-keyboard-settings");
  EXPECT_FALSE(FindControlPanel(ControlPanel::kMouse, "GNOME", only("nothing")).has_value());
}

TEST(UpdateWorkerThread, JobsRunInOrderAndAStopDropsTheRestAndCutsATransfer) {
  update::testing::LocalHttpsServer server(ZRV31_SOURCE_DIR "/tests/update/https_server.py");
  ASSERT_EQ(server.Start(), "");
  update::HttpSettings settings;
  settings.extra_ca_file = server.ca_file().string();
  UpdateWorker worker("test", settings);
  std::vector<int> order;
  std::atomic<bool> stalled{false};
  std::atomic<int> answer{1};
  for (int i = 0; i < 3; ++i) {
    worker.Post([&order, i](update::HttpClient&, const platform::StopEvent&) { order.push_back(i); });
  }
  worker.Post([&](update::HttpClient& client, const platform::StopEvent&) {
    stalled = true;
    std::vector<char> buffer(64);
    answer = client.Request("GET", server.Url("/stall"), {}, buffer);
  });
  bool later_ran = false;
  worker.Post([&](update::HttpClient&, const platform::StopEvent&) { later_ran = true; });
  ASSERT_TRUE(QTest::qWaitFor([&] { return stalled.load(); }, 10000));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // into the wait for the answer
  EXPECT_TRUE(worker.StopAndWait(std::chrono::milliseconds(20000)));
  EXPECT_EQ(order, std::vector<int>({0, 1, 2}));
  EXPECT_EQ(answer.load(), 0) << "the stalled request ended without an answer";
  EXPECT_FALSE(later_ran);
  EXPECT_FALSE(worker.Post([](update::HttpClient&, const platform::StopEvent&) {})) << "no work after the stop";
}

TEST(UpdateWorkerThread, AUiCallIsAbandonedWhenTheWorkerStops) {
  QObject context;
  UpdateWorker worker("test");
  std::atomic<int> outcome{-1};
  worker.Post([&](update::HttpClient&, const platform::StopEvent& stop) {
    // The UI thread is busy in the test below and never runs the call.
    const std::optional<bool> result = OnUiThread(&context, stop, [] { return true; });
    outcome = result.has_value() ? 1 : 0;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  worker.RequestStop();
  ASSERT_TRUE(worker.WaitForEnd(std::chrono::milliseconds(20000)));
  EXPECT_EQ(outcome.load(), 0);
}

}  // namespace
}  // namespace zrv::app
