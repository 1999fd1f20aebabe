// The device selector of the main window: items, pages, the no-device state, previous and next,
// leaving devices and the synchronisation checks.
#include "app/device_selector.h"

#include <gtest/gtest.h>

#include "app/device_option.h"
#include "app/device_option_kinds.h"
#include "devices/device_page.h"
#include "main_wnd_support.h"
#include "ui/containers.h"

namespace zrv::app {
namespace {

using testing::ItemOfRow;
using testing::MakeMainWindow;
using testing::NoThreads;

constexpr size_t kMouse = 0;
constexpr size_t kKeyboard = 1;
constexpr size_t kMousePad = 2;
constexpr size_t kHeadset = 3;

class DeviceSelectorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = MakeMainWindow(NoThreads());
    ASSERT_EQ(window_->Selector().Items().size(), 4u);
  }
  DeviceSelector& selector() { return window_->Selector(); }
  int Index(size_t row) { return selector().IndexOf(ItemOfRow(*window_, row)); }
  void Present(std::initializer_list<size_t> rows) {
    for (size_t row : rows) selector().SelectItem(Index(row), true, true);
  }
  devices::CHalveronUSBDevicePage* Page(size_t row) { return window_->DevicePages().at(row); }
  bool NoDeviceLinkShown() { return window_->FindControl("No_device_Link")->IsVisible(); }
  int DeviceSwitchPage() { return window_->FindControl<ui::TabLayout>("device_switch")->GetCurSel(); }
  ui::TabLayout* PageContainer() { return window_->FindControl<ui::TabLayout>("device_page_switch"); }

  testing::PrivateFolders folders_;
  std::unique_ptr<CMainWnd> window_;
};

TEST_F(DeviceSelectorTest, WithNoDevicePresentTheNoDeviceStateShows) {
  for (CDeviceOptionUI* item : selector().Items()) EXPECT_FALSE(item->IsPresent());
  EXPECT_TRUE(NoDeviceLinkShown());
  EXPECT_EQ(DeviceSwitchPage(), 1);
  EXPECT_EQ(window_->FindControl<ui::TabLayout>("device_power_switch")->GetCurSel(), 0);
  int index = 7;
  int count = 7;
  EXPECT_FALSE(selector().FirstPresentItem(&index, &count));
  EXPECT_EQ(count, 0);
  EXPECT_EQ(window_->CurrentDevice(), nullptr);
}

TEST_F(DeviceSelectorTest, SelectingAPresentItemShowsItsPageAndMakesItCurrent) {
  Present({kKeyboard});
  EXPECT_TRUE(ItemOfRow(*window_, kKeyboard)->IsPresent());
  EXPECT_FALSE(NoDeviceLinkShown());
  EXPECT_EQ(DeviceSwitchPage(), 0);
  EXPECT_EQ(PageContainer()->GetCurSel(), PageContainer()->GetItemIndex(Page(kKeyboard)));
  EXPECT_EQ(window_->CurrentDevice(), Page(kKeyboard));
  EXPECT_TRUE(Page(kKeyboard)->ItemSelected());
  EXPECT_EQ(selector().SelectedIndex(), Index(kKeyboard));
  EXPECT_EQ(selector().SelectedKind(), device::DeviceKind::kKeyboard);

  // A selected item that is not present is not the current device.
  selector().SelectItem(Index(kKeyboard), false, false);
  EXPECT_TRUE(ItemOfRow(*window_, kKeyboard)->IsDeviceSelected());
  EXPECT_EQ(window_->CurrentDevice(), nullptr);
  EXPECT_TRUE(NoDeviceLinkShown());
}

TEST_F(DeviceSelectorTest, TheUsersChoiceSwitchesThePage) {
  Present({kMouse, kKeyboard});
  ASSERT_EQ(window_->CurrentDevice(), Page(kKeyboard));
  // The user picks the mouse's icon: its "selectchanged" is routed to the switch.
  ItemOfRow(*window_, kMouse)->SelectOption()->Selected(true, true);
  EXPECT_EQ(window_->CurrentDevice(), Page(kMouse));
  EXPECT_EQ(PageContainer()->GetCurSel(), PageContainer()->GetItemIndex(Page(kMouse)));
  EXPECT_EQ(selector().SelectedIndex(), Index(kMouse));
  EXPECT_FALSE(Page(kKeyboard)->ItemSelected());
  // A click on the item beside the icon (on its name) chooses it too.
  QTest::mouseClick(ItemOfRow(*window_, kKeyboard)->NameLabel()->Widget(), Qt::LeftButton);
  EXPECT_EQ(window_->CurrentDevice(), Page(kKeyboard));
}

