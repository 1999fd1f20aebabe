#include "app/main_wnd.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include "app/about_wnd.h"
#include "app/control_classes.h"
#include "app/main_wnd_routes.h"
#include "app/main_wnd_secondary.h"
#include "app/msg_wnd.h"
#include "app/profile_flows.h"
#include "app/profile_flows_device.h"
#include "app/set_wnd.h"
#include "app/skin_observer.h"
#include "app/sleep_watcher.h"
#include "app/window_messages.h"
#include "controls/device_profile.h"
#include "devices/device_page.h"
#include "devices/model/usb_device.h"
#include "editors/device_hook.h"
#include "editors/key_set_flow.h"
#include "editors/light_flow.h"
#include "platform/debug_output.h"
#include "platform/folders.h"
#include "platform/qt/single_instance.h"
#include "ui/containers.h"
#include "ui/language.h"
#include "ui/resources.h"

namespace zrv::app {
namespace {

CMainWnd* g_main_window = nullptr;
std::atomic<int> g_screen_width{0};
std::atomic<int> g_screen_height{0};

constexpr const char* kTitleButtonNames[] = {"closebtn",    "maxbtn",   "restorebtn",   "minbtn", "skinbtn",
                                             "gamemodebtn", "cloudbtn", "smarteyesbtn", "setbtn"};

// Notifications that are dropped without any action.
bool Ignored(const QString& type) { return type == u"click_wpremove" || type == u"click_wpedit"; }

}  // namespace

CMainWnd::CMainWnd() : CMainWnd(StartOptions{}) {}

CMainWnd::CMainWnd(StartOptions options)
    : options_(options), hook_(std::make_unique<editors::CDeviceHook>()), selector_(*this) {
  connect(hook_.get(), &editors::CDeviceHook::keyMessage, this,
          [this](const editors::HookKeyMessage& message) { OnHookKeyMessage(message); });
  connect(hook_.get(), &editors::CDeviceHook::captureNarrowed, this, [this] { ShowHookWindowOnly(true); });
  DeviceSelector::Hooks hooks;
  hooks.close_secondary_windows = [this] { CloseSecondaryWindows(); };
  hooks.stop_recording = [this] {
    if (input_hook_installed_) SetInputHookInstalled(false);
  };
  hooks.several_present = [this](bool several) {
    for (const auto& flow : light_flows_) flow->SetSameModeAllowed(several);
  };
  selector_.SetHooks(std::move(hooks));

  // The profile bar of the current device's page, with that page as the flows' device: a device of
  // its own for every flow, which nothing points at another page while the flow runs.
  profile_asker_ = std::make_unique<MsgWndAsker>(this, [this] { return dpi_; });
  profile_flows_ = std::make_unique<ProfileFlows>(*profile_asker_, [this] {
    ProfileFlows::Target target;
    devices::CHalveronUSBDevicePage* page = CurrentDevice();
    if (page == nullptr) return target;
    target.bar = page->ProfileBar();
    target.device = std::make_shared<PageProfileDevice>(page);
    return target;
  });
  profile_flows_->SetSwitchTimerStarter([this] { StartWindowTimer(kProfileSwitchTimer, kProfileSwitchDelayMs); });
  AddWindowRoutes(routes_, *this);
  AddProfileBarRoutes(routes_, *profile_flows_);
  AddSecondaryWindowRoutes(routes_, *this);
}

CMainWnd::~CMainWnd() {
  StopWorkerThreads();
  tray_menu_.Close();
  tray_.DeleteTrayIcon();
  if (channel_ != nullptr) channel_->SetToolDescriber(nullptr);
  if (g_main_window == this) {
    g_main_window = nullptr;
    // A window that goes while the machine sleeps leaves no suspended state to the next one.
    power_running_.store(true);
  }
}

CMainWnd* CMainWnd::Instance() { return g_main_window; }

QSize CMainWnd::ScreenSize() { return {g_screen_width.load(), g_screen_height.load()}; }

void CMainWnd::InitWindow() {
  platform::DebugOut("InitWindow");
  if (!ui::LoadLanguage(QStringLiteral("lan_cn.xml"))) platform::DebugOut("language file lan_cn.xml not loaded");
  for (int i = 0; i < kTitleButtons; ++i) title_buttons_[i] = FindControl(QString::fromLatin1(kTitleButtonNames[i]));
  g_main_window = this;

  const QString icon_file = ui::Resources::Instance().ResolveFile(QStringLiteral("common/tray.svg"));
  SetIcon(QStringLiteral("common/tray.svg"));
  tray_.onLeftClick = [this] { ToggleFromTray(); };
  tray_.onRightClick = [this] { OpenTrayMenu(); };
  if (!tray_.CreateTrayIcon(QIcon(icon_file), QString::fromLatin1(platform::kProductTitle))) {
    platform::DebugOut("no notification area: the window stays on screen when closed");
  }
  if (ui::Control* version = FindControl(QStringLiteral("version_label"))) {
    version->SetText(QStringLiteral("v" ZRV31_VERSION));
  }
  ShowLightControlText();
  ShowNoDeviceState(true);
  // Skin changes reach the window from the skin window; the chosen image outlives a restart.
  skin_receiver_ = std::make_unique<SkinReceiver>([this](const SkinChangedParam& change) { ApplySkin(change); });
  SkinChangeObserver().AddReceiver(skin_receiver_.get());
  if (const QString image = RememberedSkinImage(SkinIniFile()); !image.isEmpty()) ApplySkin({false, 0, image});
}

ui::Control* CMainWnd::CreateControl(const QString& class_name) { return CreateWindowControl(class_name, this); }

void CMainWnd::OnWindowInit() {
  if (initialised_ != 0) return;
  // Other programs learn that this one drives the device lighting.
  if (channel_ != nullptr) channel_->BroadcastLightControlNotice(1, light_control_);
  // The saved language choice is applied here once the language list is read; until then the
  // texts are those loaded in InitWindow.
  interfaces_ = std::make_unique<device::InterfaceList>();
  attacher_ = std::make_unique<device::DeviceAttacher>(*interfaces_);
  CreateDevicePages();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QSize pixels = screen->geometry().size() * screen->devicePixelRatio();
    g_screen_width.store(pixels.width());
    g_screen_height.store(pixels.height());
  }
  profile_flows_->SetScreenSize(ScreenSize());
  ShowWindow(true, true);
  ConnectPlatformEvents();
  StartWorkerThreads();
  StartWindowTimer(kFitTimer, kFitDelayMs);
  initialised_ = 1;
}

