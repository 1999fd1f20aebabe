#include "device/hid_descriptor.h"

#include <gtest/gtest.h>
#include <json/json.h>

#include <fstream>

namespace zrv::device {
namespace {

constexpr auto kIn = HidReportType::kInput;
constexpr auto kOut = HidReportType::kOutput;
constexpr auto kFeat = HidReportType::kFeature;

std::vector<uint8_t> Bytes(const std::string& hex) {
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_TRUE(ParseHexBytes(hex, bytes, error)) << error;
  return bytes;
}

HidReportDescriptor Parse(const std::string& hex) {
  HidReportDescriptor descriptor;
  std::string error;
  EXPECT_TRUE(ParseReportDescriptor(Bytes(hex), descriptor, error)) << error;
  return descriptor;
}

// Parses a descriptor that must be refused and returns the message.
std::string Refuse(const std::string& hex) {
  HidReportDescriptor descriptor;
  descriptor.collections.emplace_back();
  std::string error;
  EXPECT_FALSE(ParseReportDescriptor(Bytes(hex), descriptor, error));
  EXPECT_TRUE(descriptor.collections.empty());
  return error;
}

// ---- Real descriptors against what the Windows HID parser reports for them -----------------------

Json::Value LoadWindowsCaps() {
  std::ifstream file(ZRV31_TESTDATA_DIR "/hid/windows-caps.json");
  Json::Value root;
  Json::CharReaderBuilder builder;
  std::string errors;
  EXPECT_TRUE(Json::parseFromStream(builder, file, &root, &errors)) << errors;
  return root;
}

// Checks one collection against one expected object of the data file.
void ExpectCollection(const HidCollectionInfo& info, const Json::Value& expected) {
  EXPECT_EQ(info.usage_page, expected["usage_page"].asUInt());
  EXPECT_EQ(info.usage, expected["usage"].asUInt());
  EXPECT_EQ(info.report_byte_length[Index(kIn)], expected["input_report_byte_length"].asUInt());
  EXPECT_EQ(info.report_byte_length[Index(kOut)], expected["output_report_byte_length"].asUInt());
  EXPECT_EQ(info.report_byte_length[Index(kFeat)], expected["feature_report_byte_length"].asUInt());
  static constexpr const char* kTypes[] = {"input", "output", "feature"};
  for (size_t type = 0; type < kHidReportTypeCount; ++type) {
    SCOPED_TRACE(kTypes[type]);
    EXPECT_EQ(info.button_caps[type].size(), expected["button_caps"][kTypes[type]].asUInt());
    EXPECT_EQ(info.value_caps[type].size(), expected["value_caps"][kTypes[type]].asUInt());
    // The longest report is the length of the type, and every capability lies inside its report.
    uint16_t longest = 0;
    for (const HidReportInfo& report : info.reports[type]) longest = std::max(longest, report.byte_length);
    EXPECT_EQ(longest, info.report_byte_length[type]);
    for (const auto* caps : {&info.button_caps[type], &info.value_caps[type]}) {
      for (const HidCapability& cap : *caps) {
        const uint16_t length = info.ReportLength(static_cast<HidReportType>(type), cap.report_id);
        EXPECT_NE(length, 0);
        EXPECT_LE(cap.bit_position + uint32_t{cap.bit_size} * cap.report_count, length * 8u);
      }
    }
  }
}

TEST(HidDescriptorWindowsCaps, SingleCollectionInterfaces) {
  const Json::Value root = LoadWindowsCaps();
  ASSERT_GE(root["single_collection_interfaces"].size(), 5u);
  for (const Json::Value& expected : root["single_collection_interfaces"]) {
    SCOPED_TRACE(expected["name"].asString());
    const HidReportDescriptor descriptor = Parse(expected["descriptor_hex"].asString());
    ASSERT_EQ(descriptor.collections.size(), 1u);
    EXPECT_EQ(descriptor.collections[0].number, 1);
    ExpectCollection(descriptor.collections[0], expected);
  }
}

TEST(HidDescriptorWindowsCaps, MultiCollectionInterfaces) {
  const Json::Value root = LoadWindowsCaps();
  ASSERT_GE(root["multi_collection_interfaces"].size(), 2u);
  for (const Json::Value& interface : root["multi_collection_interfaces"]) {
    SCOPED_TRACE(interface["name"].asString());
    const HidReportDescriptor descriptor = Parse(interface["descriptor_hex"].asString());
    EXPECT_TRUE(descriptor.uses_report_ids);
    ASSERT_EQ(descriptor.collections.size(), interface["collections"].size());
    for (Json::ArrayIndex i = 0; i < interface["collections"].size(); ++i) {
      const Json::Value& expected = interface["collections"][i];
      SCOPED_TRACE("collection " + expected["collection"].asString());
      EXPECT_EQ(descriptor.collections[i].number, expected["collection"].asInt());
      ExpectCollection(descriptor.collections[i], expected);
    }
  }
}

// ---- Items and state ------------------------------------------------------------------------------

TEST(HidDescriptor, MouseFieldsGetTheirOwnPositions) {
  // Three buttons padded to a byte, then X, Y and wheel as signed bytes listed one usage each.
  const auto descriptor = Parse(
      "05 01 09 02 A1 01 09 01 A1 00 05 09 19 01 29 03 15 00 25 01 95 08 75 01 81 02"
      " 05 01 09 30 09 31 09 38 15 81 25 7F 75 08 95 03 81 06 C0 C0");
  ASSERT_EQ(descriptor.collections.size(), 1u);
  const HidCollectionInfo& mouse = descriptor.collections[0];
  EXPECT_FALSE(descriptor.uses_report_ids);
  EXPECT_EQ(mouse.usage_page, 1);
  EXPECT_EQ(mouse.usage, 2);  // the nested pointer collection does not replace it
  ASSERT_EQ(mouse.reports[Index(kIn)].size(), 1u);
  EXPECT_EQ(mouse.reports[Index(kIn)][0].id, 0);
  EXPECT_EQ(mouse.reports[Index(kIn)][0].byte_length, 5);  // ID byte counted without report IDs too

  ASSERT_EQ(mouse.button_caps[Index(kIn)].size(), 1u);
  const HidCapability& buttons = mouse.button_caps[Index(kIn)][0];
  EXPECT_TRUE(buttons.is_range);
  EXPECT_FALSE(buttons.is_array);
  EXPECT_EQ(buttons.usage_page, 9);
  EXPECT_EQ(buttons.usage_min, 1);
  EXPECT_EQ(buttons.usage_max, 3);
  EXPECT_EQ(buttons.bit_position, 8u);
  EXPECT_EQ(buttons.report_count, 8);

  ASSERT_EQ(mouse.value_caps[Index(kIn)].size(), 3u);
  const uint16_t usages[] = {0x30, 0x31, 0x38};
  for (size_t i = 0; i < 3; ++i) {
    const HidCapability& value = mouse.value_caps[Index(kIn)][i];
    EXPECT_EQ(value.usage_page, 1);
    EXPECT_EQ(value.usage_min, usages[i]);
    EXPECT_FALSE(value.is_range);
    EXPECT_FALSE(value.is_absolute);
    EXPECT_EQ(value.bit_position, 16 + 8 * i);
    EXPECT_EQ(value.field_index, i);
    EXPECT_EQ(value.report_count, 1);
    EXPECT_EQ(value.logical_min, -127);
    EXPECT_EQ(value.logical_max, 127);
  }
}

TEST(HidDescriptor, LastUsageTakesTheRemainingFields) {
  const auto info =
      Parse("05 01 09 01 A1 01 09 30 09 31 75 08 95 03 26 FF 00 81 02 09 32 09 33 09 34 95 02 81 02 C0").collections[0];
  const auto& values = info.value_caps[Index(kIn)];
  ASSERT_EQ(values.size(), 4u);  // 0x34 has no field left and gives no capability
  EXPECT_EQ(values[1].usage_min, 0x31);
  EXPECT_EQ(values[1].report_count, 2);
  EXPECT_EQ(values[1].bit_position, 16u);
  EXPECT_EQ(values[1].logical_max, 255);  // one-byte 0xFF read as unsigned: the minimum is 0
  EXPECT_EQ(values[3].usage_min, 0x33);
  EXPECT_EQ(values[3].bit_position, 40u);
  EXPECT_EQ(info.report_byte_length[Index(kIn)], 6);
}

TEST(HidDescriptor, ExtendedUsagesAndLateUsagePages) {
  const auto info = Parse(
                        "05 01 09 02 A1 01 15 00 25 01 75 01 95 01"
                        " 0B 38 02 0C 00 81 02"  // four-byte usage carries page 0x0C although the page is 1
                        " 1B 01 00 09 00 2A 05 00 95 05 81 02"  // range from a four-byte minimum: page 9, 1..5
                        " 19 01 29 02 05 08 95 02 91 02"        // page declared after the usages still applies to them
                        " 05 09 09 07 05 01 09 30 95 02 81 02"  // ... but not to usages declared after a later page
                        " C0")
                        .collections[0];
  const auto& buttons = info.button_caps[Index(kIn)];
  ASSERT_EQ(buttons.size(), 4u);
  EXPECT_EQ(buttons[0].usage_page, 0x0C);
  EXPECT_EQ(buttons[0].usage_min, 0x238);
  EXPECT_EQ(buttons[1].usage_page, 9);
  EXPECT_EQ(buttons[1].usage_min, 1);
  EXPECT_EQ(buttons[1].usage_max, 5);
  EXPECT_EQ(buttons[2].usage_page, 9);
  EXPECT_EQ(buttons[2].usage_min, 7);
  EXPECT_EQ(buttons[3].usage_page, 1);
  EXPECT_EQ(buttons[3].usage_min, 0x30);
  ASSERT_EQ(info.button_caps[Index(kOut)].size(), 1u);
  EXPECT_EQ(info.button_caps[Index(kOut)][0].usage_page, 8);
  EXPECT_EQ(info.button_caps[Index(kOut)][0].usage_max, 2);
}

TEST(HidDescriptor, PushPopDelimitersAndLongItems) {
  const auto descriptor = Parse(
      "06 00 FF 09 01 A1 01 85 01 15 00 26 FF 00 75 08 95 02"
      " A4 85 02 75 10 95 01 09 02 81 02 B4"  // report 2 inside Push/Pop
      " FE 03 F0 01 02 03"                    // a long item is skipped
      " A9 01 09 03 09 04 A9 00 09 05 81 02"  // the delimiter set gives its first usage only
      " C0");
  const HidCollectionInfo& info = descriptor.collections[0];
  ASSERT_EQ(info.reports[Index(kIn)].size(), 2u);
  EXPECT_EQ(info.ReportLength(kIn, 1), 3);  // restored: two bytes
  EXPECT_EQ(info.ReportLength(kIn, 2), 3);  // one 16-bit field
  EXPECT_EQ(info.ReportLength(kIn, 3), 0);
  EXPECT_FALSE(info.HasReport(kOut, 1));
  const auto& values = info.value_caps[Index(kIn)];
  ASSERT_EQ(values.size(), 3u);
  EXPECT_EQ(values[0].report_id, 2);
  EXPECT_EQ(values[0].bit_size, 16);
  EXPECT_EQ(values[1].report_id, 1);
  EXPECT_EQ(values[1].usage_min, 3);
  EXPECT_EQ(values[2].usage_min, 5);
}

TEST(HidDescriptor, ReportsAcrossCollections) {
  // IDs sorted within a collection; an ID that two collections share is one report on the wire,
  // so both see its full length; constant fields count, empty main items do not make a report.
  const auto descriptor = Parse(
      "06 00 FF 09 01 A1 01 75 08 95 04 85 FF 09 01 B1 02 85 07 09 01 81 02 85 03 95 01 09 01 81 02"
      " 95 00 85 09 91 02 C0"
      " 06 00 FF 09 02 A1 01 85 07 95 02 81 03 C0");
  ASSERT_EQ(descriptor.collections.size(), 2u);
  const HidCollectionInfo& first = descriptor.collections[0];
  const HidCollectionInfo& second = descriptor.collections[1];
  EXPECT_EQ(first.number, 1);
  EXPECT_EQ(second.number, 2);
  EXPECT_EQ(second.usage, 2);
  EXPECT_EQ(first.ReportLength(kFeat, 255), 5);
  EXPECT_EQ(first.ReportLength(kIn, 7), 7);
  ASSERT_EQ(first.reports[Index(kIn)].size(), 2u);
  EXPECT_EQ(first.reports[Index(kIn)][0].id, 3);
  EXPECT_EQ(first.reports[Index(kIn)][0].byte_length, 2);
  EXPECT_EQ(first.reports[Index(kIn)][1].id, 7);
  EXPECT_EQ(second.ReportLength(kIn, 7), 7);
  EXPECT_TRUE(first.reports[Index(kOut)].empty());
  EXPECT_EQ(second.value_caps[Index(kIn)].size(), 0u);  // constant
  EXPECT_EQ(second.report_byte_length[Index(kIn)], 7);
}

TEST(HidDescriptor, ArraysButtonsAndValues) {
  const auto info =
      Parse(
          "05 09 09 01 A1 01 15 00 25 04 75 08 95 02 09 05 09 07 19 10 29 12 81 00"  // array of a list and a range
          " 15 00 25 01 75 02 95 01 09 01 81 02"  // two-bit field: a value even with logical 0..1
          " 75 01 25 00 09 02 81 02"              // one-bit field with logical 0..0: a value
          " 25 01 09 03 81 00 95 06 81 03"        // one-bit array: a button; padding: nothing
          " C0")
          .collections[0];
  const auto& buttons = info.button_caps[Index(kIn)];
  ASSERT_EQ(buttons.size(), 4u);
  EXPECT_TRUE(buttons[0].is_array);
  EXPECT_EQ(buttons[0].usage_min, 5);
  EXPECT_EQ(buttons[0].array_index, 0);
  EXPECT_EQ(buttons[1].usage_min, 7);
  EXPECT_EQ(buttons[1].array_index, 1);
  EXPECT_TRUE(buttons[2].is_range);
  EXPECT_EQ(buttons[2].array_index, 2);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(buttons[i].bit_position, 8u);
    EXPECT_EQ(buttons[i].report_count, 2);
  }
  EXPECT_EQ(buttons[3].usage_min, 3);
  EXPECT_EQ(info.value_caps[Index(kIn)].size(), 2u);
  EXPECT_EQ(info.report_byte_length[Index(kIn)], 5);  // ID byte + 26 bits
}

// ---- Malformed input --------------------------------------------------------------------------------

TEST(HidDescriptor, RefusesMalformedDescriptorsWithTheOffset) {
  struct Case {
    const char* name;
    const char* hex;
    const char* message;
  };
  const Case cases[] = {
      {"empty", "", "offset 0: the descriptor declares no top-level collection"},
      {"no collection", "05 01 09 02", "offset 4: the descriptor declares no top-level collection"},
      {"truncated short item", "05 01 09", "offset 2: truncated item: prefix 0x09 needs 1 data bytes, 0 left"},
      {"truncated four-byte item", "05 01 A1 01 0B 01 00", "offset 4: truncated item"},
      {"truncated long item header", "05 01 FE 01", "offset 2: truncated long item"},
      {"truncated long item data", "FE 05 00 01 02", "offset 0: truncated long item"},
      {"end without collection", "A1 01 C0 C0", "offset 3: End Collection without an open collection"},
      {"unclosed collection", "A1 01 A1 00 C0", "offset 0: collection is not closed"},
      {"unclosed nested collection", "A1 01 A1 00", "offset 2: collection is not closed"},
      {"main item outside collections", "75 08 95 01 81 02", "offset 4: Input item outside any collection"},
      {"report ID 0", "A1 01 85 00 C0", "offset 2: Report ID 0 is reserved"},
      {"report ID 256", "A1 01 86 00 01 C0", "offset 2: Report ID 256 exceeds 255"},
      {"report ID after unnumbered field", "A1 01 75 08 95 01 81 02 85 01 81 02 C0",
       "offset 8: Report ID follows a main item that had none"},
      {"field without report ID", "A1 01 A4 85 01 75 08 95 01 81 02 B4 95 01 81 02 C0",
       "offset 14: Input item without a Report ID"},
      {"huge report count", "A1 01 75 08 96 FF FF 81 02 C0", "offset 7: Input report 0 grows beyond 16384 bytes"},
      {"report count beyond 16 bits", "A1 01 75 01 97 00 00 01 00 B1 02 C0", "Report Count 65536 is too large"},
      {"report size beyond 256", "A1 01 76 01 01 95 01 91 02 C0", "offset 7: Report Size 257 exceeds 256 bits"},
      {"fields add up beyond the limit", "A1 01 85 03 75 80 96 01 02 81 02 81 02 C0",
       "offset 11: Input report 3 grows beyond 16384 bytes"},
      {"array field wider than 32 bits", "A1 01 75 21 95 01 81 00 C0", "offset 6: Input array field of 33 bits"},
      {"pop without push", "A1 01 B4 C0", "offset 2: Pop without a matching Push"},
      {"usage range upside down", "A1 01 19 05 29 04 C0", "offset 4: Usage Maximum is below Usage Minimum"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NE(Refuse(c.hex).find(c.message), std::string::npos) << Refuse(c.hex);
  }
  std::string deep = "A1 01";
  for (int i = 0; i < 33; ++i) deep += " A4";
  EXPECT_NE(Refuse(deep + " C0").find("Push nested too deeply"), std::string::npos);
}

// A vendor collection of the given main items, as bytes.
std::vector<uint8_t> VendorCollection(const std::vector<uint8_t>& body) {
  static constexpr uint8_t kHead[] = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01};
  std::vector<uint8_t> bytes(sizeof kHead + body.size() + 1, 0xC0);
  std::copy(std::begin(kHead), std::end(kHead), bytes.begin());
  std::copy(body.begin(), body.end(), bytes.begin() + sizeof kHead);
  return bytes;
}

void Append(std::vector<uint8_t>& to, std::initializer_list<uint8_t> bytes) { to.insert(to.end(), bytes); }

// What a collection may ask its users to hold is bounded, each limit checked on both sides.
TEST(HidDescriptor, RefusesCollectionsBeyondTheItemLimits) {
  const auto parses = [](const std::vector<uint8_t>& bytes, std::string& error) {
    HidReportDescriptor descriptor;
    return ParseReportDescriptor(bytes, descriptor, error);
  };
  std::string error;

  // Capabilities: one one-bit button per listed usage.
  for (size_t count : {kMaxCapabilities, kMaxCapabilities + 1}) {
    std::vector<uint8_t> body = {
        0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x96, static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8)};
    for (size_t i = 0; i < count; ++i) Append(body, {0x09, 0x01});
    Append(body, {0x81, 0x02});
    EXPECT_EQ(parses(VendorCollection(body), error), count == kMaxCapabilities) << count << ": " << error;
  }
  EXPECT_NE(error.find("collection 1 has more than 4096 Input capabilities"), std::string::npos) << error;