TEST_F(DeviceSelectorTest, RemovingTheSelectedDeviceSelectsAnotherAndTheLastShowsNoDevice) {
  Present({kKeyboard, kMouse});
  ASSERT_EQ(window_->CurrentDevice(), Page(kMouse));
  window_->OnCustomMessage(1054, 1, 0);  // a key recording runs
  ASSERT_TRUE(window_->InputHookInstalled());

  selector().HideItem(Index(kMouse));
  EXPECT_FALSE(window_->InputHookInstalled()) << "the recording ends with its device";
  EXPECT_EQ(window_->CurrentDevice(), Page(kKeyboard));
  EXPECT_EQ(PageContainer()->GetCurSel(), PageContainer()->GetItemIndex(Page(kKeyboard)));
  EXPECT_FALSE(NoDeviceLinkShown());

  // An item that was not the selected one is only hidden.
  Present({kHeadset, kKeyboard});
  selector().HideItem(Index(kHeadset));
  EXPECT_EQ(window_->CurrentDevice(), Page(kKeyboard));

  selector().HideItem(Index(kKeyboard));
  EXPECT_EQ(window_->CurrentDevice(), nullptr);
  EXPECT_TRUE(NoDeviceLinkShown());
  EXPECT_EQ(DeviceSwitchPage(), 1);
}

TEST_F(DeviceSelectorTest, PreviousAndNextSkipAbsentItemsAndStopAtTheEnds) {
  Present({kMouse, kKeyboard, kHeadset});
  ASSERT_EQ(window_->CurrentDevice(), Page(kHeadset));
  ui::Control* next = window_->FindControl("device_select_next");
  ui::Control* previous = window_->FindControl("device_select_prev");

  testing::Notify(next, "click");
  EXPECT_EQ(window_->CurrentDevice(), Page(kHeadset)) << "next on the last present item does nothing";
  testing::Notify(previous, "click");
  EXPECT_EQ(window_->CurrentDevice(), Page(kKeyboard)) << "the absent mouse pad is skipped";
  testing::Notify(previous, "click");
  EXPECT_EQ(window_->CurrentDevice(), Page(kMouse));
  testing::Notify(previous, "click");
  EXPECT_EQ(window_->CurrentDevice(), Page(kMouse)) << "previous on the first present item does nothing";
  testing::Notify(next, "click");
  EXPECT_EQ(window_->CurrentDevice(), Page(kKeyboard));
}

TEST_F(DeviceSelectorTest, SynchronisationNeedsTwoDevicesAndTwoChecks) {
  Present({kMouse, kKeyboard});
  CDeviceOptionUI* mouse = ItemOfRow(*window_, kMouse);
  CDeviceOptionUI* keyboard = ItemOfRow(*window_, kKeyboard);
  EXPECT_TRUE(selector().SeveralPresent());
  mouse->SetSynchroChecked(true);
  keyboard->SetSynchroChecked(true);
  Page(kMouse)->Model().CommandLink().SetPaused(true);
  Page(kKeyboard)->Model().CommandLink().SetPaused(true);
  selector().SelectItem(Index(kKeyboard), true, true);
  EXPECT_TRUE(mouse->IsSynchroChecked() && keyboard->IsSynchroChecked()) << "two present, two checked: kept";
  EXPECT_TRUE(Page(kMouse)->Model().CommandLink().Paused());

  // The mouse leaves: alone, the keyboard drives its own lighting and no check stays.
  selector().HideItem(Index(kMouse));
  EXPECT_FALSE(selector().SeveralPresent());
  EXPECT_FALSE(mouse->IsSynchroChecked());
  EXPECT_FALSE(keyboard->IsSynchroChecked());
  EXPECT_FALSE(Page(kMouse)->Model().CommandLink().Paused());
  EXPECT_FALSE(Page(kKeyboard)->Model().CommandLink().Paused());

  // Two present but one checked: the check is cleared at the next selection.
  Present({kMouse});
  keyboard->SetSynchroChecked(true);
  selector().SelectItem(Index(kKeyboard), true, true);
  EXPECT_FALSE(keyboard->IsSynchroChecked());
}

