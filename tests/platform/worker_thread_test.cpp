#include "platform/worker_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>

#include "platform/debug_output.h"
#include "platform/handover.h"

namespace zrv::platform {
namespace {

using namespace std::chrono_literals;

TEST(StopEvent, ManualResetWakesSleepersAndStaysSet) {
  StopEvent stop;
  EXPECT_FALSE(stop.WaitUntil(std::chrono::steady_clock::now() + 1ms));
  auto sleeper = std::async(std::launch::async, [&] { return stop.WaitUntil(std::chrono::steady_clock::now() + 60s); });
  stop.Set();
  EXPECT_TRUE(sleeper.get());
  EXPECT_TRUE(stop.IsSet());
  EXPECT_TRUE(stop.WaitUntil(std::chrono::steady_clock::now()));  // stays set
  stop.Reset();
  EXPECT_FALSE(stop.IsSet());
}

// A nudge ends a sleep without stopping; one that came after the count was taken ends the next
// sleep at once (it is not lost), and a sleep without a count does not see nudges.
TEST(StopEvent, ANudgeEndsTheSleepItWasCountedForWithoutSettingTheEvent) {
  StopEvent stop;
  const auto far = [] { return std::chrono::steady_clock::now() + 60s; };
  uint64_t seen = stop.Nudges();
  auto sleeper = std::async(std::launch::async, [&] { return stop.WaitUntil(far(), seen); });
  stop.Nudge();
  EXPECT_FALSE(sleeper.get());
  EXPECT_FALSE(stop.IsSet());
  seen = stop.Nudges();
  stop.Nudge();  // before the sleep begins
  EXPECT_FALSE(stop.WaitUntil(far(), seen));
  EXPECT_FALSE(stop.WaitUntil(std::chrono::steady_clock::now() + 20ms)) << "the plain sleep runs to its deadline";
  stop.Set();
  EXPECT_TRUE(stop.WaitUntil(far(), stop.Nudges()));
}

// A body that sleeps on its stop event between deadlines ends at the stop, not at its deadline.
TEST(WorkerThread, DeadlineSleepEndsAtTheStopAndTheThreadCanRunAgain) {
  WorkerThread worker("test worker");
  std::atomic<int> runs{0};
  auto body = [&runs](const StopEvent& stop) {
    ++runs;
    while (!stop.WaitUntil(StopEvent::Clock::now() + 1h)) {}
  };
  ASSERT_TRUE(worker.Start(body));
  EXPECT_FALSE(worker.Start(body)) << "one run at a time";
  EXPECT_TRUE(worker.Running());
  EXPECT_TRUE(worker.StopAndWait(60s));
  EXPECT_FALSE(worker.Running());
  ASSERT_TRUE(worker.Start(body)) << "the stop event is reset for the next run";
  EXPECT_TRUE(worker.StopAndWait(60s));
  EXPECT_EQ(runs.load(), 2);
}

// A body that ignores the stop for a while is reported, stays joinable and is joined by the next
// start once it has ended; it is never killed.
TEST(WorkerThread, AnOverrunIsReportedAndJoinedLater) {
  DebugCapture capture;
  StopEvent release;
  WorkerThread worker("slow worker");
  ASSERT_TRUE(worker.Start([&release](const StopEvent&) { release.WaitUntil(StopEvent::Clock::now() + 1h); }));
  EXPECT_FALSE(worker.StopAndWait(1ms));
  EXPECT_TRUE(capture.Contains("slow worker: not ended 1 ms after the stop; joined later"));
  EXPECT_TRUE(worker.Running());
  EXPECT_FALSE(worker.Start([](const StopEvent&) {})) << "refused while the overrunning body runs";
  release.Set();
  EXPECT_TRUE(worker.WaitForEnd(60s));
  EXPECT_TRUE(worker.Start([](const StopEvent&) {}));
}

// A body that takes up new work after a stop clears the stop event and goes on; the next stop
// without new work ends it.
TEST(WorkerThread, ABodyThatClearsTheStopTakesAnotherTurn) {
  WorkerThread worker("turns");
  std::mutex mutex;
  bool more_work = false;  // guarded by mutex, as the stop requests
  std::atomic<int> turns{0};
  std::promise<void> second_turn;
  ASSERT_TRUE(worker.Start([&](const StopEvent& stop) {
    for (;;) {
      if (++turns == 2) second_turn.set_value();
      stop.WaitUntil(StopEvent::Clock::time_point::max());
      std::lock_guard lock(mutex);
      if (!more_work) return;
      more_work = false;
      worker.ClearStop();
    }
  }));
  {
    std::lock_guard lock(mutex);
    more_work = true;
    worker.RequestStop();
  }
  second_turn.get_future().wait();
  EXPECT_TRUE(worker.Running());
  {
    std::lock_guard lock(mutex);
    worker.RequestStop();
  }
  EXPECT_TRUE(worker.WaitForEnd(60s));
  EXPECT_EQ(turns.load(), 2);
}

TEST(WorkerThread, NothingStartedCountsAsEnded) {
  WorkerThread worker("idle");
  EXPECT_FALSE(worker.Running());
  EXPECT_TRUE(worker.WaitForEnd(0ms));
  EXPECT_TRUE(worker.StopAndWait(0ms));
}

// A worker handing a message to a receiver that never takes it leaves as soon as it is stopped;
// a receiver that comes later skips the abandoned message.
TEST(Handover, TheSenderGivesUpAtTheStopAndTheReceiverSkipsTheMessage) {
  WorkerThread worker("sender");
  auto handover = std::make_shared<Handover>(worker.Stop());
  std::atomic<bool> delivered{true};
  ASSERT_TRUE(worker.Start([handover, &delivered](const StopEvent&) { delivered = handover->Wait(); }));
  EXPECT_TRUE(worker.StopAndWait(60s));
  EXPECT_FALSE(delivered.load());
  EXPECT_TRUE(handover->Abandoned());
  EXPECT_FALSE(handover->Begin());
}

TEST(Handover, AHandledMessageReleasesTheSender) {
  WorkerThread worker("sender");
  auto handover = std::make_shared<Handover>(worker.Stop());
  std::atomic<bool> delivered{false};
  ASSERT_TRUE(worker.Start([handover, &delivered](const StopEvent&) { delivered = handover->Wait(); }));
  ASSERT_TRUE(handover->Begin());
  handover->Complete();
  EXPECT_TRUE(worker.WaitForEnd(60s));
  EXPECT_TRUE(delivered.load());
}

TEST(Handover, StopWhileTheHandlerRunsLetsTheSenderGo) {
  StopEvent stop;
  auto handover = std::make_shared<Handover>(stop);
  ASSERT_TRUE(handover->Begin());
  auto sender = std::async(std::launch::async, [&] { return handover->Wait(); });
  stop.Set();
  EXPECT_FALSE(sender.get());
  handover->Complete();  // the handler ends afterwards; nothing waits for it any more
  EXPECT_TRUE(handover->Abandoned());
  EXPECT_FALSE(handover->Begin());
}

TEST(Handover, AlreadyStoppedSenderDoesNotWait) {
  StopEvent stop;
  stop.Set();
  Handover handover(stop);
  EXPECT_FALSE(handover.Wait());
}

}  // namespace
}  // namespace zrv::platform
