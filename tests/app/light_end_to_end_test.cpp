// The lighting editor end to end on the offscreen platform: a simulated keyboard, the editor
// driven through the notifications of its controls, the settings record checked in the keyboard's
// memory and the lighting in the profile file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "app/light_sync.h"
#include "app/main_wnd.h"
#include "config/json_file.h"
#include "config/json_value.h"
#include "config/profile_members.h"
#include "controls/device_key_button.h"
#include "controls/select_panel.h"
#include "device/device_link.h"
#include "devices/keyboard_page.h"
#include "devices/model/keyboard_settings_record.h"
#include "editors/light_control.h"
#include "editors/light_flow.h"
#include "main_wnd_support.h"
#include "sim/keyboard_model.h"
#include "sim/memory_map.h"
#include "sim/simulated_devices.h"
#include "ui/color_palette.h"
#include "ui/combo.h"
#include "ui/edit.h"
#include "ui/lookup.h"
#include "ui/slider.h"

namespace zrv::app {
namespace {

using device::LinkCommand;
using editors::LightZone;

constexpr size_t kKeyboardRow = 1;

uint8_t Id(LinkCommand command) { return static_cast<uint8_t>(command); }

class LightEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = testing::MakeMainWindow(CMainWnd::StartOptions{true, false, WithLightSync()});
    testing::PlugKeyboard(*window_, keyboard_, page_);
    if (HasFatalFailure()) return;
    testing::OpenLightEditor(*window_, page_, flow_, editor_);
  }
  void TearDown() override {
    window_.reset();
    if (keyboard_) keyboard_->Unplug();
  }
  virtual bool WithLightSync() const { return false; }

