// Device pages built from the skin's page layouts: their key buttons, painting from the key colour
// vector on the repaint timer, function-mode pages, and the timers the pages host.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QPaintEvent>
#include <QTest>

#include <memory>
#include <thread>
#include <vector>

#include "controls/device_key_button.h"
#include "controls/select_panel.h"
#include "device/hid_backend.h"
#include "device/virtual_hid.h"
#include "devices/device_page_factory.h"
#include "devices/kind_pages.h"
#include "page_test_support.h"
#include "sim/keyboard_model.h"
#include "sim/mousepad_model.h"
#include "ui/containers.h"
#include "ui/control_factory.h"
#include "ui/lookup.h"
#include "ui/resources.h"

namespace zrv::devices {
namespace {

class DevicePageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::RegisterPageControls(); }

  DevicePageTest() : backends_({device::VirtualHidRegistry::Instance().Backend()}) {}
  ~DevicePageTest() override { device::VirtualHidRegistry::Instance().UnplugAll(); }

  // The page of row `row` of the device tables, with the record of its command collection.
  template <class Page>
  std::unique_ptr<Page> Build(size_t row) {
    QString error;
    const device::InterfaceRecord record = device::kInterfaceTable[RecordRow(row)];
    std::unique_ptr<CHalveronUSBDevicePage> page(CreateDevicePage(row, record, nullptr, nullptr, &error));
    EXPECT_NE(page, nullptr) << error.toStdString();
    auto* typed = dynamic_cast<Page*>(page.get());
    EXPECT_NE(typed, nullptr);
    if (typed != nullptr) page.release();
    return std::unique_ptr<Page>(typed);
  }
  static size_t RecordRow(size_t row) {
    static const size_t kRows[] = {2, 0, 4, 6};  // mouse, keyboard, pad, headset command records
    return kRows[row];
  }

 private:
  device::ScopedHidBackends backends_;
};

TEST_F(DevicePageTest, EachKindsLayoutBuildsItsPageWithItsKeyButtons) {
  auto keyboard = Build<CHalveronKeyboardDevicePage>(1);
  ASSERT_NE(keyboard, nullptr);
  EXPECT_EQ(keyboard->GetClass(), "CHalveronKeyboardDevice");
  EXPECT_NE(keyboard->SelectPanel(), nullptr);
  for (int i = 0; i < 126; ++i) {
    if (i == 16 || i == 20 || i == 104 || i == 125) {
      EXPECT_EQ(keyboard->KeyButton(i), nullptr) << i << ": a position without a key has no button";
      continue;
    }
    ASSERT_NE(keyboard->KeyButton(i), nullptr) << i;
    EXPECT_EQ(keyboard->KeyButton(i)->GetName(), QStringLiteral("key_%1").arg(i));
    EXPECT_EQ(keyboard->PaintedButton(i), keyboard->KeyButton(i));
  }
  EXPECT_EQ(keyboard->KeyButton(126), nullptr);
  EXPECT_EQ(keyboard->Keyboard().GetDisplayIndex(), 0);
  EXPECT_EQ(keyboard->Keyboard().Record().product_id, 0x505B);

  auto mouse = Build<CHalveronMouseDevicePage>(0);
  ASSERT_NE(mouse, nullptr);
  EXPECT_EQ(mouse->Mouse().GetDisplayIndex(), 1);
  for (int i = 0; i < 7; ++i) EXPECT_NE(mouse->KeyButton(i), nullptr) << i;
  for (int i = 0; i < 6; ++i) {
    ASSERT_NE(mouse->LightButton(i), nullptr) << i;
    EXPECT_EQ(mouse->PaintedButton(i), mouse->LightButton(i)) << "a light position shows the light";
  }
  EXPECT_EQ(mouse->LightButton(6), nullptr);

  auto pad = Build<CHalveronMousePadDevicePage>(2);
  ASSERT_NE(pad, nullptr);
  EXPECT_EQ(pad->MousePad().GetDisplayIndex(), 2);
  for (int i = 0; i < 15; ++i) EXPECT_NE(pad->LightButton(i), nullptr) << i;

  auto headset = Build<CHalveronHS6533DevicePage>(3);
  ASSERT_NE(headset, nullptr);
  EXPECT_EQ(headset->Headset().Kind(), device::DeviceKind::kHeadset);
  for (int i = 0; i < 13; ++i) EXPECT_NE(headset->LightButton(i), nullptr) << i;
}

