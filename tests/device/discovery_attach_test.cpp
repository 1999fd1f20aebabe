#include "device/device_attach.h"

#include <gtest/gtest.h>

#include <array>

#include "device/hid_path.h"
#include "discovery_test_support.h"
#include "platform/debug_output.h"
#include "sim/headset_model.h"
#include "sim/keyboard_model.h"
#include "sim/mouse_model.h"
#include "sim/wireless_mouse_model.h"

namespace zrv::device {
namespace {

using testing::FakeDeviceSet;

// Records are claimed by hand here, as discovery would after probing the model's collections.
class AttachTest : public ::testing::Test {
 protected:
  void TearDown() override { VirtualHidRegistry::Instance().UnplugAll(); }

  static size_t ClaimPath(InterfaceList& list, const std::string& path, uint16_t usage_page, uint16_t usage) {
    auto index = list.Claim({PathVendorId(path), PathProductId(path), PathInterfaceNumber(path),
                             PathCollectionNumber(path), usage_page, usage},
                            path);
    EXPECT_TRUE(index) << path;
    return index.value_or(SIZE_MAX);
  }
  static size_t ClaimCommand(InterfaceList& list, const sim::FirmwareModel& model) {
    return ClaimPath(list, model.CommandPath(), 0xFF1C, 0x92);
  }
  static size_t ClaimNotification(InterfaceList& list, const sim::FirmwareModel& model) {
    return ClaimPath(list, model.NotificationPath(), 0x000C, 0x01);
  }

