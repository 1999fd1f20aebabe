#include "device/device_link.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <numeric>
#include <thread>

#include "device/device_frame.h"
#include "device/device_link_fakes.h"
#include "platform/debug_output.h"

namespace zrv::device {
namespace {

using namespace std::chrono_literals;
using testing::FakeFirmware;
using Clock = std::chrono::steady_clock;

std::vector<uint8_t> Pattern(size_t size, uint8_t seed = 1) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 7);
  return bytes;
}

uint16_t Checksum(const Frame& frame) {
  return static_cast<uint16_t>(std::accumulate(frame.begin() + 3, frame.end(), 0u));
}

// The frame's own checksum bytes agree with its content.
::testing::AssertionResult Sealed(const Frame& frame) {
  const uint16_t sum = Checksum(frame);
  if (frame[1] == (sum & 0xFF) && frame[2] == (sum >> 8)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "checksum bytes " << int(frame[1]) << "," << int(frame[2]) << " for sum "
                                       << sum;
}

TEST(DeviceFrameTest, ChecksumIsTheSixteenBitSumOfBytesThreeOnward) {
  Frame frame{};
  frame[0] = 0x04;
  frame[1] = 0x99;  // old checksum bytes do not count
  frame[2] = 0x99;
  frame[3] = 0x09;
  frame[4] = 56;
  for (size_t i = 8; i < 64; ++i) frame[i] = 0xFF;  // 56 * 255 = 14280
  SealFrame(frame);
  const uint16_t expected = 0x09 + 56 + 14280;
  EXPECT_EQ(frame[1], expected & 0xFF);
  EXPECT_EQ(frame[2], expected >> 8);
  // A sum beyond 16 bits keeps its low 16 bits only.
  frame.fill(0xFF);
  SealFrame(frame);
  EXPECT_EQ(FrameChecksum(frame), static_cast<uint16_t>(61 * 255));
}

TEST(DeviceFrameTest, OffsetIsStoredLowByteFirstAndTruncated) {
  Frame frame{};
  SetFrameOffset(frame, 0x12345);
  EXPECT_EQ(frame[5], 0x45);
  EXPECT_EQ(frame[6], 0x23);
  EXPECT_EQ(FrameOffset(frame), 0x2345);
}

TEST(DeviceFrameTest, DumpIsTwoLinesOf32BytesInFourByteGroups) {
  std::vector<uint8_t> bytes(64);
  std::iota(bytes.begin(), bytes.end(), 0);
  bytes[63] = 0xAB;
  EXPECT_EQ(
      FormatFrameDump(bytes),
      "00 01 02 03   04 05 06 07   08 09 0a 0b   0c 0d 0e 0f  10 11 12 13  14 15 16 17  18 19 1a 1b  1c 1d 1e 1f\n"
      "20 21 22 23   24 25 26 27   28 29 2a 2b   2c 2d 2e 2f  30 31 32 33  34 35 36 37  38 39 3a 3b  3c 3d 3e ab");
  // Fewer bytes read as zero-filled.
  const std::string zeros = FormatFrameDump(std::span<const uint8_t>(bytes.data(), 2));
  EXPECT_EQ(zeros.substr(0, 14), "00 01 00 00   ");
  EXPECT_EQ(zeros.size(), 2 * 105 + 1);
}

class DeviceLinkTest : public ::testing::Test {
 protected:
  DeviceLinkTest() : backends_({VirtualHidRegistry::Instance().Backend()}) {
    EXPECT_NE(VirtualHidRegistry::Instance().Plug(device_), 0u);
    path_ = VirtualHidRegistry::Instance().PathsOf(device_).at(1);
    std::lock_guard io(link_.IoLock());  // as discovery opens it
    EXPECT_EQ(link_.Hid().Open(path_, true, true, true, false), 1);
    link_.SetConnected(true);
  }
  ~DeviceLinkTest() override {
    link_.SetConnected(false);
    link_.Hid().Close();
    VirtualHidRegistry::Instance().UnplugAll();
  }

  std::vector<Frame> Sent() { return device_->Received(); }

  ScopedHidBackends backends_;
  std::shared_ptr<FakeFirmware> device_ = std::make_shared<FakeFirmware>();
  std::string path_;
  DeviceLink link_;
};

TEST_F(DeviceLinkTest, StartsClosedWithDefaults) {
  DeviceLink fresh;
  EXPECT_FALSE(fresh.Hid().IsOpen());
  EXPECT_EQ(fresh.DataSize(), 512);
  EXPECT_EQ(fresh.ChunkSize(), 56);
  EXPECT_FALSE(fresh.Busy() || fresh.Connected() || fresh.Suspended() || fresh.Paused() || fresh.Slow());
}

TEST_F(DeviceLinkTest, ReadInfoIsOneFrameOf34BytesAtOffsetZero) {
  const auto info_bytes = Pattern(34, 0x30);
  device_->SetArea(0x03, info_bytes);
  std::array<uint8_t, 34> info{};
  ASSERT_EQ(link_.ReadInfo(info), 1);
  EXPECT_EQ(std::vector<uint8_t>(info.begin(), info.end()), info_bytes);

  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  Frame expected{};
  expected[0] = 0x04;
  expected[3] = 0x03;
  expected[4] = 34;
  const uint16_t sum = 0x03 + 34;
  expected[1] = sum & 0xFF;
  expected[2] = sum >> 8;
  EXPECT_EQ(sent[0], expected);  // offset 0, status 0, empty payload
}

TEST_F(DeviceLinkTest, WriteOf120BytesGoesOutAsThreeFramesReusingTheFrame) {
  const auto data = Pattern(120);
  ASSERT_EQ(link_.WriteMacros(data), 1);
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 3u);
  const uint8_t lengths[] = {56, 56, 8};
  const uint16_t offsets[] = {0, 56, 112};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(sent[i][0], 0x04);
    EXPECT_EQ(sent[i][3], 0x15);
    EXPECT_EQ(sent[i][4], lengths[i]);
    EXPECT_EQ(FrameOffset(sent[i]), offsets[i]);
    EXPECT_EQ(sent[i][7], 0);
    EXPECT_TRUE(Sealed(sent[i]));
  }
  EXPECT_TRUE(std::equal(sent[1].begin() + 8, sent[1].end(), data.begin() + 56));
  // The last frame carries 8 new bytes; the rest of its payload is what the second chunk left.
  EXPECT_TRUE(std::equal(sent[2].begin() + 8, sent[2].begin() + 16, data.begin() + 112));
  EXPECT_TRUE(std::equal(sent[2].begin() + 16, sent[2].end(), data.begin() + 64));
  EXPECT_EQ(device_->Area(0x15, 0, 120), data);
}

