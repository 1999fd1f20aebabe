#include "config/profile_records.h"

#include <cstring>

namespace zrv::config {

std::array<uint8_t, 31> LightStateRecord::ToBytes() const {
  std::array<uint8_t, 31> bytes{};
  std::memcpy(bytes.data(), this, bytes.size());
  return bytes;
}

LightStateRecord LightStateRecord::FromBytes(const std::array<uint8_t, 31>& bytes) {
  LightStateRecord record;
  std::memcpy(&record, bytes.data(), bytes.size());
  return record;
}

const Correction* SelectedCorrection(const std::vector<Correction>& corrections) {
  for (const Correction& entry : corrections) {
    if (entry.select != 0) return &entry;
  }
  return nullptr;
}

}  // namespace zrv::config
