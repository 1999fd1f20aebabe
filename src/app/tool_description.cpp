#include "app/tool_description.h"

#include <QtEndian>

#include <cstdint>
#include <vector>

#include "platform/qt/ipc_names.h"

namespace zrv::app {

QByteArray DescribeDevices(std::span<const device::DeviceKindRow> rows) {
  std::vector<uint32_t> values = {2, 3, 0, 2, static_cast<uint32_t>(rows.size())};
  for (const device::DeviceKindRow& row : rows) {
    values.push_back(device::KindNumber(row.kind));
    values.push_back(row.vendor_id);
    values.push_back(row.product_id);
  }
  QByteArray block(platform::kToolDescriptionSize, '\0');
  const size_t room = block.size() / sizeof(uint32_t);
  for (size_t i = 0; i < values.size() && i < room; ++i) {
    qToLittleEndian(values[i], block.data() + i * sizeof(uint32_t));
  }
  return block;
}

}  // namespace zrv::app
