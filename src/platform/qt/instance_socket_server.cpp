#include "platform/qt/instance_socket_server.h"

#include <QLocalServer>
#include <QLocalSocket>

#include "platform/qt/single_instance.h"
#include "platform/qt/socket_protocol.h"

namespace zrv::platform {

InstanceSocketServer::InstanceSocketServer(SingleInstance* owner) : owner_(owner), server_(new QLocalServer(this)) {
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_, &QLocalServer::newConnection, this, &InstanceSocketServer::OnNewConnection);
}

InstanceSocketServer::~InstanceSocketServer() { server_->close(); }

bool InstanceSocketServer::Listen(const QString& path) {
  QLocalServer::removeServer(path);
  return server_->listen(path);
}

void InstanceSocketServer::BroadcastNotice(int first, int second) {
  QByteArray line = "notice " + QByteArray::number(first) + ' ' + QByteArray::number(second) + '\n';
  subscribers_.removeAll(nullptr);
  for (const QPointer<QLocalSocket>& socket : subscribers_) {
    if (socket->state() == QLocalSocket::ConnectedState) socket->write(line);
  }
}

void InstanceSocketServer::OnNewConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    socket->setParent(this);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
    if (socket->bytesAvailable() > 0) OnReadyRead(socket);
  }
}

void InstanceSocketServer::OnReadyRead(QLocalSocket* socket) {
  if (subscribers_.contains(socket)) {
    socket->readAll();  // a subscriber only listens
    return;
  }
  if (!socket->canReadLine()) {
    // A peer that sends a long line without its end gets no chance to make us buffer it.
    if (socket->bytesAvailable() > kMaxSocketLine) {
      socket->write("error\n");
      socket->disconnectFromServer();
    }
    return;
  }
  QByteArray line = socket->readLine(kMaxSocketLine + 2);
  if (line.endsWith('\n')) line.chop(1);
  std::optional<SocketRequest> request = ParseSocketRequest(line);
  if (!request) {
    socket->write("error\n");
    socket->disconnectFromServer();
    return;
  }
  switch (request->verb) {
    case SocketRequest::Verb::kShow: owner_->DeliverInstanceMessage(request->first, request->second); break;
    case SocketRequest::Verb::kForward: owner_->DeliverForwardMessage(request->first, request->second); break;
    case SocketRequest::Verb::kLight: owner_->DeliverLightControlRequest(request->first, request->second); break;
    case SocketRequest::Verb::kDescribe:
      socket->write("block " + owner_->DescribeDevices().toBase64() + '\n');
      socket->disconnectFromServer();
      return;
    case SocketRequest::Verb::kSubscribe:
      subscribers_.append(socket);
      socket->write("ok\n");
      return;
  }
  socket->write("ok\n");
  socket->disconnectFromServer();
}

}  // namespace zrv::platform
