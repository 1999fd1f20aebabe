#include "sim/command_frame.h"

#include <algorithm>

namespace zrv::sim {

uint16_t FrameChecksum(std::span<const uint8_t> frame) {
  unsigned sum = 0;
  for (size_t i = kFrameCommand; i < std::min(frame.size(), kFrameSize); ++i) sum += frame[i];
  return static_cast<uint16_t>(sum);
}

void SealFrame(Frame& frame) {
  uint16_t sum = FrameChecksum(frame);
  frame[kFrameChecksumLow] = static_cast<uint8_t>(sum);
  frame[kFrameChecksumHigh] = static_cast<uint8_t>(sum >> 8);
}

bool ChecksumMatches(std::span<const uint8_t> frame) {
  if (frame.size() < kFrameSize) return false;
  uint16_t sum = FrameChecksum(frame);
  return frame[kFrameChecksumLow] == static_cast<uint8_t>(sum) &&
         frame[kFrameChecksumHigh] == static_cast<uint8_t>(sum >> 8);
}

Frame MakeRequest(uint8_t command, uint8_t length, uint16_t offset, std::span<const uint8_t> payload) {
  Frame frame{};
  frame[kFrameReportId] = 0x04;
  frame[kFrameCommand] = command;
  frame[kFrameLength] = length;
  frame[kFrameOffsetLow] = static_cast<uint8_t>(offset);
  frame[kFrameOffsetHigh] = static_cast<uint8_t>(offset >> 8);
  std::copy_n(payload.begin(), std::min(payload.size(), kMaxPayload), frame.begin() + kPayloadOffset);
  SealFrame(frame);
  return frame;
}

}  // namespace zrv::sim
