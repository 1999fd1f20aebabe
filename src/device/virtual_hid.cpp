#include "device/virtual_hid.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <map>

#include "device/hid_path.h"

namespace zrv::device {

class VirtualHidConnection;

// What a plugged device shares with the connections open on it. Outlives the plug while
// connections still hold it; after removal every transfer on it fails.
class VirtualHidNode {
 public:
  VirtualHidNode(uint64_t number, std::shared_ptr<VirtualHidDevice> device, HidReportDescriptor descriptor)
      : number_(number),
        device_(std::move(device)),
        attributes_(device_->Attributes()),
        interface_number_(device_->InterfaceNumber()),
        descriptor_(std::move(descriptor)) {
    for (size_t i = 0; i < descriptor_.collections.size(); ++i) {
      int collection = descriptor_.collections.size() > 1 ? static_cast<int>(i) + 1 : 0;
      paths_.push_back(std::string(kVirtualPathPrefix) + std::to_string(number_) + "#" +
                       FormatPathTokens(attributes_.vendor_id, attributes_.product_id, interface_number_, collection));
    }
  }

  uint64_t Number() const { return number_; }
  const std::vector<std::string>& Paths() const { return paths_; }
  const HidAttributes& Attributes() const { return attributes_; }
  const HidReportDescriptor& Descriptor() const { return descriptor_; }
  const std::shared_ptr<VirtualHidDevice>& Device() const { return device_; }

  bool Gone() const { return gone_.load(); }
  void Remove();
  void Deliver(std::span<const uint8_t> report);
  void Attach(VirtualHidConnection* connection);
  void Detach(VirtualHidConnection* connection);

 private:
  const uint64_t number_;
  const std::shared_ptr<VirtualHidDevice> device_;
  const HidAttributes attributes_;
  const int interface_number_;
  const HidReportDescriptor descriptor_;
  std::vector<std::string> paths_;
  std::atomic<bool> gone_{false};
  std::mutex mutex_;  // guards connections_ and every connection's queue
  std::vector<VirtualHidConnection*> connections_;
  friend class VirtualHidConnection;
};

namespace {

using Clock = std::chrono::steady_clock;

// Each open hidraw file keeps at most 64 unread reports and drops newer ones when full.
constexpr size_t kQueueLimit = 64;

void Signal(int fd) {
  uint64_t one = 1;
  [[maybe_unused]] ssize_t n = ::write(fd, &one, sizeof one);
}

void Drain(int fd) {
  uint64_t value = 0;
  [[maybe_unused]] ssize_t n = ::read(fd, &value, sizeof value);
}

bool Readable(int fd) {
  pollfd p{fd, POLLIN, 0};
  return ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN) != 0;
}

}  // namespace

