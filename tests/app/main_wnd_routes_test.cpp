// The main window's routing: its own routes run with or without a current device; a page's routes
// and the profile bar's run only for the current device, and a keyboard's settings only on a
// keyboard.
#include <gtest/gtest.h>

#include "app/device_option.h"
#include "app/main_wnd.h"
#include "devices/device_page.h"
#include "devices/keyboard_page.h"
#include "main_wnd_support.h"
#include "ui/edit.h"
#include "ui/lookup.h"
#include "ui/slider.h"

namespace zrv::app {
namespace {

using testing::ItemOfRow;
using testing::MakeMainWindow;
using testing::NoThreads;

constexpr size_t kMouse = 0;
constexpr size_t kKeyboard = 1;

class MainWndRoutesTest : public ::testing::Test {
 protected:
  void SetUp() override { window_ = MakeMainWindow(NoThreads()); }
  devices::CHalveronUSBDevicePage* Page(size_t row) { return window_->DevicePages().at(row); }
  ui::Control* OnPage(size_t row, const char* name) {
    ui::Control* control = ui::FindSubControlByName(Page(row), QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  void MakeCurrent(size_t row) {
    window_->Selector().SelectItem(window_->Selector().IndexOf(ItemOfRow(*window_, row)), true, true);
    ASSERT_EQ(window_->CurrentDevice(), Page(row));
  }
  // A control of a later feature, put on a page under its name.
  template <class T>
  T* AddToPage(size_t row, const char* name) {
    auto* control = new T;
    control->SetName(QString::fromLatin1(name));
    EXPECT_TRUE(Page(row)->Add(control));
    return control;
  }
  devices::CHalveronKeyboardDevicePage& Keyboard() {
    return *dynamic_cast<devices::CHalveronKeyboardDevicePage*>(Page(kKeyboard));
  }

  testing::PrivateFolders folders_;
  std::unique_ptr<CMainWnd> window_;
};

TEST_F(MainWndRoutesTest, APagesRoutesRunOnlyWhileItsDeviceIsTheCurrentOne) {
  ASSERT_EQ(window_->CurrentDevice(), nullptr);
  const uint16_t win_flag = Keyboard().Keyboard().GetKeyboardSystem().win_flag;
  testing::Notify(OnPage(kKeyboard, "winlockflag_option"), "selectchanged", win_flag == 0 ? 1 : 0);
  testing::Notify(OnPage(kKeyboard, "key_Op_tab"), "selectchanged", 1);
  EXPECT_EQ(Keyboard().Keyboard().GetKeyboardSystem().win_flag, win_flag) << "no current device";
  EXPECT_EQ(Page(kKeyboard)->Model().GetFunctionMode(), 1);

  MakeCurrent(kKeyboard);
  testing::Notify(OnPage(kKeyboard, "winlockflag_option"), "selectchanged", win_flag == 0 ? 1 : 0);
  EXPECT_NE(Keyboard().Keyboard().GetKeyboardSystem().win_flag, win_flag);
  testing::Notify(OnPage(kKeyboard, "key_Op_tab"), "selectchanged", 1);
  EXPECT_EQ(Page(kKeyboard)->Model().GetFunctionMode(), 2);
  testing::Notify(OnPage(kKeyboard, "deng_Op_tab"), "selectchanged", 0);
  EXPECT_EQ(Page(kKeyboard)->Model().GetFunctionMode(), 2) << "the tab that lost the selection";

  // The mouse page has no keyboard settings; the function tabs act on the current device alone.
  MakeCurrent(kMouse);
  const uint16_t w_flag = Keyboard().Keyboard().GetKeyboardSystem().w_flag;
  testing::Notify(OnPage(kKeyboard, "wflag_option"), "selectchanged", w_flag == 0 ? 1 : 0);
  EXPECT_EQ(Keyboard().Keyboard().GetKeyboardSystem().w_flag, w_flag);
  testing::Notify(OnPage(kMouse, "deng_Op_tab"), "selectchanged", 1);
  EXPECT_EQ(Page(kMouse)->Model().GetFunctionMode(), 1);
  testing::Notify(OnPage(kMouse, "key_Op_tab"), "selectchanged", 1);
  EXPECT_EQ(Page(kMouse)->Model().GetFunctionMode(), 2);
  testing::Notify(OnPage(kMouse, "deng_Op_tab"), "selectchanged", 1);
  EXPECT_EQ(Page(kMouse)->Model().GetFunctionMode(), 1);
  EXPECT_EQ(Page(kKeyboard)->Model().GetFunctionMode(), 2);
}

TEST_F(MainWndRoutesTest, TheKeyRecordingEditsFocusHoldsTheInputHookWithOrWithoutDevice) {
  ASSERT_EQ(window_->CurrentDevice(), nullptr);
  ui::Control* edit = AddToPage<ui::Edit>(kKeyboard, "keyset_keyboard_text_edit");
  testing::Notify(edit, "setfocus");
  EXPECT_TRUE(window_->InputHookInstalled());
  testing::Notify(edit, "killfocus");
  EXPECT_FALSE(window_->InputHookInstalled());
}

TEST_F(MainWndRoutesTest, ADraggedDpiSliderShowsItsValueInTheEditOfItsNumber) {
  ui::Control* slider = AddToPage<ui::Slider>(kMouse, "orvex_DPI_slider_1");
  ui::Control* edit = AddToPage<ui::Edit>(kMouse, "orvex_DPI_edit_1");
  ui::Control* other_edit = AddToPage<ui::Edit>(kMouse, "orvex_DPI_edit_2");
  testing::Notify(slider, "movevaluechanged", 3200);
  EXPECT_TRUE(edit->GetText().isEmpty()) << "no current device";
  MakeCurrent(kMouse);
  testing::Notify(slider, "movevaluechanged", 3200);
  EXPECT_EQ(edit->GetText(), "3200");
  EXPECT_TRUE(other_edit->GetText().isEmpty());
}

}  // namespace
}  // namespace zrv::app
