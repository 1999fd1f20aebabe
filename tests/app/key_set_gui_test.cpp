// Under Xvfb (ctest test app.gui_smoke): key capture of the key assignment editor on a real X
// server. Keys are typed through XTest; a second X client shows what other programs get.
#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <QApplication>
#include <QImage>

#include "app/main_wnd.h"
#include "device/device_link.h"
#include "devices/device_page.h"
#include "editors/device_hook.h"
#include "editors/key_set_control.h"
#include "main_wnd_support.h"
#include "platform_input/x_test_support.h"
#include "sim/simulated_devices.h"
#include "ui/combo.h"
#include "ui/edit.h"
#include "ui/lookup.h"

namespace zrv::app {
namespace {

constexpr size_t kKeyboardRow = 1;
constexpr int kKey = 0;

TEST(AppGuiKeySet, AKeyTypedIntoTheKeyEditIsTakenFromTheDesktopUntilTheEditLosesTheFocus) {
  if (qEnvironmentVariable("ZRV31_TEST_GUI") != "1") GTEST_SKIP() << "needs an X server (xvfb-run)";
  testing::PrivateFolders folders;
  test::XClient other;  // another program, with the input focus for now
  auto window = testing::MakeMainWindow(CMainWnd::StartOptions{true, false, false});
  auto keyboard = sim::CreateModel("keyboard");
  ASSERT_TRUE(keyboard->Plug());
  const auto end = static_cast<uint8_t>(device::LinkCommand::kEnd);
  ASSERT_TRUE(QTest::qWaitFor([&] { return keyboard->Log().CountFrames(end) > 0; }, 5000));
  devices::CHalveronUSBDevicePage* page = window->DevicePages()[kKeyboardRow];
  ASSERT_EQ(window->CurrentDevice(), page);
  page->ProfileBar()->OpTab(2)->Selected(true, true);  // the key page
  testing::Notify(page->KeyButton(kKey), "click");
  auto* functions = ui::FindSubControlByName<ui::Combo>(page, QStringLiteral("keyset_function_combo"));
  ASSERT_NE(functions, nullptr);
  ASSERT_TRUE(functions->SelectItem(functions->FindItemByUserData(QStringLiteral("6")), false, true));

  // The user clicks into the key edit of the active window.
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window->isActiveWindow(); }, 5000));
  auto* edit = ui::FindSubControlByName<ui::Edit>(page, QStringLiteral("keyset_keyboard_text_edit"));
  ASSERT_NE(edit, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return edit->isVisible(); }, 5000));
  const QPoint centre = edit->mapToGlobal(edit->rect().center());
  other.MovePointer(centre.x(), centre.y());
  other.Click(1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window->InputHook().IsInstalled(); }, 5000));
  EXPECT_EQ(window->InputHook().KeyScope(), platform::input::CaptureScope::kDesktop);

  other.Type(KEY_B);
  ASSERT_TRUE(QTest::qWaitFor([&] { return page->Model().KeyList()[kKey].assignment.Code() == 0x200005u; }, 5000));
  EXPECT_EQ(edit->GetText(), ui::TextById(QStringLiteral("keyboard_key_B")));
  EXPECT_TRUE(other.TakeKeyPresses().empty()) << "the key reached no other program";

  // Focus leaving the edit releases the keys.
  edit->clearFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window->InputHook().IsInstalled(); }, 5000));
  EXPECT_FALSE(window->InputHookInstalled());
  other.Focus();
  other.Type(KEY_C);
  EXPECT_TRUE(test::WaitFor([&] { return !other.TakeKeyPresses().empty(); }));
  EXPECT_EQ(page->Model().KeyList()[kKey].assignment.Code(), 0x200005u);

  window.reset();
  keyboard->Unplug();
}

// The editor as the user sees it, keyboard and mouse: ZRV31_KEYSET_SCREENSHOTS=DIR keeps the two
// pictures (docs/ holds them).
TEST(AppGuiKeySet, TheEditorIsDrawnOnTheKeyboardAndTheMousePage) {
  if (qEnvironmentVariable("ZRV31_TEST_GUI") != "1") GTEST_SKIP() << "needs an X server (xvfb-run)";
  testing::PrivateFolders folders;
  auto window = testing::MakeStyledMainWindow(CMainWnd::StartOptions{true, false, false});
  const auto end = static_cast<uint8_t>(device::LinkCommand::kEnd);
  const QString folder = qEnvironmentVariable("ZRV31_KEYSET_SCREENSHOTS");
  struct Shot {
    const char* kind;
    size_t row;
    int key;
    int category;
    const char* file;
  };
  for (const Shot& shot : {Shot{"keyboard", kKeyboardRow, 2, 6, "screenshot-key-editor-keyboard.png"},
                           Shot{"mouse", 0, 3, 3, "screenshot-key-editor-mouse.png"}}) {
    auto device = sim::CreateModel(shot.kind);
    ASSERT_TRUE(device->Plug());
    devices::CHalveronUSBDevicePage* page = window->DevicePages()[shot.row];
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->CurrentDevice() == page; }, 5000));
    // The keyboard is read before its page is shown (the mouse's reads arrive with its model).
    if (shot.row == kKeyboardRow) {
      ASSERT_TRUE(QTest::qWaitFor([&] { return device->Log().CountFrames(end) > 0; }, 5000));
    }
    page->ProfileBar()->OpTab(2)->Selected(true, true);
    testing::Notify(page->KeyButton(shot.key), "click");
    if (page->Model().KeyList().empty()) {
      // A model without a key list yet (the mouse's comes with its model): the editor is shown
      // with a wheel burst of 3 down directly.
      auto* editor = ui::FindSubControlByName<editors::CKeySetControlUI>(page, QStringLiteral("KeySetControlItem"));
      ASSERT_NE(editor, nullptr);
      editor->ShowKey(config::KeyHalf::FromCode(shot.key, 0x1235FD), config::KeyHalf::FromCode(shot.key, 0x100800));
    }
    auto* functions = ui::FindSubControlByName<ui::Combo>(page, QStringLiteral("keyset_function_combo"));
    ASSERT_NE(functions, nullptr);
    if (functions->GetCurSel() != functions->FindItemByUserData(QString::number(shot.category))) {
      functions->SelectItem(functions->FindItemByUserData(QString::number(shot.category)), false, true);
    }
    if (shot.category == 6) {
      auto* modifier = ui::FindSubControlByName<ui::Option>(page, QStringLiteral("key_ComBox_check_1"));
      ASSERT_NE(modifier, nullptr);
      modifier->Selected(true, true);
    }
    QTest::qWait(600);
    auto* layout = ui::FindSubControlByName(page, QStringLiteral("keyset_layout"));
    ASSERT_NE(layout, nullptr);
    EXPECT_TRUE(layout->IsVisible());
    const QImage picture = window->grab().toImage();
    if (!folder.isEmpty()) {
      EXPECT_TRUE(picture.save(folder + u'/' + QLatin1String(shot.file)));
    }
    device->Unplug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->CurrentDevice() != page; }, 5000));
  }
  window.reset();
  qApp->setStyleSheet(QString());
}

}  // namespace
}  // namespace zrv::app
