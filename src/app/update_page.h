#pragma once
// The update page of the settings window: one row per update target, the page status, the user's
// choices, the installer reports, and the three threads that do the slow work.
//
//   check thread    asks the update service about every target     -> rows, page status
//   download thread downloads the confirmed rows, one after another -> status 4, then 5 or 8
//   install thread  starts one downloaded installer at a time       -> status 6; the installer
//                                                                      reports 7 or 8 (Forward)
//
// The rows and every decision live on the UI thread: the threads get their work as queued jobs
// (no flag is shared) and hand each result back as a queued call to this object, which alone
// changes controls. Progress reaches the row at most 20 times a second (the HTTP client's
// throttle), so a fast download keeps the window responsive.

#include <QDate>
#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "update/http_settings.h"
#include "update/installer_start.h"
#include "update/update_flow.h"
#include "update/update_info.h"
#include "update/update_target.h"

namespace zrv::ui {
class Control;
class List;
class WindowBase;
struct Notify;
}  // namespace zrv::ui

namespace zrv::app {

class CUpdateInfoListItemUI;
class UpdateWorker;

class UpdatePage : public QObject {
  Q_OBJECT
 public:
  // The settings window's width and height (96-DPI pixels).
  static constexpr int kWindowWidth = 630;
  static constexpr int kWindowHeight = 500;

  struct Settings {
    std::string server;  // base address of the update service; empty: nothing is asked
    std::filesystem::path download_dir;
    QString time_file;  // "updatetime.config"
    update::HttpSettings http = update::DefaultHttpSettings();
  };
  struct Hooks {
    std::function<void()> clear_update_mark;                // message 3094 to the main window
    std::function<void(const QString& text)> show_failure;  // "Update failed!"
    update::DesktopOpen open_with_desktop;                  // called on the UI thread
  };

  // The targets are the working copy's rows with a version to check.
  UpdatePage(ui::WindowBase& window, std::vector<update::UpdateTarget> targets, Settings settings, Hooks hooks);
  // Stops and joins the threads.
  ~UpdatePage() override;

  // "windowinit": reads the last-check date, starts the threads, lists the targets and checks them.
  void Start(const QDate& today);
  // Clicks and check changes of the page; true when the notification was the page's.
  bool OnNotify(const ui::Notify& msg);
  // An installer's report (Forward): 1 done, 2 or 3 failed, 4 with a percentage.
  void OnInstallerReport(int first, int second);
  // A row waits for its download, downloads, is downloaded or installs: the window stays open.
  bool Busy() const;
  // Stops the threads: a running download ends at once and leaves no file; at most 500 ms each.
  void StopThreads();
  // The language changed: the texts follow by themselves; status 4 shows its date again.
  void OnLanguageChanged();

  int PageStatus() const { return page_status_; }
  size_t RowCount() const { return rows_.size(); }
  CUpdateInfoListItemUI* Row(size_t index) const { return index < rows_.size() ? rows_[index] : nullptr; }
  const QString& LastCheckDate() const { return last_check_date_; }
  // True once the check thread has answered for every target.
  bool Checked() const { return checked_; }

 private:
  void ShowPageStatus(int status);
  void AddRows();
  void ShowConfirmButton(bool shown);
  void UpdateConfirmButton();
  void Confirm();
  void StartDownloads();
  void InstallNext();

  // Results of the threads, on the UI thread.
  void OnRowChecked(size_t index, const update::UpdateInfo& row);
  void OnCheckDone(int page_status);
  void OnDownloadStarted(size_t index);
  void OnDownloadProgress(size_t index, std::int64_t total, std::int64_t received);
  void OnDownloaded(size_t index, int status);
  void OnDownloadsDone();
  void OnInstallStarted(size_t index, bool started, bool handed_over);
  // The rows changed (what message 3092 stood for): the next installer starts, and a page that
  // has nothing left to do shows what can still be done.
  void OnRowsChanged();

  ui::WindowBase& window_;
  const std::vector<update::UpdateTarget> targets_;
  const Settings settings_;
  const Hooks hooks_;
  ui::List* list_ = nullptr;
  std::vector<CUpdateInfoListItemUI*> rows_;
  std::vector<bool> in_download_;     // handed to the download thread, not yet back
  std::optional<size_t> installing_;  // the row whose installer runs and reports
  int page_status_ = update::kPageChecking;
  QString last_check_date_;
  QDate today_;
  bool checked_ = false;
  // Last: they end first, before the rows and this object go.
  std::unique_ptr<UpdateWorker> check_thread_;
  std::unique_ptr<UpdateWorker> download_thread_;
  std::unique_ptr<UpdateWorker> install_thread_;
};

}  // namespace zrv::app
