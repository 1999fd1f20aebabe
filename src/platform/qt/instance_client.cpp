#include "platform/qt/instance_client.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QLocalSocket>

#include "platform/qt/ipc_names.h"
#include "platform/qt/socket_protocol.h"

namespace zrv::platform {

InstanceClient::InstanceClient(int timeout_ms) : InstanceClient(Route::kAuto, std::nullopt, timeout_ms) {}

InstanceClient::InstanceClient(const QDBusConnection& bus, int timeout_ms)
    : InstanceClient(Route::kBus, bus, timeout_ms) {}

InstanceClient InstanceClient::LocalOnly(int timeout_ms) {
  return InstanceClient(Route::kSocket, std::nullopt, timeout_ms);
}

InstanceClient::InstanceClient(Route route, std::optional<QDBusConnection> bus, int timeout_ms)
    : route_(route), bus_(std::move(bus)), timeout_ms_(timeout_ms) {}

bool InstanceClient::UseBus() const {
  if (route_ != Route::kAuto) return route_ == Route::kBus;
  if (!SessionBusConfigured()) return false;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || bus.interface() == nullptr) return false;
  QDBusReply<bool> owned = bus.interface()->isServiceRegistered(QString::fromLatin1(kDBusService));
  return owned.isValid() && owned.value();
}

bool InstanceClient::Show(int first, int second) {
  return Send(QStringLiteral("Show"), SocketRequestLine(SocketRequest::Verb::kShow, first, second), first, second);
}

bool InstanceClient::Forward(int first, int second) {
  return Send(QStringLiteral("Forward"), SocketRequestLine(SocketRequest::Verb::kForward, first, second), first,
              second);
}

bool InstanceClient::RequestLightControl(int first, int second) {
  return Send(QStringLiteral("RequestLightControl"), SocketRequestLine(SocketRequest::Verb::kLight, first, second),
              first, second);
}

std::optional<QByteArray> InstanceClient::DescribeDevices() {
  if (UseBus()) {
    std::optional<QVariantList> answer = BusCall(QStringLiteral("DescribeDevices"), {});
    if (!answer || answer->isEmpty()) return std::nullopt;
    return answer->first().toByteArray();
  }
  std::optional<QByteArray> answer = AskSocket(SocketRequestLine(SocketRequest::Verb::kDescribe));
  if (!answer || !answer->startsWith("block ")) return std::nullopt;
  return QByteArray::fromBase64(answer->mid(6));
}

bool InstanceClient::Send(const QString& method, const QByteArray& line, int first, int second) {
  if (UseBus()) return BusCall(method, {first, second}).has_value();
  std::optional<QByteArray> answer = AskSocket(line);
  return answer && *answer == "ok";
}

std::optional<QVariantList> InstanceClient::BusCall(const QString& method, const QVariantList& arguments) {
  QDBusConnection bus = bus_ ? *bus_ : QDBusConnection::sessionBus();
  QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kDBusService), QString::fromLatin1(kDBusPath),
                                                     QString::fromLatin1(kDBusInterface), method);
  call.setArguments(arguments);
  call.setAutoStartService(false);
  // Blocking, so that the message has left this process before a second start ends.
  QDBusMessage reply = bus.call(call, QDBus::Block, timeout_ms_);
  if (reply.type() != QDBusMessage::ReplyMessage) return std::nullopt;
  return reply.arguments();
}

std::optional<QByteArray> InstanceClient::AskSocket(const QByteArray& line) {
  QLocalSocket socket;
  socket.connectToServer(InstanceSocketPath());
  if (!socket.waitForConnected(timeout_ms_)) return std::nullopt;
  socket.write(line);
  if (!socket.waitForBytesWritten(timeout_ms_)) return std::nullopt;
  QByteArray answer;
  // The description block is larger than one read; read until the line ends.
  while (!answer.contains('\n')) {
    if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(timeout_ms_)) break;
    answer += socket.readAll();
  }
  int end = answer.indexOf('\n');
  if (end < 0) return std::nullopt;
  return answer.left(end);
}

}  // namespace zrv::platform
