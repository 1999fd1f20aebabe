#include "devices/keyboard_page.h"

namespace zrv::devices {

CHalveronKeyboardDevicePage::CHalveronKeyboardDevicePage(QWidget* parent)
    : CHalveronUSBDevicePage(std::make_unique<CHalveronKeyboardDevice>(), parent), system_(this, Keyboard()) {
  Keyboard().SetKeyboardView(this);
}

CHalveronKeyboardDevicePage::~CHalveronKeyboardDevicePage() { Keyboard().SetKeyboardView(nullptr); }

void CHalveronKeyboardDevicePage::BuildPage() {
  CHalveronUSBDevicePage::BuildPage();
  system_.Show();
}

void CHalveronKeyboardDevicePage::RefreshKeyboardPage() { system_.Show(); }

void CHalveronKeyboardDevicePage::SetKeyTip(int index, const std::string& title, const std::string& text,
                                            bool key_set_hidden) {
  controls::CDeviceKeyButtonUI* button = KeyButton(index);
  if (button == nullptr) return;
  button->SetUserToolTitle(QString::fromStdString(title));
  button->SetUserToolText(QString::fromStdString(text));
  button->SetKeySetHidden(key_set_hidden);
}

void CHalveronKeyboardDevicePage::AddRoutes(ui::RouteRegistry& routes) {
  CHalveronUSBDevicePage::AddRoutes(routes);
  // The owner is the page as the window knows it: its base.
  system_.AddRoutes(routes, static_cast<CHalveronUSBDevicePage*>(this));
}

}  // namespace zrv::devices