// Every page builds its profile bar: the bar's list is the kind's own (made with "profile1" on a
// first start), the lighting tab is selected, the kind's tabs are shown, and the device works with
// the bar's profile. A second build leaves a bar that is already built alone.
TEST_F(DevicePageTest, EveryPageBuildsItsProfileBarAndHandsItsProfileToTheDevice) {
  std::vector<std::unique_ptr<CHalveronUSBDevicePage>> pages;
  pages.push_back(Build<CHalveronMouseDevicePage>(0));
  pages.push_back(Build<CHalveronKeyboardDevicePage>(1));
  pages.push_back(Build<CHalveronMousePadDevicePage>(2));
  pages.push_back(Build<CHalveronHS6533DevicePage>(3));
  for (const auto& page : pages) {
    ASSERT_NE(page, nullptr);
    const CHalveronUSBDevice& model = page->Model();
    SCOPED_TRACE(model.KindName());
    controls::CDeviceProfileUI* bar = page->ProfileBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetName(), "DeviceProfileItem");
    EXPECT_EQ(bar->GetDeviceKind(), model.Kind());
    EXPECT_EQ(bar->List().DataFolder().toStdString(), model.UserDataFolder());
    EXPECT_EQ(bar->List().TemplatePath().toStdString(), model.DefaultProfilePath());
    EXPECT_TRUE(QFileInfo::exists(bar->List().ListPath()));
    ASSERT_GE(bar->List().Count(), 1);
    EXPECT_EQ(bar->List().Entries().front().name, "profile1");
    ASSERT_NE(bar->ProfileCombo(), nullptr);
    EXPECT_EQ(bar->ProfileCombo()->GetCount(), bar->List().Count()) << "a row per profile";

    EXPECT_FALSE(bar->GetCurrentProfileId().isEmpty());
    EXPECT_EQ(model.ProfileId(), bar->GetCurrentProfileId().toStdString());
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(model.ProfilePath())));
    for (int n = 1; n <= 8; ++n) EXPECT_EQ(bar->OpTab(n)->IsSelected(), n == 1) << n;
  }
  const auto tab_shown = [&](size_t page, int n) { return pages[page]->ProfileBar()->OpTab(n)->IsVisible(); };
  EXPECT_TRUE(tab_shown(0, 5)) << "the mouse has its DPI tab";
  EXPECT_FALSE(tab_shown(1, 5)) << "the keyboard has none";
  EXPECT_TRUE(tab_shown(1, 4));
  EXPECT_FALSE(tab_shown(2, 2)) << "the pad has no key assignments";
  EXPECT_TRUE(tab_shown(3, 6)) << "the headset has its equaliser";
  EXPECT_FALSE(tab_shown(0, 6));

  // Built again after a switch: the bar keeps its profile, and so does the device.
  CHalveronUSBDevicePage& keyboard = *pages[1];
  controls::CDeviceProfileUI& bar = *keyboard.ProfileBar();
  ASSERT_TRUE(bar.NewProfile());
  const int last = bar.List().Count() - 1;
  ASSERT_TRUE(bar.SelectProfile(last, false));
  bar.SelectOpTab(3);
  keyboard.Model().SetProfileId(bar.GetCurrentProfileId().toStdString());
  keyboard.BuildPage();
  EXPECT_EQ(bar.GetCurSel(), last);
  EXPECT_TRUE(bar.OpTab(3)->IsSelected());
  EXPECT_EQ(keyboard.Model().ProfileId(), bar.List().Entries().back().id.toStdString());
}

