// The key assignment editor end to end on the offscreen platform: a simulated keyboard, the
// editor driven through the notifications of its controls, the key table checked in the
// keyboard's memory and the assignment in the profile file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "app/main_wnd.h"
#include "app/msg_wnd.h"
#include "config/json_file.h"
#include "config/json_value.h"
#include "config/profile_members.h"
#include "device/device_link.h"
#include "devices/keyboard_page.h"
#include "editors/device_hook.h"
#include "editors/key_set_control.h"
#include "editors/key_set_flow.h"
#include "main_wnd_support.h"
#include "sim/keyboard_model.h"
#include "sim/memory_map.h"
#include "sim/simulated_devices.h"
#include "ui/combo.h"
#include "ui/language.h"
#include "ui/lookup.h"

namespace zrv::app {
namespace {

using device::LinkCommand;

constexpr size_t kKeyboardRow = 1;
constexpr int kKey = 0;       // Esc
constexpr int kMediaKey = 2;  // F2

uint8_t Id(LinkCommand command) { return static_cast<uint8_t>(command); }

// Closes every message box that opens while this lives, keeping its text.
class MessageReader {
 public:
  MessageReader() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = dynamic_cast<CMsgWnd*>(widget);
        if (box == nullptr || !box->isVisible()) continue;
        if (ui::Control* text = box->FindControl(QStringLiteral("MessageText"))) texts.push_back(text->GetText());
        box->Close(1);
      }
    });
    timer_.start(10);
  }
  QStringList texts;

 private:
  QTimer timer_;
};

class KeySetEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = testing::MakeMainWindow(CMainWnd::StartOptions{true, false, false});
    testing::PlugKeyboard(*window_, keyboard_, page_);
    if (HasFatalFailure()) return;
    flow_ = window_->KeySetFlowOf(page_);
    ASSERT_NE(flow_, nullptr);
    editor_ = flow_->Editor();
    ASSERT_NE(editor_, nullptr);
    testing::Notify(Find("key_Op_tab"), "selectchanged", 1);
    ASSERT_EQ(page_->Model().GetFunctionMode(), 2);
  }
  void TearDown() override {
    window_.reset();
    if (keyboard_) keyboard_->Unplug();
  }

  ui::Control* Find(const char* name) { return ui::FindSubControlByName(page_, QLatin1String(name)); }
  // The user picks an item of a drop-down.
  void Choose(const char* combo_name, int item) {
    auto* combo = dynamic_cast<ui::Combo*>(Find(combo_name));
    ASSERT_NE(combo, nullptr) << combo_name;
    ASSERT_TRUE(combo->SelectItem(item, false, true)) << combo_name;
  }
  void ChooseCategory(int category) {
    auto* combo = dynamic_cast<ui::Combo*>(Find("keyset_function_combo"));
    ASSERT_NE(combo, nullptr);
    Choose("keyset_function_combo", combo->FindItemByUserData(QString::number(category)));
  }
  void Click(const char* name) { testing::Notify(Find(name), "click"); }
  void ClickKey(int key) { testing::Notify(page_->KeyButton(key), "click"); }
  void Type(uint32_t scan, bool extended, uint32_t linux_key, bool press = true) {
    editors::HookKeyMessage message{editors::HookMode::kSingleKey, {}};
    message.key.message = press ? platform::input::KeyMessage::kKeyDown : platform::input::KeyMessage::kKeyUp;
    message.key.scan_code = scan;
    message.key.extended = extended;
    message.key.linux_key = linux_key;
    emit window_->InputHook().keyMessage(message);
  }
  // The code in the keyboard's key table (table 0) at the slot of logical key `key`.
  std::array<uint8_t, 3> DeviceCode(int key, sim::Area area = sim::Area::kKeys) {
    const int slot = keyboard_->SlotOfLogicalKey(static_cast<size_t>(key));
    EXPECT_GE(slot, 0);
    const std::vector<uint8_t> bytes = keyboard_->AreaBytes(area);
    const size_t at = static_cast<size_t>(slot) * 3;
    if (slot < 0 || at + 2 >= bytes.size()) return {};
    return {bytes[at], bytes[at + 1], bytes[at + 2]};
  }
  // "Assignment" of key `key` in the profile file.
  uint32_t FileAssignment(int key) {
    const Json::Value document = config::ReadJsonFile(QString::fromStdString(page_->Model().ProfilePath()));
    const Json::Value& device = config::Element(config::Member(document, config::kDeviceMember), 0);
    const Json::Value& entry = config::Element(config::Member(device, "KeyList"), static_cast<Json::ArrayIndex>(key));
    return config::Member(entry, "Assignment").asUInt();
  }
  bool ButtonEnabled(const char* name) { return Find(name)->IsEnabled(); }

  testing::PrivateFolders folders_;
  std::unique_ptr<CMainWnd> window_;
  std::shared_ptr<sim::KeyboardModel> keyboard_;
  devices::CHalveronKeyboardDevicePage* page_ = nullptr;
  editors::KeySetFlow* flow_ = nullptr;
  editors::CKeySetControlUI* editor_ = nullptr;
};

