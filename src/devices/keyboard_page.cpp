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

void CHalveronKeyboardDevicePage::AddRoutes(ui::RouteRegistry& routes) {
  CHalveronUSBDevicePage::AddRoutes(routes);
  // The owner is the page as the window knows it: its base.
  system_.AddRoutes(routes, static_cast<CHalveronUSBDevicePage*>(this));
}

}  // namespace zrv::devices
