#pragma once
// The illuminated mouse pad (kind 3): interface 1 of 0x320F:0x5100 (the simulator's own ids).
//
// No key slots; 15 LEDs; settings records of 46 bytes read at profile x 46 and 21 bytes written at
// profile x 64; six power bytes (battery percent, charge state, -, wireless charging, -, phone).

#include <array>
#include <memory>

#include "sim/firmware_model.h"

namespace zrv::sim {

class MousePadModel : public FirmwareModel {
 public:
  static constexpr size_t kLedCount = 15;
  static constexpr size_t kProfiles = 4;

  static std::shared_ptr<MousePadModel> Create();

  // Power bytes as ReadPower returns them.
  void SetPower(const std::array<uint8_t, 6>& bytes);

  MousePadModel();
};

}  // namespace zrv::sim
