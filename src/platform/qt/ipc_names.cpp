#include "platform/qt/ipc_names.h"

#include <unistd.h>

#include <QFileInfo>

#include "platform/folders.h"

namespace zrv::platform {
namespace {

QString RuntimeDir() {
  QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!dir.isEmpty() && QFileInfo(dir).isDir()) return dir;
  return QString::fromStdString(TempDir().string());
}

QString InstanceBase() { return RuntimeDir() + QStringLiteral("/zrv31-instance-%1").arg(::getuid()); }

}  // namespace

QString InstanceLockPath() { return InstanceBase() + QStringLiteral(".lock"); }

QString InstanceSocketPath() { return InstanceBase() + QStringLiteral(".sock"); }

bool SessionBusConfigured() {
  if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return true;
  // The bus a systemd user session provides at a well-known place.
  QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

}  // namespace zrv::platform
