#pragma once
// Delivers reports later, in due-time order, from one timer thread.
//
// Used for late answers and for the per-report latency of a device polled at a fixed interval. The
// thread starts with the first scheduled report and ends in Stop() or the destructor; reports still
// waiting then are dropped. The thread's state is shared with it, so even when the owner goes away on
// that very thread (the delivery callback dropped the last reference), nothing is left dangling.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace zrv::sim {

class ReplyScheduler {
 public:
  using Clock = std::chrono::steady_clock;
  using Deliver = std::function<void(std::vector<uint8_t>)>;

  // deliver runs on the timer thread and must not call Schedule().
  explicit ReplyScheduler(Deliver deliver);
  ~ReplyScheduler();
  ReplyScheduler(const ReplyScheduler&) = delete;
  ReplyScheduler& operator=(const ReplyScheduler&) = delete;

  // Reports due at the same time go out in the order they were scheduled.
  void Schedule(Clock::time_point due, std::vector<uint8_t> report);
  // Drops what is waiting and ends the thread; later Schedule calls are ignored.
  void Stop();
  size_t Waiting() const;

 private:
  struct State {
    std::mutex mutex;
    std::condition_variable wake;
    std::multimap<Clock::time_point, std::vector<uint8_t>> queue;
    bool stop = false;
    Deliver deliver;
  };
  static void Run(std::shared_ptr<State> state);

  std::shared_ptr<State> state_;
  std::mutex thread_mutex_;
  std::thread thread_;
};

}  // namespace zrv::sim
