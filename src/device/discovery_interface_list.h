#pragma once
// The list of interface records the main window holds: a copy of kInterfaceTable made at start-up
// (list index = table row) with the installation's device ids applied.
//
// The identifying values of a record never change after construction. Presence and path are
// written by the discovery thread only, always together and under the list's lock, before it hands
// the record's index to the user-interface thread; the handlers read them through the same lock.
// Partners may be given at run time, also under the lock.

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "device/device_tables.h"
#include "device/discovery_device_ids.h"

namespace zrv::device {

// The values an interface answers with when it is probed.
struct ProbedInterface {
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  uint16_t interface_number = 0;
  uint16_t collection = 0;
  uint16_t usage_page = 0;
  uint16_t usage = 0;
};

class InterfaceList {
 public:
  // The table with the ids of DefaultData/DeviceIds.txt.
  InterfaceList();
  explicit InterfaceList(const DeviceIdOverrides& ids);
  // Any records (tests); every record starts absent.
  InterfaceList(std::vector<InterfaceRecord> records, DeviceIdOverrides ids = {});
  InterfaceList(const InterfaceList&) = delete;
  InterfaceList& operator=(const InterfaceList&) = delete;

  size_t size() const { return records_.size(); }
  // A consistent copy of record index (present and path taken together).
  InterfaceRecord Get(size_t index) const;
  std::vector<InterfaceRecord> Snapshot() const;
  bool IsPresent(size_t index) const;
  std::string Path(size_t index) const;

  // A kind-table row with the same ids applied as to the list.
  DeviceKindRow EffectiveRow(const DeviceKindRow& row) const;
  // The index of the record a kind-table row names: equal vendor id, product id, kind and role.
  std::optional<size_t> FindKindRecord(const DeviceKindRow& row) const;

  // Whether present or not: some record has these four values / the first record equal on the six.
  bool Identifies(uint16_t vendor_id, uint16_t product_id, uint16_t interface_number, uint16_t collection) const;
  std::optional<size_t> Match(const ProbedInterface& probed) const;

  // Discovery.
  // True when every record is present or holds a path: nothing left to look for.
  bool NothingLookedFor() const;
  // True when a record with these four values is absent with an empty path.
  bool IsLookedFor(uint16_t vendor_id, uint16_t product_id, uint16_t interface_number, uint16_t collection) const;
  // The first record equal on the six probed values that is absent with an empty path becomes present
  // with path; its index, or none.
  std::optional<size_t> Claim(const ProbedInterface& probed, const std::string& path);
  // The record becomes absent and its path empty.
  void Release(size_t index);
  // Index and path of every present record.
  std::vector<std::pair<size_t, std::string>> PresentPaths() const;

  // Partners: index names partner as the same device over another link; none clears it.
  void SetPartner(size_t index, std::optional<size_t> partner);

 private:
  mutable std::mutex mutex_;
  std::vector<InterfaceRecord> records_;
  DeviceIdOverrides ids_;
};

}  // namespace zrv::device