TEST_F(DevicePageTest, TheRepaintTimerPaintsTheVisibleKeyButtonsFromTheKeyColours) {
  auto keyboard = Build<CHalveronKeyboardDevicePage>(1);
  ASSERT_NE(keyboard, nullptr);
  CHalveronKeyboardDevice& model = keyboard->Keyboard();
  model.SetKeyColour(0, MakeKeyColour(255, 0, 0, 200));
  model.SetKeyColour(124, MakeKeyColour(0, 0, 255, 30));
  model.SetKeyColour(125, MakeKeyColour(0, 255, 0, 99));  // a position without a button
  keyboard->KeyButton(7)->SetVisible(false);
  model.SetKeyColour(7, MakeKeyColour(1, 1, 1, 1));
  keyboard->SetItemSelected(true);

  const TimerOutcome outcome = keyboard->RunDeviceTimer(kTimerRepaint);
  EXPECT_TRUE(outcome.redraw_page);
  EXPECT_TRUE(outcome.start.empty()) << "no keyboard attached: the repaint does not come back";
  EXPECT_TRUE(keyboard->KeyButton(0)->IsLightOn());
  EXPECT_EQ(keyboard->KeyButton(0)->GetLightColour(), 0x0000FFu);
  EXPECT_EQ(keyboard->KeyButton(0)->GetLightIntensity(), 200);
  EXPECT_EQ(keyboard->KeyButton(124)->GetLightColour(), 0xFF0000u);
  EXPECT_EQ(keyboard->KeyButton(124)->GetLightIntensity(), 30);
  EXPECT_TRUE(keyboard->KeyButton(50)->IsLightOn());
  EXPECT_EQ(keyboard->KeyButton(50)->GetLightIntensity(), 0);
  EXPECT_FALSE(keyboard->KeyButton(7)->IsLightOn()) << "a hidden key button is left alone";

  model.SetLightControl(false);
  model.SetKeyColour(0, MakeKeyColour(0, 255, 0, 255));
  keyboard->RunDeviceTimer(kTimerRepaint);
  EXPECT_EQ(keyboard->KeyButton(0)->GetLightColour(), 0x0000FFu) << "another program drives the lights";
}

TEST_F(DevicePageTest, FunctionModesSelectTheEditorPagesOfThePage) {
  auto mouse = Build<CHalveronMouseDevicePage>(0);
  ASSERT_NE(mouse, nullptr);
  auto* functions = ui::FindSubControlByName<ui::TabLayout>(mouse.get(), QStringLiteral("device_function_switch"));
  auto* keys = ui::FindSubControlByName<ui::TabLayout>(mouse.get(), QStringLiteral("device_key_function_switch"));
  ASSERT_NE(functions, nullptr);
  ASSERT_NE(keys, nullptr);

  mouse->Mouse().SetFunctionMode(4);
  EXPECT_EQ(functions->GetCurSel(), 3);
  mouse->Mouse().SetFunctionMode(7);
  EXPECT_EQ(functions->GetCurSel(), 0);
  EXPECT_EQ(keys->GetCurSel(), 2);
  mouse->Mouse().SetFunctionMode(5);
  EXPECT_EQ(functions->GetCurSel(), 2);
  EXPECT_EQ(keys->GetCurSel(), 2) << "the key-function container keeps its page";
  mouse->Mouse().SetFunctionMode(1);
  EXPECT_EQ(functions->GetCurSel(), 0);
  EXPECT_EQ(keys->GetCurSel(), 0);
}

