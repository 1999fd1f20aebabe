#pragma once
// The device description a test tool asks the running program for: a block of 1024 bytes of
// little-endian 32-bit values: 2, 3, 0, 2, the number of device kinds, then three values per
// kind (its device kind, vendor id and product id); the rest is zero.

#include <QByteArray>

#include <span>

#include "device/device_tables.h"

namespace zrv::app {

QByteArray DescribeDevices(std::span<const device::DeviceKindRow> rows);

}  // namespace zrv::app
