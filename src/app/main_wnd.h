#pragma once
// CMainWnd: the one top-level window. Its layout holds the title bar, the device selector and one
// page per device kind; it runs the notification routes that it, its profile flows and the pages
// added (Routes; a page's only while it is the current device). What the platform and other
// programs report reaches it as typed calls; other windows, the input hook and discovery send
// numbered messages (window_messages.h). It owns the worker threads, the tray icon and the device
// lists, fits itself to its monitor and decides who drives the lighting shared with other programs.
//
// The implementation is split by concern: main_wnd.cpp (set-up and notifications),
// main_wnd_messages.cpp (platform events, numbered messages and timers), main_wnd_devices.cpp
// (pages, attach and detach), main_wnd_threads.cpp (worker slots), main_wnd_tray.cpp (tray,
// showing and hiding), main_wnd_fit.cpp (monitor fit), main_wnd_routes.cpp (the window's own
// routes).

#include <QByteArray>
#include <QHash>
#include <QPointer>
#include <QSize>
#include <QString>

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "app/device_selector.h"
#include "app/light_sync.h"
#include "app/window_messages.h"
#include "app/window_timers.h"
#include "app/worker_slots.h"
#include "device/device_attach.h"
#include "device/discovery_interface_list.h"
#include "device/discovery_sink.h"
#include "ui/menu.h"
#include "ui/route_registry.h"
#include "ui/tray_icon.h"
#include "ui/window.h"

namespace zrv::platform {
class SingleInstance;
}  // namespace zrv::platform
namespace zrv::devices {
class CHalveronUSBDevice;
class CHalveronUSBDevicePage;
}  // namespace zrv::devices
namespace zrv::editors {
class CDeviceHook;
class KeySetFlow;
class LightFlow;
struct HookKeyMessage;
}  // namespace zrv::editors

namespace zrv::app {

class SleepWatcher;
class ProfileFlows;
class MsgWndAsker;
class CSetWnd;
class CAboutWnd;
class SkinReceiver;
class UpdateWorker;
struct SkinChangedParam;

class CMainWnd : public ui::WindowBase, public device::DiscoverySink {
  Q_OBJECT

 public:
  // Window timers: window_timers.h.
  // The page container of the device pages (inside page 0 of "device_switch").
  static constexpr const char* kPageContainer = "device_page_switch";

  // What starts at windowinit; tests leave out what they drive themselves.
  struct StartOptions {
    bool discovery = true;
    bool update_check = true;
    bool light_sync = true;
  };

  CMainWnd();
  explicit CMainWnd(StartOptions options);
  ~CMainWnd() override;

  // The process-wide main window (workers post to it); null before InitWindow and after the end.
  static CMainWnd* Instance();
  // The screen size taken at windowinit (pixels); the device settings that depend on it use it.
  static QSize ScreenSize();
  // 0 between a suspend and the following resume: what the window is told is not acted upon then,
  // except the instance message, other programs' lighting requests, activation and pointer.
  static bool PowerRunning();

  QString GetSkinFile() const override { return QStringLiteral("XML_MAIN"); }
  QString GetWindowClassName() const override { return QStringLiteral("MainWnd"); }
  void InitWindow() override;
  void OnNotify(ui::Notify& msg) override;
  ui::Control* CreateControl(const QString& class_name) override;
  void OnMenuCommand(const ui::MenuCommand& command) override;
  bool OnCustomMessage(int message, qint64 wParam, qint64 lParam) override;
  void OnFinalMessage() override;

  // device::DiscoverySink: arrivals and removals reach OnDiscoveryEvent as queued calls, each
  // carrying the hand-over its thread waits on; the first scan's end shows the window.
  void Send(device::DiscoveryMessage message, size_t index, std::shared_ptr<platform::Handover> handover) override;
  void PostFirstScanDone() override;

  // An arrival or removal of the interface list's row `index`; the hand-over is null when the
  // window's own code (or a test) sends it. Held back while the machine is suspended.
  struct DiscoveryEvent {
    device::DiscoveryMessage message = device::DiscoveryMessage::kDeviceAdd;
    size_t index = 0;
    std::shared_ptr<platform::Handover> handover;
  };
  void OnDiscoveryEvent(DiscoveryEvent event);

  // The channel to other programs (single instance, lighting control, tool description).
  void SetInstanceChannel(platform::SingleInstance* channel);

