#include "sim/firmware_model.h"

#include <algorithm>
#include <thread>

#include "sim/report_descriptors.h"
#include "sim/sim_ids.h"

namespace zrv::sim {
namespace {

bool IsFailure(uint8_t status) { return status == kStatusFailure || status == kStatusFailureAlt; }

}  // namespace

ModelIdentity InterfaceOneIdentity(std::string kind_name, device::DeviceKind kind, uint16_t product_id,
                                   std::vector<uint8_t> descriptor, int interface_number) {
  return ModelIdentity{.kind_name = std::move(kind_name),
                       .kind = kind,
                       .vendor_id = kVendorId,
                       .product_id = product_id,
                       .version = kFirmwareVersion,
                       .interface_number = interface_number,
                       .descriptor = std::move(descriptor),
                       .command_collection = kCommandCollection - 1,
                       .notification_collection = kNotificationCollection - 1};
}

FirmwareModel::FirmwareModel(ModelIdentity identity, SettingsLayout settings_layout)
    : identity_(std::move(identity)),
      settings_layout_(settings_layout),
      scheduler_([this](std::vector<uint8_t> report) {
        // Runs on the timer thread; the model may be on its way out, so hold it while delivering.
        if (auto self = weak_from_this().lock()) self->Deliver(std::move(report));
      }) {
  areas_[Index(Area::kInfo)].Resize(kInfoBlockSize);
  areas_[Index(Area::kPower)].Resize(kPowerSize);
}

FirmwareModel::~FirmwareModel() { scheduler_.Stop(); }

void FirmwareModel::InitLocked(uint8_t profiles, uint8_t leds, const AreaSizes& sizes, std::vector<uint8_t> settings,
                               std::span<const uint8_t> power) {
  auto& info = AreaLocked(Area::kInfo).Bytes();
  info[0] = 0x01;  // block layout
  info[1] = static_cast<uint8_t>(identity_.version);
  info[2] = static_cast<uint8_t>(identity_.version >> 8);
  info[3] = static_cast<uint8_t>(device::KindNumber(identity_.kind));
  info[4] = profiles;
  info[7] = leds;
  AreaLocked(Area::kKeys).Resize(sizes.keys);
  AreaLocked(Area::kCustomLight).Resize(sizes.custom_light);
  AreaLocked(Area::kLightFrame).Resize(sizes.light_frame);
  AreaLocked(Area::kMacros).Resize(sizes.macros);
  AreaLocked(Area::kShoot).Resize(sizes.shoot);
  AreaLocked(Area::kSettings).Bytes() = std::move(settings);
  AreaLocked(Area::kPower).Write(0, power.first(std::min(power.size(), kPowerSize)));
}

device::HidAttributes FirmwareModel::Attributes() const {
  return {identity_.vendor_id, identity_.product_id, identity_.version};
}

int FirmwareModel::InterfaceNumber() const { return identity_.interface_number; }

std::vector<uint8_t> FirmwareModel::ReportDescriptor() const { return identity_.descriptor; }

std::string FirmwareModel::Name() const { return "simulated " + identity_.kind_name; }

bool FirmwareModel::Plug() { return device::VirtualHidRegistry::Instance().Plug(shared_from_this()) != 0; }

void FirmwareModel::Unplug() { device::VirtualHidRegistry::Instance().Unplug(shared_from_this()); }

std::vector<std::string> FirmwareModel::Paths() const {
  auto self = std::const_pointer_cast<FirmwareModel>(shared_from_this());
  return device::VirtualHidRegistry::Instance().PathsOf(self);
}

std::string FirmwareModel::CommandPath() const {
  auto paths = Paths();
  return identity_.command_collection < paths.size() ? paths[identity_.command_collection] : std::string();
}

std::string FirmwareModel::NotificationPath() const {
  auto paths = Paths();
  return identity_.notification_collection < paths.size() ? paths[identity_.notification_collection] : std::string();
}

// ---------------------------------------------------------------------------------------------
// Memory access for tests.

std::vector<uint8_t> FirmwareModel::AreaBytes(Area area) const {
  auto lock = Lock();
  return AreaLocked(area).Bytes();
}

size_t FirmwareModel::AreaSize(Area area) const {
  auto lock = Lock();
  return AreaLocked(area).Size();
}

void FirmwareModel::SetAreaBytes(Area area, size_t offset, std::span<const uint8_t> bytes) {
  auto lock = Lock();
  auto& target = AreaLocked(area).Bytes();
  for (size_t i = 0; i < bytes.size() && offset + i < target.size(); ++i) target[offset + i] = bytes[i];
}

std::vector<uint8_t> FirmwareModel::InfoBlock() const {
  auto lock = Lock();
  std::vector<uint8_t> out(kInfoBlockSize);
  AreaLocked(Area::kInfo).Read(0, out);
  return out;
}

uint8_t FirmwareModel::ActiveProfile() const {
  auto lock = Lock();
  const auto& bytes = AreaLocked(Area::kSettings).Bytes();
  return bytes.empty() ? 0 : bytes[0];
}

void FirmwareModel::SetActiveProfile(uint8_t profile) {
  auto lock = Lock();
  auto& bytes = AreaLocked(Area::kSettings).Bytes();
  if (!bytes.empty()) bytes[0] = profile;
}

std::vector<uint8_t> FirmwareModel::SettingsRecord(unsigned profile) const {
  auto lock = Lock();
  std::vector<uint8_t> out(settings_layout_.record_size);
  AreaLocked(Area::kSettings).Read(profile * settings_layout_.stride, out);
  return out;
}

std::vector<uint8_t> FirmwareModel::KeyTable() const {
  auto lock = Lock();
  std::vector<uint8_t> out(AreaLocked(Area::kDefaultKeys).Size());
  AreaLocked(Area::kKeys).Read(0, out);
  return out;
}

std::vector<uint8_t> FirmwareModel::LastLightFrame() const { return AreaBytes(Area::kLightFrame); }

// ---------------------------------------------------------------------------------------------
// Faults.

void FirmwareModel::InjectFault(const Fault& fault) {
  auto lock = Lock();
  faults_.Add(fault);
}

void FirmwareModel::InjectNoAnswer(FrameMatch at, unsigned times) {
  InjectFault(Fault{.kind = FaultKind::kNoAnswer, .at = at, .times = times});
}

void FirmwareModel::InjectLateAnswer(int delay_ms, FrameMatch at, unsigned times) {
  InjectFault(Fault{.kind = FaultKind::kLateAnswer, .at = at, .times = times, .delay_ms = delay_ms});
}

void FirmwareModel::InjectWrongEcho(int strays, FrameMatch at, bool real_after) {
  InjectFault(Fault{.kind = FaultKind::kWrongEcho, .at = at, .wrong_echoes = strays, .real_after = real_after});
}

void FirmwareModel::InjectStatus(uint8_t status, FrameMatch at, unsigned times) {
  InjectFault(Fault{.kind = FaultKind::kStatus, .at = at, .times = times, .status = status});
}

void FirmwareModel::InjectRemoval(FrameMatch at, bool answer_first) {
  InjectFault(Fault{.kind = FaultKind::kRemove, .at = at, .answer_first = answer_first});
}

void FirmwareModel::ClearFaults() {
  auto lock = Lock();
  faults_.Clear();
}

size_t FirmwareModel::PendingFaults() const {
  auto lock = Lock();
  return faults_.PendingCount();
}

// ---------------------------------------------------------------------------------------------
// Reports.

void FirmwareModel::Notify(uint16_t code) { Deliver(NotificationReport(code)); }

void FirmwareModel::Deliver(std::vector<uint8_t> report) {
  if (!IsPlugged()) return;
  log_.Add(Direction::kToHost, report);
  SendInputReport(report);
}

bool FirmwareModel::OnSetReport(device::HidReportType type, std::span<const uint8_t> report) {
  if (type != device::HidReportType::kOutput) return false;
  OnOutputReport(report);
  return true;
}

void FirmwareModel::OnOutputReport(std::span<const uint8_t> report) {
  if (report.size() == kFrameSize && report[0] == kCommandReportId) {
    HandleCommandFrame(report);
    return;
  }
  log_.Add(Direction::kToDevice, std::vector<uint8_t>(report.begin(), report.end()));
  OnOtherOutputReport(report);
}

void FirmwareModel::HandleCommandFrame(std::span<const uint8_t> report) {
  const auto latency = std::chrono::microseconds(latency_us_.load());
  if (latency.count() > 0) {
    // The frame waits on the bus for the device's next poll, behind the frames already waiting.
    ReplyScheduler::Clock::time_point due;
    {
      std::lock_guard bus(bus_mutex_);
      due = std::max(ReplyScheduler::Clock::now(), output_slot_) + latency;
      output_slot_ = due;
    }
    std::this_thread::sleep_until(due);
  }

  Frame request;
  std::copy_n(report.begin(), kFrameSize, request.begin());
  const bool checksum_ok = ChecksumMatches(request);
  const uint8_t id = request[kFrameCommand];

  std::unique_lock lock(mutex_);
  ++frames_;
  log_.Add(Direction::kToDevice, std::vector<uint8_t>(request.begin(), request.end()), checksum_ok);
  FrameFate fate = faults_.Next(id);

  bool forced = false;
  uint8_t forced_status = 0;
  switch (GateCommand(id)) {
    case Gate::kProcess: break;
    case Gate::kNoAnswer:
      fate.answer = false;
      forced = true;
      forced_status = kStatusFailure;  // nothing is acted upon
      break;
    case Gate::kFail:
      forced = true;
      forced_status = kStatusFailure;
      break;
  }
  if (!checksum_ok && reject_bad_checksum_.load()) {
    forced = true;
    forced_status = kStatusFailure;
  }
  if (fate.status_override && !forced) {
    forced = true;
    forced_status = fate.status;
  }
  // A device that vanishes before answering never gets to act on the frame either.
  if (fate.remove && !fate.remove_after_answer) {
    fate.answer = false;
    forced = true;
    forced_status = kStatusFailure;
  }

  Outcome outcome = Execute(request, forced_status, forced);
  if (fate.answer) SendReply(outcome.reply, fate);
  lock.unlock();

  if (fate.remove) RemoveSelf();
}

FirmwareModel::Outcome FirmwareModel::Execute(const Frame& request, uint8_t forced_status, bool has_forced_status) {
  Outcome outcome;
  Frame& reply = outcome.reply;
  reply = request;
  const uint8_t id = request[kFrameCommand];
  const size_t length = request[kFrameLength];
  const size_t offset = FrameOffset(request);

  uint8_t status = kStatusOk;
  if (has_forced_status && IsFailure(forced_status)) {
    status = forced_status;
  } else {
    outcome.acted = true;
    std::span<uint8_t> payload(reply.data() + kPayloadOffset, kMaxPayload);
    switch (id) {
      case command::kBegin: ++begins_; break;
      case command::kEnd: ++ends_; break;
      case command::kStartLightSync: ++light_syncs_; break;
      case command::kProbe:
        std::fill(payload.begin(), payload.end(), 0);
        payload[0] = ProbeAnswer();
        break;
      default: {
        auto binding = BindingOf(id);
        if (!binding || length > kMaxPayload) {
          status = kStatusFailure;
          outcome.acted = false;
          break;
        }
        MemoryArea& area = areas_[Index(binding->area)];
        if (binding->write) {
          if (!area.Write(offset, std::span<const uint8_t>(request.data() + kPayloadOffset, length))) {
            status = kStatusFailure;
            outcome.acted = false;
          } else if (id == command::kSendLightFrame && offset == 0) {
            ++light_frames_;
          }
        } else {
          std::fill(payload.begin(), payload.end(), 0);
          area.Read(offset, payload.first(length));
        }
        break;
      }
    }
    if (has_forced_status) status = forced_status;
  }
  reply[kFrameStatus] = status;
  SealFrame(reply);
  return outcome;
}

void FirmwareModel::SendReply(const Frame& reply, const FrameFate& fate) {
  const auto latency = std::chrono::microseconds(latency_us_.load());
  const auto late = std::chrono::milliseconds(fate.delay_ms);
  auto emit = [&](const Frame& frame) {
    std::vector<uint8_t> bytes(frame.begin(), frame.end());
    if (latency.count() <= 0 && late.count() <= 0) {
      Deliver(std::move(bytes));  // under the lock: answers leave in the order frames came
      return;
    }
    auto due = ReplyScheduler::Clock::now() + late;
    if (latency.count() > 0) {
      due = std::max(due, input_slot_) + latency;
      input_slot_ = due;
    }
    scheduler_.Schedule(due, std::move(bytes));
  };
  const uint8_t id = reply[kFrameCommand];
  for (int i = 1; i <= fate.wrong_echoes; ++i) {
    Frame stray = reply;
    stray[kFrameCommand] = id == kStrayCommand ? kStrayCommandAlt : kStrayCommand;
    stray[kFrameStatus] = kStatusOk;
    std::fill(stray.begin() + kPayloadOffset, stray.end(), static_cast<uint8_t>(kStrayMarker + i));
    SealFrame(stray);
    emit(stray);
  }
  if (fate.wrong_echoes == 0 || fate.real_after_strays) emit(reply);
}

void FirmwareModel::RemoveSelf() {
  if (auto self = weak_from_this().lock()) device::VirtualHidRegistry::Instance().Unplug(self);
}

}  // namespace zrv::sim
