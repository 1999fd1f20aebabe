// The main window's messages: suspend and resume, the lighting control shared with other programs,
// the tool description, the tray menu's place and the fit to the monitor.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>

#include "app/main_wnd.h"
#include "app/window_fit.h"
#include "app/window_messages.h"
#include "device/discovery_interface_list.h"
#include "devices/device_page.h"
#include "main_wnd_support.h"
#include "platform/debug_output.h"
#include "platform/qt/single_instance.h"
#include "sim/simulated_devices.h"
#include "ui/button.h"
#include "ui/containers.h"

namespace zrv::app {
namespace {

using testing::ItemOfRow;
using testing::MakeMainWindow;
using testing::NoThreads;

constexpr size_t kKeyboardRow = 1;

// The interface list's keyboard command record, claimed for a simulated keyboard as discovery
// would before it sends the arrival.
size_t ClaimKeyboard(const device::InterfaceList& list, sim::FirmwareModel& keyboard) {
  auto& interfaces = const_cast<device::InterfaceList&>(list);
  const std::optional<size_t> index =
      interfaces.Claim(device::ProbedInterface{0x320F, 0x505B, 1, 4, 0xFF1C, 0x92}, keyboard.CommandPath());
  EXPECT_TRUE(index.has_value());
  return index.value_or(0);
}

class MainWndMessagesTest : public ::testing::Test {
 protected:
  void SetUp() override { window_ = MakeMainWindow(NoThreads()); }
  void TearDown() override {
    window_.reset();
    sim::UnplugSimulated(models_);
  }
  bool Send(int message, qint64 w = 0, qint64 l = 0) { return window_->OnCustomMessage(message, w, l); }

  testing::PrivateFolders folders_;
  std::unique_ptr<CMainWnd> window_;
  std::vector<std::shared_ptr<sim::FirmwareModel>> models_;
};

TEST_F(MainWndMessagesTest, BetweenSuspendAndResumeMessagesAreNotActedUpon) {
  auto* setbtn = window_->FindControl("setbtn");
  setbtn->SetForeImage("common/logo.svg");
  window_->OnPowerBroadcast(CMainWnd::PowerEvent::kSuspend);
  EXPECT_FALSE(CMainWnd::PowerRunning());
  EXPECT_FALSE(window_->DevicePages()[kKeyboardRow]->Model().LightControl()) << "devices leave the lighting";

  platform::DebugCapture capture;
  window_->OnDisplayChange();
  EXPECT_FALSE(capture.Contains("显示器分辨率发生变化"));
  window_->OpenTrayMenu();
  EXPECT_FALSE(window_->WindowTimerRunning(kTrayMenuTimer));
  Send(msg::kClearUpdateMark);
  EXPECT_EQ(setbtn->GetForeImage(), "common/logo.svg");
  window_->OnMenuCommand(ui::MenuCommand{"exit", {}, {}, false});
  EXPECT_TRUE(window_->isVisible()) << "the menu's exit waits for the resume too";
  window_->ToggleFromTray();
  EXPECT_TRUE(window_->isVisible()) << "and the tray icon's left click";
  Send(msg::kInputHook, 1);
  EXPECT_FALSE(window_->InputHookInstalled());

  // Messages before the power line still count: other programs' requests, the instance message.
  window_->OnLightControlRequest({1, 0});
  EXPECT_EQ(window_->LightControl(), 0);
  window_->OnLightControlRequest({1, 1});

  window_->OnPowerBroadcast(CMainWnd::PowerEvent::kResume);
  EXPECT_TRUE(CMainWnd::PowerRunning());
  EXPECT_TRUE(window_->DevicePages()[kKeyboardRow]->Model().LightControl());
  window_->OnDisplayChange();
  EXPECT_TRUE(capture.Contains("显示器分辨率发生变化"));
  window_->OpenTrayMenu();
  EXPECT_TRUE(window_->WindowTimerRunning(kTrayMenuTimer));
  Send(msg::kClearUpdateMark);
  EXPECT_TRUE(setbtn->GetForeImage().isEmpty());
  Send(msg::kInputHook, 1);
  EXPECT_TRUE(window_->InputHookInstalled());
}

TEST_F(MainWndMessagesTest, TheInstanceMessageIsTracedWithItsNumberWhoeverSendsIt) {
  platform::DebugCapture capture;
  window_->PostFirstScanDone();  // discovery's first scan
  QCoreApplication::processEvents();
  EXPECT_TRUE(capture.Contains("软件标示 28929，0d_0d"));
  capture.Clear();
  Send(msg::kInstanceMessage);  // as another window sends it
  EXPECT_TRUE(capture.Contains("软件标示 28929，0d_0d"));
  window_->ShowYourself({0, 1});  // a second start over the channel
  EXPECT_TRUE(capture.Contains("软件标示 28929，0d_1d"));
  window_->hide();
  window_->OnPowerBroadcast(CMainWnd::PowerEvent::kSuspend);
  window_->ShowYourself({0, 1});
  EXPECT_TRUE(window_->isVisible()) << "shown during a suspend too";
  window_->OnPowerBroadcast(CMainWnd::PowerEvent::kResume);
}

TEST_F(MainWndMessagesTest, ADeviceThatArrivesDuringTheSuspendIsAttachedAtTheResume) {
  sim::PlugResult plugged = sim::PlugSimulated("keyboard");
  ASSERT_TRUE(plugged.ok());
  models_ = plugged.models;
  const size_t index = ClaimKeyboard(*window_->Interfaces(), *models_[0]);
  devices::CHalveronUSBDevice& keyboard = window_->DevicePages()[kKeyboardRow]->Model();

  window_->OnPowerBroadcast(CMainWnd::PowerEvent::kSuspend);
  window_->OnDiscoveryEvent({device::DiscoveryMessage::kDeviceAdd, index, nullptr});
  EXPECT_FALSE(keyboard.Connected()) << "not acted upon while suspended";
  window_->OnPowerBroadcast(CMainWnd::PowerEvent::kResume);
  EXPECT_TRUE(keyboard.Connected()) << "kept for the resume, not lost";
  EXPECT_TRUE(ItemOfRow(*window_, kKeyboardRow)->IsPresent());
  EXPECT_EQ(window_->CurrentDevice(), window_->DevicePages()[kKeyboardRow]);
  EXPECT_TRUE(ItemOfRow(*window_, kKeyboardRow)->HasTimer(1001)) << "read 500 ms after the attach";

  const_cast<device::InterfaceList*>(window_->Interfaces())->Release(index);
  window_->OnDiscoveryEvent({device::DiscoveryMessage::kDeviceRemove, index, nullptr});
  EXPECT_FALSE(keyboard.Connected());
  EXPECT_FALSE(ItemOfRow(*window_, kKeyboardRow)->IsPresent());
  EXPECT_TRUE(window_->FindControl("No_device_Link")->IsVisible());
}

TEST(MainWndLighting, TheToggleTellsOtherProgramsAndDevicesARequestOnlyTheDevices) {
  testing::PrivateFolders folders;
  testing::LocalChannelEnvironment environment;
  {
    platform::SingleInstance channel;
    ASSERT_EQ(channel.Acquire(), platform::SingleInstance::Claim::kFirst);
    QSignalSpy notices(&channel, &platform::SingleInstance::lightControlNotice);
    auto window = std::make_unique<CMainWnd>(NoThreads());
    window->SetInstanceChannel(&channel);
    ASSERT_TRUE(window->Create(nullptr, "ZRV-31 Gaming Keyboard"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Initialised(); }, 5000));
    ASSERT_EQ(notices.size(), 1) << "at start: this program drives the lighting";
    ui::Control* status = window->FindControl("control_light_status");
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->GetText(), "控制灯光");
    devices::CHalveronUSBDevice& mouse = window->DevicePages()[0]->Model();