class VirtualHidConnection : public HidConnection {
 public:
  VirtualHidConnection(std::shared_ptr<VirtualHidNode> node, size_t collection_index, HidOpenFlags flags)
      : node_(std::move(node)),
        collection_index_(collection_index),
        flags_(flags),
        event_fd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    node_->Attach(this);
  }
  ~VirtualHidConnection() override {
    node_->Detach(this);
    if (event_fd_ >= 0) ::close(event_fd_);
  }

  bool Valid() const { return event_fd_ >= 0; }

  const HidAttributes& Attributes() const override { return node_->Attributes(); }
  const HidReportDescriptor& Descriptor() const override { return node_->Descriptor(); }
  size_t CollectionIndex() const override { return collection_index_; }

  HidIoResult ReadRaw(std::span<uint8_t> buffer, size_t& transferred, int timeout_ms, int cancel_fd) override {
    transferred = 0;
    if (!flags_.read) return HidIoResult::kFailed;
    const bool bounded = timeout_ms >= 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(bounded ? timeout_ms : 0);
    for (;;) {
      if (cancel_fd >= 0 && Readable(cancel_fd)) return HidIoResult::kCancelled;
      {
        std::lock_guard lock(node_->mutex_);
        if (!queue_.empty()) {
          const auto& report = queue_.front();
          transferred = std::min(report.size(), buffer.size());
          std::memcpy(buffer.data(), report.data(), transferred);
          queue_.pop_front();
          if (queue_.empty()) Drain(event_fd_);
          return HidIoResult::kOk;
        }
        if (node_->Gone()) return HidIoResult::kFailed;
      }
      int wait_ms = -1;
      if (bounded) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return HidIoResult::kTimeout;
        wait_ms = static_cast<int>(left);
      }
      pollfd fds[2] = {{event_fd_, POLLIN, 0}, {cancel_fd, POLLIN, 0}};
      int n = ::poll(fds, cancel_fd >= 0 ? 2 : 1, wait_ms);
      if (n < 0 && errno != EINTR) return HidIoResult::kFailed;
    }
  }

  HidIoResult WriteRaw(std::span<const uint8_t> report, size_t& transferred, int /*timeout_ms*/,
                       int cancel_fd) override {
    transferred = 0;
    if (!flags_.write || node_->Gone()) return HidIoResult::kFailed;
    if (cancel_fd >= 0 && Readable(cancel_fd)) return HidIoResult::kCancelled;
    // The device takes the report at once, as the kernel takes an output report into its queue.
    node_->Device()->OnOutputReport(report);
    transferred = report.size();
    return HidIoResult::kOk;
  }

  // Called with the node's mutex held.
  void Push(std::span<const uint8_t> report) {
    if (queue_.size() >= kQueueLimit) return;
    queue_.emplace_back(report.begin(), report.end());
    if (queue_.size() == 1) Signal(event_fd_);
  }
  void Wake() { Signal(event_fd_); }

 private:
  const std::shared_ptr<VirtualHidNode> node_;
  const size_t collection_index_;
  const HidOpenFlags flags_;
  const int event_fd_;
  std::deque<std::vector<uint8_t>> queue_;  // guarded by the node's mutex
};

void VirtualHidNode::Remove() {
  std::lock_guard lock(mutex_);
  gone_.store(true);
  for (auto* connection : connections_) connection->Wake();
}

void VirtualHidNode::Deliver(std::span<const uint8_t> report) {
  std::lock_guard lock(mutex_);
  if (gone_.load()) return;
  for (auto* connection : connections_) connection->Push(report);
}

void VirtualHidNode::Attach(VirtualHidConnection* connection) {
  std::lock_guard lock(mutex_);
  connections_.push_back(connection);
}

void VirtualHidNode::Detach(VirtualHidConnection* connection) {
  std::lock_guard lock(mutex_);
  connections_.erase(std::remove(connections_.begin(), connections_.end(), connection), connections_.end());
}

// ---------------------------------------------------------------------------------------------

VirtualHidDevice::~VirtualHidDevice() = default;

bool VirtualHidDevice::OnGetReport(HidReportType, uint8_t, std::vector<uint8_t>&) { return false; }

bool VirtualHidDevice::OnSetReport(HidReportType, std::span<const uint8_t>) { return false; }

void VirtualHidDevice::SendInputReport(std::span<const uint8_t> report) {
  std::shared_ptr<VirtualHidNode> node;
  std::shared_ptr<InputReportSink> sink;
  {
    std::lock_guard lock(node_mutex_);
    node = node_;
    sink = sink_;
  }
  if (sink) {
    sink->OnInputReport(report);
  } else if (node) {
    node->Deliver(report);
  }
}

bool VirtualHidDevice::IsPlugged() const {
  std::lock_guard lock(node_mutex_);
  return node_ != nullptr || sink_ != nullptr;
}

void VirtualHidDevice::SetInputReportSink(std::shared_ptr<InputReportSink> sink) {
  std::lock_guard lock(node_mutex_);
  sink_ = std::move(sink);
}

// ---------------------------------------------------------------------------------------------

struct VirtualHidRegistry::State {
  std::mutex mutex;
  uint64_t last_number = 0;
  std::map<uint64_t, std::shared_ptr<VirtualHidNode>> nodes;  // plug order = number order

  std::shared_ptr<VirtualHidNode> Find(uint64_t number) {
    std::lock_guard lock(mutex);
    auto it = nodes.find(number);
    return it == nodes.end() ? nullptr : it->second;
  }
};

