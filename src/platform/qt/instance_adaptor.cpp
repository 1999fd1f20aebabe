#include "platform/qt/instance_adaptor.h"

#include "platform/qt/single_instance.h"

namespace zrv::platform {

InstanceAdaptor::InstanceAdaptor(SingleInstance* owner) : QDBusAbstractAdaptor(owner), owner_(owner) {
  connect(owner, &SingleInstance::lightControlNotice, this, &InstanceAdaptor::LightControlNotice);
}

void InstanceAdaptor::Show(int first, int second) { owner_->DeliverInstanceMessage(first, second); }

void InstanceAdaptor::Forward(int first, int second) { owner_->DeliverForwardMessage(first, second); }

void InstanceAdaptor::RequestLightControl(int first, int second) { owner_->DeliverLightControlRequest(first, second); }

QByteArray InstanceAdaptor::DescribeDevices() { return owner_->DescribeDevices(); }

}  // namespace zrv::platform