  ui::Control* Find(const QString& name) { return ui::FindSubControlByName(page_, name); }
  ui::Control* Find(const char* name) { return Find(QLatin1String(name)); }
  template <class T>
  T* Get(const char* name) {
    auto* control = dynamic_cast<T*>(Find(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  void Choose(const char* combo, int item) { ASSERT_TRUE(Get<ui::Combo>(combo)->SelectItem(item, false, true)); }
  void Slide(const char* slider, int value) {
    Get<ui::Slider>(slider)->SetValue(value);
    testing::Notify(Find(slider), "valuechanged");
  }
  void Pick(const char* palette, ui::Argb colour) {
    Get<ui::ColorPalette>(palette)->SetSelectColor(colour);
    testing::Notify(Find(palette), "colorchanged");
  }
  void Type(const char* edit, const char* text) {
    Get<ui::Edit>(edit)->SetText(QString::fromLatin1(text));
    testing::Notify(Find(edit), "killfocus");
  }
  // The keyboard's settings record 0 as the keyboard holds it.
  devices::KeyboardSettings Device() {
    const std::vector<uint8_t> bytes = keyboard_->AreaBytes(sim::Area::kSettings);
    EXPECT_GE(bytes.size(), devices::kKeyboardSettingsSize);
    return devices::DecodeKeyboardSettings(
        std::span<const uint8_t, devices::kKeyboardSettingsSize>(bytes.data(), devices::kKeyboardSettingsSize));
  }
  // Member `member` of lighting object `object` in the profile file.
  int File(const char* object, const char* member) {
    const Json::Value document = config::ReadJsonFile(QString::fromStdString(page_->Model().ProfilePath()));
    const Json::Value& device = config::Element(config::Member(document, config::kDeviceMember), 0);
    return config::Member(config::Member(device, object), member).asInt();
  }

  testing::PrivateFolders folders_;
  std::unique_ptr<CMainWnd> window_;
  std::shared_ptr<sim::KeyboardModel> keyboard_;
  devices::CHalveronKeyboardDevicePage* page_ = nullptr;
  editors::LightFlow* flow_ = nullptr;
  editors::CLightControlUI* editor_ = nullptr;
};

TEST_F(LightEndToEnd, EachChangeReachesTheKeyboardAndTheProfileFile) {
  Choose("light_combo_modeSelect", 5);  // breathing
  EXPECT_EQ(Device().light.main.select_item, 5);
  EXPECT_EQ(File("LightInfo", "SelectItem"), 5);

  Slide("deng_light_slider", 10);
  Slide("deng_speed_slider", 3);
  EXPECT_EQ(Device().light.main.light, 10);
  EXPECT_EQ(Device().light.main.speed, 3) << "sent as 4 - Speed, decoded back";
  EXPECT_EQ(File("LightInfo", "Light"), 10);
  EXPECT_EQ(File("LightInfo", "Speed"), 3);

  // Effect 1 has a direction; both options report, the chosen one counts.
  Choose("light_combo_modeSelect", 1);
  Get<ui::Option>("deng_FXL_check")->Selected(true, true);
  EXPECT_EQ(Device().light.main.fx, 1);
  Get<ui::Option>("deng_FXR_check")->Selected(true, true);
  EXPECT_EQ(Device().light.main.fx, 0);
  EXPECT_EQ(File("LightInfo", "Fx"), 0);

  Get<ui::CheckBox>("deng_7color_check")->SetCheck(true, true);
  EXPECT_EQ(Device().light.main.multi_color, 1);
  Pick("deng_Color_Pallet", 0xFF123456u);
  // Right after the last write: this one is paced.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !flow_->WritePending(); }, 5000));
  const devices::KeyboardSettings after = Device();
  EXPECT_EQ((std::array<int, 4>{after.light.main.red, after.light.main.green, after.light.main.blue,
                                after.light.main.multi_color}),
            (std::array<int, 4>{0x12, 0x34, 0x56, 0}))
      << "a colour ends multicolour";
  EXPECT_FALSE(editor_->MultiColour(LightZone::kMain));
  EXPECT_EQ(editor_->EditText(LightZone::kMain, editors::CLightControlUI::Component::kGreen), "52");
  EXPECT_EQ(File("LightInfo", "Blue"), 0x56);

  // A preset colour is the button's background.
  const ui::Argb preset = editor_->PresetColour(LightZone::kMain, 3);
  testing::Notify(Find("color_option_3"), "click");
  EXPECT_EQ(editors::ZoneColour(Device().light.main), preset | 0xFF000000u);
  EXPECT_EQ(editor_->PaletteColour(LightZone::kMain), preset);
}

TEST_F(LightEndToEnd, TheLogoAndStripZonesKeepTheirOwnRecords) {
  Choose("light_combo_modeSelect", 6);
  Choose("LightTab1_light_combo_modeSelect", 3);
  Slide("LightTab1_deng_light_slider", 7);
  Choose("LightTab2_light_combo_modeSelect", 2);
  Pick("LightTab2_deng_Color_Pallet", 0xFF00FF00u);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !flow_->WritePending(); }, 5000));
  Get<ui::CheckBox>("LightTab1_RGBdeng_check")->SetCheck(false, true);

  const devices::KeyboardSettings device = Device();
  EXPECT_EQ(device.light.main.select_item, 6);
  EXPECT_EQ(device.light.logo.select_item, 3);
  EXPECT_EQ(device.light.logo.light, 7);
  EXPECT_EQ(device.light.logo_on, 0);
  EXPECT_EQ(device.light.strip.select_item, 2);
  EXPECT_EQ(device.light.strip.green, 0xFF);
  EXPECT_EQ(File("LogoLightInfo", "SelectItem"), 3);
  EXPECT_EQ(File("LogoLightInfo", "RGBdengoffon"), 0);
  EXPECT_EQ(File("StLightInfo", "Green"), 0xFF);
  EXPECT_EQ(File("LightInfo", "SelectItem"), 6);
}