    testing::Notify(status, "click");
    EXPECT_EQ(window->LightControl(), 0);
    EXPECT_EQ(status->GetText(), "不控制灯光");
    EXPECT_FALSE(mouse.LightControl());
    ASSERT_EQ(notices.size(), 2);
    EXPECT_EQ(notices[1][0].toInt(), 1);
    EXPECT_EQ(notices[1][1].toInt(), 0);

    // Another program asks over the channel: set, shown and told to the devices, not broadcast.
    emit channel.lightControlRequest(1, 1);
    EXPECT_EQ(window->LightControl(), 1);
    EXPECT_EQ(status->GetText(), "控制灯光");
    EXPECT_TRUE(mouse.LightControl());
    emit channel.lightControlRequest(2, 0);
    emit channel.lightControlRequest(1, 5);
    EXPECT_EQ(window->LightControl(), 1) << "other parameters are ignored";
    EXPECT_EQ(notices.size(), 2);

    // The tool description answers through the channel.
    const QByteArray block = channel.DescribeDevices();
    ASSERT_EQ(block.size(), 1024);
    const auto value = [&block](int i) { return qFromLittleEndian<quint32>(block.constData() + 4 * i); };
    const std::vector<quint32> expected = {2,      3,      0, 2,      4,      2, 0x320F, 0x1000, 1,
                                           0x320F, 0x505B, 3, 0x320F, 0x5100, 7, 0x320F, 0x5200};
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(value(static_cast<int>(i)), expected[i]) << i;
    for (int i = static_cast<int>(expected.size()); i < 256; ++i) ASSERT_EQ(value(i), 0u) << i;
    window.reset();
    EXPECT_TRUE(channel.DescribeDevices().isEmpty()) << "nothing answers for a window that went";
  }
}

