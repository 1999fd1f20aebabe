#include "app/device_selector.h"

#include "app/device_option.h"
#include "devices/device_page.h"
#include "ui/containers.h"
#include "ui/window.h"

namespace zrv::app {

DeviceSelector::DeviceSelector(ui::WindowBase& window) : window_(window) {}

std::vector<CDeviceOptionUI*> DeviceSelector::Items() const {
  std::vector<CDeviceOptionUI*> items;
  auto* container = window_.FindControl<ui::Container>(QString::fromLatin1(kItemContainer));
  if (container == nullptr) return items;
  for (int i = 0; i < container->GetCount(); ++i) {
    if (auto* item = dynamic_cast<CDeviceOptionUI*>(container->GetItemAt(i))) items.push_back(item);
  }
  return items;
}

CDeviceOptionUI* DeviceSelector::ItemAt(int index) const {
  const std::vector<CDeviceOptionUI*> items = Items();
  if (index < 0 || static_cast<size_t>(index) >= items.size()) return nullptr;
  return items[static_cast<size_t>(index)];
}

int DeviceSelector::IndexOf(const CDeviceOptionUI* item) const {
  const std::vector<CDeviceOptionUI*> items = Items();
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == item) return static_cast<int>(i);
  }
  return -1;
}

int DeviceSelector::IndexOfDevice(const devices::CHalveronUSBDevicePage* device) const {
  if (device == nullptr) return -1;
  const std::vector<CDeviceOptionUI*> items = Items();
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i]->Device() == device) return static_cast<int>(i);
  }
  return -1;
}

bool DeviceSelector::SelectItem(int index, bool show, bool select) {
  CDeviceOptionUI* item = ItemAt(index);
  if (item == nullptr) return false;
  item->SetPresent(show);
  if (select && item->SelectOption() != nullptr) {
    ui::Option& option = *item->SelectOption();
    if (auto* tabs = window_.FindControl<ui::TabLayout>(option.GetBindTabLayoutName())) {
      tabs->SelectItem(option.GetBindTabIndex());
    }
    ShowPage(*item);
    option.Selected(true, false);
    Remember(index);
  }
  FollowPresence();
  return true;
}

void DeviceSelector::FollowPresence() {
  const std::vector<CDeviceOptionUI*> items = Items();
  int present = 0;
  int synchro = 0;
  for (CDeviceOptionUI* item : items) {
    if (!item->IsPresent()) continue;
    ++present;
    if (item->IsSynchroChecked()) ++synchro;
  }
  if (ui::Control* link = window_.FindControl(QString::fromLatin1(kNoDeviceLink))) link->SetVisible(present == 0);
  if (present == 0) {
    if (auto* power = window_.FindControl<ui::TabLayout>(QString::fromLatin1(kPowerSwitch))) {
      power->SelectItem(kNoPowerPage);
    }
    if (auto* pages = window_.FindControl<ui::TabLayout>(QString::fromLatin1(kDeviceSwitch))) {
      pages->SelectItem(kNoDevicePage);
    }
  }
  several_present_ = present >= 2;
  if (hooks_.several_present) hooks_.several_present(several_present_);
  if (!several_present_) {
    // Synchronised lighting needs two devices: alone, every device drives its own lighting again.
    for (CDeviceOptionUI* item : items) {
      if (item->Device() != nullptr) item->Device()->Model().CommandLink().SetPaused(false);
    }
  }
  if (synchro < 2) {
    for (CDeviceOptionUI* item : items) item->SetSynchroChecked(false);
  }
  MarkSelectedPage();
}

void DeviceSelector::ShowPage(const CDeviceOptionUI& item) {
  ui::Control* container = window_.FindControl(item.PageContainer());
  if (container == nullptr) return;
  if (item.PageIndex() < 0) {
    container->SetVisible(false);
    return;
  }
  container->SetVisible(true);
  if (auto* tabs = dynamic_cast<ui::TabLayout*>(container)) tabs->SelectItem(item.PageIndex());
}

void DeviceSelector::Remember(int index) {
  const CDeviceOptionUI* item = ItemAt(index);
  selected_index_ = index;
  selected_kind_ = item != nullptr ? item->Kind() : device::DeviceKind::kNone;
  selected_sub_kind_ = item != nullptr ? item->SubKind() : 0;
}

void DeviceSelector::MarkSelectedPage() const {
  const devices::CHalveronUSBDevicePage* current = CurrentDevice();
  for (CDeviceOptionUI* item : Items()) {
    if (item->Device() != nullptr) item->Device()->SetItemSelected(item->Device() == current);
  }
}

int DeviceSelector::FirstSelectedIndex() const {
  const std::vector<CDeviceOptionUI*> items = Items();
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i]->IsDeviceSelected()) return static_cast<int>(i);
  }
  return -1;
}

void DeviceSelector::SwitchToSelected() {
  const int index = FirstSelectedIndex();
  if (index < 0) return;
  Remember(index);
  ShowPage(*ItemAt(index));
  MarkSelectedPage();
}

void DeviceSelector::Previous() {
  const int from = FirstSelectedIndex();
  if (from < 0) return;
  for (int i = from - 1; i >= 0; --i) {
    if (ItemAt(i)->IsPresent()) {
      SelectItem(i, true, true);
      return;
    }
  }
}

void DeviceSelector::Next() {
  const int from = FirstSelectedIndex();
  if (from < 0) return;
  const int count = static_cast<int>(Items().size());
  for (int i = from + 1; i < count; ++i) {
    if (ItemAt(i)->IsPresent()) {
      SelectItem(i, true, true);
      return;
    }
  }
}

void DeviceSelector::HideItem(int index) {
  CDeviceOptionUI* item = ItemAt(index);
  if (item == nullptr) return;
  int other = -1;
  if (item->IsPresent() && item->IsDeviceSelected()) {
    if (hooks_.close_secondary_windows) hooks_.close_secondary_windows();
    if (hooks_.stop_recording) hooks_.stop_recording();
    const std::vector<CDeviceOptionUI*> items = Items();
    for (size_t i = 0; i < items.size(); ++i) {
      if (static_cast<int>(i) != index && items[i]->IsPresent()) {
        other = static_cast<int>(i);
        break;
      }
    }
  }
  SelectItem(index, false, false);
  if (other >= 0) SelectItem(other, true, true);
}

bool DeviceSelector::FirstPresentItem(int* index, int* count) const {
  int first = -1;
  int present = 0;
  const std::vector<CDeviceOptionUI*> items = Items();
  for (size_t i = 0; i < items.size(); ++i) {
    if (!items[i]->IsPresent()) continue;
    if (first < 0) first = static_cast<int>(i);
    ++present;
  }
  if (index != nullptr) *index = first;
  if (count != nullptr) *count = present;
  return present > 0;
}

int DeviceSelector::PresentCount() const {
  int count = 0;
  FirstPresentItem(nullptr, &count);
  return count;
}

devices::CHalveronUSBDevicePage* DeviceSelector::CurrentDevice() const {
  for (CDeviceOptionUI* item : Items()) {
    if (item->IsDeviceSelected() && item->IsPresent()) return item->Device();
  }
  return nullptr;
}

}  // namespace zrv::app
