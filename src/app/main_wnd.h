#pragma once
// The one top-level window: title bar, device selector, device pages, tray icon. Its routing of
// the device pages' notifications grows here as the pages arrive.

#include <QString>

#include <array>

#include "ui/menu.h"
#include "ui/tray_icon.h"
#include "ui/window.h"

namespace zrv::platform {
class SingleInstance;
}  // namespace zrv::platform

namespace zrv::app {

class CMainWnd : public ui::WindowBase {
  Q_OBJECT

 public:
  CMainWnd();
  ~CMainWnd() override;

  // The process-wide main window (workers post to it); null before InitWindow and after the end.
  static CMainWnd* Instance();

  QString GetSkinFile() const override { return QStringLiteral("XML_MAIN"); }
  QString GetWindowClassName() const override { return QStringLiteral("MainWnd"); }
  void InitWindow() override;
  void OnNotify(ui::Notify& msg) override;
  ui::Control* CreateControl(const QString& class_name) override;
  void OnMenuCommand(const ui::MenuCommand& command) override;
  void OnFinalMessage() override;

  // The channel to other programs (single instance, lighting-control notice); may stay unset.
  void SetInstanceChannel(platform::SingleInstance* channel) { channel_ = channel; }

  // The instance message: restore the window and bring it to the front.
  void ShowYourself(int first, int second);
  // The tray icon's left click: show the window, or hide it when it is on screen.
  void ToggleFromTray();
  // The title bar's close: hide to the tray, or minimise when there is no tray to come back from.
  void HideToTray();
  // Opens the tray menu at the pointer.
  void OpenTrayMenu();
  // Message box over this window with its DPI; 1 when the user confirmed.
  int MessageBox(const QString& text, bool text_is_id = true, int buttons = 1, const QString& title = QString());

  int dpi() const { return dpi_; }
  bool HasTrayIcon() const { return tray_.CanRestoreFromTray(); }

 signals:
  // The window has been painted for the first time.
  void firstShown();

 protected:
  bool event(QEvent* event) override;

 private:
  // Present selector items; the selector arrives with the device pages.
  int PresentDeviceCount() const;
  void ShowNoDeviceState(bool no_device);
  void BringToFront();

  // Title bar, in the order they are looked up.
  enum TitleButton { kClose, kMax, kRestore, kMin, kSkin, kGameMode, kCloud, kSmartEyes, kSet, kTitleButtons };
  std::array<ui::Control*, kTitleButtons> title_buttons_{};
  ui::TrayIcon tray_;
  ui::Menu tray_menu_;
  platform::SingleInstance* channel_ = nullptr;
  int dpi_ = 96;
  bool first_paint_seen_ = false;
};

}  // namespace zrv::app
