#include "sim/memory_area.h"

#include <algorithm>

namespace zrv::sim {

void MemoryArea::Read(size_t offset, std::span<uint8_t> out) const {
  std::fill(out.begin(), out.end(), 0);
  if (offset >= bytes_.size()) return;
  size_t count = std::min(out.size(), bytes_.size() - offset);
  std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), count, out.begin());
}

bool MemoryArea::Write(size_t offset, std::span<const uint8_t> data) {
  if (offset > bytes_.size() || data.size() > bytes_.size() - offset) return false;
  std::copy(data.begin(), data.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
  return true;
}

}  // namespace zrv::sim
