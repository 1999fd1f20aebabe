#include "platform/qt/single_instance.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QLockFile>

#include "platform/debug_output.h"
#include "platform/qt/instance_adaptor.h"
#include "platform/qt/instance_client.h"
#include "platform/qt/instance_socket_server.h"
#include "platform/qt/ipc_names.h"

namespace zrv::platform {

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

SingleInstance::~SingleInstance() {
  if (bus_) {
    bus_->unregisterObject(QString::fromLatin1(kDBusPath));
    bus_->unregisterService(QString::fromLatin1(kDBusService));
  }
  socket_server_.reset();
  lock_.reset();  // removes the lock file
}

SingleInstance::Claim SingleInstance::Acquire() {
  if (SessionBusConfigured()) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
      // A bus that cannot register the name (an error, not a taken name) leaves the socket.
      BusResult result = RegisterOnBus(bus);
      if (result == BusResult::kOwner) return Claim::kFirst;
      if (result == BusResult::kTaken) {
        InstanceClient(bus).Show(0, 1);
        return Claim::kSecond;
      }
    }
  }
  return AcquireLocal();
}

SingleInstance::Claim SingleInstance::AcquireOnBus(const QDBusConnection& bus) {
  BusResult result = RegisterOnBus(bus);
  if (result == BusResult::kTaken) {
    InstanceClient(bus).Show(0, 1);
    return Claim::kSecond;
  }
  return Claim::kFirst;
}

SingleInstance::BusResult SingleInstance::RegisterOnBus(const QDBusConnection& bus) {
  if (!bus.isConnected() || bus.interface() == nullptr) return BusResult::kError;
  QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
      bus.interface()->registerService(QString::fromLatin1(kDBusService), QDBusConnectionInterface::DontQueueService,
                                       QDBusConnectionInterface::DontAllowReplacement);
  if (!reply.isValid()) {
    DebugPrintf("instance: bus name not registered: %s", qPrintable(reply.error().message()));
    return BusResult::kError;
  }
  if (reply.value() != QDBusConnectionInterface::ServiceRegistered) return BusResult::kTaken;

  auto connection = std::make_unique<QDBusConnection>(bus);
  new InstanceAdaptor(this);
  if (!connection->registerObject(QString::fromLatin1(kDBusPath), this, QDBusConnection::ExportAdaptors)) {
    DebugOut("instance: object path already taken on the bus");
  }
  bus_ = std::move(connection);
  transport_ = Transport::kSessionBus;
  return BusResult::kOwner;
}

SingleInstance::Claim SingleInstance::AcquireLocal() {
  auto lock = std::make_unique<QLockFile>(InstanceLockPath());
  // Only a dead owner makes a lock stale, however old it is: a running instance may have been
  // started days ago.
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) {
    if (lock->error() == QLockFile::LockFailedError) {
      InstanceClient::LocalOnly().Show(0, 1);
      return Claim::kSecond;
    }
    // The lock cannot be made at all (no writable folder): go on as the first instance.
    DebugOut("instance: no instance lock, going on without a guard");
    return Claim::kFirst;
  }
  lock_ = std::move(lock);
  auto server = std::make_unique<InstanceSocketServer>(this);
  if (server->Listen(InstanceSocketPath())) {
    socket_server_ = std::move(server);
    transport_ = Transport::kLocalSocket;
  } else {
    DebugOut("instance: local socket not available");
  }
  return Claim::kFirst;
}

void SingleInstance::SetToolDescriber(std::function<QByteArray()> describer) { describer_ = std::move(describer); }

QByteArray SingleInstance::DescribeDevices() const { return describer_ ? describer_() : QByteArray(); }

void SingleInstance::BroadcastLightControlNotice(int first, int second) {
  emit lightControlNotice(first, second);
  if (socket_server_) socket_server_->BroadcastNotice(first, second);
}

}  // namespace zrv::platform
