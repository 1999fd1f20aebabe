#pragma once
// The USB headset (kind 7): interface 3 of 0x320F:0x5200 (the simulator's own ids), one
// consumer-control collection that is also its command link.
//
// Besides command frames it takes 17-byte light reports (report 0xFF): byte 1 target (0x22 or
// 0x44), byte 2 part (0xAA/0xAB/0xAC red/green/blue of positions 0-6 in bytes 4-10, 0xAD/0xAE/0xAF
// the same of positions 7-12 in bytes 4-9). Twelve reports make one frame; the model keeps the
// colours each target last received. Reports with another size, target or part are counted as
// malformed and change nothing.

#include <array>
#include <atomic>
#include <memory>

#include "sim/firmware_model.h"

namespace zrv::sim {

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

class HeadsetModel : public FirmwareModel {
 public:
  static constexpr size_t kLightPositions = 13;
  static constexpr uint8_t kTargetA = 0x22;
  static constexpr uint8_t kTargetB = 0x44;
  static constexpr size_t kReportsPerFrame = 12;
  static constexpr size_t kProfiles = 4;

  using LightColours = std::array<Rgb, kLightPositions>;

  static std::shared_ptr<HeadsetModel> Create();

  // Colours last received for a target (kTargetA or kTargetB; others give all zeros).
  LightColours Colours(uint8_t target) const;
  uint64_t LightReportCount() const { return light_reports_.load(); }
  uint64_t MalformedLightReports() const { return malformed_light_reports_.load(); }

  HeadsetModel();

 protected:
  bool OnOtherOutputReport(std::span<const uint8_t> report) override;

 private:
  mutable std::mutex light_mutex_;
  LightColours colours_[2]{};
  std::atomic<uint64_t> light_reports_{0};
  std::atomic<uint64_t> malformed_light_reports_{0};
};

}  // namespace zrv::sim
