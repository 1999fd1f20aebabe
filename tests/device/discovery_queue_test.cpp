#include "device/discovery_queue.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "platform/handover.h"

namespace zrv::device {
namespace {

using namespace std::chrono_literals;

TEST(DiscoveryQueue, TheSenderWaitsUntilTheReceiverCompletes) {
  platform::StopEvent stop;
  DiscoveryQueue queue;
  std::atomic<bool> handled{false};
  auto sender = std::async(std::launch::async, [&] {
    auto handover = std::make_shared<platform::Handover>(stop);
    queue.Send(DiscoveryMessage::kDeviceAdd, 5, handover);
    const bool done = handover->Wait();
    return done && handled.load();  // the handler has run before Wait returns
  });
  auto entry = queue.ProcessNext(
      [&](DiscoveryMessage message, size_t index) {
        EXPECT_EQ(message, DiscoveryMessage::kDeviceAdd);
        EXPECT_EQ(index, 5u);
        handled.store(true);
      },
      5s);
  ASSERT_TRUE(entry);
  EXPECT_TRUE(sender.get());
}

TEST(DiscoveryQueue, AStopAbandonsAMessageTheReceiverSkipsLater) {
  platform::StopEvent stop;
  DiscoveryQueue queue;
  auto handover = std::make_shared<platform::Handover>(stop);
  queue.Send(DiscoveryMessage::kDeviceRemove, 1, handover);
  auto sender = std::async(std::launch::async, [&] { return handover->Wait(); });
  EXPECT_EQ(sender.wait_for(50ms), std::future_status::timeout);
  stop.Set();
  EXPECT_FALSE(sender.get());
  EXPECT_TRUE(handover->Abandoned());

  // The receiver takes the abandoned message later without handling it.
  bool called = false;
  auto entry = queue.ProcessNext([&](DiscoveryMessage, size_t) { called = true; }, 1s);
  ASSERT_TRUE(entry);
  EXPECT_FALSE(called);
  EXPECT_EQ(queue.Pending(), 0u);
}

TEST(DiscoveryQueue, FirstScanDoneIsPostedWithoutHandover) {
  DiscoveryQueue queue;
  queue.PostFirstScanDone();
  int calls = 0;
  auto entry = queue.ProcessNext(
      [&](DiscoveryMessage message, size_t) {
        EXPECT_EQ(message, DiscoveryMessage::kFirstScanDone);
        ++calls;
      },
      1s);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->handover, nullptr);
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(queue.ProcessNext(nullptr, 1ms));
}

}  // namespace
}  // namespace zrv::device
