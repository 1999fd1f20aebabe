#pragma once
// The notification-area icon. Its clicks reach the owner through callbacks. When the desktop has
// no notification area the icon cannot be shown: IsAvailable() is false and a window that would
// hide itself "to the tray" must stay on screen instead.

#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>

namespace zrv::ui {

class TrayIcon : public QObject {
  Q_OBJECT
 public:
  explicit TrayIcon(QObject* parent = nullptr);
  ~TrayIcon() override;

  // Creates and shows the icon with a tip. False when the desktop has no notification area.
  bool CreateTrayIcon(const QIcon& icon, const QString& tip);
  void DeleteTrayIcon();
  void SetTooltipText(const QString& tip);
  void SetIcon(const QIcon& icon);
  bool IsVisible() const;
  // Whether the desktop shows tray icons at all.
  static bool IsAvailable();
  // True when the icon is shown: hiding the window leaves a way back.
  bool CanRestoreFromTray() const;

  std::function<void()> onLeftClick;   // left button (trigger)
  std::function<void()> onRightClick;  // context request
  std::function<void()> onDoubleClick;

  // Tests: what the desktop answers (overrides QSystemTrayIcon::isSystemTrayAvailable).
  static void SetAvailabilityForTest(int available);  // -1: ask the desktop

 private:
  void Activated(QSystemTrayIcon::ActivationReason reason);
  QSystemTrayIcon* icon_ = nullptr;
};

}  // namespace zrv::ui
