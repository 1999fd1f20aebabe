#include "sim/key_tables.h"

#include <cassert>

namespace zrv::sim {
namespace {

constexpr size_t kRows = 6;
constexpr size_t kColumns = 21;

static_assert(kRows * kColumns == kLogicalKeyCount);

const auto& kIdentity = device::kKeyIdentityTable;

}  // namespace

const std::array<KeyCode, kLogicalKeyCount>& KeyboardKeyIdentity() { return device::kKeyIdentityTable; }

uint8_t KeyboardSlotKey(size_t slot) {
  assert(slot < kMaxKeyboardSlots);
  size_t row = slot % kRows;
  size_t column = slot / kRows;
  return static_cast<uint8_t>(row * kColumns + column);
}

uint8_t KeyboardSlotLed(size_t slot) {
  size_t key = KeyboardSlotKey(slot);
  size_t row = key / kColumns;
  size_t column = key % kColumns;
  // The LED chain runs left to right on even rows and back on odd ones, except that Fn and Menu
  // (logical keys 110 and 111) are wired to LEDs 117 and 116, and the keys whose LEDs those were
  // (113 and 114) to theirs.
  switch (key) {
    case 110: return 117;
    case 111: return 116;
    case 113: return 120;
    case 114: return 119;
    default: return static_cast<uint8_t>(row * kColumns + (row % 2 == 0 ? column : kColumns - 1 - column));
  }
}

std::vector<uint8_t> KeyboardFactoryKeys(size_t slots) {
  std::vector<uint8_t> out;
  out.reserve(slots * 3);
  for (size_t k = 0; k < slots && k < kMaxKeyboardSlots; ++k) {
    const KeyCode& code = kIdentity[KeyboardSlotKey(k)];
    out.insert(out.end(), {code.type, code.first, code.second});
  }
  return out;
}

std::vector<uint8_t> KeyboardLedMap(size_t slots) {
  std::vector<uint8_t> out;
  for (size_t k = 0; k < slots && k < kMaxKeyboardSlots; ++k) out.push_back(KeyboardSlotLed(k));
  return out;
}

const std::vector<KeyCode>& MouseFactoryCodes() {
  // Logical mouse keys in slot order: left, right, middle, back, forward, DPI loop, DPI up, DPI down.
  static const std::vector<KeyCode> codes = [] {
    std::vector<KeyCode> out;
    for (size_t logical : {0, 1, 2, 4, 3, 7, 5, 6}) out.push_back(device::kMouseKeyIdentityTable[logical].code);
    return out;
  }();
  return codes;
}

std::vector<uint8_t> MouseFactoryKeys() {
  std::vector<uint8_t> out;
  for (const auto& code : MouseFactoryCodes()) out.insert(out.end(), {code.type, code.first, code.second});
  return out;
}

}  // namespace zrv::sim
