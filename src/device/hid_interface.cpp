#include "device/hid_interface.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>

#include "device/hid_path.h"

namespace zrv::device {
namespace {

using Clock = std::chrono::steady_clock;

// Reports up to this size are staged on the stack; larger ones (rare) on the heap.
constexpr size_t kStackReportSize = 512;

class ReportScratch {
 public:
  explicit ReportScratch(size_t size) : size_(size) {
    if (size > stack_.size()) heap_.resize(size);
  }
  uint8_t* data() { return heap_.empty() ? stack_.data() : heap_.data(); }
  size_t size() const { return size_; }

 private:
  std::array<uint8_t, kStackReportSize> stack_;
  std::vector<uint8_t> heap_;
  size_t size_;
};

std::shared_ptr<HidBackend> BackendFor(std::string_view path) {
  for (auto& backend : HidBackends()) {
    if (backend->Handles(path)) return backend;
  }
  return nullptr;
}

// Milliseconds left until deadline for a bounded wait, never negative; -1 for an unbounded one.
int RemainingMs(bool bounded, Clock::time_point deadline) {
  if (!bounded) return -1;
  auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

const HidCapability* FindValueCap(const HidCollectionInfo& collection, HidReportType type, const HidDataItem& item) {
  for (const auto& cap : collection.value_caps[Index(type)]) {
    if (cap.usage_page == item.usage_page && cap.report_id == item.report_id && item.usage >= cap.usage_min &&
        item.usage <= cap.usage_max) {
      return &cap;
    }
  }
  return nullptr;
}

}  // namespace

std::vector<HidDataItem> BuildDataItems(const HidCollectionInfo& collection, HidReportType type) {
  // Sized by what a report can carry, not by the usage ranges a descriptor claims: the parser keeps
  // both totals bounded.
  const auto& button_caps = collection.button_caps[Index(type)];
  const auto& value_caps = collection.value_caps[Index(type)];
  const std::vector<uint32_t> capacities = UsageListCapacities(collection, type);
  size_t count = button_caps.size();
  for (const auto& cap : value_caps) count += ValueUsageCount(cap);
  std::vector<HidDataItem> items;
  items.reserve(count);
  for (size_t i = 0; i < button_caps.size(); ++i) {
    const HidCapability& cap = button_caps[i];
    HidDataItem item;
    item.is_button = true;
    item.usage_page = cap.usage_page;
    item.report_id = cap.report_id;
    item.usage_min = cap.usage_min;
    item.usage_max = cap.usage_max;
    item.max_usage_length = capacities[i];
    item.usages.assign(item.max_usage_length, 0);
    items.push_back(std::move(item));
  }
  for (const auto& cap : value_caps) {
    // One item per usage that has a field: usages of a range beyond its report count have none.
    const uint32_t usages = ValueUsageCount(cap);
    for (uint32_t k = 0; k < usages; ++k) {
      HidDataItem item;
      item.status = kHidStatusSuccess;
      item.usage_page = cap.usage_page;
      item.report_id = cap.report_id;
      item.usage = static_cast<uint16_t>(cap.usage_min + k);
      items.push_back(std::move(item));
    }
  }
  return items;
}

bool UnpackInputReport(std::vector<HidDataItem>& items, std::span<const uint8_t> report, HidReportType type,
                       const HidCollectionInfo& collection) {
  if (report.empty()) return true;
  const uint8_t report_id = report[0];
  // Every usage of a page that is active in this report, decoded once per page.
  struct PageUsages {
    uint16_t page = 0;
    bool decoded = false;
    std::vector<uint16_t> usages;
  };
  std::vector<PageUsages> pages;
  const auto usages_of = [&](uint16_t page) -> const PageUsages& {
    for (const auto& known : pages) {
      if (known.page == page) return known;
    }
    PageUsages& added = pages.emplace_back();
    added.page = page;
    for (const auto& cap : collection.button_caps[Index(type)]) {
      if (cap.usage_page == page && cap.report_id == report_id) {
        added.decoded = GetButtonUsages(cap, report, added.usages) || added.decoded;
      }
    }
    return added;
  };
  for (auto& item : items) {
    if (item.report_id != report_id) continue;
    if (item.is_button) {
      // The page's active usages, then only those in the item's range, as many as its list holds.
      const PageUsages& page = usages_of(item.usage_page);
      item.status = page.decoded ? kHidStatusSuccess : kHidStatusIncompatibleReportId;
      size_t kept = 0;
      for (uint16_t usage : page.usages) {
        if (kept >= item.usages.size()) break;
        if (usage < item.usage_min || usage > item.usage_max) continue;
        item.usages[kept++] = usage;
      }
      if (kept < item.usages.size()) item.usages[kept] = 0;
    } else {
      const HidCapability* cap = FindValueCap(collection, type, item);
      uint32_t raw = 0;
      if (cap == nullptr || !GetUsageValue(*cap, item.usage, report, raw)) {
        item.status = cap == nullptr ? kHidStatusUsageNotFound : kHidStatusIncompatibleReportId;
        return false;
      }
      item.raw_value = raw;
      int32_t scaled = 0;
      if (GetScaledUsageValue(*cap, item.usage, report, scaled)) {
        item.scaled_value = scaled;
        item.status = kHidStatusSuccess;
      } else {
        item.status = kHidStatusBadLogPhyValues;
      }
    }
    item.is_set = true;
  }
  return true;
}

HidInterface::HidInterface() : cancel_fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

HidInterface::~HidInterface() {
  {
    std::unique_lock lock(mutex_);
    CloseLocked(lock);
  }
  FreePaths();
  if (cancel_fd_ >= 0) ::close(cancel_fd_);
}

int HidInterface::EnumeratePaths() {
  FreePaths();
  std::vector<std::string> found;
  for (auto& backend : HidBackends()) {
    if (!backend->Enumerate(found)) return 0;  // a partial list is no list
  }
  paths_ = std::move(found);
  return 1;
}

std::optional<std::string> HidInterface::NextPath() {
  if (next_path_ >= paths_.size()) return std::nullopt;
  return paths_[next_path_++];
}

void HidInterface::FreePaths() {
  paths_.clear();
  paths_.shrink_to_fit();
  next_path_ = 0;
}

int HidInterface::Open(std::string_view path, bool read, bool write, bool overlapped, bool exclusive) {
  std::unique_lock lock(mutex_);
  CloseLocked(lock);
  read_access_ = read;
  write_access_ = write;
  overlapped_ = overlapped;
  exclusive_ = exclusive;
  // A path longer than the path buffer could not have been stored whole: refuse it.
  if (path.size() > kMaxPathLength) {
    path_.clear();
    return 0;
  }
  path_ = std::string(path);

  auto backend = BackendFor(path);
  if (!backend || cancel_fd_ < 0) return 0;
  HidOpenFlags flags{read, write, overlapped, exclusive};
  std::shared_ptr<HidConnection> connection = backend->Open(path, flags);
  if (!connection) return 0;

  attributes_ = connection->Attributes();
  const HidReportDescriptor& descriptor = connection->Descriptor();
  if (connection->CollectionIndex() >= descriptor.collections.size()) {
    // Without access a presence check needs no capabilities; with access they are required.
    if (read || write) {
      attributes_ = {};
      return 0;
    }
  } else {
    caps_ = descriptor.collections[connection->CollectionIndex()];
    uses_report_ids_ = descriptor.uses_report_ids;
    // Reports of every collection of the node arrive on this handle; size the scratch for the largest.
    raw_read_size_ = 1;
    for (const auto& collection : descriptor.collections) {
      raw_read_size_ = std::max<size_t>(raw_read_size_, collection.report_byte_length[Index(HidReportType::kInput)]);
    }
    input_buffer_.assign(caps_.report_byte_length[Index(HidReportType::kInput)], 0);
    input_items_ = BuildDataItems(caps_, HidReportType::kInput);
  }
  interface_number_ = PathInterfaceNumber(path);
  collection_number_ = PathCollectionNumber(path);
  connection_ = std::move(connection);
  return 1;
}

int HidInterface::Reopen() {
  std::string path = path_;
  return Open(path, read_access_, write_access_, overlapped_, exclusive_);
}

void HidInterface::Close() {
  std::unique_lock lock(mutex_);
  CloseLocked(lock);
}

bool HidInterface::IsOpen() const {
  std::lock_guard lock(mutex_);
  return connection_ != nullptr;
}

void HidInterface::CloseLocked(std::unique_lock<std::mutex>& lock) {
  if (active_transfers_ > 0) {
    // Wake every waiting transfer, then wait until each has left the connection for good.
    closing_ = true;
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(cancel_fd_, &one, sizeof one);
    transfers_ended_.wait(lock, [this] { return active_transfers_ == 0; });
    uint64_t drained = 0;
    n = ::read(cancel_fd_, &drained, sizeof drained);
    closing_ = false;
  }
  connection_.reset();
  ClearCapabilities();
}

void HidInterface::ClearCapabilities() {
  attributes_ = {};
  caps_ = {};
  uses_report_ids_ = false;
  raw_read_size_ = 0;
  input_buffer_.clear();
  input_items_.clear();
  interface_number_ = 0;
  collection_number_ = 0;
}

std::shared_ptr<HidConnection> HidInterface::BeginTransfer(std::atomic<bool>& flag) {
  std::lock_guard lock(mutex_);
  if (!connection_ || closing_) return nullptr;
  // Set under the lock with the count: a transfer seen in progress is one that Close or Open
  // wakes and waits for, never one that starts afterwards on the next connection.
  flag.store(true);
  ++active_transfers_;
  return connection_;
}

void HidInterface::EndTransfer(std::atomic<bool>& flag) {
  // The flag goes first: a Close woken below must find the transfer over in every respect.
  flag.store(false);
  // Notified under the lock: a Close that wakes up, finds no transfer left and lets its owner
  // destroy the interface must not take the condition variable away while it is being notified.
  std::lock_guard lock(mutex_);
  --active_transfers_;
  transfers_ended_.notify_all();
}

int HidInterface::ReadReport(uint32_t length, uint32_t* transferred, uint8_t* buffer, int timeout_ms) {
  if (transferred != nullptr) *transferred = 0;
  auto connection = BeginTransfer(read_in_progress_);
  if (!connection) return 0;
  // Open and Close wait for this transfer before touching the capabilities, so they are stable here.
  const bool bounded = timeout_ms >= 0;
  const auto deadline = Clock::now() + std::chrono::milliseconds(bounded ? timeout_ms : 0);
  const size_t id_offset = uses_report_ids_ ? 0 : 1;
  ReportScratch scratch(raw_read_size_ + 1);
  int result = 0;
  for (;;) {
    size_t got = 0;
    HidIoResult io = connection->ReadRaw(std::span<uint8_t>(scratch.data() + id_offset, scratch.size() - id_offset),
                                         got, RemainingMs(bounded, deadline), cancel_fd_);
    if (io != HidIoResult::kOk) break;
    if (id_offset == 1) {
      scratch.data()[0] = 0;  // unnumbered reports read as report 0
      ++got;
    }
    if (got == 0 || !caps_.HasReport(HidReportType::kInput, scratch.data()[0])) {
      // Another collection's report: not ours to deliver. Wait on within the same time-out.
      if (bounded && RemainingMs(true, deadline) == 0) break;
      continue;
    }
    size_t n = std::min<size_t>(got, length);
    if (buffer != nullptr && n > 0) std::memcpy(buffer, scratch.data(), n);
    if (transferred != nullptr) *transferred = static_cast<uint32_t>(n);
    result = 1;
    break;
  }
  EndTransfer(read_in_progress_);
  return result;
}

size_t HidInterface::DiscardInput(size_t max_reports) {
  auto connection = BeginTransfer(read_in_progress_);
  if (!connection) return 0;
  ReportScratch scratch(raw_read_size_ + 1);
  size_t dropped = 0;
  size_t got = 0;
  while (dropped < max_reports && connection->ReadRaw(std::span<uint8_t>(scratch.data(), scratch.size()), got, 0,
                                                      cancel_fd_) == HidIoResult::kOk) {
    ++dropped;
  }
  EndTransfer(read_in_progress_);
  return dropped;
}

int HidInterface::WriteReport(uint32_t length, uint32_t* transferred, const uint8_t* buffer, int timeout_ms) {
  if (transferred != nullptr) *transferred = 0;
  auto connection = BeginTransfer(write_in_progress_);
  if (!connection) return 0;
  int result = 0;
  const uint16_t report_length =
      (buffer != nullptr && length > 0) ? caps_.ReportLength(HidReportType::kOutput, buffer[0]) : 0;
  if (report_length != 0 && length <= report_length) {
    ReportScratch scratch(report_length);
    std::memcpy(scratch.data(), buffer, length);
    std::memset(scratch.data() + length, 0, report_length - length);
    size_t sent = 0;
    if (connection->WriteRaw(std::span<const uint8_t>(scratch.data(), report_length), sent, timeout_ms, cancel_fd_) ==
        HidIoResult::kOk) {
      if (transferred != nullptr) *transferred = static_cast<uint32_t>(sent);
      result = 1;
    }
  }
  EndTransfer(write_in_progress_);
  return result;
}

bool HidInterface::UnpackInputReport() { return UnpackInputReport(input_buffer_); }

bool HidInterface::UnpackInputReport(std::span<const uint8_t> report) {
  return zrv::device::UnpackInputReport(input_items_, report, HidReportType::kInput, caps_);
}

}  // namespace zrv::device