TEST_F(DeviceLinkTest, EmptyTransfersSendNothingAndSucceed) {
  EXPECT_EQ(link_.WriteMacros({}), 1);
  EXPECT_EQ(link_.ReadSettings({}, 0), 1);
  EXPECT_EQ(link_.SendLightFrame({}), 1);
  ASSERT_EQ(link_.SetDataSize(0), 1);
  EXPECT_EQ(link_.ReadDefaultKeys({}), 1);
  EXPECT_EQ(device_->ReceivedCount(), 0u);
}

TEST_F(DeviceLinkTest, ChunkSizeAppliesToEveryChunkedCommandButWriteShoot) {
  EXPECT_EQ(link_.SetChunkSize(0), 0);
  EXPECT_EQ(link_.SetChunkSize(57), 0);
  ASSERT_EQ(link_.SetChunkSize(8), 1);

  const auto settings = Pattern(20, 5);
  device_->SetArea(0x05, settings, 100);
  std::vector<uint8_t> read(20);
  ASSERT_EQ(link_.ReadSettings(read, 100), 1);
  EXPECT_EQ(read, settings);
  auto sent = Sent();
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[2][4], 4);
  EXPECT_EQ(FrameOffset(sent[2]), 116);

  device_->ClearReceived();
  const auto shoot = Pattern(57, 9);
  ASSERT_EQ(link_.WriteShoot(shoot), 1);
  sent = Sent();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0][3], 0x17);
  EXPECT_EQ(sent[0][4], 56);
  EXPECT_EQ(sent[1][4], 1);
  EXPECT_EQ(FrameOffset(sent[1]), 56);
  EXPECT_EQ(sent[1][8], shoot[56]);
  EXPECT_EQ(device_->Area(0x17, 0, 57), shoot);
}