  // Value usages that have a field: two ranges of 8192 bytes in reports 1 and 2, then one more.
  std::vector<uint8_t> values = {0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x96, 0x00, 0x20};
  for (uint8_t id : {1, 2}) Append(values, {0x85, id, 0x19, 0x01, 0x2A, 0x00, 0x20, 0x81, 0x02});
  EXPECT_TRUE(parses(VendorCollection(values), error)) << error;
  Append(values, {0x85, 0x03, 0x95, 0x01, 0x09, 0x01, 0x81, 0x02});
  EXPECT_FALSE(parses(VendorCollection(values), error));
  EXPECT_NE(error.find("declares 16385 Input value usages, more than 16384"), std::string::npos) << error;

  // Usage lists: a bitmap of 65535 usages and one single button fill them exactly; one more is over.
  std::vector<uint8_t> buttons = {0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x96, 0xFF, 0xFF, 0x19, 0x01,
                                  0x2A, 0xFF, 0xFF, 0x81, 0x02, 0x95, 0x01, 0x09, 0x01, 0x81, 0x02};
  EXPECT_TRUE(parses(VendorCollection(buttons), error)) << error;
  Append(buttons, {0x09, 0x02, 0x81, 0x02});
  EXPECT_FALSE(parses(VendorCollection(buttons), error));
  EXPECT_NE(error.find("offset 5: collection 1 needs 65537 Input usage-list entries"), std::string::npos) << error;

