#pragma once
// One memory area of the firmware, addressed by offset.
//
// Reads past the end give zeros for the missing bytes (the firmware copies whatever lies there and
// the simulator keeps it clean); writes that do not fit are refused whole.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zrv::sim {

class MemoryArea {
 public:
  MemoryArea() = default;
  explicit MemoryArea(size_t size) : bytes_(size, 0) {}

  size_t Size() const { return bytes_.size(); }
  void Resize(size_t size) { bytes_.resize(size, 0); }
  void Fill(uint8_t value) { std::fill(bytes_.begin(), bytes_.end(), value); }

  // Copies out.size() bytes from offset; bytes beyond the area read as 0.
  void Read(size_t offset, std::span<uint8_t> out) const;
  // False (and nothing written) when offset + data.size() exceeds the area.
  bool Write(size_t offset, std::span<const uint8_t> data);

  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  std::vector<uint8_t>& Bytes() { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace zrv::sim
