#include "devices/model/mousepad_device.h"

namespace zrv::devices {

CHalveronMousePadDevice::CHalveronMousePadDevice() : CHalveronKindDevice(device::DeviceKind::kMousePad) {}

CHalveronMousePadDevice::~CHalveronMousePadDevice() { StopNotificationThread(); }

}  // namespace zrv::devices
