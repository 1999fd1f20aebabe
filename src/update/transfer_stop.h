#pragma once
// A stop switch for HTTP transfers: a thread that is shutting down calls Stop() and every transfer
// that uses the switch ends at once, even while it waits for a silent server. The worker threads
// of the update service signal it from their stop event.

#include <atomic>
#include <mutex>
#include <vector>

namespace zrv::update {

class TransferStop {
 public:
  TransferStop() = default;
  TransferStop(const TransferStop&) = delete;
  TransferStop& operator=(const TransferStop&) = delete;

  // Any thread. Transfers started afterwards end at once as well, until Reset().
  void Stop();
  void Reset();
  bool Stopped() const { return stopped_.load(std::memory_order_acquire); }

 private:
  friend class CurlTransfer;
  // The curl multi handles of the transfers running under this switch, woken by Stop().
  void Attach(void* multi);
  void Detach(void* multi);

  std::atomic<bool> stopped_{false};
  std::mutex mutex_;
  std::vector<void*> running_;
};

}  // namespace zrv::update
