#pragma once
// The single instance of the program and the messages other processes send it.
//
// With a session bus the instance is the owner of the well-known name kDBusService and serves the
// object kDBusPath; without one it holds a lock file and listens on a local socket. Either way the
// messages arrive here as Qt signals on the main thread.

#include <QByteArray>
#include <QDBusConnection>
#include <QObject>

#include <functional>
#include <memory>

class QLockFile;

namespace zrv::platform {

class InstanceSocketServer;

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  enum class Claim { kFirst, kSecond };
  enum class Transport { kNone, kSessionBus, kLocalSocket };

  explicit SingleInstance(QObject* parent = nullptr);
  ~SingleInstance() override;

  // Makes this process the one instance: through the session bus when one is configured, else
  // through the lock file and the socket. When another instance runs, asks it to show itself
  // (instance message 0, 1) and answers kSecond; the caller then ends. When no guard can be had
  // at all, start-up goes on as the first instance without a channel (transport kNone).
  Claim Acquire();
  // The same on a given bus connection, and without a bus (tests pick the transport this way).
  Claim AcquireOnBus(const QDBusConnection& bus);
  Claim AcquireLocal();

  Transport transport() const { return transport_; }

  // Supplies the answer to the tool message: the device description block (kind 5,
  // kToolDescriptionSize bytes). Without a describer the answer is empty.
  void SetToolDescriber(std::function<QByteArray()> describer);
  QByteArray DescribeDevices() const;

  // Tells other programs whether this one controls the device lighting (first 1, second 0 or 1):
  // a D-Bus signal, or a line to every socket that subscribed.
  void BroadcastLightControlNotice(int first, int second);

  // Entry points of the transports.
  void DeliverInstanceMessage(int first, int second) { emit instanceMessage(first, second); }
  void DeliverForwardMessage(int first, int second) { emit forwardMessage(first, second); }
  void DeliverLightControlRequest(int first, int second) { emit lightControlRequest(first, second); }

 signals:
  // Show yourself: a second start sends (0, 1).
  void instanceMessage(int first, int second);
  // An installer's report, passed on to the settings window while it is open.
  void forwardMessage(int first, int second);
  // Another program takes (1, 0) or gives back (1, 1) the control of the lighting.
  void lightControlRequest(int first, int second);
  // Emitted by BroadcastLightControlNotice; the bus adaptor relays it as its signal.
  void lightControlNotice(int first, int second);

 private:
  enum class BusResult { kOwner, kTaken, kError };
  BusResult RegisterOnBus(const QDBusConnection& bus);

  Transport transport_ = Transport::kNone;
  std::unique_ptr<QDBusConnection> bus_;
  std::unique_ptr<QLockFile> lock_;
  std::unique_ptr<InstanceSocketServer> socket_server_;
  std::function<QByteArray()> describer_;
};

}  // namespace zrv::platform