TEST_F(DeviceLinkTest, KeyTablesFollowTheDataSize) {
  EXPECT_EQ(link_.SetDataSize(513), 0);
  EXPECT_EQ(link_.DataSize(), 512);
  EXPECT_EQ(link_.SetDataSize(512), 1);

  // A full table: 10 frames (9 of 56, one of 8).
  const auto table = Pattern(512, 3);
  ASSERT_EQ(link_.WriteKeys(table, 0), 1);
  auto sent = Sent();
  ASSERT_EQ(sent.size(), 10u);
  EXPECT_EQ(sent[9][3], 0x09);
  EXPECT_EQ(sent[9][4], 8);
  EXPECT_EQ(FrameOffset(sent[9]), 504);
  EXPECT_EQ(device_->Area(0x09, 0, 512), table);

  // Index 1 is refused before anything is sent; a short table too.
  device_->ClearReceived();
  EXPECT_EQ(link_.WriteKeys(table, 1), -201);
  EXPECT_EQ(link_.WriteKeys(std::span(table).first(100), 0), 0);
  EXPECT_EQ(device_->ReceivedCount(), 0u);

  // 104 key slots: 312 bytes of factory codes (5 x 56 + 32), 104 bytes of LED map (56 + 48).
  ASSERT_EQ(link_.SetDataSize(104 * 3), 1);
  const auto defaults = Pattern(312, 11);
  const auto leds = Pattern(104, 77);
  device_->SetArea(0x07, defaults);
  device_->SetArea(0x1B, leds);
  std::vector<uint8_t> keys(512), map(512);
  ASSERT_EQ(link_.ReadDefaultKeys(keys), 1);
  ASSERT_EQ(link_.ReadKeyLedMap(map), 1);
  EXPECT_TRUE(std::equal(defaults.begin(), defaults.end(), keys.begin()));
  EXPECT_EQ(keys[312], 0);
  EXPECT_TRUE(std::equal(leds.begin(), leds.end(), map.begin()));
  sent = Sent();
  ASSERT_EQ(sent.size(), 8u);
  EXPECT_EQ(sent[5][4], 32);
  EXPECT_EQ(sent[7][3], 0x1B);
  EXPECT_EQ(sent[7][4], 48);
  EXPECT_EQ(FrameOffset(sent[7]), 56);
  // A buffer smaller than the table is refused without I/O.
  device_->ClearReceived();
  std::vector<uint8_t> small(100);
  EXPECT_EQ(link_.ReadDefaultKeys(small), 0);
  EXPECT_EQ(device_->ReceivedCount(), 0u);
}

TEST_F(DeviceLinkTest, OffsetsWrapToSixteenBits) {
  std::vector<uint8_t> out(4);
  ASSERT_EQ(link_.ReadSettings(out, 0x12345), 1);
  ASSERT_EQ(link_.ReadCustomLight(out, 200), 1);  // 200 * 378 = 75600 = 0x12750
  ASSERT_EQ(link_.WriteCustomLight(out, 1), 1);
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0][5], 0x45);
  EXPECT_EQ(sent[0][6], 0x23);
  EXPECT_EQ(FrameOffset(sent[1]), 0x2750);
  EXPECT_EQ(sent[2][3], 0x0B);
  EXPECT_EQ(FrameOffset(sent[2]), 378);
}

TEST_F(DeviceLinkTest, SingleFrameCommands) {
  EXPECT_EQ(link_.Begin(), 1);
  const auto started = Clock::now();
  EXPECT_EQ(link_.End(), 1);
  EXPECT_GE(Clock::now() - started, 10ms);
  EXPECT_EQ(link_.StartLightSync(), 1);
  const std::array<uint8_t, 6> power_bytes = {1, 2, 3, 4, 5, 6};
  device_->SetArea(0x1A, power_bytes);
  std::array<uint8_t, 6> power{};
  EXPECT_EQ(link_.ReadPower(power), 1);
  EXPECT_EQ(power, power_bytes);
  std::array<uint8_t, 57> too_long{};
  EXPECT_EQ(link_.ReadPower(too_long), 0);
  EXPECT_EQ(link_.Probe(), 1);

  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 5u);
  const uint8_t commands[] = {0x01, 0x02, 0x1C, 0x1A, 0xAA};
  for (size_t i = 0; i < sent.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(sent[i][3], commands[i]);
    EXPECT_EQ(sent[i][4], commands[i] == 0x1A ? 6 : 0);
    EXPECT_EQ(FrameOffset(sent[i]), 0);
    EXPECT_TRUE(std::all_of(sent[i].begin() + 8, sent[i].end(), [](uint8_t b) { return b == 0; }));
    EXPECT_TRUE(Sealed(sent[i]));
  }
}