TEST_F(DeviceSelectorTest, AnItemWithoutPageHidesThePageContainer) {
  CDeviceOptionUI* pad = ItemOfRow(*window_, kMousePad);
  pad->BindPage("device_switch", 0, "device_page_switch", -1);
  Present({kMousePad});
  EXPECT_FALSE(PageContainer()->IsVisible());
  Present({kKeyboard});
  EXPECT_TRUE(PageContainer()->IsVisible());
  EXPECT_EQ(PageContainer()->GetCurSel(), PageContainer()->GetItemIndex(Page(kKeyboard)));
}

TEST_F(DeviceSelectorTest, ItemsShowTheirKindAndTheSynchronisedIconPairWhileChecked) {
  CDeviceOptionUI* keyboard = ItemOfRow(*window_, kKeyboard);
  EXPECT_EQ(keyboard->NameLabel()->GetTextId(), "kb_device_name_text");
  EXPECT_EQ(keyboard->SelectOption()->GetNormalImage(), "common/device_ico/kb_device_normal.svg");
  EXPECT_EQ(keyboard->SelectOption()->GetSelectedImage(), "common/device_ico/kb_device_selected.svg");
  keyboard->SetSynchroChecked(true);
  EXPECT_EQ(keyboard->SelectOption()->GetNormalImage(), "common/device_ico/kb_device_synchro_normal.svg");
  EXPECT_EQ(keyboard->SelectOption()->GetSelectedImage(), "common/device_ico/kb_device_synchro_selected.svg");
  keyboard->SetSynchroChecked(false);
  EXPECT_EQ(keyboard->SelectOption()->GetNormalImage(), "common/device_ico/kb_device_normal.svg");
  EXPECT_EQ(ItemOfRow(*window_, kHeadset)->NameLabel()->GetTextId(), "hd_device_name_text");

  // A mouse pad of an unknown sub-kind keeps the look it has.
  CDeviceOptionUI* pad = ItemOfRow(*window_, kMousePad);
  pad->SetKind(device::DeviceKind::kMousePad, 1);
  EXPECT_EQ(pad->NameLabel()->GetTextId(), "soft_mp_device_name_text");
  pad->SetKind(device::DeviceKind::kMousePad, 9);
  EXPECT_EQ(pad->NameLabel()->GetTextId(), "soft_mp_device_name_text");
  EXPECT_EQ(pad->SelectOption()->GetNormalImage(), "common/device_ico/soft_mp_device_normal.svg");
}

TEST(DeviceOptionKinds, IconPrefixAndNameByKind) {
  struct Case {
    int kind;  // the number, so that numbers of no kind are tried too
    int sub_kind;
    const char* prefix;
  };
  for (const Case& c : std::initializer_list<Case>{{1, 5, "kb_"},
                                                   {2, 0, "ms_"},
                                                   {6, 0, "ms_"},
                                                   {3, 0, "hard_mp_"},
                                                   {3, 1, "soft_mp_"},
                                                   {4, 0, "hd_"},
                                                   {7, 2, "hd_"},
                                                   {5, 0, "hub_"},
                                                   {9, 0, "unknow_"},
                                                   {0, 0, "unknow_"}}) {
    const auto look = DeviceOptionLookFor(static_cast<device::DeviceKind>(c.kind), c.sub_kind);
    ASSERT_TRUE(look.has_value()) << c.kind;
    EXPECT_EQ(look->prefix, c.prefix) << c.kind;
    EXPECT_EQ(look->name_text_id, QString::fromLatin1(c.prefix) + "device_name_text") << c.kind;
  }
  EXPECT_FALSE(DeviceOptionLookFor(device::DeviceKind::kMousePad, 2).has_value());
  // The skin draws the icons as SVG under the names the tables give with ".png".
  EXPECT_EQ(DeviceIconImage("hub_", DeviceIcon::kSynchroSelected), "common/device_ico/hub_device_synchro_selected.svg");
}

}  // namespace
}  // namespace zrv::app
