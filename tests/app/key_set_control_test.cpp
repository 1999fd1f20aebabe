// The key assignment editor's controls as the skin builds them: what ShowKey puts on them comes
// back from BuildAssignment, for every kind of control the categories use.
#include <gtest/gtest.h>

#include "app/main_wnd.h"
#include "devices/device_page.h"
#include "editors/key_set_control.h"
#include "editors/key_set_flow.h"
#include "main_wnd_support.h"
#include "ui/combo.h"
#include "ui/edit.h"
#include "ui/lookup.h"

namespace zrv::app {
namespace {

constexpr size_t kMouseRow = 0;
constexpr size_t kKeyboardRow = 1;

class KeySetControl : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = testing::MakeMainWindow(testing::NoThreads());
    mouse_ = EditorOf(kMouseRow);
    keyboard_ = EditorOf(kKeyboardRow);
    ASSERT_NE(mouse_, nullptr);
    ASSERT_NE(keyboard_, nullptr);
  }
  editors::CKeySetControlUI* EditorOf(size_t row) {
    return ui::FindSubControlByName<editors::CKeySetControlUI>(window_->DevicePages()[row],
                                                               QLatin1String(editors::KeySetFlow::kEditorName));
  }
  template <class T = ui::Control>
  T* In(editors::CKeySetControlUI* editor, const char* name) {
    return ui::FindSubControlByName<T>(editor, QLatin1String(name));
  }
  static config::KeyHalf Code(uint32_t code) { return config::KeyHalf::FromCode(7, code); }

  testing::PrivateFolders folders_;
  std::unique_ptr<CMainWnd> window_;
  editors::CKeySetControlUI* mouse_ = nullptr;
  editors::CKeySetControlUI* keyboard_ = nullptr;
};

TEST_F(KeySetControl, ShowingAndBuildingGiveTheAssignmentBackThroughEveryKindOfControl) {
  mouse_->FillMacroNames({"first", "second"});
  const config::KeyHalf def = Code(0x100100);  // the left button
  struct Case {
    uint32_t code;
    int category;
  };
  for (const Case c : {Case{0x100400, 1},  // combo row (mouse button)
                       Case{0x113A85, 2},  // direction combo and three edits, direction 1
                       Case{0x1221FD, 3},  // wheel: -3 as byte 4
                       Case{0x130200, 4},  // DPI down
                       Case{0x140A05, 5},  // two edits
                       Case{0x200106, 6},  // Ctrl option + key text
                       Case{0x304000, 7},  // wrong media code: no row, kept as it was
                       Case{0x400200, 8},  // sleep
                       Case{0x710107, 9},  // second macro, repeated 7 times: the repeat row
                       Case{0x700003, 9},  // first macro, mode 3
                       Case{0x720200, 10}}) {
    mouse_->ShowKey(Code(c.code), def);
    EXPECT_EQ(mouse_->SelectedCategory(), c.category) << std::hex << c.code;
    EXPECT_EQ(mouse_->BuildAssignment().Code(), c.code) << std::hex << c.code;
    EXPECT_EQ(mouse_->BuildAssignment().key, 7);
  }
  mouse_->ShowKey(Code(0x710107), def);
  EXPECT_TRUE(In(mouse_, "keyset_macro_cycle_layout")->IsVisible());
  EXPECT_EQ(In(mouse_, "keyset_macro_cycle_edit")->GetText(), "7");
  mouse_->ShowKey(Code(0x1221FD), def);
  EXPECT_EQ(In<ui::Combo>(mouse_, "keyset_mousewheel_combo")->GetCurSel(), 1);
  EXPECT_EQ(In(mouse_, "keyset_mousewheel_num_edit")->GetText(), "3");

  // The user's changes on the controls make the assignment.
  mouse_->ShowKey(Code(0x140A05), def);
  In(mouse_, "keyset_mousefire_num_edit")->SetText(QStringLiteral("12"));
  EXPECT_EQ(mouse_->BuildAssignment().Code(), 0x140A0Cu);
  mouse_->ShowKey(def, def);
  EXPECT_EQ(mouse_->SelectedCategory(), 0);
  mouse_->ShowCurrent();
  EXPECT_EQ(mouse_->BuildAssignment().Code(), def.Code());
}

TEST_F(KeySetControl, ModifierOptionsMacroListAndTheKeyboardsCategories) {
  keyboard_->SetModifierChoice(3);
  EXPECT_EQ(keyboard_->GetModifierChoice(), 3);
  In<ui::Option>(keyboard_, "key_ComBox_check_1")->Selected(true);
  EXPECT_EQ(keyboard_->GetModifierChoice(), 3) << "the highest selected option";
  keyboard_->SetModifierChoice(-1);
  EXPECT_EQ(keyboard_->GetModifierChoice(), -1);

  auto* macros = In<ui::Combo>(keyboard_, "keyset_macro_combo");
  keyboard_->FillMacroNames({"a", "b", "c"});
  EXPECT_EQ(macros->GetCount(), 3);
  EXPECT_EQ(macros->GetCurSel(), -1);
  keyboard_->RemoveMacroName(-1);
  keyboard_->RemoveMacroName(0);
  keyboard_->RenameMacroName(0, QString());
  keyboard_->RenameMacroName(1, QStringLiteral("z"));
  keyboard_->AddMacroName(QStringLiteral("d"));
  EXPECT_EQ(macros->GetCount(), 3);
  EXPECT_EQ(macros->GetItemText(0), "b");
  EXPECT_EQ(macros->GetItemText(1), "z");
  EXPECT_EQ(macros->GetItemText(2), "d");

  // A keyboard never offers the DPI and shoot categories; a mouse does.
  auto* functions = In<ui::Combo>(keyboard_, "keyset_function_combo");
  EXPECT_FALSE(functions->IsItemVisible(functions->FindItemByUserData("4")));
  EXPECT_FALSE(functions->IsItemVisible(functions->FindItemByUserData("10")));
  EXPECT_TRUE(functions->IsItemVisible(functions->FindItemByUserData("6")));
  auto* mouse_functions = In<ui::Combo>(mouse_, "keyset_function_combo");
  EXPECT_TRUE(mouse_functions->IsItemVisible(mouse_functions->FindItemByUserData("10")));
  // Item order follows the categories: item i carries category i.
  for (int i = 0; i < config::kCategoryCount; ++i) EXPECT_EQ(functions->GetItemUserData(i), QString::number(i));
  EXPECT_EQ(In<ui::TabLayout>(keyboard_, "function_switch_tablayout")->GetCount(), config::kCategoryCount);
}

}  // namespace
}  // namespace zrv::app
