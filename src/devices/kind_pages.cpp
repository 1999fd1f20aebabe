#include "devices/kind_pages.h"

namespace zrv::devices {

CHalveronMouseDevicePage::CHalveronMouseDevicePage(QWidget* parent)
    : CHalveronUSBDevicePage(std::make_unique<CHalveronMouseDevice>(), parent) {}

CHalveronMousePadDevicePage::CHalveronMousePadDevicePage(QWidget* parent)
    : CHalveronUSBDevicePage(std::make_unique<CHalveronMousePadDevice>(), parent) {}

CHalveronHS6533DevicePage::CHalveronHS6533DevicePage(QWidget* parent)
    : CHalveronUSBDevicePage(std::make_unique<CHalveronHS6533Device>(), parent) {}

}  // namespace zrv::devices
