#pragma once
// The custom control classes the skin's layouts may name: the classes registered with the UI
// layer's control factory at start-up, and the shorter names the main window answers in its
// create-control callback (objects and template subtrees).

#include <QString>

#include <array>
#include <functional>

namespace zrv::ui {
class Control;
class WindowBase;
}  // namespace zrv::ui

namespace zrv::app {

// Registered with the control factory, in this order.
inline constexpr std::array<const char*, 23> kRegisteredControlClasses = {"CCircleProgressUI",
                                                                          "CChartViewUI",
                                                                          "CWndUI",
                                                                          "CSelectPanelUI",
                                                                          "CDeviceKeyButtonUI",
                                                                          "CCloudShareListItemUI",
                                                                          "CUpdateInfoListItemUI",
                                                                          "CDeviceOptionUI",
                                                                          "CMpDevicePowerUI",
                                                                          "CComboEditContainerElementUI",
                                                                          "CHandImgButtonUI",
                                                                          "CHandImgSelectButtonUI",
                                                                          "CRedioMacroButtonUI",
                                                                          "CLightControlUI",
                                                                          "CMacroControlUI",
                                                                          "CKeySetControlUI",
                                                                          "CDeviceProfileUI",
                                                                          "CShootControlUI",
                                                                          "CMagicControlUI",
                                                                          "CVoice6533ControlUI",
                                                                          "CHalveronUSBDevice",
                                                                          "CHalveronMousePadDevice",
                                                                          "CHalveronHS6533Device"};

// A name of the main window's create-control callback: it makes an object of a class, or builds
// the subtree of a template layout.
struct WindowControlName {
  const char* name;
  const char* class_name;     // object of this class, or null
  const char* template_file;  // subtree of this skin file, or null
};

inline constexpr std::array<WindowControlName, 25> kWindowControlNames = {{
    {"CircleProgress", "CCircleProgressUI", nullptr},
    {"SelectPanel", "CSelectPanelUI", nullptr},
    {"DeviceKeyButton", "CDeviceKeyButtonUI", nullptr},
    {"HandImgButton", "CHandImgButtonUI", nullptr},
    {"HandImgSelectButton", "CHandImgSelectButtonUI", nullptr},
    {"RedioMacroButton", "CRedioMacroButtonUI", nullptr},
    {"ComboEditContainerElement", "CComboEditContainerElementUI", nullptr},
    {"HalveronMousePadDevice", "CHalveronMousePadDevice", nullptr},
    {"HalveronHS6533Device", "CHalveronHS6533Device", nullptr},
    {"HalveronMouseDevice", "CHalveronMouseDevice", nullptr},
    {"HalveronKeyboardDevice", "CHalveronKeyboardDevice", nullptr},
    {"DeviceProfile", "CDeviceProfileUI", nullptr},
    {"LightControl", "CLightControlUI", nullptr},
    {"MagicControl", "CMagicControlUI", nullptr},
    {"Voice6533Control", "CVoice6533ControlUI", nullptr},
    {"KeySetControl", "CKeySetControlUI", nullptr},
    {"ShootControl", "CShootControlUI", nullptr},
    {"DeviceProfileUI", nullptr, "XML\\CustomControlXML\\DeviceProfile.xml"},
    {"LightSetControlUI", nullptr, "XML\\CustomControlXML\\LightControl.xml"},
    {"Voice6533SetControlUI", nullptr, "XML\\CustomControlXML\\Voice6533Control.xml"},
    {"MagicSetControlUI", nullptr, "XML\\CustomControlXML\\MagicControl.xml"},
    {"KeySetControlUI", nullptr, "XML\\CustomControlXML\\KeySetControl.xml"},
    {"MacroSetControlUI", nullptr, "XML\\CustomControlXML\\MacroControl.xml"},
    {"ShootKeySetControlUI", nullptr, "XML\\CustomControlXML\\ShootControl.xml"},
    {"VirtualSetControlUI", nullptr, "XML\\CustomControlXML\\VirtualSet.xml"},
}};

using ControlMaker = std::function<ui::Control*()>;

// The classes of the program by class name. Later work replaces a placeholder by the real class
// with SetControlClass (before the window is built); the factory registration follows it.
void SetControlClass(const QString& class_name, ControlMaker maker);
// An object of the class: the real one when set, else a placeholder keeping the class name.
ui::Control* MakeControl(const QString& class_name);

// Registers every class of kRegisteredControlClasses with the UI layer's control factory.
void RegisterControlClasses();

// The main window's answer to the builder for `name` (compared without regard to case, first
// match wins): a new object, the root of a template subtree built with `window`'s fonts and
// styles but without its callback, or null for names that are not in the table.
ui::Control* CreateWindowControl(const QString& name, ui::WindowBase* window);

}  // namespace zrv::app