TEST_F(KeySetEndToEnd, ACapturedKeyAndAMediaKeyReachTheKeyboardAndTheProfileOnlyWhenApplied) {
  const std::array<uint8_t, 3> factory = DeviceCode(kKey, sim::Area::kDefaultKeys);
  const uint32_t file_before = FileAssignment(kKey);
  EXPECT_FALSE(Find("keyset_layout")->IsVisible()) << "no key chosen yet";

  ClickKey(kKey);
  EXPECT_TRUE(Find("keyset_layout")->IsVisible());
  EXPECT_EQ(editor_->SelectedCategory(), 0) << "the key has its own function";
  EXPECT_FALSE(page_->KeyButton(kKey)->GetForeImage().isEmpty()) << "the chosen key is marked";

  // The key category with a captured A (held: its repeats change nothing), then Ctrl.
  ChooseCategory(6);
  Type(0x1E, false, 30);
  Type(0x1E, false, 30);
  Type(0x1E, false, 30, false);
  EXPECT_EQ(page_->Model().KeyList()[kKey].assignment.Code(), 0x200004u);
  testing::Notify(Find("key_ComBox_check_1"), "selectchanged", 1);
  EXPECT_EQ(page_->Model().KeyList()[kKey].assignment.Code(), 0x200104u) << "Ctrl+A";
  Type(0x9999, false, 999);  // no key of the table: ignored
  EXPECT_EQ(page_->Model().KeyList()[kKey].assignment.Code(), 0x200104u);
  EXPECT_TRUE(ButtonEnabled("key_butt_prosave")) << "pending";
  EXPECT_FALSE(page_->KeyButton(kKey)->IsKeySetHidden()) << "the key shows that its function changed";
  EXPECT_EQ(FileAssignment(kKey), file_before) << "saved in memory, not yet in the file";

  // A media key on another key: the drop-down's row is saved at once, then the chosen one.
  ClickKey(kMediaKey);
  EXPECT_TRUE(page_->KeyButton(kKey)->GetForeImage().isEmpty()) << "the mark moves";
  ChooseCategory(7);
  Choose("keyset_media_combo", 6);  // volume up, 0x00E9
  EXPECT_EQ(page_->Model().KeyList()[kMediaKey].assignment.Code(), 0x30E900u);

  Click("key_butt_prosave");
  EXPECT_EQ(DeviceCode(kKey), (std::array<uint8_t, 3>{0x20, 0x01, 0x04}));
  EXPECT_EQ(DeviceCode(kMediaKey), (std::array<uint8_t, 3>{0x30, 0xE9, 0x00}));
  EXPECT_EQ(FileAssignment(kKey), 0x200104u);
  EXPECT_EQ(FileAssignment(kMediaKey), 0x30E900u);
  EXPECT_FALSE(ButtonEnabled("key_butt_prosave")) << "not pending once applied";

  // Back to the default: shown, saved, applied; the factory code returns.
  ClickKey(kKey);
  EXPECT_EQ(editor_->SelectedCategory(), 6);
  Click("key_butt_keydefalut");
  EXPECT_EQ(editor_->SelectedCategory(), 0);
  EXPECT_EQ(page_->Model().KeyList()[kKey].assignment.Code(), 0x200104u) << "shown only, until saved";
  Click("key_butt_keysave");
  Click("key_butt_prosave");
  EXPECT_EQ(DeviceCode(kKey), factory);
  EXPECT_EQ(FileAssignment(kKey), file_before);
  EXPECT_TRUE(page_->KeyButton(kKey)->IsKeySetHidden());
}

TEST_F(KeySetEndToEnd, AKeyboardThatRefusesTheKeyTableLeavesTheChangePendingAndSaysSo) {
  MessageReader user;
  const std::array<uint8_t, 3> before = DeviceCode(kKey);
  ClickKey(kKey);
  ChooseCategory(7);
  Choose("keyset_media_combo", 7);  // mute
  keyboard_->InjectFault({sim::FaultKind::kStatus, {Id(LinkCommand::kWriteKeys), 1}, 0});
  Click("key_butt_prosave");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !user.texts.isEmpty(); }, 5000));
  EXPECT_EQ(user.texts.front(), ui::TextById(QStringLiteral("message_text_7")));
  EXPECT_EQ(DeviceCode(kKey), before);
  EXPECT_TRUE(ButtonEnabled("key_butt_prosave")) << "nothing claims success: the change is still to apply";
}

TEST_F(KeySetEndToEnd, KeysAreChosenOnlyOnTheKeyPageAndCapturedKeysGoOnlyToTheCurrentPage) {
  testing::Notify(Find("deng_Op_tab"), "selectchanged", 1);
  ClickKey(kKey);
  EXPECT_EQ(page_->Model().GetSelectedKey(), -1) << "the lighting page does not choose keys";
  testing::Notify(Find("key_Op_tab"), "selectchanged", 1);
  ClickKey(kKey);
  EXPECT_EQ(page_->Model().GetSelectedKey(), kKey);
  ChooseCategory(6);

  // The keyboard leaves: its page is no longer the current one, and a key typed goes nowhere.
  const uint32_t code = page_->Model().KeyList()[kKey].assignment.Code();
  keyboard_->Unplug();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->CurrentDevice() == nullptr; }, 5000));
  Type(0x1E, false, 30);
  EXPECT_EQ(page_->Model().KeyList()[kKey].assignment.Code(), code);
}

}  // namespace
}  // namespace zrv::app