void CMainWnd::OnNotify(ui::Notify& msg) {
  if (msg.type != QLatin1String(ui::notify::kTimer)) {
    platform::DebugOut(msg.type.toStdString());
    platform::DebugOut(msg.SenderName().toStdString());
  }
  if (msg.type == QLatin1String(ui::notify::kWindowInit)) {
    OnWindowInit();
    return;
  }
  if (msg.type == QLatin1String(ui::notify::kWindowSize)) {
    if (msg.SenderName() == u"root" && display_changed_) {
      display_changed_ = false;
      FitToMonitor();
    }
    return;
  }
  if (Ignored(msg.type) || msg.sender == nullptr) return;
  DispatchRoutes(msg, msg.SenderName());
}

void CMainWnd::OnMenuCommand(const ui::MenuCommand& command) {
  if (!PowerRunning()) return;
  ui::Notify notify;
  notify.type = QLatin1String(ui::notify::kMenu);
  DispatchRoutes(notify, command.name);
}

void CMainWnd::DispatchRoutes(const ui::Notify& msg, const QString& name) {
  devices::CHalveronUSBDevicePage* device = CurrentDevice();
  const ui::RouteRegistry::Owner active[] = {this, profile_flows_.get(), device};
  routes_.Dispatch(msg, name, std::span<const ui::RouteRegistry::Owner>(active, device != nullptr ? 3 : 1));
}

void CMainWnd::SetInputHookInstalled(bool installed) {
  if (!PowerRunning()) return;
  // The global input hook records keys for the key editor and macros; the flag tells the selector
  // whether a recording has to be stopped when the device leaves. The callers go on whatever the
  // hook answers: without a capture no key arrives.
  input_hook_installed_ = installed;
  if (installed) {
    const editors::CDeviceHook::InstallResult result = hook_->Install(editors::HookMode::kSingleKey, true, true);
    ShowHookWindowOnly(result == editors::CDeviceHook::kInstalledInWindow);
    return;
  }
  hook_->Uninstall();
  for (const auto& flow : key_set_flows_) flow->EndCapture();
}

editors::KeySetFlow* CMainWnd::KeySetFlowOf(const devices::CHalveronUSBDevicePage* page) const {
  if (page == nullptr) return nullptr;
  for (const auto& flow : key_set_flows_) {
    if (flow->Page() == page) return flow.get();
  }
  return nullptr;
}

