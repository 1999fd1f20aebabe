#pragma once
// The macro image: all macros of a device in the block that the keyboard and the mouse receive.
//
//   offset 0       AA 55 (magic 0x55AA), total length (2), number of macros n (2), 10 zero bytes
//   offset 16      n block offsets from the start of the image (2 each), in macro order
//   offset 16+2n   the blocks: event count m (2), 2 zero bytes, m 4-byte events (EncodeMacroEvent)
// All numbers are little-endian; the length is 16 + 6n + 4 × (sum of all m).

#include <cstdint>
#include <vector>

#include "config/macro_event.h"

namespace zrv::config {

struct MacroImage {
  // 0: `bytes` is the image. An empty image means that the device has no macros: then nothing at
  //    all is sent, not even Begin.
  // > 0: the image is larger than the device's macro memory; the number (the excess in 4-byte
  //    events, plus one) is shown with "message_text_16" and nothing is sent.
  // -1: no memory could be had for the image.
  int result = 0;
  std::vector<uint8_t> bytes;
};

// Builds the image of `macros` (the events of each macro, in macro order) for a macro memory of
// `capacity` units of 128 bytes (byte 6 of the device information block).
MacroImage BuildMacroImage(const std::vector<std::vector<MacroEvent>>& macros, uint8_t capacity);

}  // namespace zrv::config