TEST(MainWndFitDecision, LargeMonitorsGet144DpiOthers96) {
  EXPECT_EQ(FitDpiForScreen({1920, 1080}), 144);
  EXPECT_EQ(FitDpiForScreen({1366, 768}), 96);
  EXPECT_EQ(FitDpiForScreen({1500, 1080}), 96) << "more than 1500 wide";
  EXPECT_EQ(FitDpiForScreen({1920, 960}), 96) << "more than 960 high";
  EXPECT_EQ(FitDpiForScreen({1501, 961}), 144);
  platform::DebugCapture capture;
  EXPECT_EQ(CheckedWindowDpi(144), 144);
  EXPECT_FALSE(capture.Contains("MAIN_WND DPI SET ERROR"));
  EXPECT_EQ(CheckedWindowDpi(100), 96);
  EXPECT_TRUE(capture.Contains("MAIN_WND DPI SET ERROR"));
}

TEST(MainWndTrayMenu, OpensBesideThePanelThatHoldsTheTray) {
  const QRect screen(0, 0, 1920, 1080);
  const QPoint cursor(1800, 1060);
  // Panel at the bottom: above it, aligned right and bottom.
  QRect panel = PanelRect(screen, QRect(0, 0, 1920, 1040));
  EXPECT_EQ(panel, QRect(0, 1040, 1920, 40));
  MenuPlacement placement = TrayMenuPlacement(cursor, panel);
  EXPECT_EQ(placement.point, QPoint(1800, 1020));
  EXPECT_EQ(placement.align, 24);
  // At the top: below it, aligned top and right.
  panel = PanelRect(screen, QRect(0, 32, 1920, 1048));
  placement = TrayMenuPlacement(QPoint(1800, 10), panel);
  EXPECT_EQ(placement.point, QPoint(1800, 33));
  EXPECT_EQ(placement.align, 12);
  // At the left: right of it, aligned left and bottom.
  panel = PanelRect(screen, QRect(48, 0, 1872, 1080));
  placement = TrayMenuPlacement(QPoint(20, 900), panel);
  EXPECT_EQ(placement.point, QPoint(49, 900));
  EXPECT_EQ(placement.align, 18);
  // At the right: left of it.
  panel = PanelRect(screen, QRect(0, 0, 1872, 1080));
  placement = TrayMenuPlacement(QPoint(1900, 900), panel);
  EXPECT_EQ(placement.point, QPoint(1871, 900));
  EXPECT_EQ(placement.align, 24);
  // No panel: at the pointer.
  placement = TrayMenuPlacement(cursor, PanelRect(screen, screen));
  EXPECT_EQ(placement.point, cursor);
  EXPECT_EQ(placement.align, 6);
  // A second screen right of the first has its own origin.
  EXPECT_EQ(PanelRect(QRect(1920, 0, 1280, 800), QRect(1920, 0, 1280, 770)), QRect(0, 770, 1280, 30));
}

// Run in a child process whose offscreen screen has the size under test (see below).
TEST(MainWndFitChild, WindowIsScaledForItsScreen) {
  const QByteArray expected = qgetenv("ZRV31_TEST_FIT_DPI");
  if (expected.isEmpty()) GTEST_SKIP() << "run by MainWndFit in a child process";
  testing::PrivateFolders folders;
  auto window = MakeMainWindow(NoThreads());
  // Timer 1011 fits the window 100 ms after windowinit.
  EXPECT_TRUE(QTest::qWaitFor([&] { return !window->WindowTimerRunning(kFitTimer); }, 3000));
  const int dpi = expected.toInt();
  EXPECT_EQ(window->dpi(), dpi);
  EXPECT_EQ(window->GetDPI(), dpi);
  EXPECT_EQ(window->size(), QSize(1000, 640) * (dpi / 96.0));
  EXPECT_EQ(window->FindControl("title_bar")->Widget()->height(), qRound(52 * dpi / 96.0)) << "the content scales";
}

int RunFitChild(const QSize& screen, int dpi) {
  QTemporaryDir dir;
  const QString config = dir.filePath("screens.json");
  QFile file(config);
  if (!file.open(QIODevice::WriteOnly)) return -1;
  file.write(QStringLiteral(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": %1, "height": %2,
                               "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                 .arg(screen.width())
                 .arg(screen.height())
                 .toUtf8());
  file.close();
  QProcess child;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config);
  environment.insert("ZRV31_TEST_FIT_DPI", QString::number(dpi));
  child.setProcessEnvironment(environment);
  child.setProcessChannelMode(QProcess::ForwardedChannels);
  child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=MainWndFitChild.*"});
  if (!child.waitForFinished(60000)) return -1;
  return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
}

TEST(MainWndFit, ScaledTo144OnA1920x1080ScreenAndKeptAt96On1366x768) {
  if (!qgetenv("ZRV31_TEST_FIT_DPI").isEmpty()) GTEST_SKIP() << "the child runs only its own test";
  EXPECT_EQ(RunFitChild({1920, 1080}, 144), 0);
  EXPECT_EQ(RunFitChild({1366, 768}, 96), 0);
}

}  // namespace
}  // namespace zrv::app
