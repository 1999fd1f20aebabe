#include "sim/reply_scheduler.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

namespace zrv::sim {
namespace {

using namespace std::chrono_literals;

class Recorder {
 public:
  void Add(std::vector<uint8_t> report) {
    std::lock_guard lock(mutex_);
    got_.push_back(report.at(0));
  }
  std::vector<uint8_t> Got() {
    std::lock_guard lock(mutex_);
    return got_;
  }

 private:
  std::mutex mutex_;
  std::vector<uint8_t> got_;
};

TEST(ReplySchedulerTest, DeliversByDueTimeThenBySchedulingOrder) {
  Recorder recorder;
  ReplyScheduler scheduler([&](std::vector<uint8_t> report) { recorder.Add(std::move(report)); });
  auto now = ReplyScheduler::Clock::now();
  scheduler.Schedule(now + 30ms, {3});
  scheduler.Schedule(now + 10ms, {1});
  scheduler.Schedule(now + 30ms, {4});
  scheduler.Schedule(now + 20ms, {2});
  for (int i = 0; i < 200 && recorder.Got().size() < 4; ++i) std::this_thread::sleep_for(5ms);
  EXPECT_EQ(recorder.Got(), (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(scheduler.Waiting(), 0u);
}

TEST(ReplySchedulerTest, StopDropsWhatWaitsAndRefusesMore) {
  Recorder recorder;
  ReplyScheduler scheduler([&](std::vector<uint8_t> report) { recorder.Add(std::move(report)); });
  scheduler.Schedule(ReplyScheduler::Clock::now() + 10s, {1});
  EXPECT_EQ(scheduler.Waiting(), 1u);
  auto start = std::chrono::steady_clock::now();
  scheduler.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s) << "the timer thread does not sit out its wait";
  scheduler.Schedule(ReplyScheduler::Clock::now(), {2});
  EXPECT_EQ(scheduler.Waiting(), 0u);
  EXPECT_TRUE(recorder.Got().empty());
}

}  // namespace
}  // namespace zrv::sim