  // ---- what the routes and other windows use
  DeviceSelector& Selector() { return selector_; }
  const DeviceSelector& Selector() const { return selector_; }
  // The device of the selected, present item, or null.
  devices::CHalveronUSBDevicePage* CurrentDevice() const { return selector_.CurrentDevice(); }
  // The pages in the order of the device-kind table (null where a page could not be built).
  const std::vector<devices::CHalveronUSBDevicePage*>& DevicePages() const { return pages_; }
  // The device lists by kind.
  const std::vector<devices::CHalveronUSBDevice*>& Mice() const { return mice_; }
  const std::vector<devices::CHalveronUSBDevice*>& Keyboards() const { return keyboards_; }
  const std::vector<devices::CHalveronUSBDevice*>& MousePads() const { return mouse_pads_; }
  const std::vector<devices::CHalveronUSBDevice*>& Headsets() const { return headsets_; }
  const device::InterfaceList* Interfaces() const { return interfaces_.get(); }
  LightSyncThread* LightSync() { return light_sync_.get(); }
  // The profile bar's flows on the current device's page.
  ProfileFlows& Profiles() { return *profile_flows_; }
  // The notification routes: a page, editor or window adds its own as it is built.
  ui::RouteRegistry& Routes() { return routes_; }
  bool Initialised() const { return initialised_ != 0; }

  // Sends the close request to the settings and about windows when they are open.
  void CloseSecondaryWindows();
  // Scales the window for its monitor: 144 DPI above 1500 x 960 pixels, else 96.
  void FitToMonitor();
  // Message box over this window with its DPI; 1 when the user confirmed.
  int MessageBox(const QString& text, bool text_is_id = true, int buttons = 1, const QString& title = QString());

  // The instance message: restore the window and bring it to the front.
  void ShowYourself(const msg::InstanceMessage& message);
  // The tray icon's left click: show the window, or hide it when it is on screen. Like the right
  // click, not acted upon during a suspend.
  void ToggleFromTray();
  // Hide to the tray, or minimise when there is no tray to come back from.
  void HideToTray();
  // The title bar's close: the secondary windows close and the window goes to the tray.
  void CloseToTray();
  // The tray icon's right click: opens the tray menu beside the panel that holds the tray, 10 ms
  // later (timer 1032).
  void OpenTrayMenu();
  // Opens the vendor's home page in the default browser.
  void OpenHomePage();

  // Who drives the device lighting: 1 this program, 0 another one.
  int LightControl() const { return light_control_; }
  // The user's toggle: tells other programs and every device.
  void ToggleLightControl();
  // Sets the flag (another program's request, or the toggle), shows it and tells every device.
  void SetLightControl(int value, bool broadcast);
  // Another program's request over the channel: sets the flag without telling other programs.
  void OnLightControlRequest(const msg::LightControlRequest& request);

  // The machine suspends (the devices leave the lighting, the window stops acting) or resumed
  // (what discovery reported meanwhile is handled, in order).
  enum class PowerEvent { kSuspend, kResume };
  void OnPowerBroadcast(PowerEvent event);
  // A screen was added, removed or changed: the window is fitted to its monitor again.
  void OnDisplayChange();

  // One-shot window timers (a running one starts again).
  void StartWindowTimer(int id, int milliseconds);
  bool WindowTimerRunning(int id) const { return window_timers_.contains(id); }

  // The input hook for key recording is installed (message 1054, or the recording edit's focus).
  // Not acted upon between a suspend and the resume. Installing captures one key for the key
  // assignment editor of the current page (mode 1); where keys can be captured only while the
  // window is active, that editor says so.
  bool InputHookInstalled() const { return input_hook_installed_; }
  void SetInputHookInstalled(bool installed);
  editors::CDeviceHook& InputHook() { return *hook_; }
  // The key assignment flow of `page` (keyboard and mouse pages), or null.
  editors::KeySetFlow* KeySetFlowOf(const devices::CHalveronUSBDevicePage* page) const;
  editors::LightFlow* LightFlowOf(const devices::CHalveronUSBDevicePage* page) const;

  // Stops every worker thread in slot order (once); see worker_slots.h.
  void StopWorkerThreads();

  // The device description block a test tool asks for; empty before windowinit.
  QByteArray DescribeDevicesBlock() const;

  // ---- secondary windows and updates (main_wnd_secondary.cpp)
  // The settings window (modal; nothing while one is open): the update page lists the program and
  // the attached devices of the update-target table.
  void OpenSettingsWindow();
  // The about window (modal; nothing while one is open).
  void OpenAboutWindow();
  // The skin window under "skinbtn".
  void OpenSkinWindow();
  // The desktop's mouse (0) or keyboard (1) settings; a message when the desktop has none.
  void OpenControlPanelFor(int index);
  // An installer's report (Forward): to the settings window while it is open.
  void OnForwardMessage(int first, int second);
  // The background update check, once: the thread of slot 2 starts at windowinit, its check with
  // discovery after the first scan, so that the devices plugged in at start are asked about too.
  void StartUpdateCheck();
  // The check's result: a newer version marks "setbtn" and opens the settings window (3093).
  void OnUpdateCheckDone(bool newer);
  // The HID version of the connected device of each device-kind row, 0 where none is connected.
  std::vector<int> DeviceVersions() const;
  // A skin change: a colour or an image as the background of "root".
  void ApplySkin(const SkinChangedParam& change);
  CSetWnd* SettingsWindow() const;
  CAboutWnd* AboutWindow() const;

