#include "app/sleep_watcher.h"

#include <QDBusConnection>
#include <QFileInfo>

namespace zrv::app {
namespace {

constexpr const char* kLogindService = "org.freedesktop.login1";
constexpr const char* kLogindPath = "/org/freedesktop/login1";
constexpr const char* kLogindManager = "org.freedesktop.login1.Manager";
constexpr const char* kSystemBusSocket = "/run/dbus/system_bus_socket";

// Connecting to an absent system bus makes the bus library complain on every try: only a
// configured address or the standard socket is tried.
bool SystemBusConfigured() {
  return !qEnvironmentVariableIsEmpty("DBUS_SYSTEM_BUS_ADDRESS") ||
         QFileInfo::exists(QString::fromLatin1(kSystemBusSocket));
}

}  // namespace

SleepWatcher::SleepWatcher(QObject* parent) : QObject(parent) {
  if (!SystemBusConfigured()) return;
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected()) return;
  watching_ = bus.connect(QString::fromLatin1(kLogindService), QString::fromLatin1(kLogindPath),
                          QString::fromLatin1(kLogindManager), QStringLiteral("PrepareForSleep"), this,
                          SLOT(OnPrepareForSleep(bool)));
}

void SleepWatcher::OnPrepareForSleep(bool start) {
  if (start) {
    emit suspending();
  } else {
    emit resumed();
  }
}

}  // namespace zrv::app
