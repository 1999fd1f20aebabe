#include "sim/keyboard_model.h"

#include <gtest/gtest.h>

#include "sim/key_tables.h"
#include "sim/sim_ids.h"
#include "sim/sim_test_support.h"

namespace zrv::sim {
namespace {

using testing::Host;

class KeyboardModelTest : public testing::SimTest {
 protected:
  void SetUp() override {
    keyboard_ = KeyboardModel::Create();
    ASSERT_TRUE(keyboard_->Plug());
  }
  std::shared_ptr<KeyboardModel> keyboard_;
};

TEST_F(KeyboardModelTest, PublishesTheInterfaceShapeTheHostLooksFor) {
  auto paths = keyboard_->Paths();
  ASSERT_GE(paths.size(), 4u);
  EXPECT_NE(paths[2].find("vid_320f&pid_505b&mi_01&col03"), std::string::npos) << paths[2];
  EXPECT_NE(paths[3].find("vid_320f&pid_505b&mi_01&col04"), std::string::npos) << paths[3];
  EXPECT_EQ(keyboard_->CommandPath(), paths[3]);
  EXPECT_EQ(keyboard_->NotificationPath(), paths[2]);

  device::HidInterface command;
  ASSERT_EQ(command.Open(keyboard_->CommandPath(), true, true, true, false), 1);
  EXPECT_EQ(command.UsagePage(), kCommandUsagePage);
  EXPECT_EQ(command.Usage(), kCommandUsage);
  EXPECT_EQ(command.InputReportLength(), 64);
  EXPECT_EQ(command.OutputReportLength(), 64);
  device::HidInterface consumer;
  ASSERT_EQ(consumer.Open(keyboard_->NotificationPath(), true, false, true, false), 1);
  EXPECT_EQ(consumer.UsagePage(), kConsumerUsagePage);
  EXPECT_EQ(consumer.Usage(), kConsumerUsage);
}

TEST_F(KeyboardModelTest, LookalikesDifferOnlyInInterfaceOrUsagePage) {
  auto other_interface = KeyboardModel::Create({.interface_number = 0});
  auto other_page = KeyboardModel::Create({.command_usage_page = 0xFF00});
  ASSERT_TRUE(other_interface->Plug());
  ASSERT_TRUE(other_page->Plug());
  EXPECT_NE(other_interface->CommandPath().find("vid_320f&pid_505b&mi_00&col04"), std::string::npos);
  device::HidInterface hid;
  ASSERT_EQ(hid.Open(other_page->CommandPath(), true, true, true, false), 1);
  EXPECT_NE(hid.Path().find("&mi_01&col04"), std::string::npos);
  EXPECT_EQ(hid.UsagePage(), 0xFF00);
  EXPECT_EQ(hid.Usage(), kCommandUsage);
}

TEST_F(KeyboardModelTest, AnswersEchoingTheCommandWithStatusAndData) {
  Host host(keyboard_->CommandPath());
  ASSERT_TRUE(host.Opened());
  for (uint8_t id : {command::kBegin, command::kEnd, command::kStartLightSync}) {
    auto reply = host.Exchange(MakeRequest(id, 0, 0));
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[kFrameReportId], kCommandReportId);
    EXPECT_EQ((*reply)[kFrameCommand], id);
    EXPECT_EQ((*reply)[kFrameStatus], kStatusOk);
  }
  EXPECT_EQ(keyboard_->BeginCount(), 1u);
  EXPECT_EQ(keyboard_->EndCount(), 1u);
  EXPECT_EQ(keyboard_->LightSyncCount(), 1u);

