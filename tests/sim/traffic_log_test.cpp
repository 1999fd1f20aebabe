#include "sim/traffic_log.h"

#include <gtest/gtest.h>

#include "sim/keyboard_model.h"
#include "sim/sim_ids.h"
#include "sim/sim_test_support.h"

namespace zrv::sim {
namespace {

using testing::Host;

class TrafficLogTest : public testing::SimTest {};

TEST_F(TrafficLogTest, KeepsBothDirectionsInOrderWithTimes) {
  auto keyboard = KeyboardModel::Create();
  ASSERT_TRUE(keyboard->Plug());
  Host host(keyboard->CommandPath());
  ASSERT_TRUE(host.Exchange(MakeRequest(command::kBegin, 0, 0)));
  ASSERT_EQ(host.ReadArea(command::kReadInfo, 34).size(), 34u);
  keyboard->Notify(kNotifyAck);
  ASSERT_TRUE(host.Exchange(MakeRequest(command::kEnd, 0, 0)));

  auto entries = keyboard->Log().Entries();
  ASSERT_EQ(entries.size(), 7u);
  const Direction expected[] = {Direction::kToDevice, Direction::kToHost,   Direction::kToDevice, Direction::kToHost,
                                Direction::kToHost,   Direction::kToDevice, Direction::kToHost};
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].direction, expected[i]) << i;
    if (i > 0) {
      EXPECT_GE(entries[i].time, entries[i - 1].time);
    }
  }
  EXPECT_EQ(entries[4].ReportId(), kNotificationReportId);
  EXPECT_FALSE(entries[4].IsCommandFrame());
  EXPECT_EQ(entries[3].bytes[kPayloadOffset + 5], 126);

  const auto& log = keyboard->Log();
  EXPECT_EQ(log.CountFrames(command::kReadInfo), 1u);
  EXPECT_EQ(log.CountFrames(command::kReadInfo, Direction::kToHost), 1u);
  EXPECT_EQ(log.CountCommandFrames(Direction::kToDevice), 3u);
  ASSERT_TRUE(log.LastFrame(command::kEnd, Direction::kToHost));
  EXPECT_EQ(log.LastFrame(command::kEnd, Direction::kToHost)->Status(), kStatusOk);
  EXPECT_FALSE(log.LastFrame(command::kWriteKeys));
  EXPECT_NE(log.Dump().find("host->dev"), std::string::npos);
}

TEST_F(TrafficLogTest, WrongChecksumIsLoggedAndHandledOrRefused) {
  auto keyboard = KeyboardModel::Create();
  ASSERT_TRUE(keyboard->Plug());
  Host host(keyboard->CommandPath());

  Frame bad = MakeRequest(command::kBegin, 0, 0);
  bad[kFrameChecksumLow] ^= 0x01;
  // As a device does, by default it is refused and not acted upon.
  auto reply = host.Exchange(bad);
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[kFrameStatus], kStatusFailure);
  EXPECT_EQ(keyboard->BeginCount(), 0u);
  EXPECT_EQ(keyboard->Log().ChecksumErrors(), 1u);
  EXPECT_FALSE(keyboard->Log().LastFrame(command::kBegin)->checksum_ok);

  // A test that wants to see what a wrong frame would do can have it handled.
  keyboard->SetRejectBadChecksum(false);
  reply = host.Exchange(bad);
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[kFrameStatus], kStatusOk);
  EXPECT_EQ(keyboard->BeginCount(), 1u);
  EXPECT_EQ(keyboard->Log().ChecksumErrors(), 2u);
  keyboard->SetRejectBadChecksum(true);

  // A correct frame (all 56 payload bytes count) is accepted.
  std::vector<uint8_t> payload(56, 0xFF);
  reply = host.Exchange(MakeRequest(command::kWriteMacros, 1, 0, payload));
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[kFrameStatus], kStatusOk);
  EXPECT_EQ(keyboard->Log().ChecksumErrors(), 2u);
}

TEST(TrafficLogCapacityTest, DropsTheOldestAndCanBeSwitchedOff) {
  TrafficLog log;
  log.SetCapacity(2);
  for (uint8_t i = 1; i <= 3; ++i) log.Add(Direction::kToDevice, {i});
  auto entries = log.Entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].bytes[0], 2);
  log.SetCapacity(0);
  log.Add(Direction::kToDevice, {4}, /*checksum_ok=*/false);
  EXPECT_EQ(log.Size(), 0u);
  EXPECT_EQ(log.ChecksumErrors(), 1u) << "errors are counted even when nothing is kept";
}

TEST(FrameTest, ChecksumIsTheSumOfBytes3To63) {
  std::vector<uint8_t> payload(56, 0xFF);
  Frame frame = MakeRequest(0x09, 56, 0x1234, payload);
  uint16_t expected = static_cast<uint16_t>(0x09 + 56 + 0x34 + 0x12 + 56 * 0xFF);
  EXPECT_EQ(frame[kFrameChecksumLow], static_cast<uint8_t>(expected));
  EXPECT_EQ(frame[kFrameChecksumHigh], static_cast<uint8_t>(expected >> 8));
  EXPECT_TRUE(ChecksumMatches(frame));
  frame[63] ^= 0x80;
  EXPECT_FALSE(ChecksumMatches(frame));
}

}  // namespace
}  // namespace zrv::sim
