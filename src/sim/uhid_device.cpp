#include "sim/uhid_device.h"

#include <linux/uhid.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <span>
#include <vector>

#include "platform/debug_output.h"
#include "sim/uhid_channel.h"

namespace zrv::sim {
namespace {

constexpr uint16_t kBusUsb = 0x03;

std::atomic<unsigned> g_device_counter{0};

std::string MakePhys(int interface_number) {
  std::string phys = "usb-zrv31-uhid-" + std::to_string(::getpid()) + "." + std::to_string(++g_device_counter);
  if (interface_number >= 0) phys += "/input" + std::to_string(interface_number);
  return phys;
}

template <size_t N>
void CopyText(uint8_t (&field)[N], const std::string& text) {
  const size_t n = std::min(text.size(), N - 1);  // the kernel wants it terminated
  std::memcpy(field, text.data(), n);
}

device::HidReportType ReportType(uint8_t rtype) {
  switch (rtype) {
    case UHID_FEATURE_REPORT: return device::HidReportType::kFeature;
    case UHID_OUTPUT_REPORT: return device::HidReportType::kOutput;
    default: return device::HidReportType::kInput;
  }
}

}  // namespace

std::unique_ptr<UhidDevice> UhidDevice::Create(std::shared_ptr<device::VirtualHidDevice> model, std::string& error,
                                               const UhidOptions& options) {
  error.clear();
  if (!model) {
    error = "no device to plug";
    return nullptr;
  }
  if (model->IsPlugged()) {
    // Its input reports can go one way only.
    error = model->Name() + " is plugged already";
    return nullptr;
  }
  const std::vector<uint8_t> descriptor = model->ReportDescriptor();
  if (descriptor.empty() || descriptor.size() > HID_MAX_DESCRIPTOR_SIZE) {
    error = "report descriptor of " + std::to_string(descriptor.size()) + " bytes cannot be plugged";
    return nullptr;
  }
  // Listen before creating: the node's arrival must not slip past.
  device::KernelUevents uevents;
  auto channel = UhidChannel::Open(options.uhid_path, error);
  if (!channel) return nullptr;
  const int stop_fd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (stop_fd < 0) {
    error = std::string("eventfd: ") + std::strerror(errno);
    return nullptr;
  }
  std::unique_ptr<UhidDevice> device(new UhidDevice(model, channel, stop_fd, MakePhys(model->InterfaceNumber())));

  const device::HidAttributes attributes = model->Attributes();
  auto event = std::make_unique<uhid_event>();
  *event = uhid_event{};
  event->type = UHID_CREATE2;
  auto& create = event->u.create2;
  CopyText(create.name, model->Name());
  CopyText(create.phys, device->phys_);
  create.rd_size = static_cast<uint16_t>(descriptor.size());
  create.bus = kBusUsb;
  create.vendor = attributes.vendor_id;
  create.product = attributes.product_id;
  create.version = attributes.version;
  create.country = 0;
  std::memcpy(create.rd_data, descriptor.data(), descriptor.size());
  if (!channel->Write(*event)) {
    error = std::string("UHID_CREATE2 refused: ") + std::strerror(errno);
    device->plugged_.store(false);
    channel->Close(false);
    return nullptr;
  }
  // Serve the kernel from now on: it may ask for reports while it probes the device.
  device->thread_ = std::thread(&UhidDevice::Run, device.get());

  auto found = WaitForHidDevice(uevents, options.sysfs_root, options.dev_root, device->phys_, options.ready_timeout);
  if (!found) {
    error = "the kernel showed no hidraw node for " + model->Name() + " within " +
            std::to_string(options.ready_timeout.count()) + " ms";
    device->Unplug();
    return nullptr;
  }
  device->kernel_ = *found;
  model->SetInputReportSink(channel->InputSink());
  platform::DebugPrintf("uhid: %s plugged as %s (%s)", model->Name().c_str(), found->hid_name.c_str(),
                        found->node.c_str());
  return device;
}

UhidDevice::UhidDevice(std::shared_ptr<device::VirtualHidDevice> model, std::shared_ptr<UhidChannel> channel,
                       int stop_fd, std::string phys)
    : model_(std::move(model)), channel_(std::move(channel)), stop_fd_(stop_fd), phys_(std::move(phys)) {}

UhidDevice::~UhidDevice() {
  Unplug();
  ::close(stop_fd_);
}

void UhidDevice::Unplug() {
  if (!plugged_.exchange(false)) return;
  model_->SetInputReportSink(nullptr);
  if (thread_.joinable()) {
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(stop_fd_, &one, sizeof one);
    thread_.join();
  }
  // Destroying removes the node and its sysfs entries before the write returns; handles still open
  // on the node fail from then on, and a host waiting for a report answer is woken.
  channel_->Close(true);
  if (!kernel_.hid_name.empty()) platform::DebugPrintf("uhid: %s unplugged", kernel_.hid_name.c_str());
}

void UhidDevice::Run() {
  auto event = std::make_unique<uhid_event>();
  const int fd = channel_->ReadFd();
  for (;;) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {stop_fd_, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      platform::DebugPrintf("uhid: poll failed: %s", std::strerror(errno));
      return;
    }
    if (fds[1].revents != 0) return;
    if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) return;
    if ((fds[0].revents & POLLIN) == 0) continue;
    ssize_t n = ::read(fd, event.get(), sizeof *event);
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      platform::DebugPrintf("uhid: read failed: %s", std::strerror(errno));
      return;
    }
    if (n < static_cast<ssize_t>(sizeof event->type)) continue;
    HandleEvent(*event);
  }
}

