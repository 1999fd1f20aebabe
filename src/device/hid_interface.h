#pragma once
// One HID interface (one top-level collection of one device), addressed by its interface path.
//
// Used three ways: as the enumerator of interface paths (discovery), as the command channel of a
// device (64-byte reports with a time-out) and as its notification channel (reads without limit,
// decoded by usage). Every transfer ends on completion, on its time-out, or as soon as the
// interface is closed, also from another thread; a transfer that ends early is fully abandoned
// before the call returns, so nothing writes the caller's buffer afterwards.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/hid_backend.h"
#include "device/hid_descriptor.h"

namespace zrv::device {

// Status codes of a decode, as the HID class driver of the original platform reports them.
inline constexpr int32_t kHidStatusSuccess = 0x00110000;
inline constexpr int32_t kHidStatusUsageNotFound = static_cast<int32_t>(0xC0110004);
inline constexpr int32_t kHidStatusIncompatibleReportId = static_cast<int32_t>(0xC011000A);
inline constexpr int32_t kHidStatusBadLogPhyValues = static_cast<int32_t>(0xC0110006);

// One field of a report: one per button capability, one per usage of a value capability.
struct HidDataItem {
  bool is_button = false;
  uint16_t usage_page = 0;
  int32_t status = 0;  // of the last decode
  uint32_t report_id = 0;
  bool is_set = false;
  // Button field.
  uint32_t usage_min = 0;
  uint32_t usage_max = 0;
  uint32_t max_usage_length = 0;  // capacity of usages
  std::vector<uint16_t> usages;   // active usages in report order; a 0 follows the last when shorter
  // Value field.
  uint16_t usage = 0;
  uint32_t raw_value = 0;
  int32_t scaled_value = 0;
};

// Decodes report (first byte: report ID) into the items whose report ID matches it. Returns false on
// a value-decode error.
bool UnpackInputReport(std::vector<HidDataItem>& items, std::span<const uint8_t> report, HidReportType type,
                       const HidCollectionInfo& collection);

// Builds the item array of a collection for one report type, in capability order.
std::vector<HidDataItem> BuildDataItems(const HidCollectionInfo& collection, HidReportType type);

class HidInterface {
 public:
  static constexpr int kInfinite = -1;           // time-out of a read that waits without limit
  static constexpr size_t kMaxPathLength = 259;  // characters, without the terminator

  HidInterface();
  ~HidInterface();
  HidInterface(const HidInterface&) = delete;
  HidInterface& operator=(const HidInterface&) = delete;

  // Enumerator role.
  int EnumeratePaths();                   // 1 success, 0 failure (the list is then empty)
  std::optional<std::string> NextPath();  // none before enumeration or after the last entry
  void FreePaths();
  size_t PathCount() const { return paths_.size(); }

  // Opens path with the given access; an open interface is closed first. 1 success, 0 failure.
  int Open(std::string_view path, bool read, bool write, bool overlapped, bool exclusive);
  // Re-opens the stored path with the stored flags.
  int Reopen();
  // Ends a waiting transfer at once (it returns 0), then closes. Safe from any thread.
  void Close();
  bool IsOpen() const;

  // Transfers return 1 on success, 0 on failure, time-out or cancel. timeout_ms < 0 waits without limit.
  // A read delivers one input report of this collection, report-ID byte first (0 when the device
  // declares no report IDs), truncated to length. A write sends buffer[0..length) as one output
  // report, padded with zeros to the report's length; a report ID the collection does not declare,
  // or more bytes than its report holds, is refused.
  int ReadReport(uint32_t length, uint32_t* transferred, uint8_t* buffer, int timeout_ms);
  int WriteReport(uint32_t length, uint32_t* transferred, const uint8_t* buffer, int timeout_ms);

  // Drops the input reports already queued for this handle, of every collection of the node, without
  // waiting; at most max_reports of them. Returns how many were dropped (0 while closed).
  size_t DiscardInput(size_t max_reports = kMaxDiscard);
  static constexpr size_t kMaxDiscard = 256;  // well beyond the 64 a node queues per handle

  // Decodes the input buffer (or the given report) into InputItems().
  bool UnpackInputReport();
  bool UnpackInputReport(std::span<const uint8_t> report);

  // Stored open state.
  const std::string& Path() const { return path_; }
  bool ReadAccess() const { return read_access_; }
  bool WriteAccess() const { return write_access_; }
  bool Overlapped() const { return overlapped_; }
  bool Exclusive() const { return exclusive_; }

  // Attributes and capabilities of the open collection (zero while closed).
  uint16_t VendorId() const { return attributes_.vendor_id; }
  uint16_t ProductId() const { return attributes_.product_id; }
  uint16_t Version() const { return attributes_.version; }
  uint16_t UsagePage() const { return caps_.usage_page; }
  uint16_t Usage() const { return caps_.usage; }
  uint16_t InputReportLength() const { return caps_.report_byte_length[0]; }
  uint16_t OutputReportLength() const { return caps_.report_byte_length[1]; }
  uint16_t FeatureReportLength() const { return caps_.report_byte_length[2]; }
  size_t ButtonCapCount(HidReportType type) const { return caps_.button_caps[Index(type)].size(); }
  size_t ValueCapCount(HidReportType type) const { return caps_.value_caps[Index(type)].size(); }
  const HidCollectionInfo& Capabilities() const { return caps_; }
  uint32_t InterfaceNumber() const { return interface_number_; }
  uint32_t CollectionNumber() const { return collection_number_; }
  std::span<uint8_t> InputBuffer() { return input_buffer_; }
  std::vector<HidDataItem>& InputItems() { return input_items_; }

  bool ReadInProgress() const { return read_in_progress_.load(); }
  bool WriteInProgress() const { return write_in_progress_.load(); }

 private:
  // Counts a transfer in, or refuses it while closed or closing.
  std::shared_ptr<HidConnection> BeginTransfer(std::atomic<bool>& flag);
  void EndTransfer(std::atomic<bool>& flag);
  // Cancels running transfers and waits until they have ended; then drops the connection.
  void CloseLocked(std::unique_lock<std::mutex>& lock);
  void ClearCapabilities();

  // Enumerator.
  std::vector<std::string> paths_;
  size_t next_path_ = 0;

  // Stored open flags and path.
  bool read_access_ = false;
  bool write_access_ = false;
  bool overlapped_ = false;
  bool exclusive_ = false;
  std::string path_;

  // Open state; the connection and the transfer count are guarded by mutex_.
  mutable std::mutex mutex_;
  std::condition_variable transfers_ended_;
  std::shared_ptr<HidConnection> connection_;
  int active_transfers_ = 0;
  bool closing_ = false;
  int cancel_fd_ = -1;  // eventfd: readable while a close waits for the transfers to end

  HidAttributes attributes_;
  HidCollectionInfo caps_;
  bool uses_report_ids_ = false;
  size_t raw_read_size_ = 0;  // largest input report of the node, for reads of foreign reports
  std::vector<uint8_t> input_buffer_;
  std::vector<HidDataItem> input_items_;
  uint32_t interface_number_ = 0;
  uint32_t collection_number_ = 0;

  std::atomic<bool> read_in_progress_{false};
  std::atomic<bool> write_in_progress_{false};
};

}  // namespace zrv::device
