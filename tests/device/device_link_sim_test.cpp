// DeviceLink against the firmware models of the simulator: whole command sequences, and the link's
// answer to every fault a model can inject.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "device/device_frame.h"
#include "device/device_link.h"
#include "platform/debug_output.h"
#include "sim/keyboard_model.h"
#include "sim/mouse_model.h"
#include "sim/wireless_mouse_model.h"

namespace zrv::device {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using sim::Area;
using sim::Direction;
using sim::FrameMatch;

std::vector<uint8_t> Pattern(size_t size, uint8_t seed) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 5);
  return bytes;
}

class DeviceLinkSimTest : public ::testing::Test {
 protected:
  DeviceLinkSimTest() : backends_({VirtualHidRegistry::Instance().Backend()}) {}
  ~DeviceLinkSimTest() override {
    link_.SetConnected(false);
    link_.Hid().Close();
    VirtualHidRegistry::Instance().UnplugAll();
  }

  // Plugs the model and attaches the link to its command collection as discovery does.
  void Attach(const std::shared_ptr<sim::FirmwareModel>& model, bool slow = false) {
    model_ = model;
    ASSERT_TRUE(model_->Plug());
    std::lock_guard io(link_.IoLock());
    ASSERT_EQ(link_.Hid().Open(model_->CommandPath(), true, true, true, false), 1);
    link_.SetConnected(true);
    link_.SetSlow(slow);
  }
  size_t Sent(uint8_t command) const { return model_->Log().CountFrames(command); }
  size_t SentTotal() const { return model_->Log().CountCommandFrames(Direction::kToDevice); }

  ScopedHidBackends backends_;
  std::shared_ptr<sim::FirmwareModel> model_;
  DeviceLink link_;
};

TEST_F(DeviceLinkSimTest, KeyboardSessionReadsAndWritesEveryArea) {
  auto keyboard = sim::KeyboardModel::Create({.key_slots = 104});
  Attach(keyboard);

  // What the keyboard does on attach.
  std::array<uint8_t, 34> info{};
  ASSERT_EQ(link_.Begin(), 1);
  ASSERT_EQ(link_.ReadInfo(info), 1);
  EXPECT_EQ(std::vector<uint8_t>(info.begin(), info.end()), keyboard->InfoBlock());
  ASSERT_EQ(info[5], 104);
  ASSERT_EQ(link_.SetDataSize(info[5] * 3u), 1);
  std::vector<uint8_t> defaults(512), leds(512);
  ASSERT_EQ(link_.ReadDefaultKeys(defaults), 1);
  ASSERT_EQ(link_.ReadKeyLedMap(leds), 1);
  ASSERT_EQ(link_.End(), 1);
  const auto factory = keyboard->AreaBytes(Area::kDefaultKeys);
  EXPECT_TRUE(std::equal(defaults.begin(), defaults.begin() + 312, factory.begin()));
  const auto led_map = keyboard->AreaBytes(Area::kKeyLedMap);
  EXPECT_TRUE(std::equal(leds.begin(), leds.begin() + 104, led_map.begin()));
  EXPECT_EQ(Sent(0x07), 6u);  // 5 x 56 + 32
  EXPECT_EQ(Sent(0x1B), 2u);  // 56 + 48
  EXPECT_EQ(keyboard->BeginCount(), 1u);
  EXPECT_EQ(keyboard->EndCount(), 1u);

  // Settings of profile 2, a key table, a custom group, macros, a light frame, light sync.
  const auto record = Pattern(46, 3);
  ASSERT_EQ(link_.WriteSettings(record, 2 * 46), 1);
  EXPECT_EQ(keyboard->SettingsRecord(2), record);
  std::vector<uint8_t> read_back(46);
  ASSERT_EQ(link_.ReadSettings(read_back, 2 * 46), 1);
  EXPECT_EQ(read_back, record);

  const auto table = Pattern(312, 9);
  ASSERT_EQ(link_.WriteKeys(table, 0), 1);
  const auto keys = keyboard->KeyTable();
  EXPECT_TRUE(std::equal(table.begin(), table.end(), keys.begin()));

  const auto group = Pattern(312, 21);
  ASSERT_EQ(link_.WriteCustomLight(group, 3), 1);
  std::vector<uint8_t> group_back(312);
  ASSERT_EQ(link_.ReadCustomLight(group_back, 3), 1);
  EXPECT_EQ(group_back, group);

  const auto macros = Pattern(700, 33);
  ASSERT_EQ(link_.WriteMacros(macros), 1);
  const auto memory = keyboard->AreaBytes(Area::kMacros);
  EXPECT_TRUE(std::equal(macros.begin(), macros.end(), memory.begin()));

  const auto colours = Pattern(126 * 3, 40);
  ASSERT_EQ(link_.SendLightFrame(colours), 1);
  const auto frame = keyboard->LastLightFrame();
  EXPECT_TRUE(std::equal(colours.begin(), colours.end(), frame.begin()));
  EXPECT_EQ(keyboard->LightFrameCount(), 1u);
  ASSERT_EQ(link_.StartLightSync(), 1);
  EXPECT_EQ(keyboard->LightSyncCount(), 1u);

  // The firmware checked every frame's checksum.
  EXPECT_EQ(keyboard->Log().ChecksumErrors(), 0u);
}

