// The keyboard page on the offscreen platform: the system-settings controls of its layout, filled
// from the profile, and the user's changes stored into the profile and sent to the simulated
// keyboard; and the page's timer merging 0x0402 and 0x0401 into one sync request.

#include <gtest/gtest.h>

#include <QTest>

#include <memory>

#include "controls/device_key_button.h"
#include "controls/select_panel.h"
#include "devices/device_page_factory.h"
#include "devices/keyboard_page.h"
#include "keyboard_test_support.h"
#include "page_test_support.h"
#include "sim/memory_map.h"
#include "ui/button.h"
#include "ui/control_factory.h"
#include "ui/language.h"
#include "ui/lookup.h"
#include "ui/resources.h"
#include "ui/slider.h"

namespace zrv::devices {
namespace {

using testing::KeyboardFolders;
using testing::SimulatorTest;

constexpr size_t kKeyboardRow = 1;
constexpr size_t kKeyboardCommandRecord = 0;
constexpr uint8_t kWriteSettingsCmd = 0x06;
constexpr uint8_t kReadSettingsCmd = 0x05;

class KeyboardPageTest : public KeyboardFolders, public SimulatorTest {
 protected:
  static void SetUpTestSuite() { testing::RegisterPageControls(); }

  void SetUp() override {
    QString error;
    page_.reset(dynamic_cast<CHalveronKeyboardDevicePage*>(
        CreateDevicePage(kKeyboardRow, device::kInterfaceTable[kKeyboardCommandRecord], nullptr, nullptr, &error)));
    ASSERT_NE(page_, nullptr) << error.toStdString();
    device_ = sim::KeyboardModel::Create();
    ASSERT_TRUE(device_->Plug());
    Connect(page_->Keyboard(), *device_);
    page_->Keyboard().OnAttached();  // tables, "profile1", the settings record, the page
    device_->Log().Clear();
  }
  void TearDown() override { page_.reset(); }

  template <class T = ui::Control>
  T* Find(const QString& name) const {
    return ui::FindSubControlByName<T>(page_.get(), name);
  }
  ui::Option* Option(const char* prefix, int n) const {
    return Find<ui::Option>(QLatin1String(prefix) + QString::number(n));
  }
  // Which option of a group is selected (-1: none, -2: several).
  int Selected(const char* prefix) const {
    int selected = -1;
    for (int n = 0; n < 4; ++n) {
      ui::Option* option = Option(prefix, n);
      if (option == nullptr || !option->IsSelected()) continue;
      selected = selected == -1 ? n : -2;
    }
    return selected;
  }
  // The notification the user's action raises, as the main window hands it over.
  bool Notify(const char* type, ui::Control* sender, qint64 w_param) {
    ui::Notify msg;
    msg.type = QLatin1String(type);
    msg.sender = sender;
    msg.wParam = w_param;
    return page_->OnSystemSettingNotify(msg);
  }
  // The user selects an option: it becomes selected, and its group reports it.
  bool Choose(const char* prefix, int n) {
    ui::Option* option = Option(prefix, n);
    EXPECT_NE(option, nullptr);
    option->Selected(true);
    return Notify("selectchanged", option, 1);
  }
  config::KeyboardSystem Stored() const {
    const Json::Value stages =
        config::ReadJsonFile(QString::fromStdString(page_->Keyboard().ProfilePath()))["Device"][0]["SystemStages"];
    return {static_cast<uint16_t>(stages["Repeat"].asUInt()),   static_cast<uint16_t>(stages["RepeatDelay"].asUInt()),
            static_cast<uint16_t>(stages["Key6Flag"].asUInt()), static_cast<uint16_t>(stages["PollingRate"].asUInt()),
            static_cast<uint16_t>(stages["WFlag"].asUInt()),    static_cast<uint16_t>(stages["WinFlag"].asUInt()),
            static_cast<uint16_t>(stages["ScanDelay"].asUInt())};
  }
  uint8_t RecordByte(size_t at) const { return device_->SettingsRecord(0).at(at); }
  size_t Writes() const { return device_->Log().CountFrames(kWriteSettingsCmd); }

