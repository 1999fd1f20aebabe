#pragma once
// The keyboard's page: the device page of a CHalveronKeyboardDevice with the keyboard's own
// controls. It shows the model (KeyboardPageView) and binds the system settings.
//
// The page routes the notifications of the system-settings controls to OnSystemSettingNotify
// (AddRoutes); everything else of the page goes through the base.

#include "devices/device_page.h"
#include "devices/keyboard_page_system.h"
#include "devices/model/keyboard_device.h"
#include "devices/model/keyboard_page_view.h"

#include <QPointer>

#include <vector>

namespace zrv::devices {

class CHalveronKeyboardDevicePage : public CHalveronUSBDevicePage, public KeyboardPageView {
  Q_OBJECT
 public:
  explicit CHalveronKeyboardDevicePage(QWidget* parent = nullptr);
  ~CHalveronKeyboardDevicePage() override;
  QString GetClass() const override { return QStringLiteral("CHalveronKeyboardDevice"); }
  CHalveronKeyboardDevice& Keyboard() { return static_cast<CHalveronKeyboardDevice&>(Model()); }

  // The key buttons (base), then the system settings are shown from the profile.
  void BuildPage() override;

  // KeyboardPageView. The logo and strip positions are the "DeviceKeyButton"s named "logo_light_"
  // and "strip_light_" plus their number.
  void RefreshKeyboardPage() override;
  void SetKeyTip(int index, const std::string& title, const std::string& text, bool key_set_hidden) override;
  void PaintLogoLight(int index, uint32_t colour, int intensity) override;
  void PaintStripLight(int index, uint32_t colour, int intensity) override;
  // False while the window is hidden to the tray or minimised; a page that was never put on
  // screen (being built, tests) counts as shown.
  bool PictureShown() const override;

  // The base's routes and those of the system-settings controls.
  void AddRoutes(ui::RouteRegistry& routes) override;

  // A notification of a system-settings control ("polling_rate_option_" N, "delay_rate_option_"
  // N, "repeat_delay_check_" N, "winlockflag_option", "wflag_option", "6flag_option" on
  // "selectchanged"; "repeat_rate_slider" on "valuechanged"). False when it is none of those.
  bool OnSystemSettingNotify(const ui::Notify& msg) { return system_.OnNotify(msg); }
  KeyboardSystemBindings& SystemSettings() { return system_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void TakeChangedLights(ChangedLights& changed) override;

 private:
  KeyboardSystemBindings system_;
  LightTable logo_lights_;
  LightTable strip_lights_;
};

}  // namespace zrv::devices
