#pragma once
// Key data of the simulated firmware.
//
// The codes come from the device layer's identity tables (the program finds keys by them, so the
// simulated factory tables must carry exactly those codes). What is the firmware's own is the
// numbering: the keyboard's logical keys 0..125 are six rows of 21 on the picture, but the firmware
// scans its matrix column by column, so key slot k is logical key (k % 6) x 21 + k / 6, and its LEDs
// are chained row by row in a serpentine. A keyboard with fewer slots drops the last columns.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/key_identity_table.h"

namespace zrv::sim {

using KeyCode = device::KeyCode;

inline constexpr size_t kLogicalKeyCount = device::kKeyboardLogicalKeys;
inline constexpr size_t kMaxKeyboardSlots = 126;

// The default code of each logical key of the keyboard.
const std::array<KeyCode, kLogicalKeyCount>& KeyboardKeyIdentity();

// Logical key held by key slot k (k < kMaxKeyboardSlots).
uint8_t KeyboardSlotKey(size_t slot);
// LED index of key slot k.
uint8_t KeyboardSlotLed(size_t slot);

// The factory key table of a keyboard with `slots` key slots: 3 bytes per slot.
std::vector<uint8_t> KeyboardFactoryKeys(size_t slots);
// The key-to-LED table: 1 byte per slot.
std::vector<uint8_t> KeyboardLedMap(size_t slots);

// The mouse's key slots in its own order: left, right, middle, back, forward, DPI loop, DPI up,
// DPI down. The GM and M8 keys are not fitted.
const std::vector<KeyCode>& MouseFactoryCodes();
std::vector<uint8_t> MouseFactoryKeys();

}  // namespace zrv::sim
