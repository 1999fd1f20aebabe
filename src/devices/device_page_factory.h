#pragma once
// Making device pages: by class name (what the layout builder asks for) and from the device
// tables (what the main window does for every row of the device-kind table at start-up).

#include <QString>

#include <cstddef>

#include "device/device_tables.h"

namespace zrv::ui {
class Container;
class Control;
class WindowBase;
}  // namespace zrv::ui

namespace zrv::devices {

class CHalveronUSBDevicePage;

// A new page of the class: "CHalveronUSBDevice", "CHalveronKeyboardDevice",
// "CHalveronMouseDevice", "CHalveronMousePadDevice" or "CHalveronHS6533Device"; null otherwise.
ui::Control* MakeDevicePage(const QString& class_name);

// Builds the page layout of row `row` of kDeviceXmlTable with `window` (whose create-control
// callback makes the page class), gives the page's model `record` and the display index of the
// row of kDeviceKindTable, and runs BuildPage. Null, with `error` set, when the layout cannot be
// built or its root is not a device page.
CHalveronUSBDevicePage* CreateDevicePage(size_t row, const device::InterfaceRecord& record, ui::WindowBase* window,
                                         ui::Container* parent, QString* error = nullptr);

}  // namespace zrv::devices
