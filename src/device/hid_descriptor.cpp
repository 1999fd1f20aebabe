#include "device/hid_descriptor.h"

#include <algorithm>
#include <bitset>
#include <cstdio>
#include <map>
#include <optional>
#include <utility>

namespace zrv::device {
namespace {

// Limits that keep a hostile descriptor from claiming absurd reports. A field wider than 256 bits
// is refused by the Linux HID core as well; 16 KiB is far beyond any real report.
constexpr uint32_t kMaxReportSizeBits = 256;
constexpr uint64_t kMaxReportDataBytes = 16 * 1024;
constexpr size_t kMaxGlobalStackDepth = 32;

constexpr const char* kTypeNames[] = {"Input", "Output", "Feature"};

enum ItemType : uint8_t { kMain = 0, kGlobal = 1, kLocal = 2, kReserved = 3 };

enum MainTag : uint8_t { kInput = 0x8, kOutput = 0x9, kCollection = 0xA, kFeature = 0xB, kEndCollection = 0xC };

enum GlobalTag : uint8_t {
  kUsagePage = 0x0,
  kLogicalMin = 0x1,
  kLogicalMax = 0x2,
  kPhysicalMin = 0x3,
  kPhysicalMax = 0x4,
  kUnitExponent = 0x5,
  kUnit = 0x6,
  kReportSize = 0x7,
  kReportId = 0x8,
  kReportCount = 0x9,
  kPush = 0xA,
  kPop = 0xB,
};

enum LocalTag : uint8_t { kUsage = 0x0, kUsageMin = 0x1, kUsageMax = 0x2, kDelimiter = 0xA };

// Main item data bits.
constexpr uint32_t kFlagConstant = 1u << 0;
constexpr uint32_t kFlagVariable = 1u << 1;
constexpr uint32_t kFlagRelative = 1u << 2;
constexpr uint32_t kFlagNullState = 1u << 6;

// An item's data as it was written: its value is signed or unsigned depending on the context.
struct ItemData {
  uint32_t raw = 0;
  uint8_t size = 0;  // bytes: 0, 1, 2 or 4