void UhidDevice::HandleEvent(const uhid_event& event) {
  switch (event.type) {
    case UHID_OPEN: ++open_count_; break;
    case UHID_CLOSE: --open_count_; break;
    case UHID_OUTPUT: {
      const auto& output = event.u.output;
      std::span<const uint8_t> report(output.data, std::min<size_t>(output.size, UHID_DATA_MAX));
      if (output.rtype == UHID_OUTPUT_REPORT) {
        model_->OnOutputReport(report);
      } else {
        model_->OnSetReport(ReportType(output.rtype), report);
      }
      // Counted once the model has it: a reader that saw the count also sees the report.
      ++output_reports_;
      break;
    }
    case UHID_GET_REPORT: {
      const auto& request = event.u.get_report;
      ++get_reports_;
      std::vector<uint8_t> report;
      bool ok = model_->OnGetReport(ReportType(request.rtype), request.rnum, report) && report.size() <= UHID_DATA_MAX;
      auto reply = std::make_unique<uhid_event>();
      *reply = uhid_event{};
      reply->type = UHID_GET_REPORT_REPLY;
      reply->u.get_report_reply.id = request.id;
      reply->u.get_report_reply.err = ok ? 0 : EIO;
      if (ok) {
        reply->u.get_report_reply.size = static_cast<uint16_t>(report.size());
        std::copy(report.begin(), report.end(), reply->u.get_report_reply.data);
      }
      channel_->Write(*reply, offsetof(uhid_event, u.get_report_reply.data) + (ok ? report.size() : 0));
      break;
    }
    case UHID_SET_REPORT: {
      const auto& request = event.u.set_report;
      ++set_reports_;
      std::span<const uint8_t> report(request.data, std::min<size_t>(request.size, UHID_DATA_MAX));
      bool ok = model_->OnSetReport(ReportType(request.rtype), report);
      uhid_event reply{};
      reply.type = UHID_SET_REPORT_REPLY;
      reply.u.set_report_reply.id = request.id;
      reply.u.set_report_reply.err = ok ? 0 : EIO;
      channel_->Write(reply, UhidEventSize<uhid_set_report_reply_req>());
      break;
    }
    default:  // UHID_START, UHID_STOP: nothing to do
      break;
  }
}

}  // namespace zrv::sim