  int dpi() const { return dpi_; }
  bool HasTrayIcon() const { return tray_.CanRestoreFromTray(); }
  bool Active() const { return active_; }
  bool Hovered() const { return hover_; }

 signals:
  // The window has been painted for the first time.
  void firstShown();

 protected:
  bool event(QEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  // Runs the routes of `name` for `msg` among the active owners: the window always, the current
  // device's page and the profile flows on it only while there is one.
  void DispatchRoutes(const ui::Notify& msg, const QString& name);

  // windowinit, in its order.
  void OnWindowInit();
  void CreateDevicePages();
  void ConnectPlatformEvents();
  void StartWorkerThreads();

  // Window messages.
  void HandleDiscoveryEvent(const DiscoveryEvent& event);
  void OnWindowTimer(int id);
  // The window moved to a screen of another density.
  void OnDpiChanged();

  // Attach and detach.
  void AttachDevice(size_t index);
  void DetachDevice(size_t index);
  devices::CHalveronUSBDevicePage* PageOf(const device::AttachableDevice* device) const;
  void ShowNoDeviceState(bool no_device);
  void BringToFront();

  // Lighting control goes to every mouse, mouse pad and keyboard.
  void TellDevicesLightControl(bool on);
  void ShowLightControlText();

  void OpenTrayMenuNow();

  // A key message of the input hook: in mode 1 it goes to the current page's key editor.
  void OnHookKeyMessage(const editors::HookKeyMessage& message);
  // Keys are captured only while the window is active: the current page's editor says so.
  void ShowHookWindowOnly(bool window_only);

  // 0 between a suspend and the following resume (process-wide).
  static std::atomic<bool> power_running_;

  StartOptions options_;
  // Title bar, in the order they are looked up.
  enum TitleButton { kClose, kMax, kRestore, kMin, kSkin, kGameMode, kCloud, kSmartEyes, kSet, kTitleButtons };
  std::array<ui::Control*, kTitleButtons> title_buttons_{};
  int light_control_ = 1;
  ui::Menu tray_menu_;
  ui::TrayIcon tray_;
  platform::SingleInstance* channel_ = nullptr;
  std::unique_ptr<SleepWatcher> sleep_watcher_;
  std::unique_ptr<MsgWndAsker> profile_asker_;
  std::unique_ptr<ProfileFlows> profile_flows_;
  ui::RouteRegistry routes_;

  // Declared before the worker slots: the threads use them, so they go after the threads ended.
  std::unique_ptr<device::InterfaceList> interfaces_;
  std::unique_ptr<device::DeviceAttacher> attacher_;
  std::vector<devices::CHalveronUSBDevicePage*> pages_;
  std::vector<devices::CHalveronUSBDevice*> mice_;
  std::vector<devices::CHalveronUSBDevice*> keyboards_;
  std::vector<devices::CHalveronUSBDevice*> mouse_pads_;
  std::vector<devices::CHalveronUSBDevice*> headsets_;
  std::unique_ptr<LightSyncThread> light_sync_;
  std::unique_ptr<editors::CDeviceHook> hook_;
  std::vector<std::unique_ptr<editors::KeySetFlow>> key_set_flows_;
  std::vector<std::unique_ptr<editors::LightFlow>> light_flows_;
  WorkerSlots slots_;
  bool threads_stopped_ = false;

  DeviceSelector selector_;
  int dpi_ = 96;
  bool display_changed_ = false;
  bool active_ = false;
  bool hover_ = false;
  bool input_hook_installed_ = false;
  uint8_t initialised_ = 0;
  bool first_paint_seen_ = false;
  QHash<int, int> window_timers_;  // timer id -> Qt timer id

  // Secondary windows, while open; the skin receiver (registered at InitWindow).
  QPointer<CSetWnd> set_wnd_;
  QPointer<CAboutWnd> about_wnd_;
  std::unique_ptr<SkinReceiver> skin_receiver_;
  UpdateWorker* update_check_thread_ = nullptr;  // in slot 2
  bool update_check_started_ = false;

  // Discovery messages in flight, by the key their posted message carries.
  // Arrivals and removals that came while the machine was suspended, handled on resume.
  std::deque<DiscoveryEvent> deferred_discovery_events_;
};

}  // namespace zrv::app
