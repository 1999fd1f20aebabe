#pragma once
// The mouse (kind 2): interface 1 of 0x320F:0x1000.
//
// Information block: byte 5 key slots (8), byte 6 macro memory units, byte 11 DPI factor 50, bytes
// 12-13 maximum slider value 520, bytes 14-15 minimum DPI 100. Settings: 71-byte records read (66
// written) at profile x 128. Shoot memory for the four guns.

#include <memory>

#include "sim/firmware_model.h"

namespace zrv::sim {

class MouseModel : public FirmwareModel {
 public:
  static constexpr uint8_t kDpiFactor = 50;
  static constexpr uint16_t kDpiMax = 520;
  static constexpr uint16_t kDpiMin = 100;
  static constexpr size_t kSettingsStride = 128;
  static constexpr size_t kSettingsReadSize = 71;
  static constexpr size_t kSettingsWriteSize = 66;
  static constexpr size_t kProfiles = 4;
  static constexpr size_t kLedCount = 19;
  static constexpr uint8_t kMacroUnits = 0x20;  // 4 KiB

  static std::shared_ptr<MouseModel> Create();

  MouseModel();

 protected:
  MouseModel(std::string kind_name, device::DeviceKind kind);
};

}  // namespace zrv::sim
