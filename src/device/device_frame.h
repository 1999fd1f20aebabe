#pragma once
// The 64-byte command frame shared by requests and replies, its checksum and its trace text.
//
//   byte 0      report ID 0x04
//   bytes 1-2   checksum of a request, low byte first (replies: ignored)
//   byte 3      command id (a reply echoes it)
//   byte 4      payload bytes in this frame, or bytes asked for
//   bytes 5-6   offset into the command's memory area, low byte first
//   byte 7      status: 0 in a request; 0xFF or 0xFE in a reply mean failure
//   bytes 8-63  payload

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace zrv::device {

inline constexpr size_t kFrameSize = 64;
inline constexpr uint8_t kFrameReportId = 0x04;
inline constexpr size_t kFrameChecksumLow = 1;
inline constexpr size_t kFrameChecksumHigh = 2;
inline constexpr size_t kFrameCommand = 3;
inline constexpr size_t kFrameLength = 4;
inline constexpr size_t kFrameOffsetLow = 5;
inline constexpr size_t kFrameOffsetHigh = 6;
inline constexpr size_t kFrameStatus = 7;
inline constexpr size_t kFramePayload = 8;
inline constexpr size_t kFramePayloadSize = kFrameSize - kFramePayload;  // 56

inline constexpr uint8_t kStatusFailed = 0xFF;
inline constexpr uint8_t kStatusRefused = 0xFE;

using Frame = std::array<uint8_t, kFrameSize>;

// The unsigned sum of bytes 3..63, cut to 16 bits.
uint16_t FrameChecksum(const Frame& frame);
// Stores FrameChecksum into bytes 1 (low) and 2 (high); call it after every other byte is in place.
void SealFrame(Frame& frame);
// Stores the offset's low 16 bits into bytes 5 and 6 (larger offsets wrap).
void SetFrameOffset(Frame& frame, uint32_t offset);
uint16_t FrameOffset(std::span<const uint8_t> frame);

// The frame as two lines of 32 bytes in lower-case hexadecimal, the bytes of each line grouped
// 4-4-4-4 with three spaces between the first four groups and two between the last four:
// "aa bb cc dd   ...  ..\n..." (no trailing newline). bytes shorter than 64 read as zero-filled.
std::string FormatFrameDump(std::span<const uint8_t> bytes);

}  // namespace zrv::device
