#include "devices/model/mouse_device.h"

#include <QString>

namespace zrv::devices {

CHalveronMouseDevice::CHalveronMouseDevice() {
  Configure(device::kKindMouse);
  profile_data_.SetTemplatePath(QString::fromStdString(DefaultProfilePath()));
}

CHalveronMouseDevice::~CHalveronMouseDevice() { StopNotificationThread(); }

void CHalveronMouseDevice::SetDisplayIndex(int index) {
  CHalveronUSBDevice::SetDisplayIndex(index);
  profile_data_.SetDeviceIndex(0);
}

}  // namespace zrv::devices
