#pragma once
// Factory contents of the settings areas: what a fresh device reports before the host writes.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zrv::sim {

// Size of every model's settings area.
inline constexpr size_t kSettingsAreaSize = 512;

// Keyboard: 46-byte records at profile x 46 (main, logo and strip lighting, system flags).
std::vector<uint8_t> KeyboardFactorySettings(size_t profiles);
// Mouse: records at profile x 128, 71 bytes read (lighting, report rate, five DPI stages).
std::vector<uint8_t> MouseFactorySettings(size_t profiles);
// Mouse pad and headset: lighting records at profile x 46.
std::vector<uint8_t> LightingFactorySettings(size_t profiles);

}  // namespace zrv::sim
