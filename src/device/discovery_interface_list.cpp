#include "device/discovery_interface_list.h"

namespace zrv::device {
namespace {

std::vector<InterfaceRecord> TableCopy(const DeviceIdOverrides& ids) {
  std::vector<InterfaceRecord> records(kInterfaceTable.begin(), kInterfaceTable.end());
  for (auto& record : records) ids.Apply(record);
  return records;
}

bool LookedFor(const InterfaceRecord& record) { return record.present == 0 && record.path.empty(); }

bool SameFour(const InterfaceRecord& record, uint16_t vendor_id, uint16_t product_id, uint16_t interface_number,
              uint16_t collection) {
  return record.vendor_id == vendor_id && record.product_id == product_id &&
         record.interface_number == interface_number && record.collection == collection;
}

bool SameSix(const InterfaceRecord& record, const ProbedInterface& probed) {
  return SameFour(record, probed.vendor_id, probed.product_id, probed.interface_number, probed.collection) &&
         record.usage_page == probed.usage_page && record.usage == probed.usage;
}

}  // namespace

InterfaceList::InterfaceList() : InterfaceList(DeviceIdOverrides::Load(DeviceIdOverrides::InstalledFile())) {}

InterfaceList::InterfaceList(const DeviceIdOverrides& ids) : records_(TableCopy(ids)), ids_(ids) {}

InterfaceList::InterfaceList(std::vector<InterfaceRecord> records, DeviceIdOverrides ids)
    : records_(std::move(records)), ids_(std::move(ids)) {
  for (auto& record : records_) {
    ids_.Apply(record);
    record.present = 0;
    record.path.clear();
  }
}

InterfaceRecord InterfaceList::Get(size_t index) const {
  std::lock_guard lock(mutex_);
  return index < records_.size() ? records_[index] : InterfaceRecord{};
}

std::vector<InterfaceRecord> InterfaceList::Snapshot() const {
  std::lock_guard lock(mutex_);
  return records_;
}

bool InterfaceList::IsPresent(size_t index) const {
  std::lock_guard lock(mutex_);
  return index < records_.size() && records_[index].present != 0;
}

std::string InterfaceList::Path(size_t index) const {
  std::lock_guard lock(mutex_);
  return index < records_.size() ? records_[index].path : std::string();
}

DeviceKindRow InterfaceList::EffectiveRow(const DeviceKindRow& row) const {
  DeviceKindRow effective = row;
  ids_.Apply(effective);
  return effective;
}

std::optional<size_t> InterfaceList::FindKindRecord(const DeviceKindRow& row) const {
  const DeviceKindRow effective = EffectiveRow(row);
  std::lock_guard lock(mutex_);
  for (size_t i = 0; i < records_.size(); ++i) {
    const InterfaceRecord& record = records_[i];
    if (record.vendor_id == effective.vendor_id && record.product_id == effective.product_id &&
        record.kind == effective.kind && record.role == effective.role) {
      return i;
    }
  }
  return std::nullopt;
}

bool InterfaceList::NothingLookedFor() const {
  std::lock_guard lock(mutex_);
  for (const auto& record : records_) {
    if (LookedFor(record)) return false;
  }
  return true;
}

bool InterfaceList::Identifies(uint16_t vendor_id, uint16_t product_id, uint16_t interface_number,
                               uint16_t collection) const {
  std::lock_guard lock(mutex_);
  for (const auto& record : records_) {
    if (SameFour(record, vendor_id, product_id, interface_number, collection)) return true;
  }
  return false;
}

std::optional<size_t> InterfaceList::Match(const ProbedInterface& probed) const {
  std::lock_guard lock(mutex_);
  for (size_t i = 0; i < records_.size(); ++i) {
    if (SameSix(records_[i], probed)) return i;
  }
  return std::nullopt;
}

bool InterfaceList::IsLookedFor(uint16_t vendor_id, uint16_t product_id, uint16_t interface_number,
                                uint16_t collection) const {
  std::lock_guard lock(mutex_);
  for (const auto& record : records_) {
    if (SameFour(record, vendor_id, product_id, interface_number, collection) && LookedFor(record)) return true;
  }
  return false;
}

std::optional<size_t> InterfaceList::Claim(const ProbedInterface& probed, const std::string& path) {
  std::lock_guard lock(mutex_);
  for (size_t i = 0; i < records_.size(); ++i) {
    InterfaceRecord& record = records_[i];
    if (SameSix(record, probed) && LookedFor(record)) {
      record.present = 1;
      record.path = path;
      return i;
    }
  }
  return std::nullopt;
}

void InterfaceList::Release(size_t index) {
  std::lock_guard lock(mutex_);
  if (index >= records_.size()) return;
  records_[index].present = 0;
  records_[index].path.clear();
}

std::vector<std::pair<size_t, std::string>> InterfaceList::PresentPaths() const {
  std::lock_guard lock(mutex_);
  std::vector<std::pair<size_t, std::string>> present;
  for (size_t i = 0; i < records_.size(); ++i) {
    if (records_[i].present != 0) present.emplace_back(i, records_[i].path);
  }
  return present;
}

void InterfaceList::SetPartner(size_t index, std::optional<size_t> partner) {
  std::lock_guard lock(mutex_);
  if (index >= records_.size()) return;
  records_[index].has_partner = partner ? 1 : 0;
  records_[index].partner = partner ? static_cast<uint16_t>(*partner) : 0;
}

}  // namespace zrv::device
