#include "devices/model/mouse_device.h"

namespace zrv::devices {

CHalveronMouseDevice::CHalveronMouseDevice() : CHalveronKindDevice(device::DeviceKind::kMouse) {}

CHalveronMouseDevice::~CHalveronMouseDevice() { StopNotificationThread(); }

}  // namespace zrv::devices
