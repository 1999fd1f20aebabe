#include "config/macro_image.h"

#include <algorithm>
#include <new>

namespace zrv::config {
namespace {

void PutWord(std::vector<uint8_t>& bytes, size_t offset, size_t value) {
  bytes[offset] = static_cast<uint8_t>(value & 0xFF);
  bytes[offset + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

}  // namespace

MacroImage BuildMacroImage(const std::vector<std::vector<MacroEvent>>& macros, uint8_t capacity) {
  MacroImage image;
  if (macros.empty()) return image;

  size_t size = 16 + 6 * macros.size();
  for (const auto& events : macros) size += 4 * events.size();
  const size_t memory = size_t{capacity} * 128;
  if (size > memory) {
    // The memory is at most 255 × 128 bytes, so an image that fits also fits the 16-bit fields.
    image.result = static_cast<int>(std::min<size_t>((size - memory) / 4 + 1, 0x7FFFFFFF));
    return image;
  }

  try {
    image.bytes.assign(size, 0);
  } catch (const std::bad_alloc&) {
    image.result = -1;
    return image;
  }
  std::vector<uint8_t>& bytes = image.bytes;
  bytes[0] = 0xAA;
  bytes[1] = 0x55;
  PutWord(bytes, 2, size);
  PutWord(bytes, 4, macros.size());
  size_t block = 16 + 2 * macros.size();
  for (size_t i = 0; i < macros.size(); ++i) {
    PutWord(bytes, 16 + 2 * i, block);
    PutWord(bytes, block, macros[i].size());
    size_t at = block + 4;
    for (const MacroEvent& event : macros[i]) {
      const auto record = EncodeMacroEvent(event);
      for (const uint8_t byte : record) bytes[at++] = byte;
    }
    block = at;
  }
  return image;
}

}  // namespace zrv::config