TEST_F(LightEndToEnd, ColourEditsAreBroughtIntoRangeNeverWrapped) {
  Get<ui::CheckBox>("deng_7color_check")->SetCheck(true, true);
  Type("deng_edit_G", "300");
  EXPECT_EQ(Device().light.main.green, 255);
  EXPECT_EQ(Get<ui::Edit>("deng_edit_G")->GetText(), "255");
  EXPECT_FALSE(editor_->MultiColour(LightZone::kMain));
  EXPECT_EQ(Device().light.main.multi_color, 0);
  Type("deng_edit_G", "");
  EXPECT_EQ(Device().light.main.green, 0);
  EXPECT_EQ(Get<ui::Edit>("deng_edit_G")->GetText(), "0");
  Type("LightTab2_deng_edit_R", "99999999999");
  EXPECT_EQ(Device().light.strip.red, 255);

  EXPECT_EQ(editors::ParseComponent(QStringLiteral("12ab")), 12);
  EXPECT_EQ(editors::ParseComponent(QStringLiteral("-4")), 0);
  EXPECT_EQ(editors::ParseComponent(QStringLiteral("256")), 255);
}

TEST_F(LightEndToEnd, DraggingOverThePaletteWritesOnceThenTheLastColourAfterThePause) {
  // A still clock, well after any earlier write: every colour after the first comes within the
  // pause, however slow the machine.
  const editors::LightFlow::Clock::time_point now = editors::LightFlow::Clock::now() + std::chrono::hours(1);
  flow_->SetClock([now] { return now; });
  const int before = flow_->SettingsWrites();
  for (uint32_t blue = 1; blue <= 20; ++blue) Pick("deng_Color_Pallet", 0xFF000000u | blue);
  EXPECT_EQ(flow_->SettingsWrites(), before + 1) << "the first colour at once, the rest paced";
  EXPECT_EQ(Device().light.main.blue, 1);
  EXPECT_EQ(File("LightInfo", "Blue"), 20) << "the profile follows every colour";
  ASSERT_TRUE(QTest::qWaitFor([&] { return !flow_->WritePending(); }, 5000));
  EXPECT_EQ(flow_->SettingsWrites(), before + 2);
  EXPECT_EQ(Device().light.main.blue, 20) << "the trailing write sends the last colour";
}

TEST_F(LightEndToEnd, ARefusedWriteShowsWhatTheKeyboardHas) {
  Slide("deng_light_slider", 12);
  ASSERT_EQ(Device().light.main.light, 12);
  keyboard_->InjectFault({sim::FaultKind::kStatus, {Id(LinkCommand::kWriteSettings), 1}, 0});
  Slide("deng_light_slider", 3);
  EXPECT_EQ(Device().light.main.light, 12);
  EXPECT_EQ(editor_->Brightness(LightZone::kMain), 12) << "the editor shows the keyboard's value";
  EXPECT_EQ(File("LightInfo", "Light"), 12);
}

TEST_F(LightEndToEnd, AHandEditedProfileIsBroughtIntoRangeOnLoad) {
  config::CKeyboardProfiledata& profile = page_->Keyboard().Profile();
  config::LightStateRecord record = profile.ReadLightInfo();
  record.main.light = 99;
  record.main.speed = 9;
  profile.WriteLightInfo(record);
  profile.Save();
  page_->Keyboard().LoadProfile();
  page_->Keyboard().RefreshPage();
  EXPECT_EQ(profile.ReadLightInfo().main.light, 24);
  EXPECT_EQ(profile.ReadLightInfo().main.speed, 4);
  EXPECT_EQ(editor_->Brightness(LightZone::kMain), 24);
  EXPECT_EQ(editor_->Speed(LightZone::kMain), 4);
}

