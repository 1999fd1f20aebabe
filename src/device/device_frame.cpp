#include "device/device_frame.h"

#include <cstdio>

namespace zrv::device {

uint16_t FrameChecksum(const Frame& frame) {
  uint32_t sum = 0;
  for (size_t i = kFrameCommand; i < kFrameSize; ++i) sum += frame[i];
  return static_cast<uint16_t>(sum);
}

void SealFrame(Frame& frame) {
  const uint16_t sum = FrameChecksum(frame);
  frame[kFrameChecksumLow] = static_cast<uint8_t>(sum & 0xFF);
  frame[kFrameChecksumHigh] = static_cast<uint8_t>(sum >> 8);
}

void SetFrameOffset(Frame& frame, uint32_t offset) {
  frame[kFrameOffsetLow] = static_cast<uint8_t>(offset & 0xFF);
  frame[kFrameOffsetHigh] = static_cast<uint8_t>((offset >> 8) & 0xFF);
}

uint16_t FrameOffset(std::span<const uint8_t> frame) {
  if (frame.size() <= kFrameOffsetHigh) return 0;
  return static_cast<uint16_t>(frame[kFrameOffsetLow] | (frame[kFrameOffsetHigh] << 8));
}

std::string FormatFrameDump(std::span<const uint8_t> bytes) {
  // Separator written before byte i of a 32-byte line.
  auto separator = [](size_t i) -> const char* {
    if (i == 0) return "";
    if (i % 4 != 0) return " ";
    return i <= 12 ? "   " : "  ";
  };
  std::string text;
  text.reserve(2 * (32 * 3 + 12) + 1);
  char hex[3];
  for (size_t line = 0; line < 2; ++line) {
    if (line > 0) text.push_back('\n');
    for (size_t i = 0; i < 32; ++i) {
      const size_t at = line * 32 + i;
      const uint8_t value = at < bytes.size() ? bytes[at] : 0;
      std::snprintf(hex, sizeof hex, "%02x", value);
      text += separator(i);
      text += hex;
    }
  }
  return text;
}

}  // namespace zrv::device
