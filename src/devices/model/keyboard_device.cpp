#include "devices/model/keyboard_device.h"

namespace zrv::devices {

CHalveronKeyboardDevice::CHalveronKeyboardDevice() : CHalveronKindDevice(device::kKindKeyboard) {}

CHalveronKeyboardDevice::~CHalveronKeyboardDevice() { StopNotificationThread(); }

}  // namespace zrv::devices
