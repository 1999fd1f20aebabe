#include "devices/model/light_info.h"

namespace zrv::devices {

LightRecord UnpackLightInts(const LightInts& values) {
  std::array<uint8_t, 31> bytes{};
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto word = static_cast<uint32_t>(values[i / 4]);
    bytes[i] = static_cast<uint8_t>(word >> (8 * (i % 4)));
  }
  return LightRecord::FromBytes(bytes);
}

LightInts PackLightInts(const LightRecord& record) {
  const std::array<uint8_t, 31> bytes = record.ToBytes();
  std::array<uint32_t, 8> words{};
  for (size_t i = 0; i < bytes.size(); ++i) words[i / 4] |= uint32_t{bytes[i]} << (8 * (i % 4));
  LightInts values{};
  for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<int32_t>(words[i]);
  return values;
}

}  // namespace zrv::devices
