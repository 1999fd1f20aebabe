#include "devices/model/mousepad_device.h"

namespace zrv::devices {

CHalveronMousePadDevice::CHalveronMousePadDevice() : CHalveronKindDevice(device::kKindMousePad) {}

CHalveronMousePadDevice::~CHalveronMousePadDevice() { StopNotificationThread(); }

}  // namespace zrv::devices
