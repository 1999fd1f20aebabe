#pragma once
// One entry of a device's key colour vector: bytes red, green, blue, intensity from the low byte
// up, so that the low 24 bits are the 0x00BBGGRR colour the key buttons are tinted with.

#include <cstdint>

#include "devices/model/effect_tables.h"

namespace zrv::devices {

using KeyColour = uint32_t;

constexpr KeyColour MakeKeyColour(uint8_t red, uint8_t green, uint8_t blue, uint8_t intensity) {
  return uint32_t{red} | (uint32_t{green} << 8) | (uint32_t{blue} << 16) | (uint32_t{intensity} << 24);
}
constexpr KeyColour MakeKeyColour(const Rgb& rgb, uint8_t intensity) {
  return MakeKeyColour(rgb.red, rgb.green, rgb.blue, intensity);
}
constexpr uint8_t KeyRed(KeyColour c) { return static_cast<uint8_t>(c); }
constexpr uint8_t KeyGreen(KeyColour c) { return static_cast<uint8_t>(c >> 8); }
constexpr uint8_t KeyBlue(KeyColour c) { return static_cast<uint8_t>(c >> 16); }
constexpr uint8_t KeyIntensity(KeyColour c) { return static_cast<uint8_t>(c >> 24); }
// The 0x00BBGGRR colour without the intensity.
constexpr uint32_t KeyTint(KeyColour c) { return c & 0x00FFFFFFu; }

}  // namespace zrv::devices
