// The single instance without a session bus: lock file plus local socket.
#include <gtest/gtest.h>

#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "instance_test_support.h"
#include "platform/qt/instance_client.h"
#include "platform/qt/ipc_names.h"
#include "platform/qt/single_instance.h"

namespace zrv::platform {
namespace {

using testing::RunProbe;

class InstanceLocal : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_runtime_ = qgetenv("XDG_RUNTIME_DIR");
    saved_bus_ = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    environment_ = QProcessEnvironment::systemEnvironment();
  }
  void TearDown() override {
    qputenv("XDG_RUNTIME_DIR", saved_runtime_);
    if (saved_bus_.isEmpty())
      qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    else
      qputenv("DBUS_SESSION_BUS_ADDRESS", saved_bus_);
  }

  QTemporaryDir runtime_;
  QByteArray saved_runtime_;
  QByteArray saved_bus_;
  QProcessEnvironment environment_;
};

TEST_F(InstanceLocal, SecondStartEndsWithZeroAndTheFirstIsAskedToShowItself) {
  ASSERT_FALSE(SessionBusConfigured());
  SingleInstance first;
  ASSERT_EQ(first.Acquire(), SingleInstance::Claim::kFirst);
  EXPECT_EQ(first.transport(), SingleInstance::Transport::kLocalSocket);
  QSignalSpy shown(&first, &SingleInstance::instanceMessage);

  testing::ProbeResult second = RunProbe({"claim"}, environment_);
  ASSERT_TRUE(second.finished);
  EXPECT_EQ(second.exit_code, 0);
  EXPECT_EQ(second.output, "second");
  if (shown.isEmpty()) shown.wait(2000);
  ASSERT_EQ(shown.size(), 1);
  EXPECT_EQ(shown[0][0].toInt(), 0);
  EXPECT_EQ(shown[0][1].toInt(), 1);
}

TEST_F(InstanceLocal, ReleasedInstanceLetsTheNextStartBeFirst) {
  {
    SingleInstance first;
    ASSERT_EQ(first.Acquire(), SingleInstance::Claim::kFirst);
  }
  testing::ProbeResult next = RunProbe({"claim"}, environment_);
  EXPECT_EQ(next.exit_code, 0);
  EXPECT_EQ(next.output, "first");
}

TEST_F(InstanceLocal, InstanceKilledWithoutCleanUpDoesNotBlockTheNextStart) {
  QProcess holder;
  holder.setProcessEnvironment(environment_);
  holder.start(QStringLiteral(ZRV31_INSTANCE_PROBE), {"hold"});
  ASSERT_TRUE(holder.waitForReadyRead(10000));
  ASSERT_EQ(holder.readLine().trimmed(), "first");
  holder.kill();  // leaves its lock file and socket file behind
  holder.waitForFinished();

  SingleInstance next;
  EXPECT_EQ(next.Acquire(), SingleInstance::Claim::kFirst);
  EXPECT_EQ(next.transport(), SingleInstance::Transport::kLocalSocket);
}

TEST_F(InstanceLocal, MessagesFromOtherProgramsArriveAsSignals) {
  SingleInstance instance;
  ASSERT_EQ(instance.Acquire(), SingleInstance::Claim::kFirst);
  QByteArray block(1024, '\0');
  block[0] = 2;
  block[1023] = 7;
  instance.SetToolDescriber([block] { return block; });
  QSignalSpy forwarded(&instance, &SingleInstance::forwardMessage);
  QSignalSpy requested(&instance, &SingleInstance::lightControlRequest);

  EXPECT_EQ(RunProbe({"forward", "4", "55"}, environment_).exit_code, 0);
  EXPECT_EQ(RunProbe({"light", "1", "0"}, environment_).exit_code, 0);
  testing::ProbeResult described = RunProbe({"describe"}, environment_);
  EXPECT_EQ(described.exit_code, 0);
  EXPECT_EQ(described.output.toLatin1(), block.toHex());

  ASSERT_EQ(forwarded.size(), 1);
  EXPECT_EQ(forwarded[0][0].toInt(), 4);
  EXPECT_EQ(forwarded[0][1].toInt(), 55);
  ASSERT_EQ(requested.size(), 1);
  EXPECT_EQ(requested[0][1].toInt(), 0);
}

TEST_F(InstanceLocal, SubscribersHearTheLightControlNotice) {
  SingleInstance instance;
  ASSERT_EQ(instance.Acquire(), SingleInstance::Claim::kFirst);
  QLocalSocket listener;
  listener.connectToServer(InstanceSocketPath());
  ASSERT_TRUE(listener.waitForConnected(2000));
  listener.write("subscribe\n");
  QSignalSpy readable(&listener, &QLocalSocket::readyRead);
  ASSERT_TRUE(readable.wait(2000));
  EXPECT_EQ(listener.readLine(), "ok\n");

  instance.BroadcastLightControlNotice(1, 0);
  ASSERT_TRUE(listener.canReadLine() || readable.wait(2000));
  EXPECT_EQ(listener.readLine(), "notice 1 0\n");
}

TEST_F(InstanceLocal, MalformedRequestsAreAnsweredWithErrorAndServingGoesOn) {
  SingleInstance instance;
  ASSERT_EQ(instance.Acquire(), SingleInstance::Claim::kFirst);
  QSignalSpy shown(&instance, &SingleInstance::instanceMessage);
  for (QByteArray request : {QByteArray("show 0\n"), QByteArray(4000, 'x')}) {
    QLocalSocket socket;
    socket.connectToServer(InstanceSocketPath());
    ASSERT_TRUE(socket.waitForConnected(2000));
    socket.write(request);
    QSignalSpy readable(&socket, &QLocalSocket::readyRead);
    ASSERT_TRUE(readable.wait(2000));
    EXPECT_EQ(socket.readAll(), "error\n");
  }
  EXPECT_EQ(RunProbe({"show", "0", "1"}, environment_).exit_code, 0);
  EXPECT_EQ(shown.size(), 1);
}

TEST_F(InstanceLocal, NothingToReachWhenNoInstanceRuns) {
  InstanceClient client = InstanceClient::LocalOnly(500);
  EXPECT_FALSE(client.Show(0, 1));
  EXPECT_FALSE(client.DescribeDevices().has_value());
}

}  // namespace
}  // namespace zrv::platform
