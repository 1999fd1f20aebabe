// Commands from several host threads at once, with notifications, faults and late answers from
// other threads: every frame is taken whole, and the model stays consistent.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "sim/keyboard_model.h"
#include "sim/sim_ids.h"
#include "sim/sim_test_support.h"

namespace zrv::sim {
namespace {

using namespace std::chrono_literals;

class ConcurrencyTest : public testing::SimTest {};

TEST_F(ConcurrencyTest, HostThreadsNotificationsAndFaultsTogether) {
  auto keyboard = KeyboardModel::Create();
  ASSERT_TRUE(keyboard->Plug());
  keyboard->Log().SetCapacity(1000);

  constexpr int kWriters = 4;
  constexpr int kFramesPerWriter = 1500;
  constexpr size_t kRegion = 56 * 4;
  std::atomic<bool> writers_done{false};
  std::vector<std::thread> threads;
  for (int t = 0; t < kWriters; ++t) {
    threads.emplace_back([&, t] {
      device::HidInterface hid;
      ASSERT_EQ(hid.Open(keyboard->CommandPath(), true, true, true, false), 1);
      for (int i = 0; i < kFramesPerWriter; ++i) {
        std::vector<uint8_t> payload(56, static_cast<uint8_t>(t * 16 + (i % 16)));
        auto offset = static_cast<uint16_t>(t * kRegion + (i % 4) * 56);
        Frame frame = MakeRequest(command::kWriteMacros, 56, offset, payload);
        ASSERT_EQ(hid.WriteReport(kFrameSize, nullptr, frame.data(), 1000), 1);
      }
    });
  }
  // Notifications and host reads of the consumer collection.
  threads.emplace_back([&] {
    device::HidInterface consumer;
    ASSERT_EQ(consumer.Open(keyboard->NotificationPath(), true, false, true, false), 1);
    while (!writers_done.load()) {
      keyboard->PressKey(7);
      uint8_t buffer[8];
      consumer.ReadReport(5, nullptr, buffer, 10);
    }
  });
  // Faults that hit frames of other commands, late answers in flight, memory looked at meanwhile.
  threads.emplace_back([&] {
    device::HidInterface hid;
    ASSERT_EQ(hid.Open(keyboard->CommandPath(), true, true, true, false), 1);
    while (!writers_done.load()) {
      keyboard->InjectLateAnswer(2, {.command = command::kBegin});
      keyboard->InjectStatus(kStatusFailure, {.command = command::kReadSettings});
      Frame begin = MakeRequest(command::kBegin, 0, 0);
      hid.WriteReport(kFrameSize, nullptr, begin.data(), 1000);
      (void)keyboard->AreaBytes(Area::kMacros);
      (void)keyboard->Log().CountFrames(command::kWriteMacros);
      std::this_thread::sleep_for(1ms);
    }
  });
  for (int t = 0; t < kWriters; ++t) threads[static_cast<size_t>(t)].join();
  writers_done.store(true);
  for (size_t t = kWriters; t < threads.size(); ++t) threads[t].join();

  const uint64_t frames = keyboard->FrameCount();
  EXPECT_EQ(frames, uint64_t{kWriters} * kFramesPerWriter + keyboard->BeginCount());
  auto memory = keyboard->AreaBytes(Area::kMacros);
  for (int t = 0; t < kWriters; ++t) {
    // The last four frames of each writer filled its region with values 12..15 of its series.
    for (size_t chunk = 0; chunk < 4; ++chunk) {
      size_t at = t * kRegion + chunk * 56;
      uint8_t expected = static_cast<uint8_t>(t * 16 + ((kFramesPerWriter - 4 + chunk) % 16));
      EXPECT_TRUE(std::all_of(memory.begin() + at, memory.begin() + at + 56, [&](uint8_t b) { return b == expected; }))
          << "writer " << t << " chunk " << chunk;
    }
  }
  EXPECT_EQ(keyboard->Log().ChecksumErrors(), 0u);
}

}  // namespace
}  // namespace zrv::sim