  auto info = host.Exchange(MakeRequest(command::kReadInfo, 34, 0));
  ASSERT_TRUE(info);
  EXPECT_EQ((*info)[kFrameCommand], command::kReadInfo);
  EXPECT_EQ((*info)[kFrameLength], 34);
  EXPECT_EQ((*info)[kPayloadOffset + kInfoKeySlots], 126);
  EXPECT_EQ((*info)[kPayloadOffset + kInfoMacroUnits], 0x40);
  EXPECT_EQ((*info)[kPayloadOffset + 34], 0) << "nothing beyond the length asked for";
}

TEST_F(KeyboardModelTest, FactoryKeysCoverTheLogicalKeysInAnOrderOfTheirOwn) {
  Host host(keyboard_->CommandPath());
  std::vector<uint8_t> factory = host.ReadArea(command::kReadDefaultKeys, 126 * 3);
  ASSERT_EQ(factory.size(), 378u);
  const auto& identity = KeyboardKeyIdentity();
  size_t out_of_identity_order = 0;
  for (size_t j = 0; j < kLogicalKeyCount; ++j) {
    KeyCode code = identity[j];
    bool found = false;
    for (size_t k = 0; k < 126 && !found; ++k) {
      found = KeyCode{factory[3 * k], factory[3 * k + 1], factory[3 * k + 2]} == code;
    }
    EXPECT_TRUE(found) << "logical key " << j;
    if (KeyCode{factory[3 * j], factory[3 * j + 1], factory[3 * j + 2]} != code) ++out_of_identity_order;
  }
  EXPECT_GT(out_of_identity_order, 60u) << "slots are not numbered like the logical keys";

  std::vector<uint8_t> leds = host.ReadArea(command::kReadKeyLedMap, 126);
  ASSERT_EQ(leds.size(), 126u);
  std::vector<bool> seen(126, false);
  for (uint8_t led : leds) {
    ASSERT_LT(led, 126);
    EXPECT_FALSE(seen[led]) << "LED " << int{led} << " twice";
    seen[led] = true;
  }
}

TEST_F(KeyboardModelTest, FewerSlotsDropKeysAndShrinkTheTables) {
  keyboard_->SetKeySlotCount(104);
  Host host(keyboard_->CommandPath());
  auto info = host.ReadArea(command::kReadInfo, 34);
  ASSERT_EQ(info.size(), 34u);
  EXPECT_EQ(info[kInfoKeySlots], 104);
  EXPECT_EQ(keyboard_->AreaSize(Area::kDefaultKeys), 312u);
  EXPECT_EQ(keyboard_->AreaSize(Area::kKeyLedMap), 104u);
  size_t missing = 0;
  for (size_t j = 0; j < kLogicalKeyCount; ++j) missing += keyboard_->SlotOfLogicalKey(j) < 0 ? 1 : 0;
  EXPECT_GT(missing, 0u);
  // The three logical keys that share the code 20.00.00 all find the lowest slot carrying it.
  EXPECT_EQ(keyboard_->SlotOfLogicalKey(16), keyboard_->SlotOfLogicalKey(20));
}

TEST_F(KeyboardModelTest, SettingsAndKeysGoWhereTheOffsetSays) {
  Host host(keyboard_->CommandPath());
  std::vector<uint8_t> record(46);
  for (size_t i = 0; i < record.size(); ++i) record[i] = static_cast<uint8_t>(i + 1);
  record[0] = 2;
  ASSERT_TRUE(host.WriteArea(command::kWriteSettings, record, 2 * 46));
  EXPECT_EQ(keyboard_->SettingsRecord(2), record);
  EXPECT_EQ(host.ReadArea(command::kReadSettings, 46, 2 * 46), record);

  // The active profile is byte 0 of the area.
  ASSERT_TRUE(host.WriteArea(command::kWriteSettings, {3}, 0));
  EXPECT_EQ(keyboard_->ActiveProfile(), 3);
  EXPECT_EQ(host.ReadArea(command::kReadSettings, 1, 0), std::vector<uint8_t>{3});

  std::vector<uint8_t> keys(378);
  for (size_t i = 0; i < keys.size(); ++i) keys[i] = static_cast<uint8_t>(i * 7);
  ASSERT_TRUE(host.WriteArea(command::kWriteKeys, keys, 0));
  EXPECT_EQ(keyboard_->KeyTable(), keys);
  EXPECT_EQ(keyboard_->Log().CountFrames(command::kWriteKeys), 7u);  // 6 x 56 + 42
}

}  // namespace
}  // namespace zrv::sim
