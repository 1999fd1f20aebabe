// Showing and hiding the main window: the instance message, the tray icon and its menu, the title
// bar's close.

#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>

#include "app/main_wnd.h"
#include "app/window_fit.h"
#include "platform/debug_output.h"
#include "ui/containers.h"

namespace zrv::app {
namespace {

// The vendor's home page ("WebLink_btn"); configuration of the installation.
constexpr const char* kHomePage = "https://www.zrv31.example/";

}  // namespace

void CMainWnd::ShowYourself(const msg::InstanceMessage& message) {
  const auto word = [](qint64 value) { return static_cast<unsigned long long>(value); };
  platform::DebugPrintf("软件标示 %d，%llxd_%llxd", msg::kInstanceMessage, word(message.first), word(message.second));
  ShowNoDeviceState(selector_.PresentCount() == 0);
  showNormal();
  BringToFront();
}

void CMainWnd::ToggleFromTray() {
  if (!PowerRunning()) return;
  const bool no_device = selector_.PresentCount() == 0;
  const bool on_screen = isVisible() && !isMinimized();
  CloseSecondaryWindows();
  if (on_screen) {
    HideToTray();
    return;
  }
  ShowNoDeviceState(no_device);
  showNormal();
  FitToMonitor();
  BringToFront();
  update();
}

void CMainWnd::HideToTray() {
  if (tray_.CanRestoreFromTray()) {
    hide();
  } else {
    // Without a tray icon a hidden window could not be brought back.
    showMinimized();
  }
}

void CMainWnd::CloseToTray() {
  CloseSecondaryWindows();
  HideToTray();
}

void CMainWnd::BringToFront() {
  show();
  raise();
  activateWindow();
}

void CMainWnd::OpenTrayMenu() {
  if (PowerRunning()) StartWindowTimer(kTrayMenuTimer, kTrayMenuDelayMs);
}

void CMainWnd::OpenTrayMenuNow() {
  tray_menu_.Close();
  const QPoint cursor = QCursor::pos();
  QScreen* screen = QGuiApplication::screenAt(cursor);
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  QPoint point = cursor;
  int align = ui::kMenuAlignLeft | ui::kMenuAlignTop;
  if (screen != nullptr) {
    const QRect whole = screen->geometry();
    const MenuPlacement placement =
        TrayMenuPlacement(cursor - whole.topLeft(), PanelRect(whole, screen->availableGeometry()));
    point = placement.point + whole.topLeft();
    align = placement.align;
  }
  if (!tray_menu_.Init(QStringLiteral("menu.xml"), this, point, align)) {
    platform::DebugOut(tray_menu_.Error().ToString().toStdString());
  }
}

void CMainWnd::OpenHomePage() { QDesktopServices::openUrl(QUrl(QString::fromLatin1(kHomePage))); }

}  // namespace zrv::app
