#include "devices/model/hs6533_device.h"

namespace zrv::devices {

CHalveronHS6533Device::CHalveronHS6533Device() : CHalveronKindDevice(device::DeviceKind::kHeadset) {}

CHalveronHS6533Device::~CHalveronHS6533Device() { StopNotificationThread(); }

}  // namespace zrv::devices