TEST_F(DeviceLinkSimTest, MouseShootPowerAndProbe) {
  auto mouse = sim::MouseModel::Create();
  Attach(mouse);
  ASSERT_EQ(link_.SetChunkSize(20), 1);
  const auto shoot = Pattern(57, 1);
  ASSERT_EQ(link_.WriteShoot(shoot), 1);
  const auto frames = mouse->Log().Frames(0x17);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].Length(), 56);
  EXPECT_EQ(frames[1].Length(), 1);
  EXPECT_EQ(frames[1].Offset(), 56);
  const auto memory = mouse->AreaBytes(Area::kShoot);
  EXPECT_TRUE(std::equal(shoot.begin(), shoot.end(), memory.begin()));

  const auto power_bytes = Pattern(6, 80);
  mouse->SetAreaBytes(Area::kPower, 0, power_bytes);
  std::array<uint8_t, 6> power{};
  ASSERT_EQ(link_.ReadPower(power), 1);
  EXPECT_TRUE(std::equal(power.begin(), power.end(), power_bytes.begin()));
  EXPECT_EQ(link_.Probe(), 1);

  // A write past the end of an area is refused by the firmware with status 0xFF.
  const size_t end = mouse->AreaSize(Area::kSettings);
  EXPECT_EQ(link_.WriteSettings(Pattern(4, 0), static_cast<uint32_t>(end)), -102);
}

TEST_F(DeviceLinkSimTest, StatusFaultStopsTheSequenceAtThatFrame) {
  auto keyboard = sim::KeyboardModel::Create();
  Attach(keyboard);
  const auto before = keyboard->KeyTable();
  keyboard->InjectStatus(0xFF, FrameMatch{.command = 0x09, .nth = 4});
  EXPECT_EQ(link_.WriteKeys(Pattern(512, 7), 0), -102);
  EXPECT_EQ(Sent(0x09), 4u) << "frames 5 to 10 are not sent";
  const auto after = keyboard->KeyTable();
  EXPECT_NE(after, before) << "frames already sent stay sent";
  EXPECT_TRUE(std::equal(after.begin() + 168, after.begin() + 224, before.begin() + 168)) << "the refused frame";

  keyboard->InjectStatus(0xFE, FrameMatch{.command = 0x03});
  std::array<uint8_t, 34> info{};
  EXPECT_EQ(link_.ReadInfo(info), -103);
  keyboard->InjectStatus(0xFE, FrameMatch{.command = 0x02});
  EXPECT_EQ(link_.End(), -103);
  keyboard->InjectStatus(0xFF, FrameMatch{.command = 0x12, .nth = 2});
  EXPECT_EQ(link_.SendLightFrame(Pattern(200, 1)), -102);
  EXPECT_EQ(Sent(0x12), 2u);
  EXPECT_EQ(link_.Begin(), 1) << "faults are spent";
}

TEST_F(DeviceLinkSimTest, NoAnswerIsAFailedReadAfterTheTimeOut) {
  auto keyboard = sim::KeyboardModel::Create();
  Attach(keyboard);
  platform::DebugCapture capture;
  keyboard->InjectNoAnswer(FrameMatch{.command = 0x15, .nth = 2});
  const auto started = Clock::now();
  EXPECT_EQ(link_.WriteMacros(Pattern(300, 2)), 0);
  const auto waited = Clock::now() - started;
  EXPECT_GE(waited, 1000ms);
  EXPECT_EQ(Sent(0x15), 2u);
  EXPECT_TRUE(capture.Contains("返回"));
  EXPECT_EQ(link_.Begin(), 1) << "the link works on";
}