  std::unique_ptr<CHalveronKeyboardDevicePage> page_;
  std::shared_ptr<sim::KeyboardModel> device_;
};

TEST_F(KeyboardPageTest, TheLayoutHoldsEverySystemSettingsControl) {
  for (const char* prefix : {"polling_rate_option_", "delay_rate_option_", "repeat_delay_check_"}) {
    for (int n = 0; n < 4; ++n) EXPECT_NE(Option(prefix, n), nullptr) << prefix << n;
    EXPECT_EQ(Option(prefix, 4), nullptr) << prefix;
  }
  for (const char* name : {"winlockflag_option", "wflag_option", "6flag_option"}) {
    ui::Option* option = Find<ui::Option>(QLatin1String(name));
    ASSERT_NE(option, nullptr) << name;
    EXPECT_TRUE(option->GetGroup().isEmpty()) << name << " toggles on its own";
  }
  EXPECT_NE(Find<ui::Slider>(QStringLiteral("repeat_rate_slider")), nullptr);
  EXPECT_NE(Find(QStringLiteral("repeat_delay_time_label1")), nullptr);
  // The settings are page 3 of the function container, the page that function mode 4 shows.
  auto* tabs = Find<ui::TabLayout>(QLatin1String(kFunctionSwitchName));
  ASSERT_NE(tabs, nullptr);
  page_->Keyboard().SetFunctionMode(4);
  EXPECT_EQ(tabs->GetCurSel(), 3);
  EXPECT_EQ(tabs->GetItemAt(3)->GetName(), "device_function_page_3");
}

TEST_F(KeyboardPageTest, TheControlsShowTheLoadedProfile) {
  // What the template and the keyboard's record gave at attach.
  const config::KeyboardSystem loaded = page_->Keyboard().GetKeyboardSystem();
  EXPECT_EQ(Selected("polling_rate_option_"), loaded.polling_rate);
  EXPECT_EQ(Find<ui::Slider>(QStringLiteral("repeat_rate_slider"))->GetValue(), loaded.repeat);

  page_->Keyboard().ChangeKeyboardSystem(
      {.repeat = 20, .repeat_delay = 3, .key6_flag = 1, .polling_rate = 2, .w_flag = 0, .win_flag = 1, .scan_delay = 9},
      false);
  page_->Keyboard().RefreshPage();
  EXPECT_EQ(Selected("polling_rate_option_"), 2);
  EXPECT_EQ(Selected("delay_rate_option_"), 0) << "an index outside 0-3 shows option 0";
  EXPECT_EQ(Selected("repeat_delay_check_"), 3);
  EXPECT_TRUE(Find<ui::Option>(QStringLiteral("winlockflag_option"))->IsSelected());
  EXPECT_FALSE(Find<ui::Option>(QStringLiteral("wflag_option"))->IsSelected());
  EXPECT_TRUE(Find<ui::Option>(QStringLiteral("6flag_option"))->IsSelected());
  EXPECT_EQ(Find<ui::Slider>(QStringLiteral("repeat_rate_slider"))->GetValue(), 20);
  EXPECT_EQ(Find(QStringLiteral("repeat_delay_time_label1"))->GetText(),
            ui::TextById(QStringLiteral("Repeat_Delay_Time")) + QStringLiteral("1000ms"));
  EXPECT_EQ(Writes(), 0u) << "showing sends nothing";
}

TEST_F(KeyboardPageTest, RateAndFlagChangesAreStoredThenSentToTheKeyboard) {
  EXPECT_TRUE(Choose("polling_rate_option_", 3));
  EXPECT_EQ(Stored().polling_rate, 3);
  EXPECT_EQ(RecordByte(22), 3);
  EXPECT_EQ(Selected("polling_rate_option_"), 3);

  EXPECT_TRUE(Choose("delay_rate_option_", 2));
  EXPECT_EQ(Stored().scan_delay, 2);
  EXPECT_EQ(RecordByte(25), 2);
  EXPECT_EQ(Stored().polling_rate, 3) << "the other values stay";

  auto* win_lock = Find<ui::Option>(QStringLiteral("winlockflag_option"));
  EXPECT_TRUE(Notify("selectchanged", win_lock, 1));
  EXPECT_EQ(Stored().win_flag, 1);
  EXPECT_EQ(RecordByte(21), 1);
  EXPECT_TRUE(Notify("selectchanged", win_lock, 0));
  EXPECT_EQ(Stored().win_flag, 0);
  EXPECT_EQ(RecordByte(21), 0);
  EXPECT_TRUE(Notify("selectchanged", Find(QStringLiteral("wflag_option")), 1));
  EXPECT_EQ(RecordByte(19), 1);
  EXPECT_TRUE(Notify("selectchanged", Find(QStringLiteral("6flag_option")), 1));
  EXPECT_EQ(RecordByte(20), 1);
  EXPECT_EQ(Stored().key6_flag, 1);
  EXPECT_EQ(Writes(), 6u) << "one record per change";

  // The option a group leaves reports too; it changes nothing.
  EXPECT_TRUE(Notify("selectchanged", Option("polling_rate_option_", 1), 0));
  EXPECT_EQ(Stored().polling_rate, 3);
  EXPECT_EQ(Writes(), 6u);

  // An option number outside 0-3 selects option 0.
  page_->SystemSettings().SelectPollingRate(7);
  EXPECT_EQ(Selected("polling_rate_option_"), 0);
  EXPECT_EQ(Stored().polling_rate, 0);
  EXPECT_EQ(RecordByte(22), 0);
}

TEST_F(KeyboardPageTest, RepeatRateAndDelayAreStoredButNotSent) {
  auto* slider = Find<ui::Slider>(QStringLiteral("repeat_rate_slider"));
  slider->SetValue(12);
  EXPECT_TRUE(Notify("valuechanged", slider, 12));
  EXPECT_EQ(Stored().repeat, 12);

  EXPECT_TRUE(Choose("repeat_delay_check_", 2));
  EXPECT_EQ(Stored().repeat_delay, 2);
  EXPECT_EQ(Find(QStringLiteral("repeat_delay_time_label1"))->GetText(),
            ui::TextById(QStringLiteral("Repeat_Delay_Time")) + QStringLiteral("750ms"));
  EXPECT_EQ(Writes(), 0u);
  EXPECT_EQ(device_->Log().CountCommandFrames(sim::Direction::kToDevice), 0u);
}

TEST_F(KeyboardPageTest, TheResetButtonBringsBackTheTemplatesRepeatValues) {
  const Json::Value factory = config::ReadJsonFile(TemplatePath())["Device"][0]["SystemStages"];
  page_->Keyboard().ChangeKeyboardSystem(
      {.repeat = 2, .repeat_delay = 3, .key6_flag = 1, .polling_rate = 2, .w_flag = 1, .win_flag = 1, .scan_delay = 1},
      false);
  EXPECT_TRUE(Notify("click", Find(QStringLiteral("reset_repeat_btn")), 0));
  const config::KeyboardSystem stored = Stored();
  EXPECT_EQ(stored.repeat, factory["Repeat"].asUInt());
  EXPECT_EQ(stored.repeat_delay, factory["RepeatDelay"].asUInt());
  EXPECT_EQ(stored.polling_rate, 2) << "only the repeat values";
  EXPECT_EQ(stored.win_flag, 1);
  EXPECT_EQ(Find<ui::Slider>(QStringLiteral("repeat_rate_slider"))->GetValue(), factory["Repeat"].asInt());
  EXPECT_EQ(Selected("repeat_delay_check_"), factory["RepeatDelay"].asInt());
  EXPECT_EQ(Writes(), 0u);
}

TEST_F(KeyboardPageTest, OtherNotificationsAreLeftToTheirOwners) {
  EXPECT_FALSE(Notify("click", Option("polling_rate_option_", 1), 0));
  EXPECT_FALSE(Notify("valuechanged", Option("polling_rate_option_", 1), 3));
  EXPECT_FALSE(Notify("selectchanged", Find(QStringLiteral("key_5")), 1));
  EXPECT_FALSE(Notify("selectchanged", nullptr, 1));
  EXPECT_EQ(device_->Log().CountCommandFrames(sim::Direction::kToDevice), 0u);
}

// 0x0402 then 0x0401 within 100 ms: the second restarts timer 1002, so the profile is reset and
// reloaded once, and the page shows it.
TEST_F(KeyboardPageTest, AProfileChangeAndASyncRequestInQuickSuccessionReloadOnce) {
  CHalveronKeyboardDevice& keyboard = page_->Keyboard();
  device::DeviceLink& link = keyboard.NotificationLink();
  ASSERT_EQ(link.Hid().Open(device_->NotificationPath(), true, true, true, false), 1);
  link.SetConnected(true);
  ASSERT_TRUE(keyboard.StartNotificationThread());
  config::KeyboardSystem system = keyboard.GetKeyboardSystem();
  const uint16_t factory_repeat = system.repeat;
  system.repeat = factory_repeat == 3 ? 4 : 3;
  keyboard.ChangeKeyboardSystem(system, false);
  page_->RefreshKeyboardPage();
  device_->Log().Clear();

  device_->Notify(kNotifyProfileChanged);
  device_->Notify(kNotifySyncRequest);
  EXPECT_TRUE(QTest::qWaitFor([&] { return device_->Log().CountFrames(kReadSettingsCmd) >= 2; }, 3000));
  QTest::qWait(250);  // room for a second request, which must not come

  EXPECT_EQ(device_->Log().CountFrames(kReadSettingsCmd), 2u) << "one sync request";
  EXPECT_FALSE(keyboard.ProfileChangedOnDevice());
  EXPECT_EQ(Stored().repeat, factory_repeat) << "the profile is the template's again";
  EXPECT_EQ(Find<ui::Slider>(QStringLiteral("repeat_rate_slider"))->GetValue(), factory_repeat);
  keyboard.StopNotificationThread();
}

}  // namespace
}  // namespace zrv::devices
