// End to end on the offscreen platform: simulated devices plugged in and out while the window runs
// reach their selector items and pages through discovery, and are read 500 ms after they attach.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "app/main_wnd.h"
#include "device/device_link.h"
#include "devices/device_page.h"
#include "devices/keyboard_page.h"
#include "main_wnd_support.h"
#include "platform/debug_output.h"
#include "sim/simulated_devices.h"
#include "ui/button.h"
#include "ui/containers.h"
#include "ui/lookup.h"

namespace zrv::app {
namespace {

using device::LinkCommand;
using std::chrono::milliseconds;
using testing::ItemOfRow;

constexpr size_t kMouseRow = 0;
constexpr size_t kKeyboardRow = 1;

uint8_t Id(LinkCommand command) { return static_cast<uint8_t>(command); }

class MainWndEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = testing::MakeMainWindow(CMainWnd::StartOptions{true, false, false});
    ASSERT_EQ(window_->DevicePages().size(), 4u);
  }
  void TearDown() override {
    window_.reset();
    for (auto& model : models_) model->Unplug();
  }
  std::shared_ptr<sim::FirmwareModel> Plug(const char* kind) {
    auto model = sim::CreateModel(kind);
    EXPECT_TRUE(model->Plug());
    models_.push_back(model);
    return model;
  }
  bool Present(size_t row) { return ItemOfRow(*window_, row)->IsPresent(); }
  bool WaitFor(const std::function<bool()>& done, int ms = 5000) { return QTest::qWaitFor(done, ms); }
  devices::CHalveronUSBDevicePage* Page(size_t row) { return window_->DevicePages()[row]; }
  bool NoDeviceShown() { return window_->FindControl("No_device_Link")->IsVisible(); }

  testing::PrivateFolders folders_;
  std::unique_ptr<CMainWnd> window_;
  std::vector<std::shared_ptr<sim::FirmwareModel>> models_;
};

TEST_F(MainWndEndToEnd, DevicesComeAndGoWithTheirItemsAndPages) {
  EXPECT_TRUE(NoDeviceShown());
  platform::DebugCapture capture;

  auto keyboard = Plug("keyboard");
  ASSERT_TRUE(WaitFor([&] { return Present(kKeyboardRow); }));
  QElapsedTimer since_attach;
  since_attach.start();
  EXPECT_EQ(window_->CurrentDevice(), Page(kKeyboardRow));
  EXPECT_FALSE(NoDeviceShown());
  EXPECT_EQ(window_->FindControl<ui::TabLayout>("device_switch")->GetCurSel(), 0);
  auto* pages = window_->FindControl<ui::TabLayout>("device_page_switch");
  EXPECT_EQ(pages->GetCurSel(), pages->GetItemIndex(Page(kKeyboardRow)));
  EXPECT_TRUE(Page(kKeyboardRow)->isVisible()) << "the keyboard's page is on screen";
  EXPECT_TRUE(capture.Contains("添加一个键盘设备"));

  // 500 ms after the attach the keyboard is read: its information block, tables and settings.
  EXPECT_EQ(keyboard->Log().CountFrames(Id(LinkCommand::kReadInfo)), 0u) << "not before the 500 ms";
  ASSERT_TRUE(WaitFor([&] { return keyboard->Log().CountFrames(Id(LinkCommand::kEnd)) > 0; }));
  EXPECT_GE(since_attach.elapsed(), 400);
  EXPECT_EQ(keyboard->Log().CountFrames(Id(LinkCommand::kReadInfo)), 1u);
  EXPECT_GT(keyboard->Log().CountFrames(Id(LinkCommand::kReadDefaultKeys)), 0u);
  EXPECT_GT(keyboard->Log().CountFrames(Id(LinkCommand::kReadKeyLedMap)), 0u);
  EXPECT_GT(keyboard->Log().CountFrames(Id(LinkCommand::kReadSettings)), 0u);
  EXPECT_TRUE(ItemOfRow(*window_, kKeyboardRow)->HasTimer(1000)) << "the repaint cycle runs";
  EXPECT_TRUE(capture.Contains("命令"));

  // The keyboard asks to be read again (0x0401): its notification thread has the item run timer
  // 1002 100 ms later, which reads the settings again.
  const size_t settings_reads = keyboard->Log().CountFrames(Id(LinkCommand::kReadSettings));
  ASSERT_TRUE(WaitFor([&] { return Page(kKeyboardRow)->Model().NotificationThreadRunning(); }));
  keyboard->Notify(0x0401);
  EXPECT_TRUE(WaitFor([&] { return keyboard->Log().CountFrames(Id(LinkCommand::kReadSettings)) > settings_reads; }));

  // A second device: it comes to the front; the keyboard stays present.
  auto mouse = Plug("mouse");
  ASSERT_TRUE(WaitFor([&] { return Present(kMouseRow); }));
  EXPECT_EQ(window_->CurrentDevice(), Page(kMouseRow));
  EXPECT_TRUE(window_->Selector().SeveralPresent());

  // The keyboard goes: its item and its link; the mouse stays current.
  keyboard->Unplug();
  ASSERT_TRUE(WaitFor([&] { return !Present(kKeyboardRow); }));
  EXPECT_FALSE(Page(kKeyboardRow)->Model().Connected());
  EXPECT_EQ(window_->CurrentDevice(), Page(kMouseRow));
  EXPECT_TRUE(capture.Contains("删除一个键盘设备"));

  // The mouse goes as well: nothing is left.
  mouse->Unplug();
  ASSERT_TRUE(WaitFor([&] { return !Present(kMouseRow); }));
  EXPECT_EQ(window_->CurrentDevice(), nullptr);
  EXPECT_TRUE(NoDeviceShown());
  EXPECT_EQ(window_->FindControl<ui::TabLayout>("device_switch")->GetCurSel(), 1);

  // Plugged in again, the keyboard is back and read again.
  keyboard->Log().Clear();
  ASSERT_TRUE(keyboard->Plug());
  ASSERT_TRUE(WaitFor([&] { return Present(kKeyboardRow); }));
  EXPECT_EQ(window_->CurrentDevice(), Page(kKeyboardRow));
  EXPECT_TRUE(WaitFor([&] { return keyboard->Log().CountFrames(Id(LinkCommand::kReadInfo)) > 0; }));
}