  platform::DebugCapture debug_;
  InterfaceList list_{testing::SimulatorIds()};
  FakeDeviceSet set_{list_};
};

TEST_F(AttachTest, CommandCollectionOpensTheDeviceLinkOnce) {
  auto keyboard = sim::KeyboardModel::Create();
  ASSERT_TRUE(keyboard->Plug());
  InterfaceList& list = list_;
  FakeDeviceSet& set = set_;

  const size_t index = ClaimCommand(list, *keyboard);
  EXPECT_EQ(index, 0u);
  AttachResult result = set.attacher.Attach(index);
  EXPECT_EQ(result.device, &set.keyboard());
  EXPECT_TRUE(result.changed);
  DeviceLink& link = set.keyboard().CommandLink();
  EXPECT_TRUE(link.Connected());
  EXPECT_FALSE(link.Slow());
  EXPECT_EQ(link.Hid().Path(), keyboard->CommandPath());
  EXPECT_TRUE(link.Hid().ReadAccess() && link.Hid().WriteAccess() && !link.Hid().Exclusive());
  EXPECT_EQ(set.keyboard().Record().path, keyboard->CommandPath());  // the record was handed over again
  EXPECT_TRUE(debug_.Contains("添加一个键盘设备"));
  EXPECT_TRUE(set.attacher.AnyConnected());

  std::array<uint8_t, DeviceLink::kInfoBlockSize> info{};
  EXPECT_EQ(link.ReadInfo(info), kLinkOk);
  EXPECT_EQ(info[5], 126);

  // A second add for a connected device leaves its link alone.
  EXPECT_FALSE(set.attacher.Attach(index).changed);
  EXPECT_EQ(set.keyboard().records_given, 1);

  debug_.Clear();
  result = set.attacher.Detach(index);
  EXPECT_EQ(result.device, &set.keyboard());
  EXPECT_TRUE(result.changed);
  EXPECT_FALSE(link.Connected());
  EXPECT_FALSE(link.Hid().IsOpen());
  EXPECT_EQ(link.ReadInfo(info), kLinkNothingDone);
  EXPECT_TRUE(debug_.Contains("删除一个键盘设备"));
  EXPECT_FALSE(set.attacher.AnyConnected());
}

TEST_F(AttachTest, FailedOpenLeavesTheRecordPresentAndTheDeviceDisconnected) {
  InterfaceList& list = list_;
  FakeDeviceSet& set = set_;
  const size_t index = ClaimPath(list, "virtual:999999#vid_320f&pid_505b&mi_01&col04", 0xFF1C, 0x92);
  AttachResult result = set.attacher.Attach(index);
  EXPECT_EQ(result.device, &set.keyboard());
  EXPECT_FALSE(result.changed);
  EXPECT_FALSE(set.keyboard().CommandLink().Connected());
  EXPECT_TRUE(list.IsPresent(index));
  EXPECT_EQ(set.keyboard().records_given, 0);
}

TEST_F(AttachTest, NotificationLinkHooksAroundOpenAndClose) {
  auto keyboard = sim::KeyboardModel::Create();
  ASSERT_TRUE(keyboard->Plug());
  InterfaceList& list = list_;
  FakeDeviceSet& set = set_;

  const size_t index = ClaimNotification(list, *keyboard);
  EXPECT_EQ(index, 1u);
  AttachResult result = set.attacher.Attach(index);
  EXPECT_EQ(result.device, &set.keyboard());
  EXPECT_TRUE(result.changed);
  EXPECT_TRUE(set.keyboard().NotificationLink().Connected());
  EXPECT_FALSE(set.keyboard().CommandLink().Connected());

  // The link carries the keyboard's notifications.
  keyboard->Notify(sim::kNotifyProfileChanged);
  HidInterface& hid = set.keyboard().NotificationLink().Hid();
  std::array<uint8_t, 8> report{};
  ASSERT_EQ(hid.ReadReport(static_cast<uint32_t>(report.size()), nullptr, report.data(), 1000), 1);
  EXPECT_EQ(report[0], sim::kNotificationReportId);

  // Already connected: the next notification record finds no device for it.
  EXPECT_EQ(set.attacher.Attach(index).device, nullptr);

  result = set.attacher.Detach(index);
  EXPECT_TRUE(result.changed);
  EXPECT_FALSE(set.keyboard().NotificationLink().Connected());
  EXPECT_EQ(set.keyboard().Events(), (std::vector<std::string>{"opened(connected)", "closing(connected)", "closed"}));
}

TEST_F(AttachTest, KindSixIsSlowAndTheHeadsetHasNoTrace) {
  auto wireless = sim::WirelessMouseModel::Create();
  auto headset = sim::HeadsetModel::Create();
  ASSERT_TRUE(wireless->Plug());
  ASSERT_TRUE(headset->Plug());
  // A receiver row of kind 6, as an installation could add one.
  std::vector<InterfaceRecord> records(kInterfaceTable.begin(), kInterfaceTable.end());
  InterfaceRecord receiver = kInterfaceTable[2];
  receiver.kind = DeviceKind::kWirelessMouse;
  records[2] = receiver;
  InterfaceList list(records, testing::SimulatorIds());
  testing::FakeDevice mouse(list.Get(2));
  testing::FakeDevice hs(list.Get(6));
  DeviceAttacher attacher(list);
  attacher.AddDevice(mouse);
  attacher.AddDevice(hs);
  EXPECT_EQ(attacher.Devices(DeviceKind::kMouse).size(), 1u);
  EXPECT_EQ(attacher.Devices(DeviceKind::kWirelessMouse).size(), 1u);
  EXPECT_EQ(attacher.Devices(DeviceKind::kHeadset).size(), 1u);

  EXPECT_TRUE(attacher.Attach(ClaimCommand(list, *wireless)).changed);
  EXPECT_TRUE(mouse.CommandLink().Slow());
  EXPECT_TRUE(debug_.Contains("添加一个鼠标设备"));

  debug_.Clear();
  const size_t headset_index = ClaimPath(list, headset->CommandPath(), 0x000C, 0x01);
  EXPECT_EQ(headset_index, 6u);
  EXPECT_TRUE(attacher.Attach(headset_index).changed);
  EXPECT_TRUE(hs.CommandLink().Connected());
  EXPECT_FALSE(hs.CommandLink().Slow());
  EXPECT_TRUE(attacher.Detach(headset_index).changed);
  EXPECT_TRUE(debug_.Lines().empty());
}

// A mouse reachable over a cable and over its receiver, the two command records naming each other.
TEST_F(AttachTest, PartnerRecordsMoveTheLinkBetweenThePathsAndFlipItsSpeed) {
  auto wired = sim::MouseModel::Create();
  auto wireless = sim::WirelessMouseModel::Create();
  ASSERT_TRUE(wired->Plug());
  ASSERT_TRUE(wireless->Plug());
  std::vector<InterfaceRecord> records(kInterfaceTable.begin(), kInterfaceTable.end());
  InterfaceRecord receiver = kInterfaceTable[2];
  receiver.kind = DeviceKind::kWirelessMouse;
  records.push_back(receiver);  // index 7
  InterfaceList list(records, testing::SimulatorIds());
  list.SetPartner(2, 7);
  list.SetPartner(7, 2);
  FakeDeviceSet set(list);
  DeviceLink& link = set.mouse().CommandLink();

  const size_t cable = ClaimCommand(list, *wired);
  const size_t radio = ClaimCommand(list, *wireless);
  ASSERT_EQ(cable, 2u);
  ASSERT_EQ(radio, 7u);
  const size_t notification = ClaimNotification(list, *wired);
  ASSERT_EQ(notification, 3u);

  // A fast (or closed) link goes to the partner's path and becomes slow.
  AttachResult result = set.attacher.Attach(radio);
  EXPECT_EQ(result.device, &set.mouse());
  EXPECT_TRUE(result.changed);
  EXPECT_TRUE(link.Connected());
  EXPECT_TRUE(link.Slow());
  EXPECT_EQ(link.Hid().Path(), wired->CommandPath());
  // Notification records of the same product and kind as the record that arrived: none of kind 6.
  EXPECT_FALSE(set.mouse().NotificationLink().Connected());

  // A slow link goes to the path of the record that arrived and becomes fast.
  result = set.attacher.Attach(cable);
  EXPECT_TRUE(result.changed);
  EXPECT_FALSE(link.Slow());
  EXPECT_EQ(link.Hid().Path(), wired->CommandPath());
  EXPECT_TRUE(set.mouse().NotificationLink().Connected());
  EXPECT_EQ(set.mouse().NotificationLink().Hid().Path(), wired->NotificationPath());

  // Without the partner naming it back, the record attaches on its own.
  list.SetPartner(7, std::nullopt);
  set.attacher.Detach(cable);
  EXPECT_FALSE(link.Connected());
  EXPECT_TRUE(set.attacher.Attach(cable).changed);
  EXPECT_FALSE(link.Slow());
}

}  // namespace
}  // namespace zrv::device
