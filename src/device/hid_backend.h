#pragma once
// The platform side of HidInterface: where interface paths come from and how a node is opened.
//
// A backend lists the interface paths it serves and opens them. An opened connection moves whole
// reports as the node delivers them (the report-ID byte first only when the descriptor declares
// report IDs, as hidraw does); HidInterface normalises, filters by collection and pads on top.
//
// Interface paths carry the tokens vid_XXXX, pid_XXXX, &mi_XX and, when the interface has more than
// one top-level collection, &colNN (1-based, hexadecimal), and are unique per connection: a node
// that goes away and comes back, or a node number taken over by another device, yields new paths.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/hid_descriptor.h"

namespace zrv::device {

struct HidOpenFlags {
  bool read = false;
  bool write = false;
  bool overlapped = false;
  bool exclusive = false;
};

struct HidAttributes {
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  uint16_t version = 0;
};

enum class HidIoResult {
  kOk,
  kTimeout,
  kCancelled,  // the cancel descriptor became readable
  kFailed,     // error, or the device is gone
};

// One open node. Transfers may run on two threads at once (one read, one write).
class HidConnection {
 public:
  virtual ~HidConnection() = default;

  virtual const HidAttributes& Attributes() const = 0;
  virtual const HidReportDescriptor& Descriptor() const = 0;
  // Index into Descriptor().collections of the collection the path names.
  virtual size_t CollectionIndex() const = 0;

  // Waits until one input report arrives (copied into buffer, truncated to its size), timeout_ms
  // passes (negative: no limit) or cancel_fd becomes readable. A cancelled or timed-out read has
  // ended completely when this returns: nothing writes into buffer afterwards.
  virtual HidIoResult ReadRaw(std::span<uint8_t> buffer, size_t& transferred, int timeout_ms, int cancel_fd) = 0;

  // Sends one output report, report-ID byte first (0 when the descriptor declares none).
  virtual HidIoResult WriteRaw(std::span<const uint8_t> report, size_t& transferred, int timeout_ms, int cancel_fd) = 0;
};

class HidBackend {
 public:
  virtual ~HidBackend() = default;

  // True when path belongs to this backend (decided by its prefix).
  virtual bool Handles(std::string_view path) const = 0;

  // Appends every interface path present now. False when the listing itself failed.
  virtual bool Enumerate(std::vector<std::string>& paths) = 0;

  // Opens the node behind path. With neither read nor write access the connection only proves that
  // the very same device is still there and refuses transfers; it still carries the attributes and,
  // where the platform gives it without access rights (sysfs does), the descriptor. Null on failure.
  virtual std::unique_ptr<HidConnection> Open(std::string_view path, const HidOpenFlags& flags) = 0;
};

// The backends used by every HidInterface of the process, in enumeration order. By default the
// hidraw backend over /sys and /dev, then the in-process virtual devices.
std::vector<std::shared_ptr<HidBackend>> HidBackends();

// Replaces the backend list for as long as it lives (tests), restoring the previous list after.
class ScopedHidBackends {
 public:
  explicit ScopedHidBackends(std::vector<std::shared_ptr<HidBackend>> backends);
  ~ScopedHidBackends();
  ScopedHidBackends(const ScopedHidBackends&) = delete;
  ScopedHidBackends& operator=(const ScopedHidBackends&) = delete;

 private:
  std::vector<std::shared_ptr<HidBackend>> previous_;
  bool had_previous_ = false;
};

}  // namespace zrv::device
