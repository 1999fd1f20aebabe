#pragma once
// Members of a profile file that more than one part of the configuration layer reads or writes.

namespace zrv::config {

// The settings objects of the devices, an array indexed by device index.
inline constexpr const char* kDeviceMember = "Device";
// The headset's own equaliser curves: their names and their band values.
inline constexpr const char* kCustomEqNamesMember = "CustomEQNameInfo";
inline constexpr const char* kCustomEqCurvesMember = "CustomEQHzValueInfo";

}  // namespace zrv::config
