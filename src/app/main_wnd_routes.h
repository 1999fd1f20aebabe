#pragma once
// The notification routes the main window adds for itself and for the profile bar's flows it owns.
// The device pages add their own (CHalveronUSBDevicePage::AddRoutes), and every editor or window
// built later adds its routes with the feature (CMainWnd::Routes).

#include "ui/route_registry.h"

namespace zrv::app {

class CMainWnd;
class ProfileFlows;

// The title bar, the no-device page, the lighting toggle, the device selector, the key-recording
// edit's input hook and the tray menu's exit. Owned by `window`: they run with or without a
// current device.
void AddWindowRoutes(ui::RouteRegistry& routes, CMainWnd& window);

// The profile bar's buttons and its profile choice (timer 1055). Owned by `flows`: they run only
// while there is a current device, on whose page the bar is.
void AddProfileBarRoutes(ui::RouteRegistry& routes, ProfileFlows& flows);

}  // namespace zrv::app