TEST_F(DeviceLinkSimTest, LateAnswerWithinAndBeyondTheTimeOut) {
  auto mouse = sim::WirelessMouseModel::Create();
  Attach(mouse);
  std::array<uint8_t, 6> power{};
  mouse->SetAreaBytes(Area::kPower, 0, Pattern(6, 50));

  mouse->InjectLateAnswer(200, FrameMatch{.command = 0x1A});
  EXPECT_EQ(link_.ReadPower(power), 1);
  EXPECT_EQ(power[0], 50);

  // 1200 ms is too late for the normal link. The answer left behind carries the same command: the
  // next ReadPower must not take it for its own.
  mouse->InjectLateAnswer(1200, FrameMatch{.command = 0x1A});
  EXPECT_EQ(link_.ReadPower(power), 0);
  while (mouse->Log().CountFrames(0x1A, Direction::kToHost) < 2) std::this_thread::sleep_for(10ms);
  mouse->SetAreaBytes(Area::kPower, 0, Pattern(6, 70));
  EXPECT_EQ(link_.ReadPower(power), 1);
  EXPECT_EQ(power[0], 70) << "the late answer was taken";
  EXPECT_EQ(link_.Begin(), 1);

  // The slow link waits up to 5000 ms.
  link_.SetSlow(true);
  mouse->InjectLateAnswer(1200, FrameMatch{.command = 0x1A});
  power.fill(0);
  const auto started = Clock::now();
  EXPECT_EQ(link_.ReadPower(power), 1);
  EXPECT_GE(Clock::now() - started, 1200ms);
  EXPECT_EQ(power[0], 70);
}

// Every connection on the node receives the notifications too, and the command link reads only
// while it waits for an answer: what piled up between two commands must not crowd out the answer.
TEST_F(DeviceLinkSimTest, CommandAfterManyQueuedNotifications) {
  auto keyboard = sim::KeyboardModel::Create();
  Attach(keyboard);
  for (unsigned slot = 0; slot < 200; ++slot) keyboard->KeyDown(slot % 104);
  std::array<uint8_t, 34> info{};
  ASSERT_EQ(link_.ReadInfo(info), 1);
  EXPECT_EQ(std::vector<uint8_t>(info.begin(), info.end()), keyboard->InfoBlock());
  for (unsigned slot = 0; slot < 200; ++slot) keyboard->KeyUp(slot % 104);
  EXPECT_EQ(link_.SendLightFrame(Pattern(126 * 3, 1)), 1);
  EXPECT_EQ(keyboard->LightFrameCount(), 1u);
}

TEST_F(DeviceLinkSimTest, WrongEchoes) {
  auto keyboard = sim::KeyboardModel::Create();
  Attach(keyboard);
  const auto record = Pattern(46, 60);
  keyboard->SetAreaBytes(Area::kSettings, 0, record);
  std::vector<uint8_t> out(46);

  // One stray answer: skipped, the real one is read.
  keyboard->InjectWrongEcho(1, FrameMatch{.command = 0x05});
  ASSERT_EQ(link_.ReadSettings(out, 0), 1);
  EXPECT_EQ(out, record);

  // Two: the second stray is taken as the answer.
  keyboard->InjectWrongEcho(2, FrameMatch{.command = 0x05});
  ASSERT_EQ(link_.ReadSettings(std::span(out).first(10), 0), 1);
  EXPECT_EQ(out[0], sim::kStrayMarker + 2);
  // The real answer still queued is skipped by the next command as a mismatch.
  std::array<uint8_t, 34> info{};
  ASSERT_EQ(link_.ReadInfo(info), 1);
  EXPECT_EQ(std::vector<uint8_t>(info.begin(), info.end()), keyboard->InfoBlock());

  // A stray with no real answer behind it: the second read times out.
  keyboard->InjectWrongEcho(1, FrameMatch{.command = 0x01}, false);
  EXPECT_EQ(link_.Begin(), 0);
}

TEST_F(DeviceLinkSimTest, RemovalInTheMiddleOfATransfer) {
  auto keyboard = sim::KeyboardModel::Create();
  Attach(keyboard);
  // Answered, then gone: the next frame cannot be written.
  keyboard->InjectRemoval(FrameMatch{.command = 0x09, .nth = 3});
  EXPECT_EQ(link_.WriteKeys(Pattern(512, 1), 0), -1);
  EXPECT_EQ(keyboard->Log().CountFrames(0x09), 3u);

  // Gone before answering: the read fails at once rather than after the time-out.
  ASSERT_TRUE(keyboard->Plug());
  {
    std::lock_guard io(link_.IoLock());
    ASSERT_EQ(link_.Hid().Open(keyboard->CommandPath(), true, true, true, false), 1);
  }
  // On the slow link a read that waited for the answer would take 5 s; the removal ends it long
  // before, however busy the machine.
  link_.SetSlow(true);
  keyboard->InjectRemoval(FrameMatch{.command = 0x09, .nth = 2}, false);
  const auto started = Clock::now();
  EXPECT_EQ(link_.WriteKeys(Pattern(512, 1), 0), 0);
  EXPECT_LT(Clock::now() - started, 4s);
  link_.SetSlow(false);
  // What discovery does next: disconnected, nothing is tried any more.
  link_.SetConnected(false);
  link_.Hid().Close();
  EXPECT_EQ(link_.Begin(), 0);
}

