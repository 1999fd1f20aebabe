#include "app/main_wnd.h"

#include <QApplication>
#include <QCursor>
#include <QTimer>

#include "app/control_classes.h"
#include "app/msg_wnd.h"
#include "platform/debug_output.h"
#include "platform/folders.h"
#include "platform/qt/single_instance.h"
#include "ui/containers.h"
#include "ui/language.h"
#include "ui/resources.h"

namespace zrv::app {
namespace {

CMainWnd* g_main_window = nullptr;

constexpr const char* kTitleButtonNames[] = {"closebtn", "maxbtn",   "restorebtn",   "minbtn", "skinbtn",
                                             "gamemodebtn", "cloudbtn", "smarteyesbtn", "setbtn"};

}  // namespace

CMainWnd::CMainWnd() = default;

CMainWnd::~CMainWnd() {
  tray_menu_.Close();
  tray_.DeleteTrayIcon();
  if (g_main_window == this) g_main_window = nullptr;
}

CMainWnd* CMainWnd::Instance() { return g_main_window; }

void CMainWnd::InitWindow() {
  platform::DebugOut("InitWindow");
  if (!ui::LoadLanguage(QStringLiteral("lan_cn.xml"))) platform::DebugOut("language file lan_cn.xml not loaded");
  for (int i = 0; i < kTitleButtons; ++i) title_buttons_[i] = FindControl(QString::fromLatin1(kTitleButtonNames[i]));
  g_main_window = this;

  const QString icon_file = ui::Resources::Instance().ResolveFile(QStringLiteral("common/tray.svg"));
  SetIcon(QStringLiteral("common/tray.svg"));
  tray_.onLeftClick = [this] { ToggleFromTray(); };
  // Opened from the event loop a moment later, so the click that asked has finished.
  tray_.onRightClick = [this] { QTimer::singleShot(10, this, &CMainWnd::OpenTrayMenu); };
  if (!tray_.CreateTrayIcon(QIcon(icon_file), QString::fromLatin1(platform::kProductTitle))) {
    platform::DebugOut("no notification area: the window stays on screen when closed");
  }
  if (ui::Control* version = FindControl(QStringLiteral("version_label"))) {
    version->SetText(QStringLiteral("v" ZRV31_VERSION));
  }
  ShowNoDeviceState(PresentDeviceCount() == 0);
}

ui::Control* CMainWnd::CreateControl(const QString& class_name) { return CreateWindowControl(class_name, this); }

void CMainWnd::OnNotify(ui::Notify& msg) {
  if (msg.type != QLatin1String(ui::notify::kTimer)) {
    platform::DebugOut(msg.type.toStdString());
    platform::DebugOut(msg.SenderName().toStdString());
  }
  if (msg.type == QLatin1String(ui::notify::kWindowInit)) {
    // Other programs learn that this one drives the device lighting.
    if (channel_ != nullptr) channel_->BroadcastLightControlNotice(1, 1);
    return;
  }
  if (msg.type != QLatin1String(ui::notify::kClick)) return;
  if (msg.sender == nullptr) return;
  if (msg.sender == title_buttons_[kClose]) {
    HideToTray();
  } else if (msg.sender == title_buttons_[kMin]) {
    showMinimized();
  } else if (msg.sender == title_buttons_[kMax]) {
    showMaximized();
  } else if (msg.sender == title_buttons_[kRestore]) {
    showNormal();
  } else if (msg.SenderName().compare(QLatin1String("nodevice_ok_btn"), Qt::CaseInsensitive) == 0) {
    HideToTray();
  }
}

void CMainWnd::OnMenuCommand(const ui::MenuCommand& command) {
  if (command.name == QLatin1String("exit")) Close(0);
}

void CMainWnd::OnFinalMessage() {
  // The window is gone: nothing may run against it any more; the loop ends.
  tray_.DeleteTrayIcon();
  QCoreApplication::quit();
}

void CMainWnd::ShowYourself(int first, int second) {
  platform::DebugPrintf("软件标示 %s，%xd_%xd", platform::kProductTitle, first, second);
  ShowNoDeviceState(PresentDeviceCount() == 0);
  showNormal();
  BringToFront();
}

void CMainWnd::ToggleFromTray() {
  const bool on_screen = isVisible() && !isMinimized();
  if (on_screen) {
    HideToTray();
    return;
  }
  ShowNoDeviceState(PresentDeviceCount() == 0);
  showNormal();
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

void CMainWnd::OpenTrayMenu() {
  tray_menu_.Close();
  if (!tray_menu_.Init(QStringLiteral("menu.xml"), this, QCursor::pos(), ui::kMenuAlignLeft | ui::kMenuAlignTop)) {
    platform::DebugOut(tray_menu_.Error().ToString().toStdString());
  }
}

int CMainWnd::MessageBox(const QString& text, bool text_is_id, int buttons, const QString& title) {
  return CMsgWnd::MessageBox(this, title, text, dpi_, text_is_id, buttons);
}

int CMainWnd::PresentDeviceCount() const { return 0; }

void CMainWnd::ShowNoDeviceState(bool no_device) {
  if (ui::Control* link = FindControl(QStringLiteral("No_device_Link"))) link->SetVisible(no_device);
  if (!no_device) return;
  if (auto* pages = FindControl<ui::TabLayout>(QStringLiteral("device_switch"))) pages->SelectItem(1);
  if (auto* power = FindControl<ui::TabLayout>(QStringLiteral("device_power_switch"))) power->SelectItem(0);
}

void CMainWnd::BringToFront() {
  show();
  raise();
  activateWindow();
}

bool CMainWnd::event(QEvent* event) {
  bool handled = ui::WindowBase::event(event);
  if (event->type() == QEvent::Paint && !first_paint_seen_) {
    first_paint_seen_ = true;
    // Announced once the frame has left the paint handler.
    QTimer::singleShot(0, this, &CMainWnd::firstShown);
  }
  return handled;
}

}  // namespace zrv::app
