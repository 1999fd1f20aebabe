#include "devices/model/keyboard_device.h"

#include <QString>

namespace zrv::devices {

CHalveronKeyboardDevice::CHalveronKeyboardDevice() {
  Configure(device::kKindKeyboard);
  profile_data_.SetTemplatePath(QString::fromStdString(DefaultProfilePath()));
}

CHalveronKeyboardDevice::~CHalveronKeyboardDevice() { StopNotificationThread(); }

void CHalveronKeyboardDevice::SetDisplayIndex(int index) {
  CHalveronUSBDevice::SetDisplayIndex(index);
  profile_data_.SetDeviceIndex(0);
}

}  // namespace zrv::devices
