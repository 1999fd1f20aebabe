// The profile bar on the keyboard's page, worked through the main window's routing with a simulated
// keyboard attached: every operation of the bar, confirmed in the real message box, the switch that
// brings the keyboard in line with the chosen profile, and the function tabs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/main_wnd.h"
#include "app/msg_wnd.h"
#include "config/json_file.h"
#include "controls/device_profile.h"
#include "device/device_link.h"
#include "devices/keyboard_page.h"
#include "main_wnd_support.h"
#include "sim/simulated_devices.h"
#include "ui/containers.h"
#include "ui/file_dialog.h"
#include "ui/lookup.h"

namespace zrv::app {
namespace {

using device::LinkCommand;

constexpr size_t kKeyboardRow = 1;

uint8_t Id(LinkCommand command) { return static_cast<uint8_t>(command); }

// The user confirms every message box that opens while this lives.
class ConfirmingUser {
 public:
  ConfirmingUser() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = dynamic_cast<CMsgWnd*>(widget);
        if (box == nullptr || !box->isVisible()) continue;
        ++boxes;
        box->Close(1);
      }
    });
    timer_.start(10);
  }
  int boxes = 0;

 private:
  QTimer timer_;
};

class MainWndProfiles : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = testing::MakeMainWindow(CMainWnd::StartOptions{true, false, false});
    keyboard_ = sim::CreateModel("keyboard");
    ASSERT_TRUE(keyboard_->Plug());
    ASSERT_TRUE(WaitFor([&] { return keyboard_->Log().CountFrames(Id(LinkCommand::kEnd)) > 0; }));
    page_ = dynamic_cast<devices::CHalveronKeyboardDevicePage*>(window_->DevicePages()[kKeyboardRow]);
    ASSERT_NE(page_, nullptr);
    ASSERT_EQ(window_->CurrentDevice(), page_);
    bar_ = page_->ProfileBar();
    ASSERT_NE(bar_, nullptr);
  }
  void TearDown() override {
    ui::SetFileDialogHook(nullptr);
    window_.reset();
    if (keyboard_) keyboard_->Unplug();
  }

  static bool WaitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 5000); }
  void Click(const char* name) { testing::Notify(ui::FindSubControlByName(bar_, QString::fromLatin1(name)), "click"); }
  QStringList Rows() const {
    QStringList rows;
    for (int i = 0; i < bar_->ProfileCombo()->GetCount(); ++i) rows << bar_->ProfileCombo()->GetItemText(i);
    return rows;
  }
  QString IdOfRow(int row) const { return bar_->List().Entries().at(static_cast<size_t>(row)).id; }
  std::string DeviceProfile() const { return page_->Keyboard().ProfileId(); }
  size_t SettingsWrites() const { return keyboard_->Log().CountFrames(Id(LinkCommand::kWriteSettings)); }
  // The file dialogs answer `path`.
  static void AnswerDialogs(const QString& path) {
    ui::SetFileDialogHook([path](const ui::FileDialogRequest&) { return path; });
  }

  testing::PrivateFolders folders_;
  std::unique_ptr<CMainWnd> window_;
  std::shared_ptr<sim::FirmwareModel> keyboard_;
  devices::CHalveronKeyboardDevicePage* page_ = nullptr;
  controls::CDeviceProfileUI* bar_ = nullptr;
};

