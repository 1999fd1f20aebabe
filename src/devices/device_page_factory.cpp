#include "devices/device_page_factory.h"

#include "devices/kind_pages.h"
#include "ui/containers.h"
#include "ui/dialog_builder.h"

namespace zrv::devices {

ui::Control* MakeDevicePage(const QString& class_name) {
  if (class_name == u"CHalveronUSBDevice") return new CHalveronUSBDevicePage;
  if (class_name == u"CHalveronKeyboardDevice") return new CHalveronKeyboardDevicePage;
  if (class_name == u"CHalveronMouseDevice") return new CHalveronMouseDevicePage;
  if (class_name == u"CHalveronMousePadDevice") return new CHalveronMousePadDevicePage;
  if (class_name == u"CHalveronHS6533Device") return new CHalveronHS6533DevicePage;
  return nullptr;
}

CHalveronUSBDevicePage* CreateDevicePage(size_t row, const device::InterfaceRecord& record, ui::WindowBase* window,
                                         ui::Container* parent, QString* error) {
  const auto fail = [error](const QString& why) -> CHalveronUSBDevicePage* {
    if (error != nullptr) *error = why;
    return nullptr;
  };
  if (row >= device::kDeviceKindCount) return fail(QStringLiteral("no device kind %1").arg(row));
  const QString layout = QString::fromUtf8(device::kDeviceXmlTable[row].page_layout);
  ui::DialogBuilder builder;
  ui::Control* root = builder.Create(layout, window, parent);
  if (root == nullptr) return fail(builder.Error().ToString());
  auto* page = dynamic_cast<CHalveronUSBDevicePage*>(root);
  if (page == nullptr) {
    if (parent != nullptr) {
      parent->Remove(root);
    } else {
      delete root;
    }
    return fail(layout + QStringLiteral(": the root is not a device page"));
  }
  page->Model().SetRecord(record);
  page->Model().SetDisplayIndex(device::kDeviceKindTable[row].display_index);
  page->BuildPage();
  return page;
}

}  // namespace zrv::devices