TEST_F(DeviceLinkTest, ProbeNeedsTheMarkerAndAGoodStatus) {
  EXPECT_EQ(link_.Probe(), 1);
  device_->SetReachable(false);
  EXPECT_EQ(link_.Probe(), 0);
  device_->SetReachable(true);
  device_->StatusOnFrame(2, 0xFE);
  EXPECT_EQ(link_.Probe(), 0);
  device_->StatusOnFrame(3, 0xFF);
  EXPECT_EQ(link_.Probe(), 0);
  device_->AnswerNothing(true);
  EXPECT_EQ(link_.Probe(), 0);
}

TEST_F(DeviceLinkTest, NothingIsSentWhileDisconnectedOrSuspended) {
  for (int suspended = 0; suspended < 2; ++suspended) {
    SCOPED_TRACE(suspended);
    link_.SetConnected(suspended == 1);
    link_.SetSuspended(suspended == 1);
    std::vector<uint8_t> buffer(512, 1);
    std::array<uint8_t, 34> info{};
    EXPECT_EQ(link_.Begin(), 0);
    EXPECT_EQ(link_.End(), 0);
    EXPECT_EQ(link_.ReadInfo(info), 0);
    EXPECT_EQ(link_.ReadSettings(buffer, 0), 0);
    EXPECT_EQ(link_.WriteSettings(buffer, 0), 0);
    EXPECT_EQ(link_.ReadDefaultKeys(buffer), 0);
    EXPECT_EQ(link_.WriteKeys(buffer, 0), 0);
    EXPECT_EQ(link_.ReadCustomLight(buffer, 0), 0);
    EXPECT_EQ(link_.WriteCustomLight(buffer, 0), 0);
    EXPECT_EQ(link_.SendLightFrame(buffer), 0);
    EXPECT_EQ(link_.WriteMacros(buffer), 0);
    EXPECT_EQ(link_.WriteShoot(buffer), 0);
    EXPECT_EQ(link_.ReadPower(std::span(buffer).first(6)), 0);
    EXPECT_EQ(link_.ReadKeyLedMap(buffer), 0);
    EXPECT_EQ(link_.StartLightSync(), 0);
    EXPECT_EQ(link_.Probe(), 0);
    // Also zero-length ones, and the plain exchanges.
    EXPECT_EQ(link_.WriteMacros({}), 0);
    uint32_t got = 7;
    std::array<uint8_t, 64> reply{};
    EXPECT_EQ(link_.Transfer(buffer, reply, got), 0);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(link_.TransferLightFrame(buffer, reply, got), 0);
    EXPECT_FALSE(link_.Busy());
  }
  EXPECT_EQ(device_->ReceivedCount(), 0u);
  EXPECT_TRUE(link_.Hid().IsOpen()) << "the interface is left alone";
}

TEST_F(DeviceLinkTest, TransferFillsShortRequestsAndCutsLongOnes) {
  std::array<uint8_t, 64> reply{};
  uint32_t got = 0;
  const std::vector<uint8_t> request = {0x04, 0, 0, 0x05, 2};
  device_->SetArea(0x05, std::array<uint8_t, 2>{0x5A, 0xA5});
  ASSERT_EQ(link_.Transfer(request, reply, got), 1);
  EXPECT_EQ(got, 64u);
  EXPECT_EQ(reply[3], 0x05);
  EXPECT_EQ(reply[8], 0x5A);
  EXPECT_EQ(reply[9], 0xA5);
  std::vector<uint8_t> long_request(100, 0xEE);
  long_request[0] = 0x04;
  ASSERT_EQ(link_.TransferLightFrame(long_request, reply, got), 1);
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0][4], 2);
  EXPECT_TRUE(std::all_of(sent[0].begin() + 5, sent[0].end(), [](uint8_t b) { return b == 0; }));
  EXPECT_EQ(sent[1][63], 0xEE);
}

