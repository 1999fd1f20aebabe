#pragma once
// The firmware's memory areas and which command addresses which.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace zrv::sim {

enum class Area : uint8_t {
  kInfo,         // 0x03: information block (34 bytes used)
  kSettings,     // 0x05 / 0x06: active profile at offset 0, then the per-profile records
  kDefaultKeys,  // 0x07: factory code of every key slot, 3 bytes per slot
  kKeys,         // 0x09: key tables written by the host, table i at i x 512
  kCustomLight,  // 0x0A / 0x0B: custom lighting groups, group g at g x 378
  kLightFrame,   // 0x12: the live colour frame, 3 bytes per LED
  kMacros,       // 0x15: macro memory image
  kShoot,        // 0x17: shoot memory image
  kPower,        // 0x1A: power and charge bytes
  kKeyLedMap,    // 0x1B: LED index of every key slot, 1 byte per slot
};
inline constexpr size_t kAreaCount = 10;

inline constexpr size_t Index(Area area) { return static_cast<size_t>(area); }
const char* AreaName(Area area);

struct CommandBinding {
  Area area;
  bool write;  // the host writes into the area; otherwise it reads from it
};

// The area a command reads or writes; none for Begin, End, StartLightSync, Probe and unknown ids.
std::optional<CommandBinding> BindingOf(uint8_t command);

inline constexpr size_t kKeyTableStride = 512;     // WriteKeys: table index x 512
inline constexpr size_t kCustomLightStride = 378;  // 126 LEDs x 3
inline constexpr size_t kInfoBlockSize = 34;
inline constexpr size_t kPowerSize = 6;
inline constexpr size_t kShootChunk = 56;

// Information block bytes.
inline constexpr size_t kInfoKeySlots = 5;
inline constexpr size_t kInfoMacroUnits = 6;  // macro memory in units of 128 bytes
inline constexpr size_t kInfoDpiFactor = 11;
inline constexpr size_t kInfoDpiMax = 12;  // 16 bits, low byte first
inline constexpr size_t kInfoDpiMin = 14;  // 16 bits, low byte first
inline constexpr size_t kMacroUnit = 128;

}  // namespace zrv::sim
