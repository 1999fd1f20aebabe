// Fitting the main window to its monitor.

#include <QGuiApplication>
#include <QScreen>

#include "app/main_wnd.h"
#include "app/window_fit.h"

namespace zrv::app {

void CMainWnd::FitToMonitor() {
  // A minimised window is restored; a hidden one is resized where it is and stays hidden.
  if (isMinimized()) showNormal();
  const QScreen* monitor = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
  const int dpi = CheckedWindowDpi(monitor != nullptr ? FitDpiForScreen(monitor->geometry().size()) : 96);
  // The size is set at 96 DPI and then scaled with the window's content.
  SetDPI(96);
  resize(kFitWindowSize);
  SetDPI(dpi);
  // Scaling resizes by the ratio of the zooms, but the larger minimum size applied on the way may
  // already have grown the window: the scaled size is set once more.
  resize(Scale(kFitWindowSize.width()), Scale(kFitWindowSize.height()));
  dpi_ = dpi;
  CenterWindow();
}

}  // namespace zrv::app
