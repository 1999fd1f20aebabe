#pragma once
// The sending end of the instance messages: a second start, and other programs written with Qt.
// Calls go to the bus when a session bus is configured and the name has an owner, else to the
// local socket. Every call blocks at most the given time and reports whether it was delivered.

#include <QByteArray>
#include <QDBusConnection>
#include <QString>
#include <QVariantList>

#include <optional>

namespace zrv::platform {

class InstanceClient {
 public:
  explicit InstanceClient(int timeout_ms = 3000);
  // On a given bus connection only (tests).
  InstanceClient(const QDBusConnection& bus, int timeout_ms = 3000);
  // Without a bus: the local socket only.
  static InstanceClient LocalOnly(int timeout_ms = 3000);

  bool Show(int first, int second);
  bool Forward(int first, int second);
  bool RequestLightControl(int first, int second);
  // The device description block; nothing when the instance cannot be reached.
  std::optional<QByteArray> DescribeDevices();

 private:
  enum class Route { kAuto, kBus, kSocket };
  InstanceClient(Route route, std::optional<QDBusConnection> bus, int timeout_ms);

  bool UseBus() const;
  std::optional<QVariantList> BusCall(const QString& method, const QVariantList& arguments);
  std::optional<QByteArray> AskSocket(const QByteArray& line);
  bool Send(const QString& method, const QByteArray& verb, int first, int second);

  Route route_;
  std::optional<QDBusConnection> bus_;
  int timeout_ms_;
};

}  // namespace zrv::platform
