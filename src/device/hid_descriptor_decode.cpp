// Reading button usages and values out of a report with the capabilities of its descriptor.

#include <algorithm>
#include <bitset>
#include <memory>

#include "device/hid_descriptor.h"

namespace zrv::device {
namespace {

// Whether the fields [first_field, first_field + fields) of cap lie inside report, and the report
// is one of the capability's (its first byte is the report ID).
bool FieldsFit(const HidCapability& cap, std::span<const uint8_t> report, uint32_t first_field, uint32_t fields) {
  if (report.empty() || report[0] != cap.report_id) return false;
  if (cap.bit_size == 0 || cap.bit_size > 32) return false;
  const uint64_t end = cap.bit_position + static_cast<uint64_t>(first_field + fields) * cap.bit_size;
  return end <= static_cast<uint64_t>(report.size()) * 8;
}

// Bits are packed from the least significant bit of each byte upwards; the caller checked bounds.
uint32_t ReadBits(std::span<const uint8_t> report, uint64_t bit, uint16_t count) {
  uint32_t value = 0;
  for (uint16_t i = 0; i < count; ++i, ++bit) {
    if ((report[bit / 8] >> (bit % 8)) & 1) value |= 1u << i;
  }
  return value;
}

// A field is signed when its logical range reaches below zero.
int64_t FieldValue(const HidCapability& cap, uint32_t raw) {
  if (cap.logical_min >= 0 || cap.bit_size >= 32) {
    return cap.logical_min < 0 ? static_cast<int32_t>(raw) : static_cast<int64_t>(raw);
  }
  const uint32_t sign = 1u << (cap.bit_size - 1);
  return static_cast<int64_t>(raw ^ sign) - static_cast<int64_t>(sign);
}

// The field of a value capability that holds usage, or false when the usage is not the
// capability's.
bool FieldOfUsage(const HidCapability& cap, uint16_t usage, uint32_t& field) {
  if (cap.is_button) return false;
  if (!cap.is_range) {
    field = 0;
    return usage == cap.usage_min;
  }
  if (usage < cap.usage_min || usage > cap.usage_max) return false;
  field = static_cast<uint32_t>(usage - cap.usage_min);
  return field < cap.report_count;
}

// Appends each usage once per decode (0 means "no usage" on every page). A capability can have up
// to 65535 fields: past a few, a set of bits replaces the search so that a decode stays linear.
class UsageAppender {
 public:
  UsageAppender(std::vector<uint16_t>& usages, uint32_t fields) : usages_(usages), first_(usages.size()) {
    if (fields > kSearchLimit) seen_ = std::make_unique<std::bitset<0x10000>>();
  }

  void Append(uint16_t usage) {
    if (usage == 0) return;
    if (seen_) {
      if (seen_->test(usage)) return;
      seen_->set(usage);
    } else if (std::find(usages_.begin() + static_cast<std::ptrdiff_t>(first_), usages_.end(), usage) !=
               usages_.end()) {
      return;
    }
    usages_.push_back(usage);
  }

 private:
  static constexpr uint32_t kSearchLimit = 32;
  std::vector<uint16_t>& usages_;
  const size_t first_;
  std::unique_ptr<std::bitset<0x10000>> seen_;
};

}  // namespace

bool GetButtonUsages(const HidCapability& cap, std::span<const uint8_t> report, std::vector<uint16_t>& usages) {
  if (!cap.is_button || !FieldsFit(cap, report, 0, cap.report_count)) return false;
  UsageAppender found(usages, cap.report_count);
  for (uint32_t field = 0; field < cap.report_count; ++field) {
    const uint32_t raw = ReadBits(report, cap.bit_position + static_cast<uint64_t>(field) * cap.bit_size, cap.bit_size);
    if (cap.is_array) {
      // The field's value, counted from the logical minimum, indexes the usages of the array.
      const int64_t value = FieldValue(cap, raw);
      if (value < cap.logical_min || value > cap.logical_max) continue;
      const int64_t index = value - cap.logical_min - cap.array_index;
      if (index < 0 || index > static_cast<int64_t>(cap.usage_max) - cap.usage_min) continue;
      found.Append(static_cast<uint16_t>(cap.usage_min + index));
    } else if (raw != 0) {
      // One bit per usage; fields beyond the usage range repeat its last usage.
      const uint32_t usage = std::min<uint32_t>(cap.usage_min + field, cap.usage_max);
      found.Append(static_cast<uint16_t>(cap.is_range ? usage : cap.usage_min));
    }
  }
  return true;
}

bool GetUsageValue(const HidCapability& cap, uint16_t usage, std::span<const uint8_t> report, uint32_t& raw) {
  uint32_t field = 0;
  if (!FieldOfUsage(cap, usage, field) || !FieldsFit(cap, report, field, 1)) return false;
  raw = ReadBits(report, cap.bit_position + static_cast<uint64_t>(field) * cap.bit_size, cap.bit_size);
  return true;
}

bool GetScaledUsageValue(const HidCapability& cap, uint16_t usage, std::span<const uint8_t> report, int32_t& scaled) {
  uint32_t raw = 0;
  if (!GetUsageValue(cap, usage, report, raw)) return false;
  if (cap.logical_min >= cap.logical_max) return false;
  const int64_t value = FieldValue(cap, raw);
  if (value < cap.logical_min || value > cap.logical_max) return false;
  if (cap.physical_min == 0 && cap.physical_max == 0) {
    scaled = static_cast<int32_t>(value);  // no physical range: physical equals logical
    return true;
  }
  if (cap.physical_min >= cap.physical_max) return false;
  // Both spans reach up to 2^32, so their product needs more than 64 bits.
  __extension__ using Wide = __int128;
  const Wide numerator = static_cast<Wide>(value - cap.logical_min) * (int64_t{cap.physical_max} - cap.physical_min);
  const Wide result = numerator / (int64_t{cap.logical_max} - cap.logical_min) + cap.physical_min;
  scaled = static_cast<int32_t>(result);  // lies within the physical range
  return true;
}

}  // namespace zrv::device
