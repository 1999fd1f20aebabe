#include "sim/key_tables.h"

#include <cassert>

namespace zrv::sim {
namespace {

constexpr size_t kRows = 6;
constexpr size_t kColumns = 21;

constexpr KeyCode Key(uint8_t usage) { return {0x20, 0x00, usage}; }

// Six rows of 21 logical keys: function row, digits, upper letters, home row, lower row, bottom row.
constexpr std::array<KeyCode, kLogicalKeyCount> kIdentity = {{
    // 0-15: Esc, F1-F12, Print Screen, Scroll Lock, Pause
    Key(0x29), Key(0x3A), Key(0x3B), Key(0x3C), Key(0x3D), Key(0x3E), Key(0x3F), Key(0x40), Key(0x41),
    Key(0x42), Key(0x43), Key(0x44), Key(0x45), Key(0x46), Key(0x47), Key(0x48),
    // 16-20: none, three media keys, none
    {0x20, 0x00, 0x00}, {0x30, 0xB6, 0x00}, {0x30, 0xCD, 0x00}, {0x30, 0xB5, 0x00}, {0x20, 0x00, 0x00},
    // 21-41
    Key(0x35), Key(0x1E), Key(0x1F), Key(0x20), Key(0x21), Key(0x22), Key(0x23), Key(0x24), Key(0x25),
    Key(0x26), Key(0x27), Key(0x2D), Key(0x2E), Key(0x2A), Key(0x49), Key(0x4A), Key(0x4B), Key(0x53),
    Key(0x54), Key(0x55), Key(0x56),
    // 42-62
    Key(0x2B), Key(0x14), Key(0x1A), Key(0x08), Key(0x15), Key(0x17), Key(0x1C), Key(0x18), Key(0x0C),
    Key(0x12), Key(0x13), Key(0x2F), Key(0x30), Key(0x31), Key(0x4C), Key(0x4D), Key(0x4E), Key(0x5F),
    Key(0x60), Key(0x61), Key(0x32),
    // 63-83
    Key(0x39), Key(0x04), Key(0x16), Key(0x07), Key(0x09), Key(0x0A), Key(0x0B), Key(0x0D), Key(0x0E),
    Key(0x0F), Key(0x33), Key(0x34), Key(0x28), Key(0x5C), Key(0x5D), Key(0x5E), Key(0x8A), Key(0x8B),
    Key(0x90), Key(0x91), Key(0x88),
    // 84: left Shift; 85-94; 95: right Shift
    {0x20, 0x02, 0x00}, Key(0x1D), Key(0x1B), Key(0x06), Key(0x19), Key(0x05), Key(0x11), Key(0x10),
    Key(0x36), Key(0x37), Key(0x38), {0x20, 0x20, 0x00},
    // 96-103; 104: none
    Key(0x52), Key(0x59), Key(0x5A), Key(0x5B), Key(0x87), Key(0x89), Key(0x64), Key(0x85), {0x20, 0x00, 0x00},
    // 105 left Ctrl, 106 left GUI, 107 left Alt, 108 Space, 109 right Alt, 110 Fn, 111 App, 112 right Ctrl
    {0x20, 0x01, 0x00}, {0x20, 0x08, 0x00}, {0x20, 0x04, 0x00}, Key(0x2C), {0x20, 0x40, 0x00},
    {0xA0, 0x01, 0x00}, Key(0x65), {0x20, 0x10, 0x00},
    // 113-119
    Key(0x50), Key(0x51), Key(0x4F), Key(0x62), Key(0x63), Key(0x58), Key(0x57),
    // 120-124: profile keys; 125: nothing
    {0xD0, 0xA2, 0x01}, {0xD0, 0xA2, 0x02}, {0xD0, 0xA2, 0x03}, {0xD0, 0xA2, 0x04}, {0xD0, 0xA2, 0x05},
    {0x00, 0x00, 0x00},
}};

static_assert(kRows * kColumns == kLogicalKeyCount);

}  // namespace

const std::array<KeyCode, kLogicalKeyCount>& KeyboardKeyIdentity() { return kIdentity; }

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
  // The LED chain runs left to right on even rows and back on odd ones.
  return static_cast<uint8_t>(row * kColumns + (row % 2 == 0 ? column : kColumns - 1 - column));
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
  static const std::vector<KeyCode> codes = {
      {0x10, 0x01, 0x00},  // left
      {0x10, 0x02, 0x00},  // right
      {0x10, 0x04, 0x00},  // middle
      {0x10, 0x08, 0x00},  // back
      {0x10, 0x10, 0x00},  // forward
      {0x13, 0x03, 0x00},  // DPI loop
      {0x13, 0x01, 0x00},  // DPI up
      {0x13, 0x02, 0x00},  // DPI down
  };
  return codes;
}

std::vector<uint8_t> MouseFactoryKeys() {
  std::vector<uint8_t> out;
  for (const auto& code : MouseFactoryCodes()) out.insert(out.end(), {code.type, code.first, code.second});
  return out;
}

}  // namespace zrv::sim