  uint32_t Unsigned() const { return raw; }
  int32_t Signed() const {
    switch (size) {
      case 1: return static_cast<int8_t>(raw);
      case 2: return static_cast<int16_t>(raw);
      case 4: return static_cast<int32_t>(raw);
      default: return 0;
    }
  }
};

// A maximum is read as signed only when its minimum is negative: descriptors routinely write
// 0..255 as "Logical Maximum (0xFF)" in one byte.
int32_t ResolveMaximum(int32_t minimum, const ItemData& maximum) {
  return minimum < 0 ? maximum.Signed() : static_cast<int32_t>(maximum.Unsigned());
}

struct GlobalState {
  uint16_t usage_page = 0;
  ItemData logical_min, logical_max, physical_min, physical_max;
  uint32_t report_size = 0;
  uint32_t report_count = 0;
  uint32_t report_id = 0;
};

// One usage or usage range of the local state, as an extended usage (page in the high 16 bits).
struct UsageEntry {
  uint32_t min = 0;
  uint32_t max = 0;
  bool is_range = false;
  bool min_short = false;  // declared without its page: takes the usage page
};

struct LocalState {
  std::vector<UsageEntry> usages;
  std::optional<std::pair<uint32_t, bool>> pending_min, pending_max;  // value, declared short
  int delimiter_depth = 0;
  bool delimiter_taken = false;   // the first usage of the open delimiter set was kept
  bool page_after_usage = false;  // a Usage Page followed the last usage
};

class Parser {
 public:
  explicit Parser(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  bool Run(HidReportDescriptor& out, std::string& error);

 private:
  bool Fail(size_t offset, const std::string& message) {
    error_ = "report descriptor offset " + std::to_string(offset) + ": " + message;
    return false;
  }

  bool ParseItems();
  bool Main(uint8_t tag, const ItemData& data, size_t offset);
  bool Global(uint8_t tag, const ItemData& data, size_t offset);
  bool Local(uint8_t tag, const ItemData& data, size_t offset);
  void AddUsage(const UsageEntry& entry);
  bool AddField(HidReportType type, uint32_t flags, size_t offset);
  bool CheckCollectionSize(size_t offset);
  std::vector<UsageEntry> ResolvedUsages() const;
  void Finish(HidReportDescriptor& out);

  std::span<const uint8_t> bytes_;
  std::string error_;
  GlobalState global_;
  std::vector<GlobalState> global_stack_;
  LocalState local_;
  std::vector<size_t> open_collections_;  // offsets of the collections that are open, outermost first
  bool uses_report_ids_ = false;
  bool field_without_id_ = false;
  std::vector<HidCollectionInfo> collections_;
  // Which reports each top-level collection uses; their data bits are counted per descriptor,
  // since one report carries every field of its ID.
  std::vector<std::array<std::bitset<256>, kHidReportTypeCount>> used_;
  std::array<std::array<uint64_t, 256>, kHidReportTypeCount> report_bits_{};
};

bool Parser::Run(HidReportDescriptor& out, std::string& error) {
  if (!ParseItems()) {
    error = error_;
    return false;
  }
  Finish(out);
  return true;
}

bool Parser::ParseItems() {
  size_t pos = 0;
  while (pos < bytes_.size()) {
    const size_t offset = pos;
    const uint8_t prefix = bytes_[pos++];
    if (prefix == 0xFE) {
      // Long item: size and tag bytes, then the data. No long item tags are defined; skip it.
      if (bytes_.size() - pos < 2 || bytes_.size() - pos - 2 < bytes_[pos]) {
        return Fail(offset, "truncated long item");
      }
      pos += 2 + static_cast<size_t>(bytes_[pos]);
      continue;
    }
    static constexpr uint8_t kSizes[4] = {0, 1, 2, 4};
    ItemData data;
    data.size = kSizes[prefix & 0x3];
    if (bytes_.size() - pos < data.size) {
      char text[80];
      std::snprintf(text, sizeof text, "truncated item: prefix 0x%02X needs %u data bytes, %zu left", prefix,
                    static_cast<unsigned>(data.size), bytes_.size() - pos);
      return Fail(offset, text);
    }
    for (uint8_t i = 0; i < data.size; ++i) data.raw |= static_cast<uint32_t>(bytes_[pos + i]) << (8 * i);
    pos += data.size;

    const uint8_t tag = prefix >> 4;
    bool ok = true;
    switch ((prefix >> 2) & 0x3) {
      case kMain: ok = Main(tag, data, offset); break;
      case kGlobal: ok = Global(tag, data, offset); break;
      case kLocal: ok = Local(tag, data, offset); break;
      default: break;  // reserved short items carry nothing we use
    }
    if (!ok) return false;
  }
  if (!open_collections_.empty()) {
    return Fail(open_collections_.back(), "collection is not closed by the end of the descriptor");
  }
  if (collections_.empty()) return Fail(bytes_.size(), "the descriptor declares no top-level collection");
  return true;
}

bool Parser::Main(uint8_t tag, const ItemData& data, size_t offset) {
  bool ok = true;
  switch (tag) {
    case kInput: ok = AddField(HidReportType::kInput, data.Unsigned(), offset); break;
    case kOutput: ok = AddField(HidReportType::kOutput, data.Unsigned(), offset); break;
    case kFeature: ok = AddField(HidReportType::kFeature, data.Unsigned(), offset); break;
    case kCollection:
      if (open_collections_.empty()) {
        HidCollectionInfo info;
        info.number = static_cast<int>(collections_.size()) + 1;
        std::vector<UsageEntry> usages = ResolvedUsages();
        if (!usages.empty()) {
          info.usage_page = static_cast<uint16_t>(usages.front().min >> 16);
          info.usage = static_cast<uint16_t>(usages.front().min);
        }
        collections_.push_back(std::move(info));
        used_.emplace_back();
      }
      open_collections_.push_back(offset);
      break;
    case kEndCollection:
      if (open_collections_.empty()) return Fail(offset, "End Collection without an open collection");
      if (open_collections_.size() == 1) ok = CheckCollectionSize(open_collections_.front());
      open_collections_.pop_back();
      break;
    default: break;  // reserved main tags
  }
  local_ = LocalState{};
  return ok;
}

bool Parser::Global(uint8_t tag, const ItemData& data, size_t offset) {
  switch (tag) {
    case kUsagePage:
      global_.usage_page = static_cast<uint16_t>(data.Unsigned());
      if (!local_.usages.empty() || local_.pending_min || local_.pending_max) local_.page_after_usage = true;
      break;
    case kLogicalMin: global_.logical_min = data; break;
    case kLogicalMax: global_.logical_max = data; break;
    case kPhysicalMin: global_.physical_min = data; break;
    case kPhysicalMax: global_.physical_max = data; break;
    case kUnitExponent:
    case kUnit: break;  // units do not change lengths or capability counts
    case kReportSize: global_.report_size = data.Unsigned(); break;
    case kReportCount: global_.report_count = data.Unsigned(); break;
    case kReportId:
      if (data.Unsigned() == 0) return Fail(offset, "Report ID 0 is reserved");
      if (data.Unsigned() > 255) return Fail(offset, "Report ID " + std::to_string(data.Unsigned()) + " exceeds 255");
      if (field_without_id_) return Fail(offset, "Report ID follows a main item that had none");
      global_.report_id = data.Unsigned();
      uses_report_ids_ = true;
      break;
    case kPush:
      if (global_stack_.size() >= kMaxGlobalStackDepth) return Fail(offset, "Push nested too deeply");
      global_stack_.push_back(global_);
      break;
    case kPop:
      if (global_stack_.empty()) return Fail(offset, "Pop without a matching Push");
      global_ = global_stack_.back();
      global_stack_.pop_back();
      break;
    default: break;  // reserved global tags
  }
  return true;
}

bool Parser::Local(uint8_t tag, const ItemData& data, size_t offset) {
  // A usage of up to two bytes takes the current usage page; a four-byte one carries its own.
  const bool is_short = data.size <= 2;
  const uint32_t usage =
      is_short ? (static_cast<uint32_t>(global_.usage_page) << 16) | (data.Unsigned() & 0xFFFF) : data.Unsigned();
  switch (tag) {
    case kUsage: AddUsage({usage, usage, false, is_short}); break;
    case kUsageMin: local_.pending_min = {usage, is_short}; break;
    case kUsageMax: local_.pending_max = {usage, is_short}; break;
    case kDelimiter:
      if (data.Unsigned() == 1) {
        if (local_.delimiter_depth++ == 0) local_.delimiter_taken = false;
      } else if (local_.delimiter_depth > 0) {
        --local_.delimiter_depth;
      }
      return true;
    default: return true;  // designators and strings do not matter here
  }
  if (local_.pending_min && local_.pending_max) {
    const auto [min, min_short] = *local_.pending_min;
    // The range takes the page of its minimum; only the usage IDs of the maximum count.
    const uint32_t max = (min & 0xFFFF0000u) | (local_.pending_max->first & 0xFFFF);
    local_.pending_min.reset();
    local_.pending_max.reset();
    if (max < min) return Fail(offset, "Usage Maximum is below Usage Minimum");
    AddUsage({min, max, true, min_short});
  }
  local_.page_after_usage = false;
  return true;
}

// Keeps a usage, or only the first usage of a delimiter set (its preferred usage; the others are
// aliases of it).
void Parser::AddUsage(const UsageEntry& entry) {
  if (local_.delimiter_depth > 0) {
    if (local_.delimiter_taken) return;
    local_.delimiter_taken = true;
  }
  local_.usages.push_back(entry);
}

// A Usage Page that follows the usages of a main item still applies to those declared without a
// page (the page is joined to the usage when the main item is reached).
std::vector<UsageEntry> Parser::ResolvedUsages() const {
  std::vector<UsageEntry> usages = local_.usages;
  if (local_.page_after_usage) {
    const uint32_t page = static_cast<uint32_t>(global_.usage_page) << 16;
    for (UsageEntry& entry : usages) {
      if (!entry.min_short) continue;
      entry.min = page | (entry.min & 0xFFFF);
      entry.max = page | (entry.max & 0xFFFF);
    }
  }
  return usages;
}

bool Parser::AddField(HidReportType type, uint32_t flags, size_t offset) {
  const std::string name = kTypeNames[Index(type)];
  if (open_collections_.empty()) return Fail(offset, name + " item outside any collection");
  if (uses_report_ids_ && global_.report_id == 0) return Fail(offset, name + " item without a Report ID");
  if (global_.report_size > kMaxReportSizeBits) {
    return Fail(offset, "Report Size " + std::to_string(global_.report_size) + " exceeds " +
                            std::to_string(kMaxReportSizeBits) + " bits");
  }
  if (global_.report_count > 0xFFFF) {
    return Fail(offset, "Report Count " + std::to_string(global_.report_count) + " is too large");
  }
  const uint32_t size = global_.report_size;
  const uint32_t count = global_.report_count;
  const uint64_t bits = static_cast<uint64_t>(size) * count;
  if (bits == 0) return true;  // no field: neither data nor capabilities
  if (global_.report_id == 0) field_without_id_ = true;

  const auto id = static_cast<uint8_t>(global_.report_id);
  uint64_t& report_bits = report_bits_[Index(type)][id];
  const uint64_t start = report_bits;
  report_bits += bits;
  if (report_bits > kMaxReportDataBytes * 8) {
    return Fail(offset, name + " report " + std::to_string(id) + " grows beyond " +
                            std::to_string(kMaxReportDataBytes) + " bytes");
  }
  HidCollectionInfo& collection = collections_.back();
  used_.back()[Index(type)].set(id);
  if (flags & kFlagConstant) return true;  // padding and constants carry no capabilities
  if (!(flags & kFlagVariable) && size > 32) {
    // An array field holds an index into its usages, which no real descriptor makes this wide.
    return Fail(offset, name + " array field of " + std::to_string(size) + " bits exceeds 32 bits");
  }

  HidCapability base;
  base.report_id = id;
  base.is_array = !(flags & kFlagVariable);
  base.is_absolute = !(flags & kFlagRelative);
  base.has_null = (flags & kFlagNullState) != 0;
  base.bit_size = static_cast<uint16_t>(size);
  base.logical_min = global_.logical_min.Signed();
  base.logical_max = ResolveMaximum(base.logical_min, global_.logical_max);
  base.physical_min = global_.physical_min.Signed();
  base.physical_max = ResolveMaximum(base.physical_min, global_.physical_max);
  base.is_button = base.is_array || (size == 1 && base.logical_min == 0 && base.logical_max == 1);
  // The data starts after the report-ID byte, which every report carries (0 without IDs).
  const uint64_t data_start = 8 + start;

  std::vector<UsageEntry> usages = ResolvedUsages();
  if (usages.empty()) usages.push_back({static_cast<uint32_t>(global_.usage_page) << 16, 0, false, true});
  auto& caps = base.is_button ? collection.button_caps[Index(type)] : collection.value_caps[Index(type)];
  size_t cap_count = collection.button_caps[Index(type)].size() + collection.value_caps[Index(type)].size();
  const auto add = [&](const HidCapability& cap) {
    if (cap_count++ >= kMaxCapabilities) {
      return Fail(offset, "collection " + std::to_string(collection.number) + " has more than " +
                              std::to_string(kMaxCapabilities) + " " + name + " capabilities");
    }
    caps.push_back(cap);
    return true;
  };

  uint32_t cursor = 0;  // array: usage index; variable: field index
  for (size_t i = 0; i < usages.size(); ++i) {
    const UsageEntry& entry = usages[i];
    const uint32_t usage_count = entry.is_range ? (entry.max & 0xFFFF) - (entry.min & 0xFFFF) + 1 : 1;
    HidCapability cap = base;
    cap.usage_page = static_cast<uint16_t>(entry.min >> 16);
    cap.is_range = entry.is_range;
    cap.usage_min = static_cast<uint16_t>(entry.min);
    cap.usage_max = static_cast<uint16_t>(entry.is_range ? entry.max : entry.min);
    if (base.is_array) {
      // Every usage of an array shares all of its fields; a field's value picks one usage.
      cap.bit_position = static_cast<uint32_t>(data_start);
      cap.report_count = static_cast<uint16_t>(count);
      cap.array_index = static_cast<uint16_t>(cursor);
      cursor += usage_count;
      if (!add(cap)) return false;
      if (cursor > 0xFFFF) break;
      continue;
    }
    // Variable: each usage takes the next field; the last usage takes every field left over.
    if (cursor >= count) break;
    const bool last = i + 1 == usages.size();
    const uint32_t fields = last ? count - cursor : std::min(usage_count, count - cursor);
    cap.bit_position = static_cast<uint32_t>(data_start + static_cast<uint64_t>(cursor) * size);
    cap.report_count = static_cast<uint16_t>(fields);
    cap.field_index = static_cast<uint16_t>(cursor);
    cursor += fields;
    if (!add(cap)) return false;
  }
  return true;
}

// Whatever is built per capability for the collection's users must stay bounded; checked when the
// collection closes, since the usage lists depend on every capability of a page.
bool Parser::CheckCollectionSize(size_t offset) {
  const HidCollectionInfo& collection = collections_.back();
  const std::string which = "collection " + std::to_string(collection.number) + " ";
  for (size_t type = 0; type < kHidReportTypeCount; ++type) {
    uint64_t values = 0;
    for (const HidCapability& cap : collection.value_caps[type]) values += ValueUsageCount(cap);
    if (values > kMaxValueItems) {
      return Fail(offset, which + "declares " + std::to_string(values) + " " + kTypeNames[type] +
                              " value usages, more than " + std::to_string(kMaxValueItems));
    }
    uint64_t entries = 0;
    for (uint32_t capacity : UsageListCapacities(collection, static_cast<HidReportType>(type))) entries += capacity;
    if (entries > kMaxUsageListEntries) {
      return Fail(offset, which + "needs " + std::to_string(entries) + " " + kTypeNames[type] +
                              " usage-list entries, more than " + std::to_string(kMaxUsageListEntries));
    }
  }
  return true;
}

void Parser::Finish(HidReportDescriptor& out) {
  out.uses_report_ids = uses_report_ids_;
  for (size_t c = 0; c < collections_.size(); ++c) {
    HidCollectionInfo& info = collections_[c];
    for (size_t type = 0; type < kHidReportTypeCount; ++type) {
      for (size_t id = 0; id < 256; ++id) {
        if (!used_[c][type].test(id)) continue;
        // Whole bytes of data plus the report-ID byte.
        const auto length = static_cast<uint16_t>((report_bits_[type][id] + 7) / 8 + 1);
        info.reports[type].push_back({static_cast<uint8_t>(id), length});
        info.report_byte_length[type] = std::max(info.report_byte_length[type], length);
      }
    }
  }
  out.collections = std::move(collections_);
}

}  // namespace

bool ParseReportDescriptor(std::span<const uint8_t> bytes, HidReportDescriptor& out, std::string& error) {
  out = HidReportDescriptor{};
  HidReportDescriptor parsed;
  Parser parser(bytes);
  if (!parser.Run(parsed, error)) return false;
  out = std::move(parsed);
  return true;
}

namespace {

uint32_t RangeSize(const HidCapability& cap) {
  return cap.usage_max >= cap.usage_min ? static_cast<uint32_t>(cap.usage_max - cap.usage_min) + 1 : 1;
}

}  // namespace

uint32_t ValueUsageCount(const HidCapability& cap) {
  return cap.is_range ? std::min<uint32_t>(RangeSize(cap), cap.report_count) : 1;
}

std::vector<uint32_t> UsageListCapacities(const HidCollectionInfo& collection, HidReportType type) {
  const auto& caps = collection.button_caps[Index(type)];
  // A field sets at most one usage; a capability sets at most one per usage of its range. (The
  // caps of one array share their fields, so this may count them more than once: an upper bound.)
  std::map<std::pair<uint16_t, uint8_t>, uint64_t> carried;  // by usage page and report ID
  for (const HidCapability& cap : caps) {
    carried[{cap.usage_page, cap.report_id}] += std::min<uint32_t>(RangeSize(cap), cap.report_count);
  }
  std::vector<uint32_t> capacities;
  capacities.reserve(caps.size());
  for (const HidCapability& cap : caps) {
    const uint64_t page = carried[{cap.usage_page, cap.report_id}];
    capacities.push_back(static_cast<uint32_t>(std::min<uint64_t>(RangeSize(cap), page)));
  }
  return capacities;
}

uint16_t HidCollectionInfo::ReportLength(HidReportType type, uint8_t report_id) const {
  for (const HidReportInfo& report : reports[Index(type)]) {
    if (report.id == report_id) return report.byte_length;
  }
  return 0;
}

}  // namespace zrv::device
