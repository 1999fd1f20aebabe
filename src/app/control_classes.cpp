#include "app/control_classes.h"

#include <QHash>

#include "app/device_option.h"
#include "app/placeholder_control.h"
#include "app/update_info_list_item.h"
#include "controls/circle_progress.h"
#include "controls/device_key_button.h"
#include "controls/device_profile.h"
#include "controls/hand_img_button.h"
#include "controls/hand_img_select_button.h"
#include "controls/redio_macro_button.h"
#include "controls/select_panel.h"
#include "devices/device_page_factory.h"
#include "editors/key_set_control.h"
#include "editors/light_control.h"
#include "platform/debug_output.h"
#include "ui/control_factory.h"
#include "ui/dialog_builder.h"

namespace zrv::app {
namespace {

template <class T>
ui::Control* Make() {
  return new T;
}

ControlMaker DevicePage(const char* class_name) {
  return [name = QString::fromLatin1(class_name)] { return devices::MakeDevicePage(name); };
}

// The classes that exist so far; the others stay placeholders until they arrive.
QHash<QString, ControlMaker>& Makers() {
  static QHash<QString, ControlMaker> makers = {
      {QStringLiteral("CSelectPanelUI"), Make<controls::CSelectPanelUI>},
      {QStringLiteral("CDeviceKeyButtonUI"), Make<controls::CDeviceKeyButtonUI>},
      {QStringLiteral("CDeviceOptionUI"), Make<CDeviceOptionUI>},
      {QStringLiteral("CCircleProgressUI"), Make<controls::CCircleProgressUI>},
      {QStringLiteral("CUpdateInfoListItemUI"), Make<CUpdateInfoListItemUI>},
      {QStringLiteral("CDeviceProfileUI"), Make<controls::CDeviceProfileUI>},
      {QStringLiteral("CKeySetControlUI"), Make<editors::CKeySetControlUI>},
      {QStringLiteral("CLightControlUI"), Make<editors::CLightControlUI>},
      {QStringLiteral("CHandImgButtonUI"), Make<controls::CHandImgButtonUI>},
      {QStringLiteral("CHandImgSelectButtonUI"), Make<controls::CHandImgSelectButtonUI>},
      {QStringLiteral("CRedioMacroButtonUI"), Make<controls::CRedioMacroButtonUI>},
      {QStringLiteral("CHalveronUSBDevice"), DevicePage("CHalveronUSBDevice")},
      {QStringLiteral("CHalveronKeyboardDevice"), DevicePage("CHalveronKeyboardDevice")},
      {QStringLiteral("CHalveronMouseDevice"), DevicePage("CHalveronMouseDevice")},
      {QStringLiteral("CHalveronMousePadDevice"), DevicePage("CHalveronMousePadDevice")},
      {QStringLiteral("CHalveronHS6533Device"), DevicePage("CHalveronHS6533Device")},
  };
  return makers;
}

}  // namespace

void SetControlClass(const QString& class_name, ControlMaker maker) { Makers()[class_name] = std::move(maker); }

ui::Control* MakeControl(const QString& class_name) {
  auto found = Makers().constFind(class_name);
  if (found != Makers().constEnd() && *found) return (*found)();
  return new PlaceholderControl(class_name);
}

void RegisterControlClasses() {
  for (const char* name : kRegisteredControlClasses) {
    const QString class_name = QString::fromLatin1(name);
    ui::ControlFactory::Instance().RegistControl(class_name, [class_name] { return MakeControl(class_name); });
  }
}

ui::Control* CreateWindowControl(const QString& name, ui::WindowBase* window) {
  for (const WindowControlName& entry : kWindowControlNames) {
    if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) != 0) continue;
    if (entry.class_name != nullptr) return MakeControl(QString::fromLatin1(entry.class_name));
    ui::DialogBuilder builder;
    ui::Control* root = builder.Create(QString::fromLatin1(entry.template_file), window, nullptr, false);
    if (root == nullptr) platform::DebugOut(builder.Error().ToString().toStdString());
    return root;
  }
  return nullptr;
}

}  // namespace zrv::app
