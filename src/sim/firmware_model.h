#pragma once
// The firmware of a simulated device: the command protocol answered from the device side.
//
// A model is a virtual HID device. Command frames written by the host (report 0x04, 64 bytes) are
// decoded, checked (checksum, length, area bounds) and acted upon in its memory areas; the answer
// echoes the command byte, the length and the offset, carries the status in byte 7 and, for a read,
// the data from byte 8:
//   - reads copy `length` bytes of the command's area from `offset` (bytes past the end read 0);
//   - writes store the payload's `length` bytes at `offset`; a write past the end of its area, a
//     length above 56 or an unknown command is answered with status 0xFF and changes nothing;
//   - Begin / End / StartLightSync are counted; Probe answers byte 8 = 0xFF while reachable.
// Frames are handled one at a time in arrival order, from whichever host thread writes them; tests
// may inject faults, send notifications and inspect memory from other threads at the same time.
//
// Models must be owned by a std::shared_ptr (they unplug themselves for the removal fault and
// deliver late answers through weak references).

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "device/device_tables.h"
#include "device/virtual_hid.h"
#include "sim/command_frame.h"
#include "sim/fault.h"
#include "sim/fault_plan.h"
#include "sim/memory_area.h"
#include "sim/memory_map.h"
#include "sim/reply_scheduler.h"
#include "sim/traffic_log.h"

namespace zrv::sim {

struct ModelIdentity {
  std::string kind_name;  // "keyboard", "mouse", "wireless-mouse", "mousepad", "headset"
  device::DeviceKind kind = device::DeviceKind::kNone;
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  uint16_t version = 0;
  int interface_number = 0;
  std::vector<uint8_t> descriptor;
  // Top-level collections (0-based, descriptor order) of the command link and the notifications.
  size_t command_collection = 0;
  size_t notification_collection = 0;
};

// A model on interface 1 (or another one) with the four collections of report_descriptors.h.
ModelIdentity InterfaceOneIdentity(std::string kind_name, device::DeviceKind kind, uint16_t product_id,
                                   std::vector<uint8_t> descriptor, int interface_number = 1);

// Sizes of the areas that every model has; the information block and the power bytes are fixed.
struct AreaSizes {
  size_t keys = 0;          // key tables written by the host
  size_t custom_light = 0;  // custom lighting groups
  size_t light_frame = 0;   // 3 bytes per LED
  size_t macros = 0;
  size_t shoot = 0;
};

// Where the host finds profile p's settings record when it reads it.
struct SettingsLayout {
  size_t stride = 46;
  size_t record_size = 46;
};

class FirmwareModel : public device::VirtualHidDevice, public std::enable_shared_from_this<FirmwareModel> {
 public:
  ~FirmwareModel() override;
  FirmwareModel(const FirmwareModel&) = delete;
  FirmwareModel& operator=(const FirmwareModel&) = delete;

  // VirtualHidDevice.
  device::HidAttributes Attributes() const override;
  int InterfaceNumber() const override;
  std::vector<uint8_t> ReportDescriptor() const override;
  std::string Name() const override;
  void OnOutputReport(std::span<const uint8_t> report) override;
  bool OnSetReport(device::HidReportType type, std::span<const uint8_t> report) override;

  device::DeviceKind Kind() const { return identity_.kind; }
  const std::string& KindName() const { return identity_.kind_name; }

  // Plugging into the process's virtual HID registry.
  bool Plug();
  void Unplug();
  std::vector<std::string> Paths() const;
  // Path of the collection the host sends commands to / reads notifications from; empty while
  // unplugged. For the headset both are its single collection.
  std::string CommandPath() const;
  std::string NotificationPath() const;

  // Memory, copied out under the lock.
  std::vector<uint8_t> AreaBytes(Area area) const;
  size_t AreaSize(Area area) const;
  // Overwrites bytes of an area; what lies beyond its end is ignored.
  void SetAreaBytes(Area area, size_t offset, std::span<const uint8_t> bytes);
  std::vector<uint8_t> InfoBlock() const;  // the 34 bytes ReadInfo returns
  uint8_t ActiveProfile() const;
  void SetActiveProfile(uint8_t profile);
  std::vector<uint8_t> SettingsRecord(unsigned profile) const;  // as the host reads it
  const SettingsLayout& Settings() const { return settings_layout_; }
  // Key table 0 as written by WriteKeys (initially the factory codes).
  std::vector<uint8_t> KeyTable() const;
  // The light-frame area (0x12): the last frame, 3 bytes per LED.
  std::vector<uint8_t> LastLightFrame() const;
  // Light frames begun (light-frame writes at offset 0).
  uint64_t LightFrameCount() const { return light_frames_.load(); }