TEST_F(DevicePageTest, AnAttachStartsTheRepaintCycleWhichEndsWithTheDevice) {
  auto pad_device = sim::MousePadModel::Create();
  ASSERT_TRUE(pad_device->Plug());
  auto pad = Build<CHalveronMousePadDevicePage>(2);
  ASSERT_NE(pad, nullptr);
  device::DeviceLink& link = pad->MousePad().CommandLink();
  ASSERT_EQ(link.Hid().Open(pad_device->CommandPath(), true, true, true, false), 1);
  link.SetConnected(true);
  pad->MousePad().SetKeyColour(3, MakeKeyColour(255, 255, 255, 255));

  pad->StartDeviceTimer(kTimerAttached, 1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return pad_device->Log().CountFrames(0x12) >= 3; }, 5000))
      << "1001, then 1000 every 50 ms";
  EXPECT_EQ(pad->LightButton(3)->GetLightIntensity(), 255);
  EXPECT_FALSE(pad->HasTimer(kTimerAttached)) << "one-shot";
  EXPECT_TRUE(pad->HasTimer(kTimerRepaint));

  link.SetConnected(false);
  link.Hid().Close();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !pad->HasTimer(kTimerRepaint); }, 1000));
}

// The keyboard runs its effects itself: its repaint shows the key colours on the page but sends
// no light frame (0x12), however long it runs.
TEST_F(DevicePageTest, AnAttachedKeyboardsRepaintPaintsItsKeysAndSendsNoLightFrame) {
  auto keyboard_device = sim::KeyboardModel::Create();
  ASSERT_TRUE(keyboard_device->Plug());
  auto keyboard = Build<CHalveronKeyboardDevicePage>(1);
  ASSERT_NE(keyboard, nullptr);
  CHalveronKeyboardDevice& model = keyboard->Keyboard();
  device::DeviceLink& link = model.CommandLink();
  ASSERT_EQ(link.Hid().Open(keyboard_device->CommandPath(), true, true, true, false), 1);
  link.SetConnected(true);
  ASSERT_TRUE(model.LightControl());

  keyboard->StartDeviceTimer(kTimerAttached, 1);
  QTest::qWait(2500);
  ASSERT_TRUE(keyboard->HasTimer(kTimerRepaint)) << "the repaint cycle runs";
  EXPECT_GT(keyboard_device->Log().CountCommandFrames(sim::Direction::kToDevice), 0u) << "the attach read the keyboard";
  EXPECT_TRUE(QTest::qWaitFor([&] { return keyboard->KeyButton(3)->GetLightIntensity() > 0; }, 5000))
      << "the keyboard's effect lights its keys";
  // Synchronised lighting holds the effects; the colours it sets are painted.
  link.SetPaused(true);
  model.SetKeyColour(3, MakeKeyColour(255, 255, 255, 77));
  EXPECT_TRUE(QTest::qWaitFor([&] { return keyboard->KeyButton(3)->GetLightIntensity() == 77; }, 5000));
  EXPECT_EQ(keyboard_device->Log().CountFrames(0x12), 0u);

  // Out of sight the repaint comes at the unwatched pace; shown again, a frame is asked for at once.
  const auto next_repaint = [&] { return model.RunRepaintTimer(true).start.at(0).delay_ms; };
  EXPECT_LE(next_repaint(), 75);
  keyboard->show();
  keyboard->hide();
  EXPECT_EQ(next_repaint(), 250);
  keyboard->KillTimer(kTimerRepaint);
  keyboard->show();
  EXPECT_TRUE(QTest::qWaitFor([&] { return keyboard->HasTimer(kTimerRepaint); }, 1000));
  EXPECT_LE(next_repaint(), 75);

  link.SetConnected(false);
  link.Hid().Close();
}

