#include "device/device_tables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>
#include <utility>

#include "device/discovery_device_ids.h"
#include "device/discovery_interface_list.h"
#include "platform/debug_output.h"
#include "sim/sim_ids.h"

namespace zrv::device {
namespace {

using Row = std::tuple<int, int, int, int, int, int, int, int>;

Row Identity(const InterfaceRecord& r) {
  return {r.vendor_id,        r.product_id, r.interface_number, r.collection,
          KindNumber(r.kind), r.role,       r.usage_page,       r.usage};
}

TEST(DeviceTables, InterfaceTableRows) {
  const Row expected[] = {
      {0x320F, 0x505B, 1, 4, 1, 0, 0xFF1C, 0x92}, {0x320F, 0x505B, 1, 3, 1, 255, 0x000C, 0x01},
      {0x320F, 0x1000, 1, 4, 2, 0, 0xFF1C, 0x92}, {0x320F, 0x1000, 1, 3, 2, 255, 0x000C, 0x01},
      {0, 0, 1, 4, 3, 0, 0xFF1C, 0x92},           {0, 0, 1, 3, 3, 255, 0x000C, 0x01},
      {0, 0, 3, 0, 7, 0, 0x000C, 0x01},
  };
  ASSERT_EQ(kInterfaceTable.size(), std::size(expected));
  for (size_t i = 0; i < kInterfaceTable.size(); ++i) {
    SCOPED_TRACE(i);
    const InterfaceRecord& record = kInterfaceTable[i];
    EXPECT_EQ(Identity(record), expected[i]);
    EXPECT_EQ(record.present, 0);
    EXPECT_EQ(record.has_partner, 0);
    EXPECT_EQ(record.partner, 0);
    EXPECT_TRUE(record.path.empty());
  }
}

TEST(DeviceTables, KindAndPageTablesKeepTheirStrings) {
  const char* const kind_names[] = {"mouse", "keyboard", "MousePad", "HD"};
  const int display[] = {1, 0, 2, 3};
  const char* const pages[] = {"XML\\DeviceXml\\mousedevice.xml", "XML\\DeviceXml\\keyboarddevice.xml",
                               "XML\\DeviceXml\\mousepaddevice.xml", "XML\\DeviceXml\\hs6533device.xml"};
  const int buttons[] = {6, 126, 15, 13};
  const int slots[] = {7, 126, 0, 0};
  for (size_t i = 0; i < kDeviceKindCount; ++i) {
    SCOPED_TRACE(i);
    const DeviceKindRow& row = kDeviceKindTable[i];
    EXPECT_EQ(row.item_layout, "XML\\CustomControlXML\\DeviceOption.xml");
    EXPECT_EQ(row.group, "tab_header_device");
    EXPECT_EQ(row.power_container, "device_power_switch");
    EXPECT_EQ(row.kind_name, kind_names[i]);
    EXPECT_EQ(row.display_index, display[i]);
    EXPECT_EQ(row.role, kRoleCommand);
    EXPECT_EQ(kDeviceXmlTable[i].page_layout, pages[i]);
    EXPECT_EQ(kDeviceXmlTable[i].lighting_name, "orvex_light");
    EXPECT_EQ(kDeviceXmlTable[i].key_buttons, buttons[i]);
    EXPECT_EQ(kDeviceXmlTable[i].key_slots, slots[i]);
  }
  EXPECT_EQ(KindName(DeviceKind::kWirelessMouse), "mouse");
  EXPECT_EQ(KindName(DeviceKind::kHeadset), "HD");
  EXPECT_EQ(KindName(static_cast<DeviceKind>(4)), "");
}

TEST(DeviceTables, KindNumbersAreTheStoredOnes) {
  // Files, traces and the tool description carry these numbers.
  const std::pair<DeviceKind, int> kinds[] = {{DeviceKind::kKeyboard, 1},
                                              {DeviceKind::kMouse, 2},
                                              {DeviceKind::kMousePad, 3},
                                              {DeviceKind::kWirelessMouse, 6},
                                              {DeviceKind::kHeadset, 7}};
  for (const auto& [kind, number] : kinds) {
    EXPECT_EQ(KindNumber(kind), number);
    EXPECT_EQ(KindOfNumber(number), kind) << number;
  }
  // 4 and 5 only name selector looks.
  for (int64_t number : {0, 4, 5, 8, 65536 + 1, -1}) EXPECT_FALSE(KindOfNumber(number)) << number;
  EXPECT_TRUE(IsMouse(DeviceKind::kMouse));
  EXPECT_TRUE(IsMouse(DeviceKind::kWirelessMouse));
  EXPECT_FALSE(IsMouse(DeviceKind::kMousePad));
}

TEST(DeviceTables, SameInterfaceComparesTheEightIdentifyingValues) {
  InterfaceRecord a = kInterfaceTable[0];
  InterfaceRecord b = a;
  b.present = 1;
  b.path = "virtual:1#vid_320f&pid_505b&mi_01&col04";
  b.has_partner = 1;
  b.partner = 2;
  EXPECT_TRUE(SameInterface(a, b));

  uint16_t InterfaceRecord::*const identifying[] = {
      &InterfaceRecord::vendor_id,  &InterfaceRecord::product_id, &InterfaceRecord::interface_number,
      &InterfaceRecord::collection, &InterfaceRecord::role,       &InterfaceRecord::usage_page,
      &InterfaceRecord::usage};
  for (auto field : identifying) {
    InterfaceRecord c = a;
    c.*field = static_cast<uint16_t>(c.*field + 1);
    EXPECT_FALSE(SameInterface(a, c));
  }
  InterfaceRecord c = a;
  c.kind = DeviceKind::kMouse;
  EXPECT_FALSE(SameInterface(a, c));
}

TEST(DeviceIds, ParsesKindsByNumberOrNameAndIgnoresBadLines) {
  platform::DebugCapture debug;
  const std::string text =
      "\xEF\xBB\xBF# comment line\r\n"
      "MousePad 320F 5100   # trailing comment\r\n"
      "\n"
      "hd 0x320f 0X52AB\n"
      "3 1234\n"              // too few fields
      "9 320F 5100\n"         // unknown kind
      "7 320F 12345\n"        // five digits
      "7 32G0 5200\n"         // not hexadecimal
      "keyboard 320F 9999\n"  // the table identifies the keyboard already
      "3 0 0\n"               // identifies nothing
      "3 320F 5101 extra\n"   // too many fields
      "3 320F 5102";          // last line without newline; replaces the first entry
  const DeviceIdOverrides ids = DeviceIdOverrides::Parse(text, "ids.txt");
  EXPECT_EQ(ids.For(DeviceKind::kMousePad), (UsbIds{0x320F, 0x5102}));
  EXPECT_EQ(ids.For(DeviceKind::kHeadset), (UsbIds{0x320F, 0x52AB}));
  EXPECT_FALSE(ids.For(DeviceKind::kKeyboard));

  int ignored = 0;
  for (const auto& line : debug.Lines()) ignored += line.find("line ignored") != std::string::npos;
  EXPECT_EQ(ignored, 7);
  EXPECT_TRUE(debug.Contains("ids.txt:5:"));
  EXPECT_TRUE(debug.Contains("ids.txt:11:"));
}

TEST(DeviceIds, FillOnlyRowsWithoutIds) {
  const DeviceIdOverrides ids = DeviceIdOverrides::Parse("3 320F 5100\n7 320F 5200\n", "t");
  const InterfaceList list(ids);
  const auto records = list.Snapshot();
  ASSERT_EQ(records.size(), kInterfaceTable.size());
  for (size_t i = 0; i < records.size(); ++i) {
    const bool filled = kInterfaceTable[i].vendor_id == 0;
    EXPECT_EQ(records[i].vendor_id, filled ? 0x320F : kInterfaceTable[i].vendor_id) << i;
    if (filled) {
      EXPECT_EQ(records[i].product_id, records[i].kind == DeviceKind::kHeadset ? 0x5200 : 0x5100) << i;
    }
  }
  // Every kind row finds its command record, also with the ids filled in.
  const size_t expected[] = {2, 0, 4, 6};
  for (size_t i = 0; i < kDeviceKindCount; ++i) {
    EXPECT_EQ(list.FindKindRecord(kDeviceKindTable[i]), expected[i]) << i;
  }
  EXPECT_EQ(list.EffectiveRow(kDeviceKindTable[3]).product_id, 0x5200);
  // A row that identifies itself keeps its ids whatever the file says for its kind.
  InterfaceRecord keyboard = kInterfaceTable[0];
  DeviceIdOverrides::Parse("1 1111 2222\n", "t").Apply(keyboard);
  EXPECT_EQ(keyboard.product_id, 0x505B);
}

TEST(DeviceIds, ShippedFileNamesTheSimulatedPadAndHeadset) {
  const auto ids =
      DeviceIdOverrides::Load(std::filesystem::path(ZRV31_SOURCE_DIR) / "DefaultData" / kDeviceIdsFileName);
  EXPECT_EQ(ids.For(DeviceKind::kMousePad), (UsbIds{sim::kVendorId, sim::kMousePadProductId}));
  EXPECT_EQ(ids.For(DeviceKind::kHeadset), (UsbIds{sim::kVendorId, sim::kHeadsetProductId}));
  EXPECT_TRUE(DeviceIdOverrides::Load("/nonexistent/DeviceIds.txt").empty());
}

TEST(InterfaceList, ClaimTakesTheFirstLookedForRecordOnSixValues) {
  InterfaceList list(DeviceIdOverrides{});
  EXPECT_FALSE(list.NothingLookedFor());
  EXPECT_TRUE(list.IsLookedFor(0x320F, 0x505B, 1, 4));
  EXPECT_FALSE(list.IsLookedFor(0x320F, 0x505B, 0, 4));

  // Right place, wrong usage page: nothing is claimed.
  EXPECT_FALSE(list.Claim({0x320F, 0x505B, 1, 4, 0xFF00, 0x92}, "p0"));
  auto index = list.Claim({0x320F, 0x505B, 1, 4, 0xFF1C, 0x92}, "p1");
  ASSERT_EQ(index, 0u);
  EXPECT_TRUE(list.IsPresent(0));
  EXPECT_EQ(list.Path(0), "p1");
  EXPECT_FALSE(list.IsLookedFor(0x320F, 0x505B, 1, 4));
  // A second keyboard finds no record left for it.
  EXPECT_FALSE(list.Claim({0x320F, 0x505B, 1, 4, 0xFF1C, 0x92}, "p2"));
  EXPECT_EQ(list.PresentPaths(), (std::vector<std::pair<size_t, std::string>>{{0, "p1"}}));

  list.Release(0);
  EXPECT_FALSE(list.IsPresent(0));
  EXPECT_EQ(list.Path(0), "");
  EXPECT_TRUE(list.IsLookedFor(0x320F, 0x505B, 1, 4));

  // With every identified row present the rows without ids are still looked for, so discovery goes
  // on enumerating: without installation ids they are never found.
  for (size_t i = 0; i < list.size(); ++i) {
    const InterfaceRecord r = list.Get(i);
    if (r.vendor_id == 0) continue;
    ASSERT_TRUE(list.Claim({r.vendor_id, r.product_id, r.interface_number, r.collection, r.usage_page, r.usage},
                           "path" + std::to_string(i)));
  }
  EXPECT_FALSE(list.NothingLookedFor());
}

TEST(InterfaceList, PartnersAreSetAtRunTime) {
  InterfaceList list(DeviceIdOverrides{});
  list.SetPartner(2, 4);
  EXPECT_EQ(list.Get(2).has_partner, 1);
  EXPECT_EQ(list.Get(2).partner, 4);
  list.SetPartner(2, std::nullopt);
  EXPECT_EQ(list.Get(2).has_partner, 0);
}

}  // namespace
}  // namespace zrv::device