  // Hundreds of one-bit buttons each claiming the whole page, as a hostile device sends them: every
  // one can report up to 300 usages, 90000 in all.
  std::vector<uint8_t> hostile = {0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x01};
  for (int i = 0; i < 300; ++i) Append(hostile, {0x19, 0x01, 0x2A, 0xFF, 0xFF, 0x81, 0x02});
  EXPECT_LT(hostile.size(), 2200u);
  EXPECT_FALSE(parses(VendorCollection(hostile), error));
  EXPECT_NE(error.find("needs 90000 Input usage-list entries"), std::string::npos) << error;
}

TEST(HidDescriptor, ParseHexBytes) {
  std::vector<uint8_t> bytes;
  std::string error;
  ASSERT_TRUE(ParseHexBytes(" 05\t0x0c\r\n0XfF a \n", bytes, error)) << error;
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0x05, 0x0C, 0xFF, 0x0A}));
  ASSERT_TRUE(ParseHexBytes("", bytes, error));
  EXPECT_TRUE(bytes.empty());
  for (const char* bad : {"05 123", "0x", "zz", "0xG1", "05,06", "-1"}) {
    SCOPED_TRACE(bad);
    bytes = {1};
    EXPECT_FALSE(ParseHexBytes(bad, bytes, error));
    EXPECT_TRUE(bytes.empty());
    EXPECT_NE(error.find("not a hexadecimal byte"), std::string::npos);
  }
}

}  // namespace
}  // namespace zrv::device
