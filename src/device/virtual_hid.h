#pragma once
// In-process HID devices that the enumerator and HidInterface reach exactly like hidraw nodes.
//
// A device publishes its identity and report descriptor, receives the output reports written to
// it, and delivers input reports to every connection open on it (each connection gets its own
// copy, as every open hidraw file does). Plugging gives the device paths "virtual:<n>#<tokens>",
// one per top-level collection; <n> is new for every plug, so a device plugged again has new paths.

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "device/hid_backend.h"

namespace zrv::device {

inline constexpr const char* kVirtualPathPrefix = "virtual:";

class VirtualHidNode;  // the plugged state shared with the connections

// Takes a device's input reports in place of the registry's connections: a bridge that plugs the
// device somewhere else (the kernel, through /dev/uhid) sets one. Called from any thread.
class InputReportSink {
 public:
  virtual ~InputReportSink() = default;
  virtual void OnInputReport(std::span<const uint8_t> report) = 0;
};

class VirtualHidDevice {
 public:
  virtual ~VirtualHidDevice();

  virtual HidAttributes Attributes() const = 0;
  // USB interface number carried by the paths as &mi_XX; negative leaves the token out.
  virtual int InterfaceNumber() const = 0;
  virtual std::vector<uint8_t> ReportDescriptor() const = 0;
  virtual std::string Name() const { return "virtual HID device"; }

  // An output report written by the host, report-ID byte first (0 when none declared). Called on the
  // writer's thread; the device may answer from inside the call or later from any thread.
  virtual void OnOutputReport(std::span<const uint8_t> report) = 0;

  // Feature and input reports asked for or set by the host (GET_REPORT / SET_REPORT). The default
  // refuses them.
  virtual bool OnGetReport(HidReportType type, uint8_t report_id, std::vector<uint8_t>& report);
  virtual bool OnSetReport(HidReportType type, std::span<const uint8_t> report);

  // Delivers one input report (report-ID byte first only when the descriptor declares report IDs)
  // to the input-report sink when one is set, else to every open connection. Does nothing while
  // unplugged. Safe from any thread.
  void SendInputReport(std::span<const uint8_t> report);

  // Plugged into the registry, or bridged elsewhere through an input-report sink.
  bool IsPlugged() const;

  // Routes the input reports to sink from now on (null: back to the registry). Safe from any thread;
  // a report already on its way may still reach the previous sink.
  void SetInputReportSink(std::shared_ptr<InputReportSink> sink);

 private:
  friend class VirtualHidRegistry;
  mutable std::mutex node_mutex_;  // guards node_ and sink_
  std::shared_ptr<VirtualHidNode> node_;
  std::shared_ptr<InputReportSink> sink_;
};

// The process-wide set of plugged virtual devices. Its backend is part of HidBackends().
class VirtualHidRegistry {
 public:
  static VirtualHidRegistry& Instance();

  // Makes the device present; returns its plug number. A device already plugged is left as it is
  // (its current number is returned); 0 when its report descriptor does not parse.
  uint64_t Plug(const std::shared_ptr<VirtualHidDevice>& device);
  // Removes the device: its paths vanish, and transfers on its connections fail at once.
  void Unplug(const std::shared_ptr<VirtualHidDevice>& device);
  void UnplugAll();

  // Paths of a plugged device, one per top-level collection in descriptor order.
  std::vector<std::string> PathsOf(const std::shared_ptr<VirtualHidDevice>& device) const;

  std::shared_ptr<HidBackend> Backend();

  struct State;  // the plugged nodes, shared with the backend

 private:
  VirtualHidRegistry();
  std::shared_ptr<State> state_;
};

}  // namespace zrv::device