TEST_F(DeviceLinkTest, CommandsAreTracedLightFramesAreNot) {
  platform::DebugCapture capture;
  std::array<uint8_t, 34> info{};
  device_->SetArea(0x03, Pattern(34));
  ASSERT_EQ(link_.ReadInfo(info), 1);
  ASSERT_EQ(link_.SendLightFrame(Pattern(10)), 1);
  const auto lines = capture.Lines();
  ASSERT_EQ(lines.size(), 2u);
  const auto sent = Sent();
  Frame reply{};
  reply[0] = 0x04;
  reply[3] = 0x03;
  reply[4] = 34;
  const auto pattern = Pattern(34);
  std::copy(pattern.begin(), pattern.end(), reply.begin() + 8);
  EXPECT_EQ(lines[0], "命令\n" + FormatFrameDump(sent[0]));
  const std::string head = "命令\n04 25 00 03   ";  // checksum 0x25 = 3 + 34
  EXPECT_EQ(lines[0].substr(0, head.size()), head);
  EXPECT_EQ(lines[1], "返回\n" + FormatFrameDump(reply));
}

TEST_F(DeviceLinkTest, StrayRepliesAreSkippedOnceThenTaken) {
  device_->SetArea(0x05, Pattern(8, 40));
  std::vector<uint8_t> out(8);

  // One stray answer queued before ours: the second read finds ours.
  device_->SendStrays(1);
  ASSERT_EQ(link_.ReadSettings(out, 0), 1);
  EXPECT_EQ(out, Pattern(8, 40));

  // Two: the second stray is taken as the answer.
  device_->SendStrays(2);
  ASSERT_EQ(link_.ReadSettings(out, 0), 1);
  EXPECT_EQ(out[0], 0xE1);
  // Our own answer is still queued; the next command skips it as a mismatch and reads its own.
  std::array<uint8_t, 34> info{};
  device_->SetArea(0x03, Pattern(34, 90));
  ASSERT_EQ(link_.ReadInfo(info), 1);
  EXPECT_EQ(info[0], Pattern(34, 90)[0]);

  // A light frame takes the first reply whatever it echoes.
  device_->SendStrays(1);
  std::array<uint8_t, 64> reply{};
  uint32_t got = 0;
  Frame light{0x04, 0, 0, 0x12};
  ASSERT_EQ(link_.TransferLightFrame(light, reply, got), 1);
  EXPECT_EQ(reply[3], 0x12 ^ 0x80);
}

TEST_F(DeviceLinkTest, BadStatusStopsTheSequence) {
  device_->StatusOnFrame(1, 0xFF);
  EXPECT_EQ(link_.WriteMacros(Pattern(200)), -102);
  EXPECT_EQ(device_->ReceivedCount(), 2u) << "the third and fourth frames are not sent";

  device_->ClearReceived();  // frame numbers go on counting
  device_->StatusOnFrame(2, 0xFE);
  std::vector<uint8_t> out(120, 0x33);
  EXPECT_EQ(link_.ReadSettings(out, 0), -103);
  EXPECT_EQ(device_->ReceivedCount(), 1u);
  EXPECT_EQ(out[0], 0x33) << "a refused chunk is not copied";

  device_->StatusOnFrame(3, 0xFF);
  EXPECT_EQ(link_.Begin(), -102);
  device_->StatusOnFrame(4, 0xFE);
  EXPECT_EQ(link_.WriteShoot(Pattern(10)), -103);
  device_->StatusOnFrame(5, 0xFE);
  std::array<uint8_t, 6> power{};
  EXPECT_EQ(link_.ReadPower(power), -103);
  device_->StatusOnFrame(6, 0xFF);
  EXPECT_EQ(link_.SendLightFrame(Pattern(100)), -102);
  EXPECT_EQ(device_->ReceivedCount(), 5u) << "the second light chunk is not sent";
  device_->StatusOnFrame(7, 0x01);  // anything else is success
  EXPECT_EQ(link_.StartLightSync(), 1);
}