namespace {

class VirtualHidBackend : public HidBackend {
 public:
  explicit VirtualHidBackend(std::weak_ptr<VirtualHidRegistry::State> state) : state_(std::move(state)) {}

  bool Handles(std::string_view path) const override { return path.starts_with(kVirtualPathPrefix); }

  bool Enumerate(std::vector<std::string>& paths) override;
  std::unique_ptr<HidConnection> Open(std::string_view path, const HidOpenFlags& flags) override;

 private:
  std::weak_ptr<VirtualHidRegistry::State> state_;
};

}  // namespace

VirtualHidRegistry& VirtualHidRegistry::Instance() {
  static VirtualHidRegistry registry;
  return registry;
}

VirtualHidRegistry::VirtualHidRegistry() : state_(std::make_shared<State>()) {}

uint64_t VirtualHidRegistry::Plug(const std::shared_ptr<VirtualHidDevice>& device) {
  if (!device) return 0;
  {
    std::lock_guard lock(device->node_mutex_);
    if (device->node_) return device->node_->Number();
  }
  HidReportDescriptor descriptor;
  std::string error;
  std::vector<uint8_t> bytes = device->ReportDescriptor();
  if (!ParseReportDescriptor(bytes, descriptor, error) || descriptor.collections.empty()) return 0;

  std::lock_guard lock(state_->mutex);
  auto node = std::make_shared<VirtualHidNode>(++state_->last_number, device, std::move(descriptor));
  {
    std::lock_guard device_lock(device->node_mutex_);
    device->node_ = node;
  }
  state_->nodes.emplace(node->Number(), node);
  return node->Number();
}

void VirtualHidRegistry::Unplug(const std::shared_ptr<VirtualHidDevice>& device) {
  if (!device) return;
  std::shared_ptr<VirtualHidNode> node;
  {
    std::lock_guard device_lock(device->node_mutex_);
    node = std::move(device->node_);
    device->node_.reset();
  }
  if (!node) return;
  {
    std::lock_guard lock(state_->mutex);
    state_->nodes.erase(node->Number());
  }
  node->Remove();
}

void VirtualHidRegistry::UnplugAll() {
  std::vector<std::shared_ptr<VirtualHidDevice>> devices;
  {
    std::lock_guard lock(state_->mutex);
    for (auto& [number, node] : state_->nodes) devices.push_back(node->Device());
  }
  for (auto& device : devices) Unplug(device);
}

std::vector<std::string> VirtualHidRegistry::PathsOf(const std::shared_ptr<VirtualHidDevice>& device) const {
  if (!device) return {};
  std::lock_guard lock(device->node_mutex_);
  return device->node_ ? device->node_->Paths() : std::vector<std::string>{};
}

std::shared_ptr<HidBackend> VirtualHidRegistry::Backend() { return std::make_shared<VirtualHidBackend>(state_); }

bool VirtualHidBackend::Enumerate(std::vector<std::string>& paths) {
  auto state = state_.lock();
  if (!state) return true;
  std::lock_guard lock(state->mutex);
  for (const auto& [number, node] : state->nodes) {
    paths.insert(paths.end(), node->Paths().begin(), node->Paths().end());
  }
  return true;
}

std::unique_ptr<HidConnection> VirtualHidBackend::Open(std::string_view path, const HidOpenFlags& flags) {
  auto state = state_.lock();
  if (!state || !Handles(path)) return nullptr;
  std::string_view rest = path.substr(std::char_traits<char>::length(kVirtualPathPrefix));
  uint64_t number = 0;
  size_t digits = 0;
  while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9' && digits < 19) {
    number = number * 10 + static_cast<uint64_t>(rest[digits] - '0');
    ++digits;
  }
  if (digits == 0) return nullptr;
  auto node = state->Find(number);
  if (!node || node->Gone()) return nullptr;
  const auto& paths = node->Paths();
  auto it = std::find(paths.begin(), paths.end(), path);
  if (it == paths.end()) return nullptr;
  auto connection = std::make_unique<VirtualHidConnection>(node, static_cast<size_t>(it - paths.begin()), flags);
  if (!connection->Valid()) return nullptr;
  return connection;
}

}  // namespace zrv::device