TEST_F(LightEndToEnd, TheEffectDecidesWhichGroupsAreOffered) {
  Choose("light_combo_modeSelect", 20);
  EXPECT_FALSE(Find("deng_speed_layout")->IsVisible());
  EXPECT_FALSE(Find("deng_fx_layout")->IsVisible());
  EXPECT_TRUE(Find("light_combo_custommodeSelectLayout")->IsVisible());
  EXPECT_TRUE(Find("lightcustom_layout")->IsVisible());
  Choose("light_combo_modeSelect", 17);
  EXPECT_FALSE(Find("deng_speed_layout")->IsVisible());
  EXPECT_TRUE(Find("light_combo_ZZCCmodeSelectLayout")->IsVisible());
  EXPECT_FALSE(Find("lightcustom_layout")->IsVisible());
  Choose("light_combo_modeSelect", 12);
  EXPECT_TRUE(Find("deng_speed_layout")->IsVisible());
  EXPECT_TRUE(Find("deng_fx_layout")->IsEnabled());
  EXPECT_EQ(Find("deng_FXR_check")->GetTextId(), "light_set_up_to_down_text");
  Choose("light_combo_modeSelect", 7);
  EXPECT_FALSE(Find("deng_fx_layout")->IsEnabled());
  EXPECT_EQ(Find("deng_FXR_check")->GetTextId(), "light_set_left_to_right_text");
}

TEST_F(LightEndToEnd, InTheCustomEffectARubberBandSelectsKeysAndTheColourPaintsThem) {
  devices::CHalveronKeyboardDevice& model = page_->Keyboard();
  constexpr int kGroup = 2;
  constexpr size_t kGroupBytes = 378;
  const auto key_colour = [&](int key) {
    const std::vector<uint8_t> bytes = keyboard_->AreaBytes(sim::Area::kCustomLight);
    const size_t at = kGroup * kGroupBytes + 3 * size_t{model.CustomLedOfKey(key)};
    return std::array<int, 3>{bytes.at(at), bytes.at(at + 1), bytes.at(at + 2)};
  };
  Choose("light_combo_modeSelect", 20);
  Choose("light_combo_custommodeSelect", kGroup);
  EXPECT_EQ(Device().light.custom_light_mode_group, kGroup);
  EXPECT_EQ(File("LightInfo", "CustomLightModeGroupIndex"), kGroup);
  testing::Notify(Find("custom_off_color_btn"), "click");
  testing::Notify(Find("color_option_5"), "click");  // blue; nothing selected, nothing painted
  EXPECT_EQ(key_colour(0), (std::array<int, 3>{0, 0, 0}));

  // A band over the Esc key, started on the panel beside it.
  controls::CSelectPanelUI* panel = page_->SelectPanel();
  ASSERT_NE(panel, nullptr);
  const QRect esc = page_->KeyButton(0)->geometry();
  const QPoint from = esc.topLeft() - QPoint(2, 2);
  QTest::mousePress(panel, Qt::LeftButton, {}, from);
  QTest::mouseMove(panel, esc.center());
  QTest::mouseRelease(panel, Qt::LeftButton, {}, esc.center());
  ASSERT_EQ(page_->KeyButton(0)->GetSelectState(), 1);
  EXPECT_EQ(key_colour(0), (std::array<int, 3>{0, 0, 0xFF})) << "the band paints with the chosen colour";
  EXPECT_EQ(key_colour(60), (std::array<int, 3>{0, 0, 0})) << "a key outside the band stays dark";

  testing::Notify(Find("color_option_0"), "click");  // red, while Esc is still selected
  EXPECT_EQ(key_colour(0), (std::array<int, 3>{0xFF, 0, 0}));
  EXPECT_EQ(model.CustomColours()[0], (devices::Rgb{0xFF, 0, 0}));
  EXPECT_EQ(model.Profile().GetCustomModeColors(kGroup, 126)[0].red, 0xFF) << "kept in the profile's group";
}