TEST_F(DeviceLinkTest, ReadTimeOutGivesZeroAndWriteFailureMinusOne) {
  platform::DebugCapture capture;
  device_->AnswerNothing(true);
  const auto started = Clock::now();
  std::vector<uint8_t> out(100);
  EXPECT_EQ(link_.ReadSettings(out, 0), 0);
  const auto waited = Clock::now() - started;
  EXPECT_GE(waited, 1000ms);
  EXPECT_EQ(device_->ReceivedCount(), 1u);
  EXPECT_TRUE(capture.Contains("返回")) << "a failed read is still traced";

  // A device gone while still marked connected: the write fails at once, the reply is not read.
  capture.Clear();
  VirtualHidRegistry::Instance().Unplug(device_);
  EXPECT_EQ(link_.WriteMacros(Pattern(100)), -1);
  EXPECT_EQ(link_.Begin(), -1);
  EXPECT_EQ(link_.SendLightFrame(Pattern(3)), -1);
  EXPECT_TRUE(capture.Contains("命令"));
  EXPECT_FALSE(capture.Contains("返回"));
  EXPECT_EQ(device_->ReceivedCount(), 1u);
}

TEST_F(DeviceLinkTest, SlowLinkWaitsLongerButLightFramesDoNot) {
  device_->AnswerAfter(1300ms);
  std::array<uint8_t, 6> power{};
  EXPECT_EQ(link_.ReadPower(power), 0) << "the answer came after the normal link's time-out";
  std::this_thread::sleep_for(400ms);  // let the late answer arrive and drain it
  uint32_t got = 0;
  std::array<uint8_t, 64> stale{};
  ASSERT_EQ(link_.Hid().ReadReport(64, &got, stale.data(), 0), 1);

  link_.SetSlow(true);
  const auto started = Clock::now();
  EXPECT_EQ(link_.ReadPower(power), 1);
  EXPECT_GE(Clock::now() - started, 1300ms);

  Frame light{0x04, 0, 0, 0x12};
  std::array<uint8_t, 64> reply{};
  EXPECT_EQ(link_.TransferLightFrame(light, reply, got), 0) << "a light frame keeps the normal time-out";
}

TEST_F(DeviceLinkTest, LightFramesAreDroppedDuringACommandOrOnASlowLink) {
  platform::DebugCapture capture;
  // A command waiting for its (late) answer.
  device_->AnswerAfter(300ms);
  auto command = std::async(std::launch::async, [this] { return link_.Begin(); });
  while (!link_.Busy()) std::this_thread::yield();
  EXPECT_EQ(link_.SendLightFrame(Pattern(120)), 1) << "dropped, not queued behind the command";
  EXPECT_EQ(command.get(), 1);
  EXPECT_FALSE(link_.Busy());
  auto sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0][3], 0x01);
  size_t dropped = 0;
  for (const auto& line : capture.Lines()) dropped += line == "放弃灯光数据";
  EXPECT_EQ(dropped, 3u) << "one trace per dropped chunk";

  // Slow link: dropped without a trace.
  device_->AnswerAfter(0ms);
  capture.Clear();
  link_.SetSlow(true);
  EXPECT_EQ(link_.SendLightFrame(Pattern(120)), 1);
  EXPECT_EQ(device_->ReceivedCount(), 1u);
  EXPECT_TRUE(capture.Lines().empty());

  // Otherwise every chunk goes out under command 0x12.
  link_.SetSlow(false);
  const auto colours = Pattern(378, 2);
  EXPECT_EQ(link_.SendLightFrame(colours), 1);
  sent = Sent();
  ASSERT_EQ(sent.size(), 8u);
  EXPECT_EQ(sent[7][3], 0x12);
  EXPECT_EQ(sent[7][4], 378 - 6 * 56);
  EXPECT_EQ(FrameOffset(sent[7]), 336);
  EXPECT_TRUE(Sealed(sent[7]));
  EXPECT_EQ(device_->Area(0x12, 0, 378), colours);
}

