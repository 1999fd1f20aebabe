#pragma once
// The page tests build device pages from the skin's layouts without a main window: the builder
// finds the page and control classes by the element names the layouts use, as the window's
// create-control callback answers them.

#include <QString>

#include "controls/device_key_button.h"
#include "controls/device_profile.h"
#include "controls/select_panel.h"
#include "devices/device_page_factory.h"
#include "ui/containers.h"
#include "ui/control_factory.h"
#include "ui/resources.h"

namespace zrv::devices::testing {

inline void RegisterPageControls() {
  ui::Resources::Instance().SetResourcePath(QStringLiteral(ZRV31_SOURCE_DIR "/skin"));
  ui::Resources::Instance().LoadResourceIndex();
  for (const char* kind : {"Keyboard", "Mouse", "MousePad", "HS6533"}) {
    const QString name = QStringLiteral("Halveron%1Device").arg(QString::fromLatin1(kind));
    ui::ControlFactory::Instance().RegistControl(name, [name] { return MakeDevicePage(u'C' + name); });
  }
  ui::RegistControl<controls::CDeviceKeyButtonUI>(QStringLiteral("DeviceKeyButton"));
  ui::RegistControl<controls::CSelectPanelUI>(QStringLiteral("SelectPanel"));
  ui::RegistControl<controls::CDeviceProfileUI>(QStringLiteral("DeviceProfile"));
  ui::ControlFactory::Instance().RegistTemplate(QStringLiteral("DeviceProfileUI"),
                                                QStringLiteral("XML/CustomControlXML/DeviceProfile.xml"));
  // The key assignment editor is a class of a higher layer: here its layout is a plain container.
  ui::RegistControl<ui::HorizontalLayout>(QStringLiteral("KeySetControl"));
  ui::ControlFactory::Instance().RegistTemplate(QStringLiteral("KeySetControlUI"),
                                                QStringLiteral("XML/CustomControlXML/KeySetControl.xml"));
  // The lighting editor likewise.
  ui::RegistControl<ui::HorizontalLayout>(QStringLiteral("LightControl"));
  ui::ControlFactory::Instance().RegistTemplate(QStringLiteral("LightSetControlUI"),
                                                QStringLiteral("XML/CustomControlXML/LightControl.xml"));
}

}  // namespace zrv::devices::testing
