#include "device/hid_interface.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "device/test_devices.h"
#include "device/virtual_hid.h"

namespace zrv::device {
namespace {

using testing::EchoDevice;
using testing::TwoCollectionDescriptor;
using testing::UnnumberedDescriptor;
using namespace std::chrono_literals;

// Every test sees only the virtual devices it plugs itself.
class HidInterfaceTest : public ::testing::Test {
 protected:
  HidInterfaceTest() : backends_({VirtualHidRegistry::Instance().Backend()}) {}
  ~HidInterfaceTest() override { VirtualHidRegistry::Instance().UnplugAll(); }

  std::shared_ptr<EchoDevice> Plug(std::vector<uint8_t> descriptor = TwoCollectionDescriptor()) {
    auto device = std::make_shared<EchoDevice>(std::move(descriptor));
    EXPECT_NE(VirtualHidRegistry::Instance().Plug(device), 0u);
    return device;
  }
  static std::string PathOf(const std::shared_ptr<EchoDevice>& device, size_t collection) {
    return VirtualHidRegistry::Instance().PathsOf(device).at(collection);
  }

  ScopedHidBackends backends_;
};

TEST_F(HidInterfaceTest, EnumerationListsEveryCollectionInOrderAndGrowsPastFour) {
  HidInterface hid;
  EXPECT_FALSE(hid.NextPath().has_value());  // before any enumeration
  auto a = Plug();
  auto b = Plug();
  auto c = Plug(UnnumberedDescriptor());
  ASSERT_EQ(hid.EnumeratePaths(), 1);
  std::vector<std::string> paths;
  while (auto path = hid.NextPath()) paths.push_back(*path);
  ASSERT_EQ(paths.size(), 5u);
  EXPECT_EQ(paths[0], PathOf(a, 0));
  EXPECT_EQ(paths[1], PathOf(a, 1));
  EXPECT_EQ(paths[2], PathOf(b, 0));
  EXPECT_EQ(paths[4], PathOf(c, 0));
  EXPECT_NE(paths[0].find("vid_320f&pid_505b&mi_01&col01"), std::string::npos) << paths[0];
  EXPECT_EQ(paths[4].find("&col"), std::string::npos) << "single collection carries no &col";
  EXPECT_FALSE(hid.NextPath().has_value());  // after the last
  hid.FreePaths();
  EXPECT_FALSE(hid.NextPath().has_value());
}

TEST_F(HidInterfaceTest, OpenTakesCapabilitiesAndNumbersFromThePath) {
  auto device = Plug();
  HidInterface hid;
  ASSERT_EQ(hid.Open(PathOf(device, 1), true, true, true, false), 1);
  EXPECT_TRUE(hid.IsOpen());
  EXPECT_EQ(hid.VendorId(), 0x320F);
  EXPECT_EQ(hid.ProductId(), 0x505B);
  EXPECT_EQ(hid.Version(), 0x0102);
  EXPECT_EQ(hid.UsagePage(), 0xFF1C);
  EXPECT_EQ(hid.Usage(), 0x92);
  EXPECT_EQ(hid.InputReportLength(), 64);
  EXPECT_EQ(hid.OutputReportLength(), 64);
  EXPECT_EQ(hid.FeatureReportLength(), 0);
  EXPECT_EQ(hid.InterfaceNumber(), 1u);
  EXPECT_EQ(hid.CollectionNumber(), 2u);
  EXPECT_TRUE(hid.ReadAccess());
  EXPECT_TRUE(hid.WriteAccess());
  EXPECT_EQ(hid.InputBuffer().size(), 64u);

  // Re-opening another collection replaces everything; a failed open leaves nothing behind.
  ASSERT_EQ(hid.Open(PathOf(device, 0), true, false, true, false), 1);
  EXPECT_EQ(hid.UsagePage(), 0x000C);
  EXPECT_EQ(hid.InputReportLength(), 5);
  EXPECT_EQ(hid.Open("virtual:999999#vid_320f&pid_505b", true, true, true, false), 0);
  EXPECT_FALSE(hid.IsOpen());
  EXPECT_EQ(hid.UsagePage(), 0);
  EXPECT_EQ(hid.InputReportLength(), 0);
  EXPECT_EQ(hid.Path(), "virtual:999999#vid_320f&pid_505b");  // stored for a later re-open

  EXPECT_EQ(hid.Open(std::string(300, 'v'), true, true, true, false), 0);  // longer than a path can be
  EXPECT_EQ(hid.Open("/nowhere/at/all", true, true, true, false), 0);      // no backend takes it
}

TEST_F(HidInterfaceTest, WritesArePaddedAndReadsDeliverOnlyTheirCollectionsReports) {
  auto device = Plug();
  HidInterface command, notify;
  ASSERT_EQ(command.Open(PathOf(device, 1), true, true, true, false), 1);
  ASSERT_EQ(notify.Open(PathOf(device, 0), true, true, true, false), 1);

  const uint8_t request[] = {0x04, 0x11, 0x22, 0x33};
  uint32_t written = 0;
  ASSERT_EQ(command.WriteReport(sizeof request, &written, request, 1000), 1);
  EXPECT_EQ(written, 64u);
  ASSERT_EQ(device->Received().size(), 1u);
  std::vector<uint8_t> expected(64, 0);
  std::copy(std::begin(request), std::end(request), expected.begin());
  EXPECT_EQ(device->Received()[0], expected);

  // A consumer report arrives before the echo: the command reader skips it, the other reader takes it.
  device->SetEcho(false);
  const uint8_t consumer[] = {0x03, 0x01, 0x04, 0x00, 0x00};
  device->SendInputReport(consumer);
  device->SendInputReport(expected);
  uint8_t reply[64] = {};
  uint32_t read = 0;
  ASSERT_EQ(command.ReadReport(64, &read, reply, 1000), 1);
  EXPECT_EQ(read, 64u);
  EXPECT_EQ(std::vector<uint8_t>(reply, reply + 64), expected);

  uint8_t note[5] = {};
  ASSERT_EQ(notify.ReadReport(5, &read, note, 1000), 1);
  EXPECT_EQ(read, 5u);
  EXPECT_EQ(note[0], 0x03);
  EXPECT_EQ(notify.ReadReport(5, &read, note, 20), 0) << "the vendor report is not the consumer reader's";
  EXPECT_EQ(read, 0u);
}

TEST_F(HidInterfaceTest, WritesThatDoNotFitACollectionReportAreRefused) {
  auto device = Plug();
  HidInterface hid;
  ASSERT_EQ(hid.Open(PathOf(device, 1), true, true, true, false), 1);
  std::vector<uint8_t> too_long(65, 0);
  too_long[0] = 0x04;
  EXPECT_EQ(hid.WriteReport(65, nullptr, too_long.data(), 1000), 0);
  const uint8_t foreign_id[] = {0x03, 0x00};
  EXPECT_EQ(hid.WriteReport(2, nullptr, foreign_id, 1000), 0);
  EXPECT_EQ(hid.WriteReport(0, nullptr, foreign_id, 1000), 0);
  EXPECT_TRUE(device->Received().empty());
  HidInterface reader;
  ASSERT_EQ(reader.Open(PathOf(device, 1), true, false, true, false), 1);
  const uint8_t ok[] = {0x04};
  EXPECT_EQ(reader.WriteReport(1, nullptr, ok, 1000), 0) << "opened without write access";
}

TEST_F(HidInterfaceTest, UnnumberedReportsReadAsReportZero) {
  auto device = Plug(UnnumberedDescriptor());
  HidInterface hid;
  ASSERT_EQ(hid.Open(PathOf(device, 0), true, true, true, false), 1);
  EXPECT_EQ(hid.InputReportLength(), 9);
  EXPECT_EQ(hid.OutputReportLength(), 9);
  // The host writes report 0 first; the device answers with bare data bytes, as hidraw delivers them.
  device->SetEcho(false);
  const uint8_t request[] = {0x00, 0xAA};
  ASSERT_EQ(hid.WriteReport(2, nullptr, request, 1000), 1);
  EXPECT_EQ(device->Received().at(0).size(), 9u);
  const uint8_t data[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  device->SendInputReport(data);
  uint8_t reply[9] = {};
  uint32_t read = 0;
  ASSERT_EQ(hid.ReadReport(9, &read, reply, 1000), 1);
  EXPECT_EQ(read, 9u);
  EXPECT_EQ(reply[0], 0);
  EXPECT_EQ(reply[1], 1);
  EXPECT_EQ(reply[8], 8);
}

TEST_F(HidInterfaceTest, ReadTimesOutAndTruncatesToTheCallersLength) {
  auto device = Plug();
  HidInterface hid;
  ASSERT_EQ(hid.Open(PathOf(device, 1), true, true, true, false), 1);
  uint8_t reply[8] = {0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A, 0x5A};
  uint32_t read = 99;
  EXPECT_EQ(hid.ReadReport(64, &read, reply, 30), 0);
  EXPECT_EQ(read, 0u);
  EXPECT_EQ(reply[0], 0x5A) << "a timed-out read leaves the buffer alone";
  EXPECT_FALSE(hid.ReadInProgress());

  const uint8_t request[] = {0x04, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09};
  ASSERT_EQ(hid.WriteReport(sizeof request, nullptr, request, 1000), 1);
  ASSERT_EQ(hid.ReadReport(8, &read, reply, 1000), 1);
  EXPECT_EQ(read, 8u);
  EXPECT_EQ(reply[7], 0x07);
}

TEST_F(HidInterfaceTest, CloseFromAnotherThreadEndsAnEndlessReadAtOnce) {
  auto device = Plug();
  HidInterface hid;
  ASSERT_EQ(hid.Open(PathOf(device, 0), true, true, true, false), 1);
  std::atomic<int> result{-1};
  std::thread reader([&] {
    uint8_t buffer[5];
    result = hid.ReadReport(5, nullptr, buffer, HidInterface::kInfinite);
  });
  while (!hid.ReadInProgress()) std::this_thread::sleep_for(1ms);
  std::this_thread::sleep_for(20ms);
  hid.Close();  // returns only once the read has let go
  EXPECT_FALSE(hid.ReadInProgress());
  EXPECT_FALSE(hid.IsOpen());
  reader.join();
  EXPECT_EQ(result.load(), 0);

  // The cancel does not linger: the re-opened interface reads normally.
  ASSERT_EQ(hid.Reopen(), 1);
  const uint8_t consumer[] = {0x03, 0x02, 0x04, 0x00, 0x00};
  device->SendInputReport(consumer);
  uint8_t buffer[5] = {};
  EXPECT_EQ(hid.ReadReport(5, nullptr, buffer, 1000), 1);
  EXPECT_EQ(buffer[1], 0x02);
}

TEST_F(HidInterfaceTest, ReopenWhileAReadWaitsAbandonsTheRead) {
  auto device = Plug();
  HidInterface hid;
  ASSERT_EQ(hid.Open(PathOf(device, 0), true, true, true, false), 1);
  std::atomic<int> result{-1};
  std::thread reader([&] {
    uint8_t buffer[5];
    result = hid.ReadReport(5, nullptr, buffer, HidInterface::kInfinite);
  });
  while (!hid.ReadInProgress()) std::this_thread::sleep_for(1ms);
  ASSERT_EQ(hid.Open(PathOf(device, 1), true, true, true, false), 1);
  reader.join();
  EXPECT_EQ(result.load(), 0);
  EXPECT_EQ(hid.UsagePage(), 0xFF1C);
}

TEST_F(HidInterfaceTest, RemovalFailsWaitingAndLaterTransfers) {
  auto device = Plug();
  HidInterface hid;
  ASSERT_EQ(hid.Open(PathOf(device, 1), true, true, true, false), 1);
  std::atomic<int> result{-1};
  std::thread reader([&] {
    uint8_t buffer[64];
    result = hid.ReadReport(64, nullptr, buffer, HidInterface::kInfinite);
  });
  while (!hid.ReadInProgress()) std::this_thread::sleep_for(1ms);
  VirtualHidRegistry::Instance().Unplug(device);
  reader.join();
  EXPECT_EQ(result.load(), 0);
  const uint8_t request[] = {0x04};
  EXPECT_EQ(hid.WriteReport(1, nullptr, request, 1000), 0);
  EXPECT_EQ(hid.Reopen(), 0) << "the path is gone with the device";

  // Plugged in again, the device has new paths; the old one stays dead.
  std::string old_path = hid.Path();
  ASSERT_NE(VirtualHidRegistry::Instance().Plug(device), 0u);
  EXPECT_NE(PathOf(device, 1), old_path);
  EXPECT_EQ(hid.Open(old_path, true, true, true, false), 0);
  EXPECT_EQ(hid.Open(PathOf(device, 1), true, true, true, false), 1);
}

TEST_F(HidInterfaceTest, NoAccessOpenOnlyProvesPresence) {
  auto device = Plug();
  HidInterface probe;
  ASSERT_EQ(probe.Open(PathOf(device, 1), false, false, false, false), 1);
  uint8_t buffer[64];
  EXPECT_EQ(probe.ReadReport(64, nullptr, buffer, 10), 0);
  VirtualHidRegistry::Instance().Unplug(device);
  EXPECT_EQ(probe.Reopen(), 0);
}

TEST_F(HidInterfaceTest, UnpackYieldsTheConsumerUsagesInReportOrder) {
  auto device = Plug();
  HidInterface hid;
  ASSERT_EQ(hid.Open(PathOf(device, 0), true, true, true, false), 1);
  auto& items = hid.InputItems();
  ASSERT_EQ(items.size(), 1u);
  EXPECT_TRUE(items[0].is_button);
  EXPECT_EQ(items[0].max_usage_length, 2u);

  const uint8_t two[] = {0x03, 0x05, 0x05, 0x02, 0x04};  // 0x0505 then 0x0402
  ASSERT_TRUE(hid.UnpackInputReport(two));
  EXPECT_TRUE(items[0].is_set);
  EXPECT_EQ(items[0].status, kHidStatusSuccess);
  EXPECT_EQ(items[0].usages[0], 0x0505);
  EXPECT_EQ(items[0].usages[1], 0x0402);

  const uint8_t one[] = {0x03, 0x01, 0x04, 0x00, 0x00};
  ASSERT_TRUE(hid.UnpackInputReport(one));
  EXPECT_EQ(items[0].usages[0], 0x0401);
  EXPECT_EQ(items[0].usages[1], 0) << "a 0 follows the last usage";

  items[0].is_set = false;
  const uint8_t other[] = {0x04, 0x01};
  ASSERT_TRUE(hid.UnpackInputReport(other));
  EXPECT_FALSE(items[0].is_set) << "items of another report stay untouched";
}

// Items are sized by what the report can carry, whatever usage ranges the descriptor claims.
TEST_F(HidInterfaceTest, DataItemsAreBoundedByWhatTheReportCarries) {
  // Report 1: two value bytes over usages 1..0xFFFF, then 16 one-bit buttons each over 1..0xFFFF.
  std::vector<uint8_t> descriptor = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x01, 0x15, 0x00,
                                     0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x02, 0x19, 0x01, 0x2A, 0xFF,
                                     0xFF, 0x81, 0x02, 0x25, 0x01, 0x75, 0x01, 0x95, 0x01};
  for (uint8_t i = 0; i < 16; ++i) {
    descriptor.insert(descriptor.end(), {0x19, static_cast<uint8_t>(0x10 + i), 0x2A, 0xFF, 0xFF, 0x81, 0x02});
  }
  descriptor.push_back(0xC0);
  auto device = Plug(descriptor);
  HidInterface hid;
  ASSERT_EQ(hid.Open(PathOf(device, 0), true, false, true, false), 1);
  auto& items = hid.InputItems();
  ASSERT_EQ(items.size(), 18u) << "16 buttons, and a value item per byte, not per usage of the range";
  for (size_t i = 0; i < 16; ++i) {
    EXPECT_EQ(items[i].max_usage_length, 16u) << "the page's 16 fields can set no more";
    EXPECT_EQ(items[i].usages.size(), 16u);
  }
  EXPECT_EQ(items[16].usage, 1);
  EXPECT_EQ(items[17].usage, 2);

  // Buttons 0 and 3 set: usages 0x10 and 0x13; each button's list keeps those of its range.
  const uint8_t report[] = {0x01, 0x7A, 0x7B, 0x09, 0x00};
  ASSERT_TRUE(hid.UnpackInputReport(report));
  EXPECT_EQ(items[16].raw_value, 0x7Au);
  EXPECT_EQ(items[17].raw_value, 0x7Bu);
  EXPECT_EQ(items[0].usages[0], 0x10);
  EXPECT_EQ(items[0].usages[1], 0x13);
  EXPECT_EQ(items[0].usages[2], 0);
  EXPECT_EQ(items[3].usages[0], 0x13);
  EXPECT_EQ(items[4].usages[0], 0);
}

}  // namespace
}  // namespace zrv::device
