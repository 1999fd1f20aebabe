#pragma once
// CHalveronUSBDevicePage: the page of a device, the root control of its page layout. It owns the
// device's model, shows it (DevicePageView) and hosts the timers that drive it.
//
// The layout builder creates the page under the class names of the device kinds; BuildPage then
// finds the key buttons of the device picture and builds the profile bar. Key button i is the
// "DeviceKeyButton" named "light_" i when the page has one (a light position), else the one named
// "key_" i; the model's key colour i is painted on it.
//
// Timers: the selector item decides when the work starts (timer 1001, 500 ms after an attach, with
// StartDeviceTimer); the page then runs each timer's work on the model when it fires and arms what
// the model answers. Timer requests of the model's notification thread reach the page through the
// event loop.

#include <QPointer>

#include <memory>
#include <vector>

#include "controls/device_key_button.h"
#include "controls/device_profile.h"
#include "controls/select_panel.h"
#include "devices/model/device_page_view.h"
#include "devices/model/device_timers.h"
#include "devices/model/usb_device.h"
#include "ui/containers.h"
#include "ui/route_registry.h"

namespace zrv::devices {

class CHalveronUSBDevicePage : public ui::HorizontalLayout, public DevicePageView {
  Q_OBJECT
 public:
  // A page of the base model (kind 0, no key buttons).
  explicit CHalveronUSBDevicePage(QWidget* parent = nullptr);
  // Ends the model (its threads) before the page's controls go.
  ~CHalveronUSBDevicePage() override;

  QString GetClass() const override { return QStringLiteral("CHalveronUSBDevice"); }

  CHalveronUSBDevice& Model() { return *model_; }
  const CHalveronUSBDevice& Model() const { return *model_; }

  // Finds the selection panel and the key buttons of the page ("key_" and "light_" plus a number
  // below the counts of the device kind), then builds the profile bar "DeviceProfileItem": the
  // device kind, the kind's data folder and template, its profile list loaded (made on a first
  // start), function tab 1 selected, and the bar's current profile handed to the model. Run once
  // the page's subtree exists; again after the layout changed (a bar already built stays as it is).
  virtual void BuildPage();

  controls::CDeviceKeyButtonUI* KeyButton(int index) const;    // "key_" index
  controls::CDeviceKeyButtonUI* LightButton(int index) const;  // "light_" index
  // The button that shows key colour `index`: the light position, else the key.
  controls::CDeviceKeyButtonUI* PaintedButton(int index) const;
  controls::CSelectPanelUI* SelectPanel() const { return select_panel_; }
  // Null when the page's layout has no profile bar.
  controls::CDeviceProfileUI* ProfileBar() const { return profile_bar_; }

  // DevicePageView.
  void PaintKey(int index, uint32_t colour, int intensity) override;
  void ShowFunctionPages(const FunctionPages& pages) override;
  // Through the language files, as the hidden label "text_test" would show the id.
  std::string TranslateText(const std::string& text_id) override;

  // Beyond this many changed lights a frame repaints the part of the picture they cover at once.
  static constexpr size_t kSeparateRepaints = 16;
  // Repaints the device picture: every key button whose light changed since the last time.
  void RedrawPicture();

  // Adds the page's notification routes with the page (as CHalveronUSBDevicePage*) as owner; the
  // window runs them while the page's device is the current one. A kind page adds its own after
  // the base's.
  virtual void AddRoutes(ui::RouteRegistry& routes);
  // A function tab of the profile bar chosen (wParam 1; the tab that lost the selection reports 0):
  // tab n makes the device show function mode n; the key tab also redraws the key picture.
  void ShowFunctionTab(const ui::Notify& msg);
  // A DPI slider "orvex_DPI_slider_" n being dragged shows its value in the edit of the same number.
  void ShowDraggedDpiValue(int number, qint64 value);

  // Whether the page's item is the selected one of the device selector: only then does the
  // repaint timer redraw the picture.
  void SetItemSelected(bool selected) { item_selected_ = selected; }
  bool ItemSelected() const { return item_selected_; }
  // Arms one device timer (device_timers.h) as a one-shot.
  void StartDeviceTimer(int id, int delay_ms);
  // Runs the work of a device timer now and arms the timers that follow it.
  TimerOutcome RunDeviceTimer(int id);
  void DoTimer(int id) override;

 protected:
  CHalveronUSBDevicePage(std::unique_ptr<CHalveronUSBDevice> model, QWidget* parent);

  using LightTable = std::vector<QPointer<controls::CDeviceKeyButtonUI>>;
  // The buttons whose light changed since the last time, table by table: buttons[table_ends[i - 1]]
  // up to buttons[table_ends[i]] came from the i-th table.
  struct ChangedLights {
    std::vector<controls::CDeviceKeyButtonUI*> buttons;
    std::vector<size_t> table_ends;
  };
  static void TakeChangedLightsOf(const LightTable& table, ChangedLights& changed);
  // Every changed light of the page: the key and light buttons; a kind page adds its own tables.
  virtual void TakeChangedLights(ChangedLights& changed);

 private:
  ui::TabLayout* FunctionContainer(const char* name, QPointer<ui::TabLayout>& cache);
  void BuildProfileBar();

  std::unique_ptr<CHalveronUSBDevice> model_;
  LightTable key_buttons_;
  LightTable light_buttons_;
  QPointer<controls::CSelectPanelUI> select_panel_;
  // RedrawPicture's, kept so that its vectors keep their room from frame to frame.
  ChangedLights changed_lights_;
  QPointer<controls::CDeviceProfileUI> profile_bar_;
  QPointer<ui::TabLayout> function_switch_;
  QPointer<ui::TabLayout> key_function_switch_;
  bool item_selected_ = false;
};

}  // namespace zrv::devices
