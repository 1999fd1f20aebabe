#include "app/update_worker.h"

#include <QMetaObject>

#include <memory>

#include "platform/debug_output.h"
#include "platform/handover.h"

namespace zrv::app {

UpdateWorker::UpdateWorker(std::string name, update::HttpSettings settings, std::string end_line)
    : settings_(std::move(settings)), end_line_(std::move(end_line)), thread_(std::move(name)) {
  thread_.Start([this](const platform::StopEvent& stop) { Run(stop); });
}

UpdateWorker::~UpdateWorker() {
  // thread_ goes first (declared last) and joins there.
  RequestStop();
}

bool UpdateWorker::Post(Job job) {
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return false;
    jobs_.push_back(std::move(job));
  }
  work_cv_.notify_one();
  return true;
}

void UpdateWorker::RequestStop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    jobs_.clear();
  }
  thread_.RequestStop();
  transfer_stop_.Stop();
  work_cv_.notify_all();
}

bool UpdateWorker::Idle() const {
  std::lock_guard lock(mutex_);
  return !busy_ && jobs_.empty();
}

void UpdateWorker::Run(const platform::StopEvent& stop) {
  update::HttpClient client(settings_, &transfer_stop_);
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      busy_ = false;
      work_cv_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (stopping_) break;
      job = std::move(jobs_.front());
      jobs_.pop_front();
      busy_ = true;
    }
    client.ResetSettings();
    client.settings() = settings_;
    job(client, stop);
  }
  if (!end_line_.empty()) platform::DebugOut(end_line_);
}

std::optional<bool> OnUiThread(QObject* context, const platform::StopEvent& stop, std::function<bool()> call) {
  struct Call {
    explicit Call(const platform::StopEvent& stop) : handover(stop) {}
    platform::Handover handover;
    bool result = false;
  };
  auto shared = std::make_shared<Call>(stop);
  const bool posted = QMetaObject::invokeMethod(
      context,
      [shared, call = std::move(call)] {
        if (!shared->handover.Begin()) return;  // the worker stopped waiting
        shared->result = call();
        shared->handover.Complete();
      },
      Qt::QueuedConnection);
  if (!posted || !shared->handover.Wait()) return std::nullopt;
  return shared->result;
}

}  // namespace zrv::app
