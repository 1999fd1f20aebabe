// Every fault a model can inject, seen from the host's side of the wire.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "sim/fault.h"
#include "sim/keyboard_model.h"
#include "sim/sim_test_support.h"

namespace zrv::sim {
namespace {

using namespace std::chrono_literals;
using testing::Host;

class FaultsTest : public testing::SimTest {
 protected:
  void SetUp() override {
    keyboard_ = KeyboardModel::Create();
    ASSERT_TRUE(keyboard_->Plug());
    host_ = std::make_unique<Host>(keyboard_->CommandPath());
    ASSERT_TRUE(host_->Opened());
  }
  std::optional<Frame> Begin(int timeout_ms = 1000) {
    return host_->Exchange(MakeRequest(command::kBegin, 0, 0), timeout_ms);
  }
  std::shared_ptr<KeyboardModel> keyboard_;
  std::unique_ptr<Host> host_;
};

TEST_F(FaultsTest, NoAnswerSwallowsOnlyTheChosenFrame) {
  keyboard_->InjectNoAnswer({.command = command::kReadInfo, .nth = 2});
  EXPECT_TRUE(Begin());
  EXPECT_TRUE(host_->Exchange(MakeRequest(command::kReadInfo, 34, 0)));
  EXPECT_FALSE(host_->Exchange(MakeRequest(command::kReadInfo, 34, 0), 30)) << "second ReadInfo unanswered";
  EXPECT_TRUE(host_->Exchange(MakeRequest(command::kReadInfo, 34, 0)));
  EXPECT_EQ(keyboard_->PendingFaults(), 0u);
  EXPECT_EQ(keyboard_->Log().CountFrames(command::kReadInfo, Direction::kToHost), 2u);
}

TEST_F(FaultsTest, NoAnswerWithoutLimitLastsUntilCleared) {
  keyboard_->InjectNoAnswer({}, 0);
  EXPECT_FALSE(Begin(20));
  EXPECT_FALSE(Begin(20));
  keyboard_->ClearFaults();
  EXPECT_TRUE(Begin());
}

TEST_F(FaultsTest, LateAnswerArrivesAfterTheDelayFromTheTimerThread) {
  keyboard_->InjectLateAnswer(80);
  auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(host_->Write(MakeRequest(command::kReadInfo, 34, 0)));
  EXPECT_FALSE(host_->Read(20)) << "not yet";
  auto reply = host_->Read(1000);
  ASSERT_TRUE(reply);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 80ms);
  EXPECT_EQ((*reply)[kFrameCommand], command::kReadInfo);
  EXPECT_EQ((*reply)[8 + kInfoKeySlots], 126);
}

TEST_F(FaultsTest, LateAnswerOvertakenByTheNextOneArrivesOutOfOrder) {
  keyboard_->InjectLateAnswer(60, {.command = command::kBegin});
  EXPECT_FALSE(Begin(10));  // the host gives up
  auto next = host_->Exchange(MakeRequest(command::kEnd, 0, 0));
  ASSERT_TRUE(next);
  EXPECT_EQ((*next)[kFrameCommand], command::kEnd);
  auto stale = host_->Read(1000);
  ASSERT_TRUE(stale);
  EXPECT_EQ((*stale)[kFrameCommand], command::kBegin);
}

TEST_F(FaultsTest, ModelGoesAwayWithALateAnswerPending) {
  keyboard_->InjectLateAnswer(200);
  ASSERT_TRUE(host_->Write(MakeRequest(command::kBegin, 0, 0)));
  keyboard_->Unplug();
  host_.reset();
  keyboard_.reset();  // the timer thread is stopped and joined; nothing is delivered afterwards
  std::this_thread::sleep_for(10ms);
}

TEST_F(FaultsTest, WrongEchoOnceComesBeforeTheRealAnswer) {
  keyboard_->InjectWrongEcho(1, {.command = command::kReadInfo});
  ASSERT_TRUE(host_->Write(MakeRequest(command::kReadInfo, 34, 0)));
  auto stray = host_->Read();
  auto real = host_->Read();
  ASSERT_TRUE(stray && real);
  EXPECT_EQ((*stray)[kFrameCommand], kStrayCommand);
  EXPECT_EQ((*stray)[kPayloadOffset], kStrayMarker + 1);
  EXPECT_EQ((*real)[kFrameCommand], command::kReadInfo);
  EXPECT_EQ((*real)[8 + kInfoKeySlots], 126);
  EXPECT_FALSE(host_->Read(20)) << "nothing more";
}

TEST_F(FaultsTest, WrongEchoTwiceCanLeaveOutTheRealAnswer) {
  keyboard_->InjectWrongEcho(2, {}, /*real_after=*/false);
  ASSERT_TRUE(host_->Write(MakeRequest(command::kSendLightFrame, 3, 0, std::vector<uint8_t>{1, 2, 3})));
  auto first = host_->Read();
  auto second = host_->Read();
  ASSERT_TRUE(first && second);
  EXPECT_EQ((*first)[kFrameCommand], kStrayCommandAlt) << "a light frame's stray answer names another command";
  EXPECT_EQ((*second)[kFrameCommand], kStrayCommandAlt);
  EXPECT_EQ((*first)[kPayloadOffset], kStrayMarker + 1);
  EXPECT_EQ((*second)[kPayloadOffset], kStrayMarker + 2);
  EXPECT_FALSE(host_->Read(20));
  EXPECT_EQ(keyboard_->LastLightFrame()[2], 3) << "the frame itself was taken";
}

TEST_F(FaultsTest, StatusOnTheNthFrameOfACommandStopsOnlyThatFrame) {
  keyboard_->InjectStatus(kStatusFailureAlt, {.command = command::kWriteKeys, .nth = 2});
  std::vector<uint8_t> keys(168, 0x5A);  // three frames
  std::vector<Frame> replies;
  for (uint16_t offset = 0; offset < 168; offset += 56) {
    auto reply = host_->Exchange(MakeRequest(command::kWriteKeys, 56, offset, std::span(keys).subspan(offset, 56)));
    ASSERT_TRUE(reply);
    replies.push_back(*reply);
  }
  EXPECT_EQ(replies[0][kFrameStatus], kStatusOk);
  EXPECT_EQ(replies[1][kFrameStatus], kStatusFailureAlt);
  EXPECT_EQ(replies[1][kFrameCommand], command::kWriteKeys);
  EXPECT_EQ(replies[2][kFrameStatus], kStatusOk);
  auto table = keyboard_->KeyTable();
  EXPECT_EQ(table[0], 0x5A);
  EXPECT_NE(table[56], 0x5A) << "the refused frame was not stored";
  EXPECT_EQ(table[112], 0x5A);
}

TEST_F(FaultsTest, StatusOnTheNextFrameWhateverItsCommand) {
  keyboard_->InjectStatus(kStatusFailure);
  auto failed = Begin();
  ASSERT_TRUE(failed);
  EXPECT_EQ((*failed)[kFrameStatus], kStatusFailure);
  EXPECT_EQ(keyboard_->BeginCount(), 0u);
  auto ok = Begin();
  ASSERT_TRUE(ok);
  EXPECT_EQ((*ok)[kFrameStatus], kStatusOk);
}

TEST_F(FaultsTest, RemovalInTheMiddleOfATransfer) {
  keyboard_->InjectRemoval({.command = command::kWriteKeys, .nth = 3});
  std::vector<uint8_t> payload(56, 0x33);
  for (uint16_t frame = 0; frame < 3; ++frame) {
    auto reply = host_->Exchange(MakeRequest(command::kWriteKeys, 56, static_cast<uint16_t>(frame * 56), payload));
    ASSERT_TRUE(reply) << "frame " << frame << " is answered";
  }
  EXPECT_FALSE(keyboard_->IsPlugged());
  EXPECT_FALSE(host_->Write(MakeRequest(command::kWriteKeys, 56, 168, payload))) << "the device is gone";
  EXPECT_TRUE(keyboard_->Paths().empty());
  auto table = keyboard_->KeyTable();
  EXPECT_EQ(table[167], 0x33);
  EXPECT_NE(table[168], 0x33);

  // Plugged in again it answers on its new paths.
  ASSERT_TRUE(keyboard_->Plug());
  Host again(keyboard_->CommandPath());
  EXPECT_TRUE(again.Exchange(MakeRequest(command::kEnd, 0, 0)));
}

TEST_F(FaultsTest, RemovalBeforeTheAnswer) {
  keyboard_->InjectRemoval({.command = command::kBegin}, /*answer_first=*/false);
  ASSERT_TRUE(host_->Write(MakeRequest(command::kBegin, 0, 0)));
  EXPECT_FALSE(host_->Read(100));
  EXPECT_FALSE(keyboard_->IsPlugged());
  EXPECT_EQ(keyboard_->BeginCount(), 0u);
}

TEST_F(FaultsTest, FaultsCombineOnOneFrame) {
  keyboard_->InjectLateAnswer(30, {.command = command::kEnd});
  keyboard_->InjectStatus(kStatusFailure, {.command = command::kEnd});
  auto start = std::chrono::steady_clock::now();
  auto reply = host_->Exchange(MakeRequest(command::kEnd, 0, 0));
  ASSERT_TRUE(reply);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 30ms);
  EXPECT_EQ((*reply)[kFrameStatus], kStatusFailure);
}

TEST_F(FaultsTest, ReportLatencyDelaysEveryWriteAndEveryAnswer) {
  keyboard_->SetReportLatency(1ms);
  auto start = std::chrono::steady_clock::now();
  auto data = host_->ReadArea(command::kReadDefaultKeys, 512);  // 10 frames
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(data.size(), 512u);
  EXPECT_GE(elapsed, 20ms) << "10 frames of one write and one read each";
  keyboard_->SetReportLatency(0us);
}

}  // namespace
}  // namespace zrv::sim