editors::LightFlow* CMainWnd::LightFlowOf(const devices::CHalveronUSBDevicePage* page) const {
  if (page == nullptr) return nullptr;
  for (const auto& flow : light_flows_) {
    if (flow->Page() == page) return flow.get();
  }
  return nullptr;
}

void CMainWnd::OnHookKeyMessage(const editors::HookKeyMessage& message) {
  if (!PowerRunning() || message.mode != editors::HookMode::kSingleKey) return;
  // The page of the current device; a page that went (or is not current) gets nothing.
  if (editors::KeySetFlow* flow = KeySetFlowOf(CurrentDevice())) flow->OnKeyMessage(message.key);
}

void CMainWnd::ShowHookWindowOnly(bool window_only) {
  if (editors::KeySetFlow* flow = KeySetFlowOf(CurrentDevice())) {
    if (flow->Editor() != nullptr) flow->Editor()->ShowWindowOnlyNotice(window_only);
  }
}

void CMainWnd::OnFinalMessage() {
  platform::DebugOut("退出测试");
  StopWorkerThreads();
  // The window is gone: nothing may run against it any more; the loop ends.
  tray_menu_.Close();
  tray_.DeleteTrayIcon();
  QCoreApplication::quit();
}

void CMainWnd::SetInstanceChannel(platform::SingleInstance* channel) {
  if (channel_ != nullptr) {
    channel_->disconnect(this);
    channel_->SetToolDescriber(nullptr);
  }
  channel_ = channel;
  if (channel == nullptr) return;
  connect(channel, &platform::SingleInstance::instanceMessage, this, [this](int first, int second) {
    ShowYourself({first, second});
  });
  connect(channel, &platform::SingleInstance::forwardMessage, this,
          [this](int first, int second) { OnForwardMessage(first, second); });
  connect(channel, &platform::SingleInstance::lightControlRequest, this, [this](int first, int second) {
    OnLightControlRequest({first, second});
  });
  channel->SetToolDescriber([this] { return DescribeDevicesBlock(); });
}

void CMainWnd::CloseSecondaryWindows() {
  // The settings window refuses while an update is in progress.
  if (set_wnd_) set_wnd_->RequestClose();
  if (about_wnd_) about_wnd_->Close(0);
}

int CMainWnd::MessageBox(const QString& text, bool text_is_id, int buttons, const QString& title) {
  return CMsgWnd::MessageBox(this, title, text, dpi_, text_is_id, buttons);
}

// ---- lighting control shared with other programs

void CMainWnd::ToggleLightControl() { SetLightControl(light_control_ == 0 ? 1 : 0, true); }

void CMainWnd::SetLightControl(int value, bool broadcast) {
  light_control_ = value != 0 ? 1 : 0;
  if (broadcast && channel_ != nullptr) channel_->BroadcastLightControlNotice(1, light_control_);
  ShowLightControlText();
  TellDevicesLightControl(light_control_ != 0);
}

void CMainWnd::OnLightControlRequest(const msg::LightControlRequest& request) {
  if (request.Valid()) SetLightControl(request.drive, false);
}

void CMainWnd::ShowLightControlText() {
  if (ui::Control* status = FindControl(QStringLiteral("control_light_status"))) {
    status->SetResourceText(false);
    status->SetText(light_control_ != 0 ? QStringLiteral("控制灯光") : QStringLiteral("不控制灯光"));
  }
}

void CMainWnd::TellDevicesLightControl(bool on) {
  for (const auto* list : {&mice_, &mouse_pads_, &keyboards_}) {
    for (devices::CHalveronUSBDevice* device : *list) device->SetLightControl(on);
  }
}

// ---- activation, pointer and first paint

bool CMainWnd::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::ActivationChange:
      active_ = hover_ = isActiveWindow();
      // Keys typed into other programs are theirs again once we lose the focus.
      if (!active_ && input_hook_installed_) hook_->OnWindowFocusLost();
      break;
    case QEvent::Enter:
      platform::DebugOut("鼠标移入");
      if (!active_) hover_ = true;
      break;
    case QEvent::Leave:
      platform::DebugOut("鼠标移出");
      if (!active_) hover_ = false;
      break;
    default: break;
  }
  const bool handled = ui::WindowBase::event(event);
  if (event->type() == QEvent::Paint && !first_paint_seen_) {
    first_paint_seen_ = true;
    // Announced once the frame has left the paint handler.
    QTimer::singleShot(0, this, &CMainWnd::firstShown);
  }
  return handled;
}

}  // namespace zrv::app
