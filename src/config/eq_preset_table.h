#pragma once
// The headset's twelve equaliser presets: the gains that preset n (1-12) sends for bands 1 to 10.
// Row 0 is no preset; it is flat so that presets index the table directly.

#include <array>
#include <cstdint>

namespace zrv::config {

inline constexpr int kEqPresetCount = 12;
extern const std::array<std::array<int32_t, 10>, kEqPresetCount + 1> kEqPresetTable;

}  // namespace zrv::config
