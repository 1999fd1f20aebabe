#pragma once
// The actions of the routing tables that exist today. Each takes the routing context; the tables
// of main_wnd_routes.cpp name them.

#include "app/main_wnd_routes.h"

namespace zrv::app::actions {

// A row whose notification is deliberately left alone.
void NoAction(RouteContext& context);

// Title bar and window.
void CloseToTray(RouteContext& context);
void HideWindow(RouteContext& context);
void Minimise(RouteContext& context);
void Maximise(RouteContext& context);
void Restore(RouteContext& context);
void OpenHomePage(RouteContext& context);
void ToggleLightControl(RouteContext& context);

// Device selector.
void SelectPreviousDevice(RouteContext& context);
void SelectNextDevice(RouteContext& context);
void SwitchToSelectedDevice(RouteContext& context);

// The function tabs of a device page's profile bar: the tab chosen (n of 1-8) makes the device
// show function mode n; the key tab also redraws the key picture.
void ShowFunctionTab(RouteContext& context);

// The keyboard's system settings (polling rate, scan delay, key flags, key repeat) go to the
// keyboard page when the current device is a keyboard.
void KeyboardSystemSetting(RouteContext& context);

// The profile bar's buttons (create, delete, copy, import, export, reset, rename, fold).
void ProfileBarClick(RouteContext& context);
// A profile chosen in the profile bar takes effect 400 ms later (timer 1055): a quick series of
// choices switches once.
void StartProfileSwitchTimer(RouteContext& context);

// The key-recording edit: the input hook goes with its focus.
void InstallInputHook(RouteContext& context);
void RemoveInputHook(RouteContext& context);

// A DPI slider being dragged shows its value in the edit of the same number.
void ShowDraggedDpiValue(RouteContext& context);

// Menu commands.
void ExitProgram(RouteContext& context);

}  // namespace zrv::app::actions