TEST_F(MainWndProfiles, EveryOperationOfTheBarWorksOnThePage) {
  ConfirmingUser user;
  QTemporaryDir exports;
  EXPECT_TRUE(bar_->isVisible()) << "the bar is on the keyboard's page";
  EXPECT_EQ(Rows(), QStringList{"profile1"});
  EXPECT_EQ(DeviceProfile(), IdOfRow(0).toStdString());

  Click("profile_fun_spread_btn");
  EXPECT_TRUE(bar_->IsMenuVisible());

  // Create and copy: new rows; the keyboard stays with its profile.
  Click("device_add_btn");
  Click("device_copy_btn");
  EXPECT_EQ(Rows(), (QStringList{"profile1", "profile2", "profile1 copy"}));
  EXPECT_EQ(user.boxes, 2) << "each confirmed first";
  EXPECT_EQ(DeviceProfile(), IdOfRow(0).toStdString());

  // Switch: the choice reaches the keyboard once timer 1055 has run.
  size_t writes = SettingsWrites();
  bar_->ProfileCombo()->SelectItem(1, false, true);
  EXPECT_EQ(DeviceProfile(), IdOfRow(0).toStdString()) << "not before the timer";
  ASSERT_TRUE(WaitFor([&] { return DeviceProfile() == IdOfRow(1).toStdString(); }));
  EXPECT_GT(SettingsWrites(), writes) << "the keyboard gets the profile's settings";

  // Rename the profile in use.
  bar_->NameEdit()->SetText("Work");
  Click("device_profile_edit_save_btn");
  EXPECT_EQ(Rows(), (QStringList{"profile1", "Work", "profile1 copy"}));

  // Export, then import what was exported: it comes back under a name of its own.
  const QString exported = exports.filePath("work.json");
  AnswerDialogs(exported);
  Click("device_export_btn");
  EXPECT_EQ(config::ReadJsonFile(exported)["profilename"].asString(), "Work");
  Click("device_import_btn");
  EXPECT_EQ(Rows(), (QStringList{"profile1", "Work", "profile1 copy", "work(1)"}));
  EXPECT_NE(IdOfRow(3), IdOfRow(1)) << "an imported profile is a profile of its own";

  // Reset the profile in use: back to the template, loaded and written to the keyboard.
  config::KeyboardSystem changed = page_->Keyboard().GetKeyboardSystem();
  const uint16_t template_repeat = changed.repeat;
  changed.repeat = template_repeat == 7 ? 8 : 7;
  page_->Keyboard().ChangeKeyboardSystem(changed, false);
  writes = SettingsWrites();
  Click("device_reset_btn");
  EXPECT_EQ(page_->Keyboard().GetKeyboardSystem().repeat, template_repeat);
  EXPECT_GT(SettingsWrites(), writes);
  EXPECT_EQ(Rows().at(1), "Work") << "a reset keeps the name";

  // Delete the profile in use: the previous one is chosen and the keyboard switches to it.
  Click("device_sub_btn");
  EXPECT_EQ(Rows(), (QStringList{"profile1", "profile1 copy", "work(1)"}));
  EXPECT_EQ(bar_->GetCurSel(), 0);
  ASSERT_TRUE(WaitFor([&] { return DeviceProfile() == IdOfRow(0).toStdString(); }));
  EXPECT_EQ(user.boxes, 4) << "create, copy, reset and delete were confirmed, nothing else was said";

  // The list on disk is what the bar shows.
  config::ProfileList on_disk(bar_->List().DataFolder(), bar_->List().TemplatePath(), device::DeviceKind::kKeyboard);
  on_disk.Load();
  ASSERT_EQ(on_disk.Count(), 3);
  EXPECT_EQ(on_disk.Entries().at(2).name, "work(1)");
}

TEST_F(MainWndProfiles, AChoiceReachesItsKeyboardWhenAnotherDeviceIsShownBeforeTheTimer) {
  auto mouse = sim::CreateModel("mouse");
  ASSERT_TRUE(mouse->Plug());
  devices::CHalveronUSBDevicePage* mouse_page = window_->DevicePages()[0];
  ASSERT_TRUE(WaitFor([&] { return window_->CurrentDevice() == mouse_page; }));
  DeviceSelector& selector = window_->Selector();
  ASSERT_TRUE(selector.SelectItem(selector.IndexOfDevice(page_), true, true));
  ASSERT_EQ(window_->CurrentDevice(), page_);
  ASSERT_TRUE(bar_->NewProfile());
  const std::string mouse_profile = mouse_page->Model().ProfileId();

  bar_->ProfileCombo()->SelectItem(1, false, true);
  ASSERT_TRUE(selector.SelectItem(selector.IndexOfDevice(mouse_page), true, true));
  ASSERT_EQ(window_->CurrentDevice(), mouse_page);
  EXPECT_TRUE(WaitFor([&] { return DeviceProfile() == IdOfRow(1).toStdString(); }));
  EXPECT_EQ(bar_->GetCurrentProfileId(), IdOfRow(1));
  EXPECT_EQ(mouse_page->Model().ProfileId(), mouse_profile);
  mouse->Unplug();
}

TEST_F(MainWndProfiles, TheFunctionTabsShowTheirPagesOfTheDevice) {
  auto* functions = ui::FindSubControlByName<ui::TabLayout>(page_, QStringLiteral("device_function_switch"));
  ASSERT_NE(functions, nullptr);
  bar_->OpTab(4)->Selected(true, true);  // as the user's click
  EXPECT_EQ(page_->Keyboard().GetFunctionMode(), 4);
  EXPECT_EQ(functions->GetCurSel(), 3) << "the keyboard's system settings";
  EXPECT_FALSE(bar_->OpTab(1)->IsSelected());
  bar_->OpTab(1)->Selected(true, true);
  EXPECT_EQ(page_->Keyboard().GetFunctionMode(), 1);
  EXPECT_EQ(functions->GetCurSel(), 0);
}

}  // namespace
}  // namespace zrv::app
