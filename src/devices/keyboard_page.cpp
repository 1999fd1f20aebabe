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

}  // namespace zrv::devices
