#pragma once
// The local-socket end of the single instance (used when there is no session bus).

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace zrv::platform {

class SingleInstance;

class InstanceSocketServer : public QObject {
  Q_OBJECT

 public:
  explicit InstanceSocketServer(SingleInstance* owner);
  ~InstanceSocketServer() override;

  // Listens on path; a socket file left there by a dead instance is replaced (the caller holds the
  // instance lock, so no live instance can own it).
  bool Listen(const QString& path);
  void BroadcastNotice(int first, int second);

 private:
  void OnNewConnection();
  void OnReadyRead(QLocalSocket* socket);

  SingleInstance* owner_;
  QLocalServer* server_;
  QList<QPointer<QLocalSocket>> subscribers_;
};

}  // namespace zrv::platform
