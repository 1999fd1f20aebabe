#pragma once
// The look of a device selector item by device kind: the prefix of its four icon images and the
// text id of its name label.

#include <QString>

#include <optional>

#include "device/device_tables.h"

namespace zrv::app {

struct DeviceOptionLook {
  QString prefix;        // "kb_", "ms_", ...
  QString name_text_id;  // "kb_device_name_text", ...
};

// Keyboard, mouse, mouse pad (sub-kind 0 hard, 1 soft), headset (either number), hub; others
// unknown. Nothing for a mouse pad of another sub-kind: its item keeps the look it has. A mouse
// behind a receiver looks like a mouse.
std::optional<DeviceOptionLook> DeviceOptionLookFor(device::DeviceKind kind, int sub_kind);

// The look a new item starts with.
DeviceOptionLook UnknownDeviceOptionLook();

enum class DeviceIcon { kNormal, kSelected, kSynchroNormal, kSynchroSelected };

// "common/device_ico/" + prefix + "device_normal.png" and its three companions, as the images of
// the skin are named. A skin that draws them as SVG has the same names with ".svg": that file is
// taken when the PNG is not there.
QString DeviceIconImage(const QString& prefix, DeviceIcon icon);

}  // namespace zrv::app
