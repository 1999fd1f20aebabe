// The main window's secondary windows (settings, about, skin), the background update check with
// its mark on "setbtn", the installer reports, and the desktop's control panels.

#include "app/main_wnd_secondary.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

#include "app/about_wnd.h"
#include "app/control_panel.h"
#include "app/main_wnd.h"
#include "app/set_wnd.h"
#include "app/skin_frame.h"
#include "app/skin_observer.h"
#include "app/update_worker.h"
#include "devices/device_page.h"
#include "devices/model/usb_device.h"
#include "platform/debug_output.h"
#include "platform/folders.h"
#include "platform/qt/settings_store.h"
#include "ui/notify.h"
#include "ui/route_registry.h"
#include "update/update_check.h"
#include "update/update_flow.h"
#include "update/update_time.h"

namespace zrv::app {
namespace {

// The foreground image of "setbtn" while something newer exists.
constexpr const char* kUpdateMark = "file='sysbtn/haveNewInfo.svg' dest='22,3,31,12'";

std::string UpdateServer() { return update::UpdateServerAddress(platform::SettingsStore()); }

}  // namespace

void AddSecondaryWindowRoutes(ui::RouteRegistry& routes, CMainWnd& window) {
  using ui::RouteHit;
  CMainWnd* w = &window;
  routes.AddName(w, ui::notify::kClick, "setbtn", [w](const RouteHit&) { w->OpenSettingsWindow(); });
  routes.AddName(w, ui::notify::kClick, "skinbtn", [w](const RouteHit&) { w->OpenSkinWindow(); });
  routes.AddName(w, ui::notify::kMenu, "setwnd_menu", [w](const RouteHit&) { w->OpenSettingsWindow(); });
  routes.AddName(w, ui::notify::kMenu, "about_menu", [w](const RouteHit&) { w->OpenAboutWindow(); });
  routes.AddPrefix(w, ui::notify::kClick, "windowdeviceset_",
                   [w](const RouteHit& hit) { w->OpenControlPanelFor(hit.number); });
}

std::vector<int> CMainWnd::DeviceVersions() const {
  std::vector<int> versions(pages_.size(), 0);
  for (size_t row = 0; row < pages_.size(); ++row) {
    if (pages_[row] == nullptr) continue;
    devices::CHalveronUSBDevice& model = pages_[row]->Model();
    if (model.Connected()) versions[row] = model.CommandLink().Hid().Version();
  }
  return versions;
}

// ---- the background check

void CMainWnd::StartUpdateCheck() {
  if (update_check_thread_ == nullptr || update_check_started_) return;
  update_check_started_ = true;
  const std::vector<update::UpdateTarget> targets = update::RefreshTargets(DeviceVersions());
  // Once asked, the thread waits for its stop like the slot's other threads.
  update_check_thread_->Post(
      [this, targets, server = UpdateServer()](update::HttpClient& client, const platform::StopEvent& stop) {
        const bool newer = update::FindNewerVersion(client, server, targets);
        if (stop.IsSet()) return;
        QMetaObject::invokeMethod(
            this, [this, newer] { OnUpdateCheckDone(newer); }, Qt::QueuedConnection);
      });
}

void CMainWnd::OnUpdateCheckDone(bool newer) {
  ui::Control* set_button = title_buttons_[kSet];
  if (set_button != nullptr) set_button->SetForeImage(newer ? QString::fromLatin1(kUpdateMark) : QString());
  if (newer) PostCustomMessage(msg::kOpenSettings);
}

// ---- settings and about windows

CSetWnd* CMainWnd::SettingsWindow() const { return set_wnd_.data(); }

CAboutWnd* CMainWnd::AboutWindow() const { return about_wnd_.data(); }

void CMainWnd::OpenSettingsWindow() {
  if (set_wnd_) return;
  CSetWnd::Options options;
  options.dpi = dpi_;
  options.targets = update::TargetsToCheck(update::RefreshTargets(DeviceVersions()));
  options.settings.server = UpdateServer();
  options.settings.download_dir = platform::UpdateDownloadDir();
  options.settings.time_file = update::UpdateTimeFile(QString::fromStdString(platform::UserDataDir().string()));
  options.hooks.clear_update_mark = [this] { OnCustomMessage(msg::kClearUpdateMark, 0, 0); };
  options.hooks.show_failure = [this](const QString& text) {
    QMessageBox::warning(set_wnd_ ? static_cast<QWidget*>(set_wnd_.data()) : this, QString(), text);
  };
  options.hooks.open_with_desktop = [](const std::filesystem::path& file) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file.string())));
  };
  CSetWnd* window = CSetWnd::Open(this, std::move(options));
  if (window == nullptr) return;
  set_wnd_ = window;
  // The handle clears itself when the window goes (it deletes itself once closed).
  window->ShowModal();
}

void CMainWnd::OpenAboutWindow() {
  if (about_wnd_) return;
  CAboutWnd::Show(this, dpi_, &about_wnd_);
}

void CMainWnd::OnForwardMessage(int first, int second) {
  if (!set_wnd_) return;
  // Posted, as the report reached us: the settings window handles it from its own loop turn.
  QMetaObject::invokeMethod(
      set_wnd_.data(),
      [window = set_wnd_, first, second] {
        if (window) window->ForwardMessage(first, second);
      },
      Qt::QueuedConnection);
}

// ---- skin

void CMainWnd::OpenSkinWindow() { CSkinFrame::Open(this, title_buttons_[kSkin]); }

void CMainWnd::ApplySkin(const SkinChangedParam& change) {
  ui::Control* root = FindControl(QStringLiteral("root"));
  if (root == nullptr) return;
  if (change.is_color) {
    root->SetBkColor(change.color);
    root->SetBkImage(QString());
  } else {
    root->SetBkColor(0);
    root->SetBkImage(change.image);
  }
  root->Invalidate();
}

// ---- control panels

void CMainWnd::OpenControlPanelFor(int index) {
  if (!OpenControlPanel(index)) MessageBox(QStringLiteral("message_text_no_control_panel"));
}

}  // namespace zrv::app
