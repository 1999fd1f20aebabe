#pragma once
// UpdateWorker: one thread of the update service. It runs the jobs handed to it one after
// another and sleeps while it has none (no polling); each job gets the thread's own HttpClient,
// whose transfers the stop cuts short at once. The main window's background check and the
// settings window's check, download and install threads are each one of these.
//
// Jobs never touch controls: they hand their results to the UI thread with queued calls
// (QMetaObject::invokeMethod on a QObject of the UI thread), or wait for it through OnUiThread.

#include <QObject>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "app/worker_slots.h"
#include "platform/worker_thread.h"
#include "update/http_client.h"
#include "update/http_settings.h"
#include "update/transfer_stop.h"

namespace zrv::app {

class UpdateWorker : public SlotWorker {
 public:
  using Job = std::function<void(update::HttpClient& client, const platform::StopEvent& stop)>;

  // Starts the thread. `name` names it on the debug output; `end_line`, when not empty, is
  // written there when the thread ends.
  explicit UpdateWorker(std::string name, update::HttpSettings settings = update::DefaultHttpSettings(),
                        std::string end_line = {});
  // Stops and joins, however long the running job takes to notice.
  ~UpdateWorker() override;
  UpdateWorker(const UpdateWorker&) = delete;
  UpdateWorker& operator=(const UpdateWorker&) = delete;

  // Queues a job; false (the job is dropped) once a stop was requested.
  bool Post(Job job);
  // Sets the stop event, cuts the running transfer short and drops the jobs not yet begun.
  void RequestStop() override;
  bool WaitForEnd(std::chrono::milliseconds timeout) override { return thread_.WaitForEnd(timeout); }
  // RequestStop, then waits at most `limit`; an overrun is reported and the thread kept joinable.
  bool StopAndWait(std::chrono::milliseconds limit) {
    RequestStop();
    return thread_.StopAndWait(limit);
  }
  // True while no job runs or waits (tests).
  bool Idle() const;

 private:
  void Run(const platform::StopEvent& stop);

  const update::HttpSettings settings_;
  const std::string end_line_;
  update::TransferStop transfer_stop_;
  mutable std::mutex mutex_;
  std::condition_variable work_cv_;
  std::deque<Job> jobs_;   // guarded by mutex_
  bool stopping_ = false;  // guarded by mutex_
  bool busy_ = false;      // guarded by mutex_
  // Last: the thread ends (destructor) before what it uses goes.
  platform::WorkerThread thread_;
};

// Runs `call` on the thread of `context` and waits for its answer; nothing when the stop event
// was set first (the call is then abandoned, or still runs on its own) or `context` went away.
std::optional<bool> OnUiThread(QObject* context, const platform::StopEvent& stop, std::function<bool()> call);

}  // namespace zrv::app
