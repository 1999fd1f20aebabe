#include "device/discovery_queue.h"

namespace zrv::device {

void DiscoveryQueue::Send(DiscoveryMessage message, size_t index, std::shared_ptr<platform::Handover> handover) {
  {
    std::lock_guard lock(mutex_);
    entries_.push_back({message, index, std::move(handover)});
  }
  arrived_.notify_all();
}

void DiscoveryQueue::PostFirstScanDone() {
  {
    std::lock_guard lock(mutex_);
    entries_.push_back({DiscoveryMessage::kFirstScanDone, 0, nullptr});
  }
  arrived_.notify_all();
}

std::optional<DiscoveryQueue::Entry> DiscoveryQueue::Take(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  if (!arrived_.wait_for(lock, timeout, [this] { return !entries_.empty(); })) return std::nullopt;
  Entry entry = std::move(entries_.front());
  entries_.pop_front();
  return entry;
}

std::optional<DiscoveryQueue::Entry> DiscoveryQueue::ProcessNext(const Handler& handler,
                                                                 std::chrono::milliseconds timeout) {
  std::optional<Entry> entry = Take(timeout);
  if (!entry) return std::nullopt;
  if (!entry->handover) {
    if (handler) handler(entry->message, entry->index);
  } else if (entry->handover->Begin()) {
    if (handler) handler(entry->message, entry->index);
    entry->handover->Complete();
  }
  return entry;
}

size_t DiscoveryQueue::Pending() const {
  std::lock_guard lock(mutex_);
  return entries_.size();
}

}  // namespace zrv::device
