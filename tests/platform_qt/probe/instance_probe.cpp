// A stand-in for a second start and for other programs in the instance tests.
//   instance_probe claim               prints "first" or "second" and ends with 0
//   instance_probe hold                claims, prints "first" or "second", serves until killed
//   instance_probe show|forward|light A B   sends the message; 0 when delivered
//   instance_probe describe            prints the description block in hexadecimal
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

#include "platform/qt/instance_client.h"
#include "platform/qt/single_instance.h"

using zrv::platform::InstanceClient;
using zrv::platform::SingleInstance;

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  if (args.isEmpty()) return 2;
  const QString verb = args[0];
  if (verb == "claim" || verb == "hold") {
    SingleInstance instance;
    bool first = instance.Acquire() == SingleInstance::Claim::kFirst;
    std::printf("%s\n", first ? "first" : "second");
    std::fflush(stdout);
    if (verb == "hold" && first) {
      QObject::connect(&instance, &SingleInstance::instanceMessage, [](int a, int b) {
        std::printf("instance %d %d\n", a, b);
        std::fflush(stdout);
      });
      return app.exec();
    }
    return 0;
  }
  InstanceClient client(2000);
  if (verb == "describe") {
    std::optional<QByteArray> block = client.DescribeDevices();
    if (!block) return 1;
    std::printf("%s\n", block->toHex().constData());
    return 0;
  }
  if (args.size() != 3) return 2;
  int a = args[1].toInt();
  int b = args[2].toInt();
  bool delivered = false;
  if (verb == "show")
    delivered = client.Show(a, b);
  else if (verb == "forward")
    delivered = client.Forward(a, b);
  else if (verb == "light")
    delivered = client.RequestLightControl(a, b);
  else
    return 2;
  return delivered ? 0 : 1;
}
