#include "update/transfer_stop.h"

#include <curl/curl.h>

#include <algorithm>

namespace zrv::update {

void TransferStop::Stop() {
  stopped_.store(true, std::memory_order_release);
  std::lock_guard lock(mutex_);
  // curl_multi_wakeup may be called from any thread; the lock keeps the handles alive meanwhile.
  for (void* multi : running_) curl_multi_wakeup(static_cast<CURLM*>(multi));
}

void TransferStop::Reset() { stopped_.store(false, std::memory_order_release); }

void TransferStop::Attach(void* multi) {
  std::lock_guard lock(mutex_);
  running_.push_back(multi);
}

void TransferStop::Detach(void* multi) {
  std::lock_guard lock(mutex_);
  running_.erase(std::remove(running_.begin(), running_.end(), multi), running_.end());
}

}  // namespace zrv::update
