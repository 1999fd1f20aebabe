#pragma once
// A lighting record handed over as eight integers, as the lighting editor passes it.
//
// A device's lighting records (main, logo, strip) are 31-byte light state records. The eight
// integers carry the record's bytes in order, low byte first: integers 0-6 cover bytes 0-27, the
// low half of integer 7 bytes 28-29 (the 16-bit group field) and its bits 16-23 byte 30. Bits
// 24-31 of integer 7 are not part of the record.

#include <array>
#include <cstdint>

#include "config/profile_records.h"

namespace zrv::devices {

using LightInts = std::array<int32_t, 8>;
using LightRecord = config::LightStateRecord;

LightRecord UnpackLightInts(const LightInts& values);
LightInts PackLightInts(const LightRecord& record);

}  // namespace zrv::devices