TEST_F(DeviceLinkSimTest, WirelessMouseProbeAndSlowLink) {
  auto mouse = sim::WirelessMouseModel::Create();
  Attach(mouse, true);
  EXPECT_EQ(link_.Probe(), 1);
  mouse->SetReachable(false);
  EXPECT_EQ(link_.Probe(), 0);
  EXPECT_EQ(link_.Begin(), -102) << "the receiver fails commands for an unreachable mouse";
  mouse->SetReachable(true);
  EXPECT_EQ(link_.Probe(), 1);

  // No light frames over the slow link.
  EXPECT_EQ(link_.SendLightFrame(Pattern(57, 0)), 1);
  EXPECT_EQ(mouse->Log().CountFrames(0x12), 0u);
  link_.SetSlow(false);
  EXPECT_EQ(link_.SendLightFrame(Pattern(57, 0)), 1);
  EXPECT_EQ(mouse->Log().CountFrames(0x12), 2u);

  // Disconnected: not even the probe goes out.
  link_.SetConnected(false);
  const size_t frames = SentTotal();
  EXPECT_EQ(link_.Probe(), 0);
  EXPECT_EQ(SentTotal(), frames);
}

TEST_F(DeviceLinkSimTest, LightFrameDuringALateCommandIsDropped) {
  auto mouse = sim::MouseModel::Create();
  Attach(mouse);
  platform::DebugCapture capture;
  mouse->InjectLateAnswer(300, FrameMatch{.command = 0x01});
  auto begin = std::async(std::launch::async, [this] { return link_.Begin(); });
  while (!link_.Busy()) std::this_thread::yield();
  EXPECT_EQ(link_.SendLightFrame(Pattern(19 * 3, 4)), 1);
  EXPECT_EQ(begin.get(), 1);
  EXPECT_EQ(mouse->LightFrameCount(), 0u);
  EXPECT_EQ(mouse->Log().CountFrames(0x12), 0u);
  EXPECT_TRUE(capture.Contains("放弃灯光数据"));
}

// Several threads at once, each report spending half a millisecond on the bus: commands keep their
// own answers, light frames get through between command sequences, nothing deadlocks.
TEST_F(DeviceLinkSimTest, ThreadsShareTheLinkWithoutMixingAnswers) {
  auto keyboard = sim::KeyboardModel::Create();
  Attach(keyboard);
  keyboard->SetReportLatency(std::chrono::microseconds(500));
  keyboard->Log().SetCapacity(0);
  const auto expected_info = keyboard->InfoBlock();
  const auto group = Pattern(378, 70);
  keyboard->SetAreaBytes(Area::kCustomLight, 378, group);
  const auto factory = keyboard->AreaBytes(Area::kDefaultKeys);
  ASSERT_EQ(link_.SetDataSize(static_cast<uint32_t>(expected_info[5] * 3)), 1);
  ASSERT_LE(link_.DataSize(), factory.size());

  std::atomic<bool> stop{false};
  std::atomic<int> failures{0};
  std::atomic<int> exchanges{0};
  std::vector<std::thread> threads;
  threads.emplace_back([&] {  // the user-interface thread reading tables
    std::array<uint8_t, 34> info{};
    std::vector<uint8_t> keys(link_.DataSize());
    while (!stop.load()) {
      info.fill(0);
      const bool ok =
          link_.Begin() == 1 && link_.ReadInfo(info) == 1 && link_.ReadDefaultKeys(keys) == 1 && link_.End() == 1;
      if (!ok || std::vector<uint8_t>(info.begin(), info.end()) != expected_info ||
          !std::equal(keys.begin(), keys.end(), factory.begin())) {
        ++failures;
      }
      exchanges += 12;
      std::this_thread::sleep_for(3ms);
    }
  });
  threads.emplace_back([&] {  // custom lighting under the light lock
    std::vector<uint8_t> out(378);
    while (!stop.load()) {
      if (link_.ReadCustomLight(out, 1) != 1 || out != group || link_.WriteCustomLight(group, 1) != 1) ++failures;
      std::this_thread::sleep_for(3ms);
      exchanges += 14;
    }
  });
  threads.emplace_back([&] {  // a light thread
    const auto colours = Pattern(126 * 3, 3);
    while (!stop.load()) {
      if (link_.SendLightFrame(colours) != 1) ++failures;
      ++exchanges;
    }
  });
  std::this_thread::sleep_for(2s);
  stop = true;
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_GT(exchanges.load(), 100);
  EXPECT_GT(keyboard->LightFrameCount(), 0u) << "some light frames got through";
  EXPECT_FALSE(link_.Busy());
}

}  // namespace
}  // namespace zrv::device
