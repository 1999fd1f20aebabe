// What the platform tells the main window (typed calls), the numbered messages of other windows,
// the input hook and discovery, and the window timers.

#include <QGuiApplication>
#include <QScreen>
#include <QTimerEvent>
#include <QWindow>

#include <atomic>

#include "app/main_wnd.h"
#include "app/profile_flows.h"
#include "app/sleep_watcher.h"
#include "app/window_messages.h"
#include "platform/debug_output.h"

namespace zrv::app {
std::atomic<bool> CMainWnd::power_running_{true};

bool CMainWnd::PowerRunning() { return power_running_.load(); }

void CMainWnd::ConnectPlatformEvents() {
  // Suspend and resume; also during tests, where no system bus exists and nothing arrives.
  sleep_watcher_ = std::make_unique<SleepWatcher>();
  connect(sleep_watcher_.get(), &SleepWatcher::suspending, this, [this] { OnPowerBroadcast(PowerEvent::kSuspend); });
  connect(sleep_watcher_.get(), &SleepWatcher::resumed, this, [this] { OnPowerBroadcast(PowerEvent::kResume); });

  // A screen added, removed or changed is the display change; the window moving to a screen of
  // another density is the DPI change. Both are handled once the event loop comes back, after
  // what was already queued.
  const auto display_changed = [this] {
    QMetaObject::invokeMethod(this, &CMainWnd::OnDisplayChange, Qt::QueuedConnection);
  };
  const auto watch_screen = [this, display_changed](QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, display_changed);
  };
  for (QScreen* screen : QGuiApplication::screens()) watch_screen(screen);
  connect(qApp, &QGuiApplication::screenAdded, this, [watch_screen, display_changed](QScreen* screen) {
    watch_screen(screen);
    display_changed();
  });
  connect(qApp, &QGuiApplication::screenRemoved, this, display_changed);
  if (QWindow* handle = windowHandle()) {
    connect(handle, &QWindow::screenChanged, this, [this](QScreen* screen) {
      if (screen != nullptr) QMetaObject::invokeMethod(this, &CMainWnd::OnDpiChanged, Qt::QueuedConnection);
    });
  }
}

// ---- numbered messages: other windows, the input hook and discovery

bool CMainWnd::OnCustomMessage(int message, qint64 wParam, qint64 lParam) {
  if (message == msg::kInstanceMessage) {
    ShowYourself({wParam, lParam});
    return false;
  }

  if (!PowerRunning()) return false;  // not acted upon until the resume

  switch (message) {
    case msg::kDpiChangedNotice: platform::DebugOut("界面 DPI 1发生变化"); return false;
    case msg::kInputHook: SetInputHookInstalled(msg::InputHook::From(wParam, lParam).installed); return true;
    case msg::kShowSettingProgress:
      // The settings window's progress mark.
      if (ui::Control* progress = FindControl(QStringLiteral("setting_progress"))) progress->SetVisible(true);
      return true;
    case msg::kReserved3085: return true;
    case msg::kLanguageChanged:
      // From the settings window's language list; the language is applied once that list exists.
      return true;
    case msg::kOpenSettings: OpenSettingsWindow(); return true;
    case msg::kClearUpdateMark:
      if (title_buttons_[kSet] != nullptr) title_buttons_[kSet]->SetForeImage(QString());
      return true;
    default: return false;
  }
}

// ---- what the platform reports

void CMainWnd::OnPowerBroadcast(PowerEvent event) {
  if (event == PowerEvent::kResume) {
    power_running_.store(true);
    TellDevicesLightControl(light_control_ != 0);
    // What discovery reported meanwhile, in order.
    while (!deferred_discovery_events_.empty() && PowerRunning()) {
      const DiscoveryEvent deferred = std::move(deferred_discovery_events_.front());
      deferred_discovery_events_.pop_front();
      HandleDiscoveryEvent(deferred);
    }
  } else {
    power_running_.store(false);
    TellDevicesLightControl(false);
  }
}

void CMainWnd::OnDisplayChange() {
  if (!PowerRunning()) return;
  platform::DebugOut("显示器分辨率发生变化");
  display_changed_ = true;
  FitToMonitor();
}

void CMainWnd::OnDpiChanged() {
  if (!PowerRunning()) return;
  ApplyFonts();
  CenterWindow();
  update();
  platform::DebugOut("界面 DPI 发生变化");
}

// ---- window timers: one-shot, killed when they fire

void CMainWnd::StartWindowTimer(int id, int milliseconds) {
  if (auto running = window_timers_.find(id); running != window_timers_.end()) {
    killTimer(running.value());
    window_timers_.erase(running);
  }
  const int qt_id = startTimer(milliseconds);
  if (qt_id != 0) window_timers_.insert(id, qt_id);
}

void CMainWnd::timerEvent(QTimerEvent* event) {
  for (auto it = window_timers_.begin(); it != window_timers_.end(); ++it) {
    if (it.value() != event->timerId()) continue;
    const int id = it.key();
    killTimer(it.value());
    window_timers_.erase(it);
    OnWindowTimer(id);
    return;
  }
  ui::WindowBase::timerEvent(event);
}

void CMainWnd::OnWindowTimer(int id) {
  if (!PowerRunning()) return;  // a timer that fires during a suspend is dropped
  switch (id) {
    case kFitTimer:
      FitToMonitor();
      update();
      break;
    case kTrayMenuTimer: OpenTrayMenuNow(); break;
    case kProfileSwitchTimer: profile_flows_->SwitchProfile(); break;
    default: break;
  }
}

}  // namespace zrv::app
