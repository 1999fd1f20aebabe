// The lighting editor on the mouse page, end to end on the offscreen platform: a simulated mouse,
// the editor driven through the notifications of its controls, the settings record checked in the
// mouse's memory and the lighting in the profile file.
#include <gtest/gtest.h>

#include <QTest>

#include "app/main_wnd.h"
#include "config/json_file.h"
#include "config/json_value.h"
#include "config/profile_members.h"
#include "devices/kind_pages.h"
#include "devices/model/effect_tables.h"
#include "devices/model/mouse_effects.h"
#include "editors/light_control.h"
#include "editors/light_flow.h"
#include "main_wnd_support.h"
#include "sim/memory_map.h"
#include "ui/color_palette.h"
#include "ui/combo.h"
#include "ui/lookup.h"
#include "ui/slider.h"

namespace zrv::app {
namespace {

using editors::LightZone;

class MouseLightEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = testing::MakeMainWindow(CMainWnd::StartOptions{true, false, false});
    testing::PlugMouse(*window_, mouse_, page_);
    if (HasFatalFailure()) return;
    testing::OpenLightEditor(*window_, page_, flow_, editor_);
  }
  void TearDown() override {
    window_.reset();
    if (mouse_) mouse_->Unplug();
  }

  ui::Control* Find(const char* name) { return ui::FindSubControlByName(page_, QLatin1String(name)); }
  template <class T>
  T* Get(const char* name) {
    auto* control = dynamic_cast<T*>(Find(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
  }
  void Choose(int effect) { ASSERT_TRUE(Get<ui::Combo>("light_combo_modeSelect")->SelectItem(effect, false, true)); }
  void Slide(const char* slider, int value) {
    Get<ui::Slider>(slider)->SetValue(value);
    testing::Notify(Find(slider), "valuechanged");
  }
  // Byte `at` of settings record 0 as the mouse holds it (offset 0 x 128).
  int Device(size_t at) { return mouse_->SettingsRecord(0).at(at); }
  int File(const char* member) {
    const Json::Value document = config::ReadJsonFile(QString::fromStdString(page_->Model().ProfilePath()));
    const Json::Value& device = config::Element(config::Member(document, config::kDeviceMember), 0);
    return config::Member(config::Member(device, "LightInfo"), member).asInt();
  }

  testing::PrivateFolders folders_;
  std::unique_ptr<CMainWnd> window_;
  std::shared_ptr<sim::FirmwareModel> mouse_;
  devices::CHalveronMouseDevicePage* page_ = nullptr;
  editors::LightFlow* flow_ = nullptr;
  editors::CLightControlUI* editor_ = nullptr;
};

TEST_F(MouseLightEndToEnd, EachChangeReachesTheMouseAndTheProfileFile) {
  EXPECT_FALSE(Find("light_zone_nav")->IsVisible()) << "the mouse has its main zone only";
  EXPECT_EQ(editor_->BrightnessMax(LightZone::kMain), 4);
  EXPECT_EQ(Get<ui::Combo>("light_combo_modeSelect")->GetCount(), 9);

  Choose(devices::kMouseBreathing);
  EXPECT_EQ(Device(1), devices::kMouseBreathing);
  EXPECT_EQ(File("SelectItem"), devices::kMouseBreathing);
  Slide("deng_light_slider", 3);
  Slide("deng_speed_slider", 1);
  EXPECT_EQ(Device(2), 3);
  EXPECT_EQ(Device(3), 3) << "4 - Speed";
  EXPECT_EQ(File("Light"), 3);
  EXPECT_EQ(File("Speed"), 1);
  // The rest of the record comes from the profile: stage 0 of the template, the correction in use.
  EXPECT_EQ((std::array<int, 3>{Device(14), Device(16), Device(64)}), (std::array<int, 3>{1, 8, 24}));
  EXPECT_EQ(Device(59), 1);

  Choose(devices::kMouseWave);
  Get<ui::Option>("deng_FXR_check")->Selected(true, true);
  EXPECT_EQ(Device(4), 0);
  Get<ui::Option>("deng_FXL_check")->Selected(true, true);
  EXPECT_EQ(Device(4), 1);
  EXPECT_EQ(File("Fx"), 1);

  Choose(devices::kMouseStatic);
  Slide("deng_light_slider", 4);
  Get<ui::ColorPalette>("deng_Color_Pallet")->SetSelectColor(0xFF123456u);
  testing::Notify(Find("deng_Color_Pallet"), "colorchanged");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !flow_->WritePending(); }, 5000));
  EXPECT_EQ((std::array<int, 4>{Device(5), Device(6), Device(7), Device(8)}),
            (std::array<int, 4>{0, 0x12, 0x34, 0x56}));
  EXPECT_EQ(File("Blue"), 0x56);

  // The picture: the mouse's brightest level is the screen's brightest.
  devices::CHalveronMouseDevice& model = page_->Mouse();
  const devices::KeyColour lit = devices::MakeKeyColour(0x12, 0x34, 0x56, 255);
  EXPECT_TRUE(QTest::qWaitFor([&] { return model.GetKeyColour(0) == lit; }, 5000));
}

TEST_F(MouseLightEndToEnd, ANotificationOfTheMouseBringsItsLightingIntoTheProfileAndTheEditor) {
  Get<ui::Option>("deng_FXL_check")->Selected(true, true);
  std::vector<uint8_t> record = mouse_->SettingsRecord(0);
  record[1] = devices::kMouseBlink;
  record[2] = 2;
  record[3] = 0;  // Speed 4
  record[4] = 0;  // not taken over
  record[12] = 3;
  mouse_->SetAreaBytes(sim::Area::kSettings, 0, record);
  mouse_->Notify(0x0401);
  ASSERT_TRUE(QTest::qWaitFor([&] { return File("SelectItem") == devices::kMouseBlink; }, 5000));
  EXPECT_EQ(File("Light"), 2);
  EXPECT_EQ(File("Speed"), 4);
  EXPECT_EQ(File("Fx"), 1);
  EXPECT_EQ(page_->Mouse().Profile().GetActiveStage(), 3);
  EXPECT_EQ(editor_->SelectedEffect(LightZone::kMain), devices::kMouseBlink);
  EXPECT_EQ(editor_->Speed(LightZone::kMain), 4);
}

}  // namespace
}  // namespace zrv::app