// Which lock each command takes: with the command lock held elsewhere only WriteCustomLight,
// SendLightFrame and WriteShoot get through; with the light lock held, everything but the first two.
TEST_F(DeviceLinkTest, EachCommandTakesItsOwnLock) {
  using Op = std::function<int(DeviceLink&)>;
  const std::vector<uint8_t> data(10, 1);
  std::vector<std::pair<Op, bool>> ops = {
      // operation, takes the light lock
      {[](DeviceLink& l) { return l.Begin(); }, false},
      {[&](DeviceLink& l) { return l.WriteSettings(data, 0); }, false},
      {[](DeviceLink& l) { return l.Probe(); }, false},
      {[&](DeviceLink& l) { return l.WriteCustomLight(data, 0); }, true},
      {[&](DeviceLink& l) { return l.SendLightFrame(data); }, true},
      {[&](DeviceLink& l) { return l.WriteShoot(data); }, false},
  };
  for (size_t i = 0; i < ops.size(); ++i) {
    SCOPED_TRACE(i);
    const bool light = ops[i].second;
    const bool none = i == 5;
    for (int hold_light = 0; hold_light < 2; ++hold_light) {
      auto& lock = hold_light ? link_.LightLock() : link_.CommandLock();
      std::unique_lock held(lock);
      auto result = std::async(std::launch::async, [&] { return ops[i].first(link_); });
      const bool should_block = !none && (light == (hold_light == 1));
      const auto status = result.wait_for(should_block ? 150ms : 2000ms);
      EXPECT_EQ(status == std::future_status::ready, !should_block) << "holding light lock: " << hold_light;
      held.unlock();
      EXPECT_EQ(result.get(), 1);
    }
  }
}

// Commands of several threads and light frames at the same time, from a device that answers at once
// and from one that answers a little later: every exchange gets its own answer.
class DeviceLinkStressTest : public DeviceLinkTest, public ::testing::WithParamInterface<int> {};

TEST_P(DeviceLinkStressTest, ConcurrentCommandsAndLightFramesKeepTheirAnswers) {
  device_->AnswerAfter(std::chrono::milliseconds(GetParam()));
  const auto settings = Pattern(4096, 13);
  const auto custom = Pattern(4096, 99);
  device_->SetArea(0x05, settings);
  device_->SetArea(0x0A, custom);
  std::atomic<bool> stop{false};
  std::atomic<int> failures{0};
  std::atomic<int> commands{0};
  std::atomic<int> light_frames{0};

  auto reader = [&](uint8_t command, const std::vector<uint8_t>& expected, uint32_t step) {
    std::vector<uint8_t> out(150);
    for (uint32_t round = 0; !stop.load(); ++round) {
      const uint32_t offset = (round * step) % 3000;
      std::fill(out.begin(), out.end(), 0);
      const int result = command == 0x05 ? link_.ReadSettings(out, offset) : link_.ReadCustomLight(out, 0);
      const uint32_t base = command == 0x05 ? offset : 0;
      if (result != 1 || !std::equal(out.begin(), out.end(), expected.begin() + base)) ++failures;
      ++commands;
    }
  };
  std::vector<std::thread> threads;
  threads.emplace_back(reader, 0x05, std::cref(settings), 37);
  threads.emplace_back(reader, 0x05, std::cref(settings), 101);
  threads.emplace_back(reader, 0x0A, std::cref(custom), 0);
  threads.emplace_back([&] {
    const auto shoot = Pattern(200, 7);
    while (!stop.load()) {
      if (link_.Begin() != 1 || link_.WriteShoot(shoot) != 1 || link_.End() != 1) ++failures;
      commands += 3;
    }
  });
  threads.emplace_back([&] {
    const auto colours = Pattern(21, 5);
    while (!stop.load()) {
      if (link_.SendLightFrame(colours) != 1) ++failures;
      ++light_frames;
    }
  });
  std::this_thread::sleep_for(1200ms);
  stop = true;
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_GT(commands.load(), 50);
  EXPECT_GT(light_frames.load(), 10);
  EXPECT_FALSE(link_.Busy());
  // Nothing left over: each answer was read by the exchange it belonged to.
  std::this_thread::sleep_for(std::chrono::milliseconds(2 * GetParam()));
  uint32_t got = 0;
  std::array<uint8_t, 64> extra{};
  EXPECT_EQ(link_.Hid().ReadReport(64, &got, extra.data(), 0), 0);
}

INSTANTIATE_TEST_SUITE_P(AnswerDelayMs, DeviceLinkStressTest, ::testing::Values(0, 1));

}  // namespace
}  // namespace zrv::device
