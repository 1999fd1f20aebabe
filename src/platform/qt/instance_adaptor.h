#pragma once
// The D-Bus face of the single instance: interface kDBusInterface on object kDBusPath.

#include <QByteArray>
#include <QDBusAbstractAdaptor>

namespace zrv::platform {

class SingleInstance;

class InstanceAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.zrv31.GamingKeyboard")

 public:
  explicit InstanceAdaptor(SingleInstance* owner);

 public slots:
  void Show(int first, int second);
  void Forward(int first, int second);
  void RequestLightControl(int first, int second);
  QByteArray DescribeDevices();

 signals:
  void LightControlNotice(int first, int second);

 private:
  SingleInstance* owner_;
};

}  // namespace zrv::platform
