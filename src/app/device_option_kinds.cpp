#include "app/device_option_kinds.h"

#include <QFileInfo>

#include "device/device_tables.h"
#include "ui/resources.h"

namespace zrv::app {
namespace {

DeviceOptionLook Look(const char* prefix) {
  const QString p = QString::fromLatin1(prefix);
  return {p, p + QStringLiteral("device_name_text")};
}

}  // namespace

std::optional<DeviceOptionLook> DeviceOptionLookFor(device::DeviceKind kind, int sub_kind) {
  using enum device::DeviceKind;
  switch (kind) {
    case kKeyboard: return Look("kb_");
    case kMouse:
    case kWirelessMouse: return Look("ms_");
    case kMousePad:
      if (sub_kind == 0) return Look("hard_mp_");
      if (sub_kind == 1) return Look("soft_mp_");
      return std::nullopt;
    case kHeadsetAlias:
    case kHeadset: return Look("hd_");
    case kHub: return Look("hub_");
    default: return UnknownDeviceOptionLook();
  }
}

DeviceOptionLook UnknownDeviceOptionLook() { return Look("unknow_"); }

QString DeviceIconImage(const QString& prefix, DeviceIcon icon) {
  const char* suffix = "device_normal";
  switch (icon) {
    case DeviceIcon::kNormal: suffix = "device_normal"; break;
    case DeviceIcon::kSelected: suffix = "device_selected"; break;
    case DeviceIcon::kSynchroNormal: suffix = "device_synchro_normal"; break;
    case DeviceIcon::kSynchroSelected: suffix = "device_synchro_selected"; break;
  }
  const QString base = QStringLiteral("common/device_ico/") + prefix + QString::fromLatin1(suffix);
  const QString png = base + QStringLiteral(".png");
  if (QFileInfo::exists(ui::Resources::Instance().ResolveFile(png))) return png;
  return base + QStringLiteral(".svg");
}

}  // namespace zrv::app
