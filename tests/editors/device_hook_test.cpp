#include "editors/device_hook.h"

#include <linux/input-event-codes.h>

#include <vector>

#include "platform_input/x_test_support.h"

namespace zrv::editors {
namespace {

using platform::input::ButtonMessage;
using test::WaitFor;

class DeviceHook : public ::testing::Test {
 protected:
  void SetUp() override {
    ZRV_REQUIRE_X();
    QObject::connect(&hook_, &CDeviceHook::keyMessage, [this](const HookKeyMessage& m) { keys_.push_back(m); });
    QObject::connect(&hook_, &CDeviceHook::mouseMessage, [this](const HookMouseMessage& m) { mouse_.push_back(m); });
  }

  test::XClient other_;
  CDeviceHook hook_;
  std::vector<HookKeyMessage> keys_;
  std::vector<HookMouseMessage> mouse_;
};

TEST_F(DeviceHook, SingleKeyModeTakesKeysButLeavesTheMouseAlone) {
  other_.MovePointer(100, 100);  // over the other program's window
  ASSERT_EQ(hook_.Install(HookMode::kSingleKey, true, true), CDeviceHook::kInstalled);
  other_.Type(KEY_SYSRQ);
  other_.Click(1);
  ASSERT_TRUE(WaitFor([&] { return keys_.size() == 2; }));
  EXPECT_EQ(keys_[0].mode, HookMode::kSingleKey);
  EXPECT_EQ(keys_[0].key.scan_code, 0x37u);
  EXPECT_TRUE(keys_[0].key.extended);
  EXPECT_TRUE(other_.TakeKeyPresses().empty());
  EXPECT_EQ(other_.TakeButtonPresses(), std::vector<int>{1});
  EXPECT_TRUE(mouse_.empty());

  EXPECT_EQ(hook_.Uninstall(), 1);
  EXPECT_EQ(hook_.Uninstall(), 0);
  other_.Type(KEY_A);
  EXPECT_EQ(other_.TakeKeyPresses(), std::vector<int>{KEY_A + 8});
}

TEST_F(DeviceHook, MacroModeHandsButtonsOverAndAnUnknownModeSwallowsKeysSilently) {
  ASSERT_EQ(hook_.Install(HookMode::kKbMacroLater, true, true), CDeviceHook::kInstalled);
  other_.Click(3);
  ASSERT_TRUE(WaitFor([&] { return mouse_.size() == 2; }));
  EXPECT_EQ(mouse_[0].mode, HookMode::kKbMacroLater);
  EXPECT_EQ(mouse_[0].button.message, ButtonMessage::kRightDown);

  ASSERT_EQ(hook_.Install(static_cast<HookMode>(64), true, true), CDeviceHook::kInstalled);
  EXPECT_EQ(hook_.Mode(), static_cast<HookMode>(64));
  other_.Type(KEY_B);
  other_.Type(KEY_C);
  WaitFor([] { return false; }, 200);
  EXPECT_TRUE(keys_.empty());
  EXPECT_TRUE(other_.TakeKeyPresses().empty());
}

TEST_F(DeviceHook, FallbackAndFocusLossAreReported) {
  int narrowed = 0;
  QObject::connect(&hook_, &CDeviceHook::captureNarrowed, [&] { ++narrowed; });
  ASSERT_EQ(hook_.Install(HookMode::kSingleKey, true, false), CDeviceHook::kInstalled);
  hook_.OnWindowFocusLost();
  EXPECT_EQ(narrowed, 1);
  EXPECT_TRUE(hook_.IsInstalled());
  other_.Type(KEY_D);
  EXPECT_EQ(other_.TakeKeyPresses(), std::vector<int>{KEY_D + 8});

  ASSERT_TRUE(other_.GrabKeyboard());  // another program holds the keyboard
  EXPECT_EQ(hook_.Install(HookMode::kSingleKey, true, false), CDeviceHook::kInstalledInWindow);
  EXPECT_EQ(hook_.KeyScope(), platform::input::CaptureScope::kWindow);
}

}  // namespace
}  // namespace zrv::editors