// A frame that changes many lights repaints at once, in one pass, the part of the picture they cover
// (not its edges); a few changed lights ask for repaints of their buttons only.
TEST_F(DevicePageTest, AFrameRepaintsThePartOfThePictureItsChangedLightsCover) {
  auto keyboard = Build<CHalveronKeyboardDevicePage>(1);
  ASSERT_NE(keyboard, nullptr);
  keyboard->resize(1000, 600);
  keyboard->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(keyboard.get()));
  QTest::qWait(50);
  QWidget* picture = keyboard->SelectPanel()->parentWidget();
  ASSERT_NE(picture, nullptr);
  struct PaintRecorder : QObject {
    std::vector<QRegion> regions;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint) regions.push_back(static_cast<QPaintEvent*>(event)->region());
      return false;
    }
  } painted;
  picture->installEventFilter(&painted);
  const auto area = [&](const std::vector<int>& keys) {
    QRect covered;
    for (int key : keys) {
      const QWidget* widget = keyboard->KeyButton(key)->Widget();
      covered |= QRect(widget->mapTo(picture, QPoint(0, 0)), widget->size());
    }
    return covered;
  };

  std::vector<int> row;
  for (int key = 21; key <= 40; ++key) row.push_back(key);
  for (int key : row) keyboard->PaintKey(key, 0x0000FF, 200);
  keyboard->RedrawPicture();
  ASSERT_EQ(painted.regions.size(), 1u) << "at once, in one pass";
  EXPECT_EQ(painted.regions[0].boundingRect(), area(row));
  EXPECT_FALSE(painted.regions[0].boundingRect().contains(picture->rect())) << "not the whole picture";

  painted.regions.clear();
  keyboard->PaintKey(50, 0x00FF00, 200);
  keyboard->PaintKey(90, 0x00FF00, 200);
  keyboard->RedrawPicture();
  EXPECT_TRUE(painted.regions.empty()) << "a few repaints go round the event loop";
  ASSERT_TRUE(QTest::qWaitFor([&] { return !painted.regions.empty(); }, 1000));
  EXPECT_EQ(painted.regions[0].boundingRect(), area({50, 90}));

  // The logo and strip lights are the picture's too: a frame that changes them with the keys
  // repaints them, in the same pass.
  painted.regions.clear();
  for (int key : row) keyboard->PaintKey(key, 0x00FFFF, 200);
  for (int i = 0; i < 3; ++i) keyboard->PaintLogoLight(i, 0xFF0000, 255);
  keyboard->PaintStripLight(0, 0x00FF00, 255);
  keyboard->RedrawPicture();
  ASSERT_EQ(painted.regions.size(), 1u);
  const QRegion& repainted = painted.regions[0];
  for (const QString& name :
       {QStringLiteral("logo_light_0"), QStringLiteral("logo_light_2"), QStringLiteral("strip_light_0")}) {
    const auto* light = ui::FindSubControlByName<controls::CDeviceKeyButtonUI>(keyboard.get(), name);
    ASSERT_NE(light, nullptr) << name.toStdString();
    const QWidget* widget = light->Widget();
    EXPECT_TRUE(repainted.contains(QRect(widget->mapTo(picture, QPoint(0, 0)), widget->size()))) << name.toStdString();
  }
  picture->removeEventFilter(&painted);
}

// A model whose notification thread stand-in asks for a timer from another thread.
class RequestingPad : public CHalveronMousePadDevice {
 public:
  void AskFromAnotherThread(int id) {
    std::thread([this, id] { RequestTimer(id, 0); }).join();
  }
  void OnDeviceSyncRequest() override { ++sync_requests; }
  int sync_requests = 0;
};

class RequestingPadPage : public CHalveronUSBDevicePage {
 public:
  RequestingPadPage() : CHalveronUSBDevicePage(std::make_unique<RequestingPad>(), nullptr) {}
  RequestingPad& Pad() { return static_cast<RequestingPad&>(Model()); }
};

TEST_F(DevicePageTest, TimerRequestsOfOtherThreadsRunOnThePage) {
  RequestingPadPage page;
  page.Pad().AskFromAnotherThread(kTimerSyncRequest);
  EXPECT_EQ(page.Pad().sync_requests, 0) << "handed over, not run on the asking thread";
  EXPECT_TRUE(QTest::qWaitFor([&] { return page.Pad().sync_requests == 1; }, 2000));
  QTest::qWait(50);
  EXPECT_EQ(page.Pad().sync_requests, 1) << "once";
}

}  // namespace
}  // namespace zrv::devices
