#pragma once
// Decisions of the main window that depend on the screen: its DPI on a monitor and where the tray
// menu opens.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace zrv::app {

// The size the window is given before it is scaled for its monitor (96-DPI pixels).
inline constexpr QSize kFitWindowSize{1000, 640};

// 144 on a monitor larger than 1500 x 960 pixels, else 96.
int FitDpiForScreen(const QSize& screen);
// A DPI the windows support: 48, 72, 96, 120, 144, 168 or 192.
bool IsWindowDpi(int dpi);
// `dpi` when the windows support it; any other becomes 96 with the debug line
// "MAIN_WND DPI SET ERROR".
int CheckedWindowDpi(int dpi);

// The panel (task bar) of a screen, from its whole and its available area, in the screen's own
// coordinates (its top-left corner is 0, 0). Empty when the screen has no panel along an edge.
QRect PanelRect(const QRect& screen, const QRect& available);

struct MenuPlacement {
  QPoint point;   // screen-local
  int align = 0;  // menu alignment flags: 2 left, 4 top, 8 right, 16 bottom
};

// Where the tray menu opens for a pointer at `cursor` (screen-local) beside `panel`: below a panel
// at the top, right of one at the left, above one at the bottom, left of one at the right, else at
// the pointer.
MenuPlacement TrayMenuPlacement(const QPoint& cursor, const QRect& panel);

}  // namespace zrv::app