TEST(LightSyncMapping, EachKindHasItsEffectsForTheFiveCommonTypes) {
  for (int type = 0; type < 5; ++type) {
    EXPECT_EQ(editors::SyncTypeOfEffect(device::DeviceKind::kKeyboard, editors::KeyboardEffectOfSyncType(type)), type);
    EXPECT_EQ(editors::SyncTypeOfEffect(device::DeviceKind::kHeadset, editors::OtherEffectOfSyncType(type)), type);
  }
  EXPECT_EQ(editors::KeyboardEffectOfSyncType(2), 26);
  EXPECT_EQ(editors::OtherEffectOfSyncType(2), 4);
  EXPECT_EQ(editors::SyncTypeOfEffect(device::DeviceKind::kKeyboard, 7), -1);
  EXPECT_EQ(editors::SyncTypeOfEffect(device::DeviceKind::kMouse, 5), -1);
}

class LightSyncEndToEnd : public LightEndToEnd {
 protected:
  bool WithLightSync() const override { return true; }
};

TEST_F(LightSyncEndToEnd, SynchronisingGivesEveryConnectedDeviceTheCommonEffect) {
  auto mouse = sim::CreateModel("mouse");
  ASSERT_NE(mouse, nullptr);
  ASSERT_TRUE(mouse->Plug());
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        for (devices::CHalveronUSBDevice* device : window_->Mice()) {
          if (device->CommandLink().Connected()) return true;
        }
        return false;
      },
      5000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return editor_->SameModeAllowed(); }, 5000)) << "two devices are present";
  // The mouse arrived last and was shown: back to the keyboard.
  window_->Selector().SelectItem(window_->Selector().IndexOf(testing::ItemOfRow(*window_, kKeyboardRow)), true, true);
  ASSERT_EQ(window_->CurrentDevice(), page_);

  Choose("light_combo_modeSelect", 7);
  EXPECT_FALSE(Find("deng_same_mode")->IsVisible()) << "effect 7 has no common type";
  Choose("light_combo_modeSelect", 26);
  ASSERT_TRUE(Find("deng_same_mode")->IsVisible());
  testing::Notify(Find("color_option_5"), "click");
  Slide("deng_light_slider", 9);
  testing::Notify(Find("deng_same_mode"), "click");

  devices::CHalveronUSBDevice* mouse_model = nullptr;
  for (devices::CHalveronUSBDevice* device : window_->Mice()) {
    if (device->CommandLink().Connected()) mouse_model = device;
  }
  ASSERT_NE(mouse_model, nullptr);
  EXPECT_TRUE(page_->Model().CommandLink().Paused());
  EXPECT_TRUE(mouse_model->CommandLink().Paused());
  EXPECT_EQ(File("LightInfo", "SelectItem"), 26) << "the keyboard itself is sent 0 for this program-driven effect";
  const config::LightZoneFields mouse_light = mouse_model->ProfileData()->ReadLightInfo().main;
  EXPECT_EQ(mouse_light.select_item, 4) << "blink for the mouse";
  EXPECT_EQ(mouse->SettingsRecord(0).at(1), 4) << "and in the mouse's own record";
  EXPECT_EQ(mouse_light.light, 2) << "the keyboard's 9 of 24 on the mouse's scale of 4";
  EXPECT_EQ(editors::ZoneColour(mouse_light), 0xFF0000FFu);
  ASSERT_NE(window_->LightSync(), nullptr);
  EXPECT_EQ(window_->LightSync()->Effect().type, LightSyncType::kBlink);
  EXPECT_EQ(window_->LightSync()->Effect().blue, 0xFF);

  // A preset colour leaves synchronised lighting on; the brightness slider ends it.
  testing::Notify(Find("color_option_0"), "click");
  EXPECT_TRUE(page_->Model().CommandLink().Paused());
  Slide("deng_light_slider", 5);
  EXPECT_FALSE(page_->Model().CommandLink().Paused());
  EXPECT_TRUE(mouse_model->CommandLink().Paused()) << "the others stay synchronised";
  mouse->Unplug();
}

}  // namespace
}  // namespace zrv::app
