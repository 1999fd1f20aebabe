#include "sim/traffic_log.h"

#include <cstdio>

#include "sim/command_frame.h"
#include "sim/sim_ids.h"

namespace zrv::sim {

bool TrafficEntry::IsCommandFrame() const { return bytes.size() == kFrameSize && bytes[0] == kCommandReportId; }
uint8_t TrafficEntry::Command() const { return IsCommandFrame() ? bytes[kFrameCommand] : 0; }
uint8_t TrafficEntry::Length() const { return IsCommandFrame() ? bytes[kFrameLength] : 0; }
uint16_t TrafficEntry::Offset() const { return IsCommandFrame() ? FrameOffset(bytes) : 0; }
uint8_t TrafficEntry::Status() const { return IsCommandFrame() ? bytes[kFrameStatus] : 0; }

void TrafficLog::Add(Direction direction, std::vector<uint8_t> bytes, bool checksum_ok) {
  auto now = std::chrono::steady_clock::now();
  std::lock_guard lock(mutex_);
  if (!checksum_ok) ++checksum_errors_;
  if (capacity_ == 0) return;
  while (entries_.size() >= capacity_) entries_.pop_front();
  entries_.push_back(TrafficEntry{direction, now, std::move(bytes), checksum_ok});
}

void TrafficLog::Clear() {
  std::lock_guard lock(mutex_);
  entries_.clear();
  checksum_errors_ = 0;
}

void TrafficLog::SetCapacity(size_t capacity) {
  std::lock_guard lock(mutex_);
  capacity_ = capacity;
  while (entries_.size() > capacity_) entries_.pop_front();
}

std::vector<TrafficEntry> TrafficLog::Entries() const {
  std::lock_guard lock(mutex_);
  return {entries_.begin(), entries_.end()};
}

size_t TrafficLog::Size() const {
  std::lock_guard lock(mutex_);
  return entries_.size();
}

std::vector<TrafficEntry> TrafficLog::Frames(uint8_t command, Direction direction) const {
  std::lock_guard lock(mutex_);
  std::vector<TrafficEntry> out;
  for (const auto& entry : entries_) {
    if (entry.direction == direction && entry.IsCommandFrame() && entry.Command() == command) out.push_back(entry);
  }
  return out;
}

size_t TrafficLog::CountFrames(uint8_t command, Direction direction) const {
  std::lock_guard lock(mutex_);
  size_t count = 0;
  for (const auto& entry : entries_) {
    if (entry.direction == direction && entry.IsCommandFrame() && entry.Command() == command) ++count;
  }
  return count;
}

std::optional<TrafficEntry> TrafficLog::LastFrame(uint8_t command, Direction direction) const {
  std::lock_guard lock(mutex_);
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    if (it->direction == direction && it->IsCommandFrame() && it->Command() == command) return *it;
  }
  return std::nullopt;
}

size_t TrafficLog::CountCommandFrames(Direction direction) const {
  std::lock_guard lock(mutex_);
  size_t count = 0;
  for (const auto& entry : entries_) {
    if (entry.direction == direction && entry.IsCommandFrame()) ++count;
  }
  return count;
}

std::vector<TrafficEntry> TrafficLog::Reports(uint8_t report_id, Direction direction) const {
  std::lock_guard lock(mutex_);
  std::vector<TrafficEntry> out;
  for (const auto& entry : entries_) {
    if (entry.direction == direction && entry.ReportId() == report_id) out.push_back(entry);
  }
  return out;
}

size_t TrafficLog::ChecksumErrors() const {
  std::lock_guard lock(mutex_);
  return checksum_errors_;
}

std::string TrafficLog::Dump() const {
  std::lock_guard lock(mutex_);
  std::string out;
  if (entries_.empty()) return out;
  const auto start = entries_.front().time;
  char buffer[64];
  for (const auto& entry : entries_) {
    auto us = std::chrono::duration_cast<std::chrono::microseconds>(entry.time - start).count();
    std::snprintf(buffer, sizeof buffer, "%10lld %s%s", static_cast<long long>(us),
                  entry.direction == Direction::kToDevice ? "host->dev" : "dev->host",
                  entry.checksum_ok ? "" : " (bad checksum)");
    out += buffer;
    for (uint8_t byte : entry.bytes) {
      std::snprintf(buffer, sizeof buffer, " %02x", byte);
      out += buffer;
    }
    out += '\n';
  }
  return out;
}

}  // namespace zrv::sim
