#include "app/main_wnd.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include "app/about_wnd.h"
#include "main_wnd_support.h"
#include "platform/qt/single_instance.h"
#include "ui/containers.h"
#include "ui/menu.h"
#include "ui/tray_icon.h"

namespace zrv::app {
namespace {

class MainWndTest : public ::testing::Test {
 protected:
  void Build(int tray_available) {
    ui::TrayIcon::SetAvailabilityForTest(tray_available);
    window_ = std::make_unique<CMainWnd>();
    ASSERT_TRUE(window_->Create(nullptr, "ZRV-31 Gaming Keyboard")) << window_->LastError().ToString().toStdString();
    window_->ShowWindow(true);
  }
  void TearDown() override {
    window_.reset();
    ui::TrayIcon::SetAvailabilityForTest(-1);
  }
  void Click(const char* name) {
    ui::Control* control = window_->FindControl(QString::fromLatin1(name));
    ASSERT_NE(control, nullptr) << name;
    QTest::mouseClick(control->Widget(), Qt::LeftButton);
  }
  std::unique_ptr<CMainWnd> window_;
};

TEST_F(MainWndTest, LayoutHasTheTitleBarTheSelectorAndTheNoDevicePage) {
  Build(1);
  EXPECT_EQ(window_->GetInitSize(), QSize(800, 572));
  EXPECT_EQ(window_->GetWindowClassName(), "MainWnd");
  EXPECT_EQ(CMainWnd::Instance(), window_.get());
  for (const char* name : {"closebtn", "minbtn", "setbtn", "skinbtn", "maxbtn", "restorebtn", "device_select_layout",
                           "device_select_prev", "device_select_next", "No_device_Link", "device_switch",
                           "device_power_switch", "nodevice_ok_btn", "str_test"}) {
    EXPECT_NE(window_->FindControl(QString::fromLatin1(name)), nullptr) << name;
  }
  for (const char* name : {"closebtn", "minbtn", "setbtn", "skinbtn", "No_device_Link"}) {
    EXPECT_TRUE(window_->FindControl(QString::fromLatin1(name))->Widget()->isVisible()) << name;
  }
  EXPECT_FALSE(window_->FindControl("str_test")->Widget()->isVisible());
  // No device yet: the no-device state of the selector.
  EXPECT_EQ(window_->FindControl<ui::TabLayout>("device_switch")->GetCurSel(), 1);
  EXPECT_EQ(window_->FindControl<ui::TabLayout>("device_power_switch")->GetCurSel(), 0);
  EXPECT_TRUE(window_->FindControl("No_device_Link")->IsVisible());
}

TEST_F(MainWndTest, CloseHidesToTheTrayAndTheInstanceMessageBringsItBack) {
  Build(1);
  ASSERT_TRUE(window_->HasTrayIcon());
  Click("closebtn");
  EXPECT_FALSE(window_->isVisible()) << "the program goes on in the tray";
  window_->ShowYourself({0, 1});
  EXPECT_TRUE(window_->isVisible());
  EXPECT_FALSE(window_->isMinimized());
  window_->ToggleFromTray();
  EXPECT_FALSE(window_->isVisible()) << "a tray click hides a window that is on screen";
  window_->ToggleFromTray();
  EXPECT_TRUE(window_->isVisible());
}

TEST_F(MainWndTest, WithoutTrayCloseKeepsAWayBack) {
  Build(0);
  EXPECT_FALSE(window_->HasTrayIcon());
  Click("closebtn");
  EXPECT_TRUE(window_->isVisible() || window_->isMinimized()) << "never hidden without a tray to come back from";
  window_->ShowYourself({0, 1});
  EXPECT_TRUE(window_->isVisible());
  EXPECT_FALSE(window_->isMinimized());
}

TEST_F(MainWndTest, TrayMenuExitClosesTheWindow) {
  Build(1);
  // The about window is modal: it is closed from within its loop.
  QTimer::singleShot(0, window_.get(), [this] {
    if (window_->AboutWindow() != nullptr) window_->AboutWindow()->Close(0);
  });
  window_->OnMenuCommand(ui::MenuCommand{"about_menu", {}, {}, false});
  EXPECT_TRUE(window_->isVisible()) << "other items do not close";
  window_->OnMenuCommand(ui::MenuCommand{"exit", {}, {}, false});
  EXPECT_FALSE(window_->isVisible());
}

TEST_F(MainWndTest, TrayMenuOffersSettingsAboutAndExit) {
  Build(1);
  ui::Menu menu;
  ASSERT_TRUE(menu.Load("menu.xml", window_.get())) << menu.Error().ToString().toStdString();
  QStringList names;
  for (QAction* action : menu.GetMenu()->actions()) {
    if (!action->isSeparator()) names << action->objectName();
  }
  EXPECT_EQ(names, QStringList({"setwnd_menu", "about_menu", "exit"}));
}

TEST(MainWndChannel, WindowInitTellsOtherProgramsThatThisOneDrivesTheLighting) {
  testing::LocalChannelEnvironment environment;
  {
    platform::SingleInstance channel;
    ASSERT_EQ(channel.Acquire(), platform::SingleInstance::Claim::kFirst);
    QSignalSpy notices(&channel, &platform::SingleInstance::lightControlNotice);
    CMainWnd window;
    window.SetInstanceChannel(&channel);
    ASSERT_TRUE(window.Create(nullptr, "ZRV-31 Gaming Keyboard"));
    EXPECT_TRUE(notices.isEmpty()) << "windowinit is posted, not sent during Create";
    if (notices.isEmpty()) notices.wait(2000);
    ASSERT_EQ(notices.size(), 1);
    EXPECT_EQ(notices[0][0].toInt(), 1);
    EXPECT_EQ(notices[0][1].toInt(), 1);
  }
}

}  // namespace
}  // namespace zrv::app
