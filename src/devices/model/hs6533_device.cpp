#include "devices/model/hs6533_device.h"

#include <QString>

namespace zrv::devices {

CHalveronHS6533Device::CHalveronHS6533Device() {
  Configure(device::kKindHeadset);
  profile_data_.SetTemplatePath(QString::fromStdString(DefaultProfilePath()));
}

CHalveronHS6533Device::~CHalveronHS6533Device() { StopNotificationThread(); }

void CHalveronHS6533Device::SetDisplayIndex(int index) {
  CHalveronUSBDevice::SetDisplayIndex(index);
  profile_data_.SetDeviceIndex(0);
}

}  // namespace zrv::devices
