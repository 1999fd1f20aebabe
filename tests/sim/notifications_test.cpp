// Notifications on the consumer collection, decoded the way the host decodes them.

#include <gtest/gtest.h>

#include "sim/headset_model.h"
#include "sim/keyboard_model.h"
#include "sim/report_descriptors.h"
#include "sim/sim_ids.h"
#include "sim/sim_test_support.h"

namespace zrv::sim {
namespace {

class NotificationsTest : public testing::SimTest {
 protected:
  // Reads one report from the consumer collection and returns the first usage of the first item.
  static int FirstUsage(device::HidInterface& hid) {
    uint32_t got = 0;
    if (hid.ReadReport(hid.InputReportLength(), &got, hid.InputBuffer().data(), 1000) != 1) return -1;
    if (!hid.UnpackInputReport() || hid.InputItems().empty()) return -2;
    const auto& item = hid.InputItems()[0];
    if (!item.is_set || item.usages.empty()) return -3;
    return item.usages[0];
  }
};

TEST_F(NotificationsTest, EveryCodeIsTheFirstDecodedUsage) {
  auto keyboard = KeyboardModel::Create();
  ASSERT_TRUE(keyboard->Plug());
  device::HidInterface consumer;
  ASSERT_EQ(consumer.Open(keyboard->NotificationPath(), true, false, true, false), 1);
  device::HidInterface command;
  ASSERT_EQ(command.Open(keyboard->CommandPath(), true, true, true, false), 1);

  keyboard->Notify(kNotifySyncRequest);
  keyboard->Notify(kNotifyProfileChanged);
  keyboard->Notify(kNotifyAck);
  keyboard->KeyDown(0);
  keyboard->KeyUp(103);
  keyboard->PressKey(125);
  EXPECT_EQ(FirstUsage(consumer), 0x0401);
  EXPECT_EQ(FirstUsage(consumer), 0x0402);
  EXPECT_EQ(FirstUsage(consumer), 0x0404);
  EXPECT_EQ(FirstUsage(consumer), 0x0500);
  EXPECT_EQ(FirstUsage(consumer), 0x0667);
  EXPECT_EQ(FirstUsage(consumer), 0x057D);
  EXPECT_EQ(FirstUsage(consumer), 0x067D);

  uint8_t buffer[64];
  EXPECT_EQ(command.ReadReport(64, nullptr, buffer, 20), 0) << "notifications stay off the command collection";
  EXPECT_EQ(keyboard->Log().Reports(kNotificationReportId, Direction::kToHost).size(), 7u);
}

TEST_F(NotificationsTest, TheHeadsetSendsThemOnItsOnlyCollection) {
  auto headset = HeadsetModel::Create();
  ASSERT_TRUE(headset->Plug());
  device::HidInterface hid;
  ASSERT_EQ(hid.Open(headset->NotificationPath(), true, true, true, false), 1);
  headset->Notify(kNotifySyncRequest);
  EXPECT_EQ(FirstUsage(hid), 0x0401);
}

TEST_F(NotificationsTest, NothingIsSentOrLoggedWhileUnplugged) {
  auto keyboard = KeyboardModel::Create();
  keyboard->Notify(kNotifySyncRequest);
  EXPECT_EQ(keyboard->Log().Size(), 0u);
}

TEST_F(NotificationsTest, ReportCarriesTheCodeLowByteFirst) {
  EXPECT_EQ(NotificationReport(0x0512), (std::vector<uint8_t>{0x03, 0x12, 0x05, 0x00, 0x00}));
}

}  // namespace
}  // namespace zrv::sim
