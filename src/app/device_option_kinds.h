#pragma once
// The look of a device selector item by device kind: the prefix of its four icon images and the
// text id of its name label.

#include <QString>

#include <optional>

namespace zrv::app {

struct DeviceOptionLook {
  QString prefix;        // "kb_", "ms_", ...
  QString name_text_id;  // "kb_device_name_text", ...
};

// Kind 1 keyboard, 2 mouse, 3 mouse pad (sub-kind 0 hard, 1 soft), 4 or 7 headset, 5 hub, others
// unknown. Nothing for a mouse pad of another sub-kind: its item keeps the look it has. A mouse
// behind a receiver (kind 6) looks like a mouse.
std::optional<DeviceOptionLook> DeviceOptionLookFor(int kind, int sub_kind);

// The look a new item starts with.
DeviceOptionLook UnknownDeviceOptionLook();

enum class DeviceIcon { kNormal, kSelected, kSynchroNormal, kSynchroSelected };

// "common/device_ico/" + prefix + "device_normal.png" and its three companions, as the images of
// the skin are named. A skin that draws them as SVG has the same names with ".svg": that file is
// taken when the PNG is not there.
QString DeviceIconImage(const QString& prefix, DeviceIcon icon);

}  // namespace zrv::app
