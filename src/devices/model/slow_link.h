#pragma once
// A device behind a wireless receiver (a slow link) may have gone to sleep: each step of a
// configuration sequence is only taken once the device answers a probe, so that a sleeping device
// ends the sequence at once instead of waiting out every step. A normal link sends no probe.

#include "device/device_link.h"

namespace zrv::devices {

inline bool ProbeIfSlow(device::DeviceLink& link) { return !link.Slow() || link.Probe() == 1; }

}  // namespace zrv::devices
