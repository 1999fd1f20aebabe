#pragma once
// The 64-byte command frame as the device sees it.
//
//   byte 0      report ID 0x04
//   bytes 1-2   checksum, low byte first: the sum of bytes 3..63 of the request
//   byte 3      command (echoed in the reply)
//   byte 4      length: payload bytes in this frame, or bytes asked for
//   bytes 5-6   offset into the command's memory area, low byte first
//   byte 7      status (0 in a request; in a reply 0xFF or 0xFE is a failure)
//   bytes 8-63  payload

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zrv::sim {

inline constexpr size_t kFrameSize = 64;
inline constexpr size_t kPayloadOffset = 8;
inline constexpr size_t kMaxPayload = kFrameSize - kPayloadOffset;  // 56

inline constexpr size_t kFrameReportId = 0;
inline constexpr size_t kFrameChecksumLow = 1;
inline constexpr size_t kFrameChecksumHigh = 2;
inline constexpr size_t kFrameCommand = 3;
inline constexpr size_t kFrameLength = 4;
inline constexpr size_t kFrameOffsetLow = 5;
inline constexpr size_t kFrameOffsetHigh = 6;
inline constexpr size_t kFrameStatus = 7;

// Status bytes of a reply.
inline constexpr uint8_t kStatusOk = 0x00;
inline constexpr uint8_t kStatusFailure = 0xFF;     // the host reports -102
inline constexpr uint8_t kStatusFailureAlt = 0xFE;  // the host reports -103

// Command ids.
namespace command {
inline constexpr uint8_t kBegin = 0x01;
inline constexpr uint8_t kEnd = 0x02;
inline constexpr uint8_t kReadInfo = 0x03;
inline constexpr uint8_t kReadSettings = 0x05;
inline constexpr uint8_t kWriteSettings = 0x06;
inline constexpr uint8_t kReadDefaultKeys = 0x07;
inline constexpr uint8_t kWriteKeys = 0x09;
inline constexpr uint8_t kReadCustomLight = 0x0A;
inline constexpr uint8_t kWriteCustomLight = 0x0B;
inline constexpr uint8_t kSendLightFrame = 0x12;
inline constexpr uint8_t kWriteMacros = 0x15;
inline constexpr uint8_t kWriteShoot = 0x17;
inline constexpr uint8_t kReadPower = 0x1A;
inline constexpr uint8_t kReadKeyLedMap = 0x1B;
inline constexpr uint8_t kStartLightSync = 0x1C;
inline constexpr uint8_t kProbe = 0xAA;
}  // namespace command

// Probe answer (reply byte 8) of a device that is reachable.
inline constexpr uint8_t kProbeReachable = 0xFF;

using Frame = std::array<uint8_t, kFrameSize>;

// Sum of bytes 3..63 of a 64-byte frame, truncated to 16 bits. Shorter input sums what is there.
uint16_t FrameChecksum(std::span<const uint8_t> frame);
// Stores the checksum in bytes 1 and 2.
void SealFrame(Frame& frame);
bool ChecksumMatches(std::span<const uint8_t> frame);

inline uint16_t FrameOffset(std::span<const uint8_t> frame) {
  return static_cast<uint16_t>(frame[kFrameOffsetLow] | (frame[kFrameOffsetHigh] << 8));
}

// A sealed request as a host builds it: payload (at most 56 bytes) from byte 8, the length byte
// set to length (which may differ from payload.size(), e.g. for reads).
Frame MakeRequest(uint8_t command, uint8_t length, uint16_t offset, std::span<const uint8_t> payload = {});

}  // namespace zrv::sim