  unsigned BeginCount() const { return begins_.load(); }
  unsigned EndCount() const { return ends_.load(); }
  bool InSequence() const { return BeginCount() > EndCount(); }
  unsigned LightSyncCount() const { return light_syncs_.load(); }
  // Command frames taken (including refused ones and unanswered ones).
  uint64_t FrameCount() const { return frames_.load(); }

  // Notifications on the consumer collection.
  void Notify(uint16_t code);
  void KeyDown(unsigned slot) { Notify(static_cast<uint16_t>(0x0500 + (slot & 0xFF))); }
  void KeyUp(unsigned slot) { Notify(static_cast<uint16_t>(0x0600 + (slot & 0xFF))); }
  void PressKey(unsigned slot) {
    KeyDown(slot);
    KeyUp(slot);
  }

  // Fault injection (see fault.h).
  void InjectFault(const Fault& fault);
  void InjectNoAnswer(FrameMatch at = {}, unsigned times = 1);
  void InjectLateAnswer(int delay_ms, FrameMatch at = {}, unsigned times = 1);
  void InjectWrongEcho(int strays, FrameMatch at = {}, bool real_after = true);
  void InjectStatus(uint8_t status, FrameMatch at = {}, unsigned times = 1);
  void InjectRemoval(FrameMatch at, bool answer_first = true);
  void ClearFaults();
  size_t PendingFaults() const;

  // A frame whose checksum is wrong is logged (TrafficLog::ChecksumErrors) and, as by a device,
  // answered with status 0xFF and not acted upon; with rejecting off it is handled as usual.
  void SetRejectBadChecksum(bool reject) { reject_bad_checksum_.store(reject); }
  // Time one report spends on the bus, as with a device polled at a fixed interval (1 ms at 1 kHz):
  // a write returns that long after it was made, and the answer arrives that long after the frame
  // was taken; each direction carries at most one report per interval, so writers from several
  // threads queue up as on a real interrupt endpoint. 0, the default, answers at once from inside
  // the write.
  void SetReportLatency(std::chrono::microseconds latency) { latency_us_.store(latency.count()); }

  TrafficLog& Log() { return log_; }
  const TrafficLog& Log() const { return log_; }

 protected:
  FirmwareModel(ModelIdentity identity, SettingsLayout settings_layout);

  // What the firmware does with a command before looking at it (the wireless receiver drops or
  // fails commands while its mouse is out of reach).
  enum class Gate { kProcess, kNoAnswer, kFail };
  virtual Gate GateCommand(uint8_t /*command*/) const { return Gate::kProcess; }
  virtual uint8_t ProbeAnswer() const { return kProbeReachable; }
  // Output reports other than command frames (the headset's light reports); true when taken.
  virtual bool OnOtherOutputReport(std::span<const uint8_t> /*report*/) { return false; }

  // For derived constructors and setters: the areas, guarded by Lock().
  std::unique_lock<std::mutex> Lock() const { return std::unique_lock(mutex_); }
  MemoryArea& AreaLocked(Area area) { return areas_[Index(area)]; }
  const MemoryArea& AreaLocked(Area area) const { return areas_[Index(area)]; }
  // Common set-up of a derived constructor, under Lock(): the information block's own bytes
  // (layout, firmware version, kind, profile count, LED count), the area sizes, the settings area
  // and the power bytes.
  void InitLocked(uint8_t profiles, uint8_t leds, const AreaSizes& sizes, std::vector<uint8_t> settings,
                  std::span<const uint8_t> power);

  // Delivers an input report to the host (and logs it).
  void Deliver(std::vector<uint8_t> report);

 private:
  struct Outcome {
    Frame reply{};
    bool acted = false;
  };
  // Acts on one frame under the lock and builds its answer.
  Outcome Execute(const Frame& request, uint8_t forced_status, bool has_forced_status);
  void HandleCommandFrame(std::span<const uint8_t> report);
  void SendReply(const Frame& reply, const FrameFate& fate);
  void RemoveSelf();

  const ModelIdentity identity_;
  const SettingsLayout settings_layout_;

  mutable std::mutex mutex_;  // areas, faults and the order of answers
  MemoryArea areas_[kAreaCount];
  FaultPlan faults_;

  std::atomic<unsigned> begins_{0};
  std::atomic<unsigned> ends_{0};
  std::atomic<unsigned> light_syncs_{0};
  std::atomic<uint64_t> light_frames_{0};
  std::atomic<uint64_t> frames_{0};
  std::atomic<bool> reject_bad_checksum_{true};
  std::atomic<int64_t> latency_us_{0};

  // Bus slots of the report latency: when the last output report was taken (guarded by
  // bus_mutex_) and when the last answer is due (guarded by mutex_).
  std::mutex bus_mutex_;
  ReplyScheduler::Clock::time_point output_slot_{};
  ReplyScheduler::Clock::time_point input_slot_{};

  TrafficLog log_;
  ReplyScheduler scheduler_;
};

}  // namespace zrv::sim
