// Feeds arbitrary bytes to the report-descriptor parser (and to the hex reader), then decodes
// reports made of the same bytes with every capability of every collection it accepted, in full
// and cut short. Beyond the sanitizers it checks what callers rely on: a refusal says why and
// leaves nothing behind, every capability fits its report, and decoded usages and values stay
// inside the ranges their capability declares.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "device/hid_descriptor.h"

namespace {

using namespace zrv::device;

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "report_descriptor_fuzzer: broken invariant: %s\n", what);
  std::abort();
}

// A report of the given length whose data bytes come from the input, rotated by a seed so that
// different reports see different bytes.
std::vector<uint8_t> MakeReport(std::span<const uint8_t> input, uint8_t id, size_t length, size_t seed) {
  std::vector<uint8_t> report(length);
  if (length > 0) report[0] = id;
  for (size_t i = 1; i < length && !input.empty(); ++i) report[i] = input[(i + seed) % input.size()];
  return report;
}

void DecodeButtons(const HidCapability& cap, const std::vector<uint8_t>& report, bool must_fit) {
  std::vector<uint16_t> usages;
  const bool ok = GetButtonUsages(cap, report, usages);
  if (must_fit) Check(ok, "a button capability does not fit its own report");
  if (!ok) Check(usages.empty(), "a refused decode returned usages");
  for (uint16_t usage : usages) {
    Check(usage != 0, "usage 0 reported as active");
    Check(usage >= cap.usage_min && usage <= cap.usage_max, "active usage outside the capability");
  }
}

void DecodeValues(const HidCapability& cap, const std::vector<uint8_t>& report, bool must_fit) {
  // The usages the capability covers, and a few beside them.
  const uint32_t last = std::min<uint32_t>(cap.usage_max, cap.usage_min + 8u);
  for (uint32_t usage = cap.usage_min > 0 ? cap.usage_min - 1u : 0u; usage <= last + 1u && usage <= 0xFFFF; ++usage) {
    const auto u = static_cast<uint16_t>(usage);
    const bool covered =
        usage >= cap.usage_min && usage <= cap.usage_max && (!cap.is_range || usage - cap.usage_min < cap.report_count);
    uint32_t raw = 0;
    const bool ok = GetUsageValue(cap, u, report, raw);
    if (must_fit && covered && cap.bit_size <= 32) Check(ok, "a value capability does not fit its own report");
    if (!covered) Check(!ok, "a value was read for a usage the capability does not cover");
    if (ok && cap.bit_size < 32) Check(raw >> cap.bit_size == 0, "raw value wider than its field");
    int32_t scaled = 0;
    if (!GetScaledUsageValue(cap, u, report, scaled)) continue;
    Check(ok, "a scaled value without a raw one");
    if (cap.physical_min == 0 && cap.physical_max == 0) {
      Check(scaled >= cap.logical_min && scaled <= cap.logical_max, "scaled value outside the logical range");
    } else {
      Check(scaled >= cap.physical_min && scaled <= cap.physical_max, "scaled value outside the physical range");
    }
  }
}

void ExerciseCollection(const HidCollectionInfo& info, std::span<const uint8_t> input) {
  for (size_t type = 0; type < kHidReportTypeCount; ++type) {
    const auto report_type = static_cast<HidReportType>(type);
    uint16_t longest = 0;
    for (const HidReportInfo& report : info.reports[type]) {
      Check(report.byte_length >= 2 && report.byte_length <= 16 * 1024 + 1, "report length out of bounds");
      longest = std::max(longest, report.byte_length);
    }
    Check(longest == info.report_byte_length[type], "the type's length is not its longest report");

    std::map<uint8_t, std::vector<uint8_t>> reports;  // one full-length report per ID, built once
    size_t seed = 0;
    for (const auto* caps : {&info.button_caps[type], &info.value_caps[type]}) {
      for (const HidCapability& cap : *caps) {
        Check(cap.bit_size > 0 && cap.report_count > 0, "empty capability");
        const uint16_t length = info.ReportLength(report_type, cap.report_id);
        Check(length != 0, "a capability of a report the collection does not have");
        Check(cap.bit_position + uint64_t{cap.bit_size} * cap.report_count <= uint64_t{length} * 8,
              "a capability reaches past its report");
        auto [it, added] = reports.try_emplace(cap.report_id);
        if (added) it->second = MakeReport(input, cap.report_id, length, seed++);
        const std::vector<uint8_t>& full = it->second;
        const std::vector<uint8_t> cut(full.begin(), full.end() - 1);
        std::vector<uint8_t> other = full;
        other[0] = static_cast<uint8_t>(cap.report_id + 1);
        if (cap.is_button) {
          DecodeButtons(cap, full, true);
          DecodeButtons(cap, cut, false);
          DecodeButtons(cap, other, false);
        } else {
          DecodeValues(cap, full, true);
          DecodeValues(cap, cut, false);
          DecodeValues(cap, other, false);
        }
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);

  std::vector<uint8_t> hex;
  std::string error;
  if (!ParseHexBytes(std::string(reinterpret_cast<const char*>(data), size), hex, error)) {
    Check(hex.empty() && !error.empty(), "a refused hex text left bytes or no message");
  }

  HidReportDescriptor descriptor;
  error.clear();
  if (!ParseReportDescriptor(input, descriptor, error)) {
    Check(descriptor.collections.empty() && !error.empty(), "a refused descriptor left data or no message");
    return 0;
  }
  Check(!descriptor.collections.empty(), "an accepted descriptor without collections");
  for (size_t i = 0; i < descriptor.collections.size(); ++i) {
    Check(descriptor.collections[i].number == static_cast<int>(i) + 1, "collections misnumbered");
    ExerciseCollection(descriptor.collections[i], input);
  }
  return 0;
}
