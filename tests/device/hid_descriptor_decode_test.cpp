#include <gtest/gtest.h>

#include "device/hid_descriptor.h"

namespace zrv::device {
namespace {

constexpr auto kIn = HidReportType::kInput;

HidCollectionInfo ParseOne(const std::string& hex) {
  std::vector<uint8_t> bytes;
  HidReportDescriptor descriptor;
  std::string error;
  EXPECT_TRUE(ParseHexBytes(hex, bytes, error) && ParseReportDescriptor(bytes, descriptor, error)) << error;
  EXPECT_FALSE(descriptor.collections.empty());
  return descriptor.collections.empty() ? HidCollectionInfo{} : descriptor.collections[0];
}

const HidCapability& Value(const HidCollectionInfo& info, uint16_t usage) {
  for (const HidCapability& cap : info.value_caps[Index(kIn)]) {
    if (usage >= cap.usage_min && usage <= cap.usage_max) return cap;
  }
  ADD_FAILURE() << "no value capability for usage " << usage;
  static const HidCapability none;
  return none;
}

std::vector<uint16_t> Buttons(const HidCapability& cap, std::vector<uint8_t> report) {
  std::vector<uint16_t> usages;
  EXPECT_TRUE(GetButtonUsages(cap, report, usages));
  return usages;
}

int32_t Scaled(const HidCapability& cap, uint16_t usage, const std::vector<uint8_t>& report) {
  int32_t scaled = 0;
  EXPECT_TRUE(GetScaledUsageValue(cap, usage, report, scaled));
  return scaled;
}

using Usages = std::vector<uint16_t>;

// Boot keyboard without report IDs: modifier bits, reserved byte, six-key array of 0..0xDD.
constexpr const char* kKeyboard =
    "05 01 09 06 A1 01 05 07 19 E0 29 E7 15 00 25 01 75 01 95 08 81 02 75 08 95 01 81 03 19 00 29 DD"
    " 15 00 26 DD 00 75 08 95 06 81 00 C0";

TEST(HidDescriptorDecode, KeyboardBitsAndArray) {
  const HidCollectionInfo keyboard = ParseOne(kKeyboard);
  ASSERT_EQ(keyboard.button_caps[Index(kIn)].size(), 2u);
  const HidCapability& modifiers = keyboard.button_caps[Index(kIn)][0];
  const HidCapability& keys = keyboard.button_caps[Index(kIn)][1];
  // Array slots: 0 is "no key", 0xDE lies beyond the logical maximum, a repeated key counts once.
  EXPECT_EQ(Buttons(modifiers, {0, 0x05, 0xFF, 0x04, 0x00, 0x1D, 0xDE, 0x04, 0}), (Usages{0xE0, 0xE2}));
  EXPECT_EQ(Buttons(keys, {0, 0x05, 0xFF, 0x04, 0x00, 0x1D, 0xDE, 0x04, 0}), (Usages{0x04, 0x1D}));
  EXPECT_EQ(Buttons(keys, {0, 0, 0, 0, 0, 0, 0, 0, 0}), Usages{});

  // Usages are appended to what the list holds already.
  std::vector<uint16_t> usages = {0x99};
  ASSERT_TRUE(GetButtonUsages(modifiers, std::vector<uint8_t>{0, 0x80, 0, 0, 0, 0, 0, 0, 0}, usages));
  EXPECT_EQ(usages, (Usages{0x99, 0xE7}));
}

TEST(HidDescriptorDecode, ArrayOfUsageListAndRange) {
  // Values 0, 1 select usages 5 and 7; values 2..4 select 0x10..0x12; logical minimum 1 shifts them.
  const HidCollectionInfo info = ParseOne("05 09 09 01 A1 01 15 01 25 05 75 08 95 03 09 05 09 07 19 10 29 12 81 00 C0");
  const auto& caps = info.button_caps[Index(kIn)];
  ASSERT_EQ(caps.size(), 3u);
  const std::vector<uint8_t> report = {0, 2, 5, 0};
  EXPECT_EQ(Buttons(caps[0], report), Usages{});
  EXPECT_EQ(Buttons(caps[1], report), Usages{7});
  EXPECT_EQ(Buttons(caps[2], report), Usages{0x12});
  EXPECT_EQ(Buttons(caps[0], {0, 1, 6, 9}), Usages{5});  // 6 and 9: outside the logical range
}

TEST(HidDescriptorDecode, MouseButtonsAndSignedValues) {
  const HidCollectionInfo mouse = ParseOne(
      "05 01 09 02 A1 01 09 01 A1 00 05 09 19 01 29 03 15 00 25 01 95 08 75 01 81 02"
      " 05 01 09 30 09 31 09 38 15 81 25 7F 75 08 95 03 81 06 C0 C0");
  const HidCapability& buttons = mouse.button_caps[Index(kIn)][0];
  const std::vector<uint8_t> report = {0, 0x45, 0x81, 0x7F, 0xFF};
  // Bits 0, 2 and 6: the fields past the three-button range repeat button 3, reported once.
  EXPECT_EQ(Buttons(buttons, report), (Usages{1, 3}));
  EXPECT_EQ(Buttons(buttons, {0, 0x20, 0, 0, 0}), Usages{3});

  uint32_t raw = 0;
  ASSERT_TRUE(GetUsageValue(Value(mouse, 0x30), 0x30, report, raw));
  EXPECT_EQ(raw, 0x81u);
  EXPECT_EQ(Scaled(Value(mouse, 0x30), 0x30, report), -127);
  EXPECT_EQ(Scaled(Value(mouse, 0x31), 0x31, report), 127);
  EXPECT_EQ(Scaled(Value(mouse, 0x38), 0x38, report), -1);
  int32_t scaled = 0;
  EXPECT_FALSE(GetScaledUsageValue(Value(mouse, 0x30), 0x30, std::vector<uint8_t>{0, 0, 0x80, 0, 0}, scaled))
      << "-128 lies outside -127..127";
}

TEST(HidDescriptorDecode, TwelveBitFieldsAcrossBytes) {
  const HidCollectionInfo mouse = ParseOne(
      "05 01 09 02 A1 01 85 02 09 01 A1 00 05 09 19 01 29 08 15 00 25 01 75 01 95 08 81 02 05 01 09 30"
      " 09 31 16 01 F8 26 FF 07 75 0C 95 02 81 06 09 38 15 81 25 7F 75 08 95 01 81 06 C0 C0");
  const HidCapability& x = Value(mouse, 0x30);
  const HidCapability& y = Value(mouse, 0x31);
  const std::vector<uint8_t> report = {2, 0x00, 0xFF, 0x1F, 0x80, 0, 0};  // X = -1, Y = -2047
  EXPECT_EQ(Scaled(x, 0x30, report), -1);
  EXPECT_EQ(Scaled(y, 0x31, report), -2047);
  uint32_t raw = 0;
  ASSERT_TRUE(GetUsageValue(y, 0x31, report, raw));
  EXPECT_EQ(raw, 0x801u);
  int32_t scaled = 0;
  EXPECT_FALSE(GetScaledUsageValue(y, 0x31, std::vector<uint8_t>{2, 0, 0xFF, 0x0F, 0x80, 0, 0}, scaled))
      << "-2048 lies outside -2047..2047";
}

TEST(HidDescriptorDecode, PhysicalScalingAndNullValue) {
  // Joystick hat: four bits, logical 0..7, physical 0..315 degrees, with a null state.
  const HidCollectionInfo stick = ParseOne(
      "05 01 09 04 A1 01 09 30 09 31 15 00 26 FF 00 35 00 46 FF 00 75 08 95 02 81 02 06 00 FF 09 01"
      " 15 00 25 0F 75 04 95 01 81 02 05 01 09 39 15 00 25 07 35 00 46 3B 01 65 14 75 04 95 01 81 42 C0");
  const HidCapability& hat = Value(stick, 0x39);
  EXPECT_TRUE(hat.has_null);
  EXPECT_EQ(hat.physical_max, 315);
  EXPECT_EQ(Scaled(hat, 0x39, {0, 0, 0, 0x20, 0}), 90);
  EXPECT_EQ(Scaled(hat, 0x39, {0, 0, 0, 0x70, 0}), 315);
  EXPECT_EQ(Scaled(Value(stick, 0x30), 0x30, {0, 200, 0, 0, 0}), 200);
  int32_t scaled = 0;
  uint32_t raw = 0;
  const std::vector<uint8_t> centred = {0, 0, 0, 0x80, 0};
  EXPECT_TRUE(GetUsageValue(hat, 0x39, centred, raw));
  EXPECT_EQ(raw, 8u);
  EXPECT_FALSE(GetScaledUsageValue(hat, 0x39, centred, scaled)) << "the null value has no physical value";
}

// Capabilities that do not fit the report, belong to another report, or to other usages.
TEST(HidDescriptorDecode, RefusesWhatTheCapabilityDoesNotCover) {
  HidCapability value;
  value.report_id = 5;
  value.is_range = true;
  value.usage_min = 0x10;
  value.usage_max = 0x13;
  value.bit_position = 8;
  value.bit_size = 16;
  value.report_count = 3;  // fewer fields than usages: 0x13 has none
  value.logical_max = 1000;
  const std::vector<uint8_t> report = {5, 1, 0, 2, 0, 3, 0};
  uint32_t raw = 0;
  int32_t scaled = 0;
  ASSERT_TRUE(GetUsageValue(value, 0x12, report, raw));
  EXPECT_EQ(raw, 3u);
  EXPECT_FALSE(GetUsageValue(value, 0x13, report, raw));
  EXPECT_FALSE(GetUsageValue(value, 0x0F, report, raw));
  EXPECT_FALSE(GetUsageValue(value, 0x12, std::vector<uint8_t>{5, 1, 0, 2, 0, 3}, raw)) << "one byte short";
  EXPECT_FALSE(GetUsageValue(value, 0x10, std::vector<uint8_t>{4, 1, 0, 2, 0, 3, 0}, raw)) << "other report";
  EXPECT_FALSE(GetUsageValue(value, 0x10, std::vector<uint8_t>{}, raw));
  EXPECT_FALSE(GetScaledUsageValue(value, 0x12, std::vector<uint8_t>{5, 1}, scaled));
  std::vector<uint16_t> usages;
  EXPECT_FALSE(GetButtonUsages(value, report, usages)) << "not a button capability";

  HidCapability buttons = value;
  buttons.is_button = true;
  buttons.bit_size = 1;
  buttons.report_count = 16;
  EXPECT_FALSE(GetUsageValue(buttons, 0x10, report, raw)) << "not a value capability";
  EXPECT_TRUE(GetButtonUsages(buttons, std::vector<uint8_t>{5, 0, 0}, usages));
  buttons.bit_position = 9;
  EXPECT_FALSE(GetButtonUsages(buttons, std::vector<uint8_t>{5, 0, 0}, usages)) << "last bit outside";
  EXPECT_TRUE(usages.empty());

  HidCapability wide = value;
  wide.bit_size = 40;  // wider than a value can be read into
  EXPECT_FALSE(GetUsageValue(wide, 0x10, std::vector<uint8_t>(32, 5), raw));
}

TEST(HidDescriptorDecode, ScalingAtTheLimitsOfThirtyTwoBits) {
  HidCapability value;
  value.usage_min = value.usage_max = 1;
  value.bit_position = 8;
  value.bit_size = 32;
  value.report_count = 1;
  value.logical_min = INT32_MIN;
  value.logical_max = INT32_MAX;
  value.physical_min = INT32_MIN;
  value.physical_max = INT32_MAX;
  EXPECT_EQ(Scaled(value, 1, {0, 0xFF, 0xFF, 0xFF, 0x7F}), INT32_MAX);
  EXPECT_EQ(Scaled(value, 1, {0, 0x00, 0x00, 0x00, 0x80}), INT32_MIN);
  EXPECT_EQ(Scaled(value, 1, {0, 0xFF, 0xFF, 0xFF, 0xFF}), -1);
  value.physical_min = -10;
  value.physical_max = 10;
  EXPECT_EQ(Scaled(value, 1, {0, 0xFF, 0xFF, 0xFF, 0x7F}), 10);

  // Ranges that cannot be scaled.
  int32_t scaled = 0;
  const std::vector<uint8_t> report = {0, 0, 0, 0, 0};
  value.physical_max = -10;
  EXPECT_FALSE(GetScaledUsageValue(value, 1, report, scaled));
  value.physical_max = 10;
  value.logical_max = INT32_MIN;
  EXPECT_FALSE(GetScaledUsageValue(value, 1, report, scaled));
}

}  // namespace
}  // namespace zrv::device
