#include "devices/model/mouse_settings_record.h"

#include <algorithm>

#include "devices/model/keyboard_settings_record.h"

namespace zrv::devices {
namespace {

constexpr size_t kEffectByte = 1;
constexpr size_t kReportRateByte = 11;
constexpr size_t kActiveStageByte = 12;
constexpr size_t kFirstStageByte = 14;
constexpr size_t kStageBytes = 9;
constexpr size_t kThirdValueByte = 59;
constexpr size_t kWidthByte = 60;
constexpr size_t kHeightByte = 62;
constexpr size_t kCorrectionByte = 64;

void PutLow16(MouseSettingsBytes& record, size_t at, unsigned value) {
  record[at] = static_cast<uint8_t>(value);
  record[at + 1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace

MouseSettingsBytes EncodeMouseSettings(uint8_t first_byte, const MouseSettingsSource& source) {
  MouseSettingsBytes record{};
  const config::LightZoneFields& light = source.light;
  record[0] = first_byte;
  record[kEffectByte] = light.select_item >= kMouseFirstUnknownEffect ? 0 : light.select_item;
  record[2] = light.light;
  record[3] = SpeedByte(light.speed);
  record[4] = light.fx;
  record[5] = light.multi_color;
  record[6] = light.red;
  record[7] = light.green;
  record[8] = light.blue;
  record[kReportRateByte] = static_cast<uint8_t>(source.system.report_rate);
  record[kActiveStageByte] = static_cast<uint8_t>(source.active_stage);
  const size_t stages = std::min(source.stages.size(), kMouseRecordStages);
  for (size_t i = 0; i < stages; ++i) {
    const config::DpiStage& stage = source.stages[i];
    const size_t at = kFirstStageByte + kStageBytes * i;
    record[at] = stage.enabled;
    record[at + 1] = stage.xy;
    PutLow16(record, at + 2, stage.dpi_x);
    PutLow16(record, at + 4, stage.dpi_y);
    record[at + 6] = stage.red;
    record[at + 7] = stage.green;
    record[at + 8] = stage.blue;
  }
  record[kThirdValueByte] = static_cast<uint8_t>(source.third_value);
  PutLow16(record, kWidthByte, static_cast<unsigned>(source.screen_width));
  PutLow16(record, kHeightByte, static_cast<unsigned>(source.screen_height));
  const auto in_use = std::find_if(source.corrections.begin(), source.corrections.end(),
                                   [](const config::Correction& entry) { return entry.select != 0; });
  if (in_use != source.corrections.end()) {
    record[kCorrectionByte] = in_use->min_sq;
    record[kCorrectionByte + 1] = in_use->pix_thresh;
  }
  return record;
}

MouseSettingsRead DecodeMouseSettings(std::span<const uint8_t, kMouseSettingsReadSize> record) {
  MouseSettingsRead read;
  read.light.select_item = record[kEffectByte];
  read.light.light = record[2];
  read.light.speed = SpeedFromByte(record[3]);
  read.light.multi_color = record[5] != 0 ? 1 : 0;
  read.light.red = record[6];
  read.light.green = record[7];
  read.light.blue = record[8];
  read.active_stage = record[kActiveStageByte];
  return read;
}

}  // namespace zrv::devices
