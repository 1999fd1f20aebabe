#pragma once
// HID report-descriptor parser and report decoding.
//
// Turns a raw report descriptor into its top-level collections with the facts that callers of a
// HID class driver rely on: usage page and usage, the report IDs of each collection, report byte
// lengths (counting the report-ID byte, also when the descriptor declares no report IDs, so a
// collection with 8 data bytes per input report has an input length of 9), and button and value
// capabilities per report type. Decoding reads active button usages and values from a report whose
// first byte is the report ID (0 when the descriptor declares none).
//
// Every function is bounds-checked: malformed descriptors are refused with a message, and decoding
// never reads outside the report it is given.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace zrv::device {

enum class HidReportType : uint8_t { kInput = 0, kOutput = 1, kFeature = 2 };
inline constexpr size_t kHidReportTypeCount = 3;

inline size_t Index(HidReportType type) { return static_cast<size_t>(type); }

// One button or value capability of a report type.
struct HidCapability {
  bool is_button = false;
  uint16_t usage_page = 0;
  uint8_t report_id = 0;  // 0 when the descriptor declares no report IDs
  bool is_range = false;  // usage_min..usage_max; otherwise usage_min == usage_max is the usage
  uint16_t usage_min = 0;
  uint16_t usage_max = 0;
  bool is_array = false;  // selector array: each field holds a usage index, not a bit per usage
  bool is_absolute = true;
  bool has_null = false;
  uint32_t bit_position = 0;  // first bit of this capability's first field, from bit 0 of the report-ID byte
  uint16_t bit_size = 0;      // bits per field
  uint16_t report_count = 0;  // number of fields
  int32_t logical_min = 0;
  int32_t logical_max = 0;
  int32_t physical_min = 0;
  int32_t physical_max = 0;
  // For a value capability without a range: which field of the main item holds this usage
  // (main items listing several single usages give one capability per usage).
  uint16_t field_index = 0;
  // For an array capability: the field value, counted from logical_min, that selects usage_min
  // (an array listing several usages or ranges gives one capability per usage or range).
  uint16_t array_index = 0;
};

// One report of a collection: its ID (0 when the descriptor declares none) and byte length,
// counting the report-ID byte.
struct HidReportInfo {
  uint8_t id = 0;
  uint16_t byte_length = 0;
};

// One top-level collection of a descriptor.
struct HidCollectionInfo {
  int number = 0;  // 1-based order of the top-level collection in the descriptor
  uint16_t usage_page = 0;
  uint16_t usage = 0;
  // The reports that the collection's main items make up, per report type, in ascending ID order.
  std::array<std::vector<HidReportInfo>, kHidReportTypeCount> reports;
  // Per report type the longest of those reports (0 when there is none).
  std::array<uint16_t, kHidReportTypeCount> report_byte_length{};
  std::array<std::vector<HidCapability>, kHidReportTypeCount> button_caps;
  std::array<std::vector<HidCapability>, kHidReportTypeCount> value_caps;

  // Byte length of one report of this collection, 0 when the collection has no such report.
  uint16_t ReportLength(HidReportType type, uint8_t report_id) const;
  bool HasReport(HidReportType type, uint8_t report_id) const { return ReportLength(type, report_id) != 0; }
};

struct HidReportDescriptor {
  bool uses_report_ids = false;
  std::vector<HidCollectionInfo> collections;
};

// What one top-level collection may ask its users to hold, per report type. A descriptor beyond
// these is refused as malformed: real devices stay far below them, and every item built from the
// capabilities (HidDataItem) stays within a few megabytes however the descriptor is made.
inline constexpr size_t kMaxCapabilities = 4096;       // button and value capabilities
inline constexpr size_t kMaxValueItems = 16384;        // value usages that have a field
inline constexpr size_t kMaxUsageListEntries = 65536;  // usage-list capacities of the button caps

// The usages of a value capability that have a field of their own: a range longer than the report
// count leaves its last usages without one.
uint32_t ValueUsageCount(const HidCapability& cap);

// Per button capability of the type, in order: how many usages a decode can report for it. At most
// its own range, and at most what the fields of its usage page in its report can set at once.
std::vector<uint32_t> UsageListCapacities(const HidCollectionInfo& collection, HidReportType type);

// Parses bytes into out. On failure returns false, leaves out empty and puts a message naming the
// byte offset into error.
bool ParseReportDescriptor(std::span<const uint8_t> bytes, HidReportDescriptor& out, std::string& error);

// Parses hexadecimal text (bytes separated by white space, optional 0x prefixes).
bool ParseHexBytes(const std::string& text, std::vector<uint8_t>& out, std::string& error);

// Appends the usages that are active in report (first byte: report ID) for a button capability,
// in field order: for an array the usages its fields select, for a bit field the usages whose bit
// is set. Returns false when the capability does not fit the report or its report ID differs.
bool GetButtonUsages(const HidCapability& cap, std::span<const uint8_t> report, std::vector<uint16_t>& usages);

// Raw (unsigned) and scaled (physical, or logical when no physical range is declared) value of a
// usage of a value capability. Returns false when the usage is not the capability's, the field lies
// outside the report, the report ID differs, or (scaled only) the value is outside the logical range.
bool GetUsageValue(const HidCapability& cap, uint16_t usage, std::span<const uint8_t> report, uint32_t& raw);
bool GetScaledUsageValue(const HidCapability& cap, uint16_t usage, std::span<const uint8_t> report, int32_t& scaled);

}  // namespace zrv::device
