#include "devices/model/mousepad_device.h"

#include <QString>

namespace zrv::devices {

CHalveronMousePadDevice::CHalveronMousePadDevice() {
  Configure(device::kKindMousePad);
  profile_data_.SetTemplatePath(QString::fromStdString(DefaultProfilePath()));
}

CHalveronMousePadDevice::~CHalveronMousePadDevice() { StopNotificationThread(); }

void CHalveronMousePadDevice::SetDisplayIndex(int index) {
  CHalveronUSBDevice::SetDisplayIndex(index);
  profile_data_.SetDeviceIndex(0);
}

}  // namespace zrv::devices
