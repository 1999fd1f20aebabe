#pragma once
// The main window's routes to its secondary windows: "setbtn", "skinbtn", the tray menu's
// "setwnd_menu" and "about_menu", and the control-panel buttons "windowdeviceset_N".

namespace zrv::ui {
class RouteRegistry;
}  // namespace zrv::ui

namespace zrv::app {

class CMainWnd;

void AddSecondaryWindowRoutes(ui::RouteRegistry& routes, CMainWnd& window);

}  // namespace zrv::app
