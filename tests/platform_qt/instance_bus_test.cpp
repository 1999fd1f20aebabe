// The single instance on a session bus. These tests need a private bus and run under
// dbus-run-session (ctest test "platform_qt.private_bus"); elsewhere they skip, so that they never
// take the program's name on the desktop's own bus.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QSignalSpy>

#include "instance_test_support.h"
#include "platform/qt/instance_client.h"
#include "platform/qt/ipc_names.h"
#include "platform/qt/single_instance.h"

namespace zrv::platform {
namespace {

using testing::RunProbe;

// Receives the bus signal in the test.
class NoticeSink : public QObject {
  Q_OBJECT
 public:
  int first = -1;
  int second = -1;
 public slots:
  void OnNotice(int a, int b) {
    first = a;
    second = b;
    emit received();
  }
 signals:
  void received();
};

class InstanceBus : public ::testing::Test {
 protected:
  void SetUp() override {
    if (qEnvironmentVariable("ZRV31_TEST_PRIVATE_BUS") != "1") GTEST_SKIP() << "needs a private session bus";
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected());
    environment_ = QProcessEnvironment::systemEnvironment();
  }
  QProcessEnvironment environment_;
};

TEST_F(InstanceBus, SecondStartEndsWithZeroAndTheFirstIsAskedToShowItself) {
  SingleInstance first;
  ASSERT_EQ(first.Acquire(), SingleInstance::Claim::kFirst);
  EXPECT_EQ(first.transport(), SingleInstance::Transport::kSessionBus);
  EXPECT_TRUE(QDBusConnection::sessionBus().interface()->isServiceRegistered(kDBusService).value());
  QSignalSpy shown(&first, &SingleInstance::instanceMessage);

  testing::ProbeResult second = RunProbe({"claim"}, environment_);
  ASSERT_TRUE(second.finished);
  EXPECT_EQ(second.exit_code, 0);
  EXPECT_EQ(second.output, "second");
  ASSERT_EQ(shown.size(), 1);
  EXPECT_EQ(shown[0][0].toInt(), 0);
  EXPECT_EQ(shown[0][1].toInt(), 1);
}

TEST_F(InstanceBus, TheNameIsGivenBackWhenTheInstanceEnds) {
  {
    SingleInstance first;
    ASSERT_EQ(first.Acquire(), SingleInstance::Claim::kFirst);
  }
  EXPECT_FALSE(QDBusConnection::sessionBus().interface()->isServiceRegistered(kDBusService).value());
  EXPECT_EQ(RunProbe({"claim"}, environment_).output, "first");
}

TEST_F(InstanceBus, MethodsArriveAsSignalsAndTheNoticeIsABusSignal) {
  SingleInstance instance;
  ASSERT_EQ(instance.Acquire(), SingleInstance::Claim::kFirst);
  QByteArray block(kToolDescriptionSize, '\0');
  block[0] = 2;
  block[16] = 4;
  instance.SetToolDescriber([block] { return block; });
  QSignalSpy forwarded(&instance, &SingleInstance::forwardMessage);
  QSignalSpy requested(&instance, &SingleInstance::lightControlRequest);

  EXPECT_EQ(RunProbe({"forward", "1", "0"}, environment_).exit_code, 0);
  EXPECT_EQ(RunProbe({"light", "1", "1"}, environment_).exit_code, 0);
  testing::ProbeResult described = RunProbe({"describe"}, environment_);
  EXPECT_EQ(described.output.toLatin1(), block.toHex());
  ASSERT_EQ(forwarded.size(), 1);
  EXPECT_EQ(forwarded[0][0].toInt(), 1);
  ASSERT_EQ(requested.size(), 1);
  EXPECT_EQ(requested[0][1].toInt(), 1);

  // Another program listens on a connection of its own.
  QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "other-program");
  NoticeSink sink;
  ASSERT_TRUE(
      other.connect(kDBusService, kDBusPath, kDBusInterface, "LightControlNotice", &sink, SLOT(OnNotice(int, int))));
  QSignalSpy received(&sink, &NoticeSink::received);
  instance.BroadcastLightControlNotice(1, 0);
  ASSERT_TRUE(received.wait(3000));
  EXPECT_EQ(sink.first, 1);
  EXPECT_EQ(sink.second, 0);
  QDBusConnection::disconnectFromBus("other-program");
}

TEST_F(InstanceBus, TheInterfaceIsIntrospectable) {
  SingleInstance instance;
  ASSERT_EQ(instance.Acquire(), SingleInstance::Claim::kFirst);
  QDBusConnection other = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "introspect");
  QDBusMessage call =
      QDBusMessage::createMethodCall(kDBusService, kDBusPath, "org.freedesktop.DBus.Introspectable", "Introspect");
  QDBusMessage reply = other.call(call, QDBus::BlockWithGui, 3000);
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage);
  QString xml = reply.arguments().value(0).toString();
  EXPECT_TRUE(xml.contains(QString("interface name=\"%1\"").arg(kDBusInterface)));
  for (const char* member : {"Show", "Forward", "RequestLightControl", "DescribeDevices", "LightControlNotice"}) {
    EXPECT_TRUE(xml.contains(QString("\"%1\"").arg(member))) << member;
  }
  QDBusConnection::disconnectFromBus("introspect");
}

}  // namespace
}  // namespace zrv::platform

#include "instance_bus_test.moc"
