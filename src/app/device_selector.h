#pragma once
// The device selector: the items of "device_select_layout" (one per device page) and what choosing
// them does. The current device is the device of the first item whose "device_select" is
// selected and which is present; every routed action of the main window starts from it.

#include <QString>

#include <functional>
#include <vector>

#include "device/device_tables.h"

namespace zrv::ui {
class Container;
class WindowBase;
}  // namespace zrv::ui
namespace zrv::devices {
class CHalveronUSBDevicePage;
}

namespace zrv::app {

class CDeviceOptionUI;

class DeviceSelector {
 public:
  static constexpr const char* kItemContainer = "device_select_layout";
  static constexpr const char* kNoDeviceLink = "No_device_Link";
  static constexpr const char* kDeviceSwitch = "device_switch";
  static constexpr const char* kPowerSwitch = "device_power_switch";
  static constexpr int kNoDevicePage = 1;  // of kDeviceSwitch
  static constexpr int kNoPowerPage = 0;   // of kPowerSwitch

  // What the selector asks of the window around it.
  struct Hooks {
    // The selected device left: close the settings and about windows.
    std::function<void()> close_secondary_windows;
    // The selected device left: remove the input hook and stop a macro recording, if one runs.
    std::function<void()> stop_recording;
    // After every selection: whether two or more devices are present (synchronised lighting is
    // offered only then).
    std::function<void(bool several)> several_present;
  };

  explicit DeviceSelector(ui::WindowBase& window);
  void SetHooks(Hooks hooks) { hooks_ = std::move(hooks); }

  // The items in selector order (the order of the container).
  std::vector<CDeviceOptionUI*> Items() const;
  CDeviceOptionUI* ItemAt(int index) const;
  int IndexOf(const CDeviceOptionUI* item) const;
  // The item standing for a device, or -1.
  int IndexOfDevice(const devices::CHalveronUSBDevicePage* device) const;

  // Shows or hides item `index`; with `select` its page comes up and its option is selected.
  // Afterwards the no-device state and the synchronisation checks follow the present items.
  // False for an index without item.
  bool SelectItem(int index, bool show, bool select);
  // "selectchanged" of "device_select": the page of the selected item comes up.
  void SwitchToSelected();
  // The nearest present item before / after the selected one; nothing at the ends.
  void Previous();
  void Next();
  // The device of item `index` left.
  void HideItem(int index);

  // The first present item and the number of present items; false when there is none.
  bool FirstPresentItem(int* index, int* count) const;
  int PresentCount() const;
  devices::CHalveronUSBDevicePage* CurrentDevice() const;

  // What the last switch remembered: the selected item, its kind and sub-kind (-1, 0, 0 before).
  int SelectedIndex() const { return selected_index_; }
  device::DeviceKind SelectedKind() const { return selected_kind_; }
  int SelectedSubKind() const { return selected_sub_kind_; }
  bool SeveralPresent() const { return several_present_; }

 private:
  int FirstSelectedIndex() const;
  void ShowPage(const CDeviceOptionUI& item);
  void Remember(int index);
  // Tells every page whether its item is the selected one (only that one redraws its picture).
  void MarkSelectedPage() const;
  void FollowPresence();

  ui::WindowBase& window_;
  Hooks hooks_;
  int selected_index_ = -1;
  device::DeviceKind selected_kind_ = device::DeviceKind::kNone;
  int selected_sub_kind_ = 0;
  bool several_present_ = false;
};

}  // namespace zrv::app
