// The main window's message handler: what the platform, other programs and the workers tell it.

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
  connect(sleep_watcher_.get(), &SleepWatcher::suspending, this,
          [this] { OnCustomMessage(msg::kPowerBroadcast, msg::kPowerSuspend, 0); });
  connect(sleep_watcher_.get(), &SleepWatcher::resumed, this,
          [this] { OnCustomMessage(msg::kPowerBroadcast, msg::kPowerResume, 0); });

  // A screen added, removed or changed is the display change; the window moving to a screen of
  // another density is the DPI change.
  const auto display_changed = [this] { PostCustomMessage(msg::kDisplayChange); };
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
      if (screen != nullptr) PostCustomMessage(msg::kDpiChanged, qRound(screen->logicalDotsPerInch()));
    });
  }
}

bool CMainWnd::OnCustomMessage(int message, qint64 wParam, qint64 lParam) {
  switch (message) {
    case msg::kActivate:
      active_ = hover_ = wParam != 0;
      return false;
    case msg::kMouseLeave:
      platform::DebugOut("鼠标移出");
      if (!active_) hover_ = false;
      return false;
    case msg::kMouseHover:
      platform::DebugOut("鼠标移入");
      if (!active_) hover_ = true;
      return false;
    case msg::kInstanceMessage:
      platform::DebugPrintf("软件标示 %d，%llxd_%llxd", message, static_cast<unsigned long long>(wParam),
                            static_cast<unsigned long long>(lParam));
      ShowYourself(static_cast<int>(wParam), static_cast<int>(lParam));
      return false;
    case msg::kForwardMessage:
      // Passed on to the settings window while it is open; it registers here once it exists.
      return false;
    case msg::kLightControlRequest:
      if (wParam == 1 && (lParam == 0 || lParam == 1)) SetLightControl(static_cast<int>(lParam), false);
      return false;
    case msg::kToolMessage:
      // Answered synchronously through the channel's describer (DescribeDevicesBlock).
      return false;
    case msg::kPowerBroadcast:
      OnPowerBroadcast(static_cast<int>(wParam));
      return false;
    default: break;
  }

  const bool device_message = message == msg::kDeviceArrived || message == msg::kDeviceLeft;
  if (!PowerRunning()) {
    // Arrivals and removals keep the device objects in step with discovery: they wait for the
    // resume instead of being lost. Everything else is not acted upon until then.
    if (device_message) {
      deferred_device_messages_.push_back({message, static_cast<size_t>(wParam), static_cast<uint64_t>(lParam)});
      return true;
    }
    return false;
  }

  switch (message) {
    case msg::kDpiChanged:
      ApplyFonts();
      CenterWindow();
      update();
      platform::DebugOut("界面 DPI 发生变化");
      return true;
    case msg::kDpiChangedNotice: platform::DebugOut("界面 DPI 1发生变化"); return false;
    case msg::kDisplayChange:
      platform::DebugOut("显示器分辨率发生变化");
      display_changed_ = true;
      FitToMonitor();
      return false;
    case msg::kTimer: OnWindowTimer(static_cast<int>(wParam)); return false;
    case msg::kKeyDown: return false;
    case msg::kTrayCallback:
      if (lParam == msg::kTrayLeftUp) {
        ToggleFromTray();
      } else if (lParam == msg::kTrayRightUp) {
        StartWindowTimer(kTrayMenuTimer, kTrayMenuDelayMs);
      }
      return true;
    case msg::kInputHook: SetInputHookInstalled(wParam == 1); return true;
    case msg::kShowSettingProgress: ShowSettingProgress(); return true;
    case msg::kReserved3085: return true;
    case msg::kLanguageChanged:
      // Sent by the settings window's language list; the language is applied once that list exists.
      return true;
    case msg::kDeviceArrived:
    case msg::kDeviceLeft: return HandleDeviceMessage(message, static_cast<size_t>(wParam), static_cast<uint64_t>(lParam));
    case msg::kOpenSettings:
      // Opens the settings window once it exists.
      return true;
    case msg::kClearUpdateMark: ClearUpdateMark(); return true;
    default: return false;
  }
}

void CMainWnd::OnPowerBroadcast(int event) {
  if (event == msg::kPowerResume) {
    power_running_.store(true);
    TellDevicesLightControl(light_control_ != 0);
    // What discovery reported meanwhile, in order.
    while (!deferred_device_messages_.empty() && PowerRunning()) {
      const DeferredDeviceMessage deferred = deferred_device_messages_.front();
      deferred_device_messages_.pop_front();
      HandleDeviceMessage(deferred.message, deferred.index, deferred.handover_key);
    }
  } else if (event == msg::kPowerSuspend) {
    power_running_.store(false);
    TellDevicesLightControl(false);
  }
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
    OnCustomMessage(msg::kTimer, id, 0);
    return;
  }
  ui::WindowBase::timerEvent(event);
}

void CMainWnd::OnWindowTimer(int id) {
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

void CMainWnd::ShowSettingProgress() {
  if (ui::Control* progress = FindControl(QStringLiteral("setting_progress"))) progress->SetVisible(true);
}

void CMainWnd::ClearUpdateMark() {
  if (title_buttons_[kSet] != nullptr) title_buttons_[kSet]->SetForeImage(QString());
}

}  // namespace zrv::app