TEST_F(MainWndEndToEnd, TheSelectedDeviceLeavingSelectsTheOtherPresentOne) {
  auto keyboard = Plug("keyboard");
  ASSERT_TRUE(WaitFor([&] { return Present(kKeyboardRow); }));
  auto mouse = Plug("mouse");
  ASSERT_TRUE(WaitFor([&] { return Present(kMouseRow); }));
  ASSERT_EQ(window_->CurrentDevice(), Page(kMouseRow));
  mouse->Unplug();
  ASSERT_TRUE(WaitFor([&] { return !Present(kMouseRow); }));
  EXPECT_EQ(window_->CurrentDevice(), Page(kKeyboardRow));
  auto* pages = window_->FindControl<ui::TabLayout>("device_page_switch");
  EXPECT_EQ(pages->GetCurSel(), pages->GetItemIndex(Page(kKeyboardRow)));
  EXPECT_FALSE(NoDeviceShown());
}

// The page's system settings are routed to the keyboard while it is the current device, and to
// nothing once it has left.
TEST_F(MainWndEndToEnd, SystemSettingsReachTheKeyboardOnlyWhileItIsTheCurrentDevice) {
  auto keyboard = Plug("keyboard");
  ASSERT_TRUE(WaitFor([&] { return Present(kKeyboardRow); }));
  ASSERT_TRUE(WaitFor([&] { return keyboard->Log().CountFrames(Id(LinkCommand::kEnd)) > 0; }));
  auto* page = dynamic_cast<devices::CHalveronKeyboardDevicePage*>(Page(kKeyboardRow));
  ASSERT_NE(page, nullptr);
  const auto choose = [page](int n) {
    auto* option = ui::FindSubControlByName<ui::Option>(page, QStringLiteral("polling_rate_option_%1").arg(n));
    ASSERT_NE(option, nullptr);
    option->Selected(true, true);  // as the user's click: "selectchanged" to the window
  };
  const int chosen = (page->Keyboard().GetKeyboardSystem().polling_rate + 1) % 4;
  const size_t writes = keyboard->Log().CountFrames(Id(LinkCommand::kWriteSettings));
  choose(chosen);
  EXPECT_EQ(page->Keyboard().GetKeyboardSystem().polling_rate, chosen);
  EXPECT_GT(keyboard->Log().CountFrames(Id(LinkCommand::kWriteSettings)), writes) << "stored, then sent";

  keyboard->Unplug();
  ASSERT_TRUE(WaitFor([&] { return !Present(kKeyboardRow); }));
  ASSERT_EQ(window_->CurrentDevice(), nullptr);
  choose((chosen + 1) % 4);
  EXPECT_EQ(page->Keyboard().GetKeyboardSystem().polling_rate, chosen) << "no current device: nothing happens";
}

}  // namespace
}  // namespace zrv::app
