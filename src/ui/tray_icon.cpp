#include "ui/tray_icon.h"

namespace zrv::ui {

namespace {
int g_availability = -1;
}

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {}

TrayIcon::~TrayIcon() { DeleteTrayIcon(); }

bool TrayIcon::IsAvailable() {
  if (g_availability >= 0) return g_availability != 0;
  return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::SetAvailabilityForTest(int available) { g_availability = available; }

bool TrayIcon::CreateTrayIcon(const QIcon& icon, const QString& tip) {
  DeleteTrayIcon();
  if (!IsAvailable()) return false;
  icon_ = new QSystemTrayIcon(icon, this);
  icon_->setToolTip(tip);
  connect(icon_, &QSystemTrayIcon::activated, this, &TrayIcon::Activated);
  icon_->show();
  return true;
}

void TrayIcon::DeleteTrayIcon() {
  if (!icon_) return;
  icon_->hide();
  delete icon_;
  icon_ = nullptr;
}

void TrayIcon::SetTooltipText(const QString& tip) {
  if (icon_) icon_->setToolTip(tip);
}

void TrayIcon::SetIcon(const QIcon& icon) {
  if (icon_) icon_->setIcon(icon);
}

bool TrayIcon::IsVisible() const { return icon_ && icon_->isVisible(); }

bool TrayIcon::CanRestoreFromTray() const { return icon_ != nullptr && IsAvailable(); }

void TrayIcon::Activated(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      if (onLeftClick) onLeftClick();
      break;
    case QSystemTrayIcon::Context:
      if (onRightClick) onRightClick();
      break;
    case QSystemTrayIcon::DoubleClick:
      if (onDoubleClick) onDoubleClick();
      break;
    default: break;
  }
}

}  // namespace zrv::ui
