#pragma once
// What went over the wire between the host and a simulated device, in the order it happened.
//
// Every report is kept with its direction and a time stamp: command frames in both directions,
// notifications, light reports. Host frames whose checksum is wrong are marked. The log is bounded
// (oldest entries go first) so that benchmarks can run for long; it is safe from any thread.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace zrv::sim {

enum class Direction : uint8_t {
  kToDevice,  // an output report written by the host
  kToHost,    // an input report delivered by the device
};

struct TrafficEntry {
  Direction direction = Direction::kToDevice;
  std::chrono::steady_clock::time_point time;
  std::vector<uint8_t> bytes;  // report-ID byte first
  bool checksum_ok = true;     // host command frames only; always true otherwise

  uint8_t ReportId() const { return bytes.empty() ? 0 : bytes[0]; }
  bool IsCommandFrame() const;  // report 0x04 of 64 bytes
  uint8_t Command() const;      // byte 3 of a command frame, 0 otherwise
  uint8_t Length() const;       // byte 4 of a command frame, 0 otherwise
  uint16_t Offset() const;      // bytes 5-6 of a command frame, 0 otherwise
  uint8_t Status() const;       // byte 7 of a command frame, 0 otherwise
};

class TrafficLog {
 public:
  static constexpr size_t kDefaultCapacity = 100000;

  void Add(Direction direction, std::vector<uint8_t> bytes, bool checksum_ok = true);
  void Clear();
  // Entries beyond the capacity drop the oldest ones; 0 turns logging off.
  void SetCapacity(size_t capacity);

  std::vector<TrafficEntry> Entries() const;
  size_t Size() const;

  // Command frames of one command in one direction (host frames unless told otherwise).
  std::vector<TrafficEntry> Frames(uint8_t command, Direction direction = Direction::kToDevice) const;
  size_t CountFrames(uint8_t command, Direction direction = Direction::kToDevice) const;
  std::optional<TrafficEntry> LastFrame(uint8_t command, Direction direction = Direction::kToDevice) const;
  // Every command frame in one direction, all commands.
  size_t CountCommandFrames(Direction direction) const;
  // Reports with the given report ID in one direction (notifications, light reports).
  std::vector<TrafficEntry> Reports(uint8_t report_id, Direction direction) const;
  // Host frames whose checksum did not match.
  size_t ChecksumErrors() const;

  // One line per entry: relative time in microseconds, direction, bytes in hex. For test messages.
  std::string Dump() const;

 private:
  mutable std::mutex mutex_;
  std::deque<TrafficEntry> entries_;
  size_t capacity_ = kDefaultCapacity;
  size_t checksum_errors_ = 0;  // counted also for entries that have been dropped
};

}  // namespace zrv::sim
