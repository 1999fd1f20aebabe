#include "app/update_page.h"

#include <QMetaObject>

#include "app/update_info_list_item.h"
#include "app/update_worker.h"
#include "app/worker_slots.h"
#include "controls/circle_progress.h"
#include "platform/debug_output.h"
#include "ui/button.h"
#include "ui/containers.h"
#include "ui/dialog_builder.h"
#include "ui/language.h"
#include "ui/list.h"
#include "ui/notify.h"
#include "ui/window.h"
#include "update/installer_file.h"
#include "update/installer_start.h"
#include "update/update_time.h"

namespace zrv::app {
namespace {

constexpr std::chrono::milliseconds kThreadStopWait{500};

bool CanBeUpdated(int status) {
  return status == update::kStatusNewer || status == update::kStatusNewerToo || status == update::kStatusFailed;
}

bool InFlight(int status) {
  return status == update::kStatusDownloadWaiting || status == update::kStatusDownloading ||
         status == update::kStatusDownloaded || status == update::kStatusInstalling;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

UpdatePage::UpdatePage(ui::WindowBase& window, std::vector<update::UpdateTarget> targets, Settings settings,
                       Hooks hooks)
    : QObject(&window),
      window_(window),
      targets_(std::move(targets)),
      settings_(std::move(settings)),
      hooks_(std::move(hooks)) {}

UpdatePage::~UpdatePage() { StopThreads(); }

void UpdatePage::Start(const QDate& today) {
  if (check_thread_) return;
  today_ = today;
  list_ = window_.FindControl<ui::List>(QStringLiteral("device_update_list_info"));
  check_thread_ = std::make_unique<UpdateWorker>("update list check", settings_.http);
  download_thread_ = std::make_unique<UpdateWorker>("update download", settings_.http);
  install_thread_ = std::make_unique<UpdateWorker>("update install", settings_.http);
  last_check_date_ = update::LastCheckDateOrToday(settings_.time_file, today);

  ShowPageStatus(update::kPageChecking);
  ShowConfirmButton(false);
  AddRows();
  check_thread_->Post([this](update::HttpClient& client, const platform::StopEvent& stop) {
    const update::ListCheck check =
        update::CheckListedTargets(client, settings_.server, targets_, settings_.download_dir,
                                   [this](size_t index, const update::UpdateInfo& row) {
                                     QMetaObject::invokeMethod(
                                         this, [this, index, row] { OnRowChecked(index, row); }, Qt::QueuedConnection);
                                   });
    if (stop.IsSet()) return;
    QMetaObject::invokeMethod(
        this, [this, status = check.page_status] { OnCheckDone(status); }, Qt::QueuedConnection);
  });
}

void UpdatePage::AddRows() {
  if (list_ == nullptr) {
    platform::DebugOut("settings window: no update list");
    return;
  }
  for (const update::UpdateTarget& target : targets_) {
    ui::DialogBuilder builder;
    auto* row = dynamic_cast<CUpdateInfoListItemUI*>(
        builder.Create(QString::fromLatin1(CUpdateInfoListItemUI::kTemplate), &window_, list_));
    if (row == nullptr) {
      platform::DebugPrintf("update row not built: %s", qPrintable(builder.Error().ToString()));
      continue;
    }
    // Until its answer arrives a row says only what is installed; the page's ring shows the check.
    const update::UpdateInfo placeholder = update::PlaceholderRow(target);
    row->SetName(Text(placeholder.name));
    row->SetOldVersion(Text(placeholder.current_version_text));
    row->SetNewVersion(QString());
    row->SetStatus(update::kStatusUnknown);
    row->SetCheckEnabled(false);
    row->SetInfo(placeholder);
    rows_.push_back(row);
  }
  in_download_.assign(rows_.size(), false);
}

void UpdatePage::ShowPageStatus(int status) {
  page_status_ = status;
  auto* ring = window_.FindControl(QStringLiteral("update_status_ring"));
  auto* image = window_.FindControl(QStringLiteral("update_status_image"));
  auto* text = window_.FindControl(QStringLiteral("Update_Status_text"));
  if (ring != nullptr) ring->SetVisible(status == update::kPageChecking);
  if (image != nullptr) image->SetVisible(status != update::kPageChecking);
  if (text != nullptr) {
    switch (status) {
      case update::kPageChecking: text->SetTextId(QStringLiteral("GetUpdateInfoText")); break;
      case update::kPageUpdatable: text->SetTextId(QStringLiteral("HaveUpdateInfoText")); break;
      case update::kPageNoAnswer: text->SetTextId(QStringLiteral("NoUpdateInfoText")); break;
      case update::kPageBusy: text->SetTextId(QStringLiteral("ISUpdateINGText")); break;
      default:
        text->SetResourceText(false);
        text->SetText(ui::TextById(QStringLiteral("UpdateIsLastText")) + last_check_date_);
        break;
    }
  }
  if (status == update::kPageUpToDate && hooks_.clear_update_mark) hooks_.clear_update_mark();
}

void UpdatePage::OnLanguageChanged() {
  if (page_status_ == update::kPageUpToDate) ShowPageStatus(page_status_);
}

void UpdatePage::ShowConfirmButton(bool shown) {
  if (ui::Control* button = window_.FindControl(QStringLiteral("update_fw_and_ap"))) {
    button->SetEnabled(shown);
    button->SetVisible(shown);
  }
}

void UpdatePage::UpdateConfirmButton() {
  bool any = false;
  for (const CUpdateInfoListItemUI* row : rows_) any = any || (row->IsChecked() && CanBeUpdated(row->Status()));
  ShowConfirmButton(any);
}

bool UpdatePage::OnNotify(const ui::Notify& msg) {
  const QString name = msg.SenderName();
  if (msg.type == QLatin1String(ui::notify::kSelectChanged) && name == u"check_name_select") {
    UpdateConfirmButton();
    return true;
  }
  if (msg.type != QLatin1String(ui::notify::kClick)) return false;
  auto* tabs = window_.FindControl<ui::TabLayout>(QStringLiteral("get_update_tab_layout"));
  if (name == u"update_fw_and_ap") {
    if (tabs != nullptr) tabs->SelectItem(1);
  } else if (name == u"update_OK_btn") {
    Confirm();
    if (tabs != nullptr) tabs->SelectItem(0);
  } else if (name == u"update_cancel_btn") {
    if (tabs != nullptr) tabs->SelectItem(0);
  } else if (name == u"set_in_update_wnd_btn") {
    if (ui::Control* hint = window_.FindControl(QStringLiteral("update_tishi_layout"))) hint->SetVisible(false);
    window_.resize(window_.Scale(kWindowWidth), window_.Scale(kWindowHeight));
  } else {
    return false;
  }
  return true;
}

void UpdatePage::Confirm() {
  for (CUpdateInfoListItemUI* row : rows_) {
    if (row->Status() != update::kStatusNewer && row->Status() != update::kStatusNewerToo) continue;
    if (row->IsChecked()) {
      row->SetStatus(update::kStatusDownloadWaiting);
    } else {
      row->SetCheckEnabled(false);
    }
  }
  ShowConfirmButton(false);
  StartDownloads();
}

void UpdatePage::StartDownloads() {
  struct Job {
    size_t index;
    std::string path;
    std::filesystem::path file;
  };
  std::vector<Job> jobs;
  for (size_t i = 0; i < rows_.size(); ++i) {
    CUpdateInfoListItemUI* row = rows_[i];
    const int status = row->Status();
    if (!row->IsChecked() || in_download_[i]) continue;
    if (status != update::kStatusDownloadWaiting && status != update::kStatusFailed) continue;
    // A failed row waits again like a newly confirmed one.
    row->SetStatus(update::kStatusDownloadWaiting);
    in_download_[i] = true;
    jobs.push_back({i, row->Info().path, std::filesystem::path(row->Info().file)});
  }
  if (jobs.empty() || !download_thread_) return;
  download_thread_->Post([this, jobs](update::HttpClient& client, const platform::StopEvent& stop) {
    for (const Job& job : jobs) {
      if (stop.IsSet()) return;
      QMetaObject::invokeMethod(
          this, [this, i = job.index] { OnDownloadStarted(i); }, Qt::QueuedConnection);
      const int status = update::DownloadInstaller(
          client, job.path, job.file, [this, i = job.index](std::int64_t total, std::int64_t got) {
            QMetaObject::invokeMethod(
                this, [this, i, total, got] { OnDownloadProgress(i, total, got); }, Qt::QueuedConnection);
          });
      QMetaObject::invokeMethod(
          this, [this, i = job.index, status] { OnDownloaded(i, status); }, Qt::QueuedConnection);
    }
    QMetaObject::invokeMethod(
        this, [this] { OnDownloadsDone(); }, Qt::QueuedConnection);
  });
}

void UpdatePage::OnRowChecked(size_t index, const update::UpdateInfo& answer) {
  CUpdateInfoListItemUI* row = Row(index);
  if (row == nullptr) return;
  row->SetName(Text(answer.name));
  row->SetOldVersion(Text(answer.current_version_text));
  row->SetNewVersion(Text(answer.new_version_text));
  row->SetStatus(answer.status);
  row->SetUserData(Text(answer.path));
  row->SetCheckEnabled(false);
  row->SetInfo(answer);
  // The last-check date is the date of the last answer from the service.
  if (answer.status != update::kStatusUnknown && !update::WriteLastCheckDate(settings_.time_file, today_)) {
    platform::DebugOut("updatetime.config not written");
  }
}

void UpdatePage::OnCheckDone(int page_status) {
  checked_ = true;
  bool any = false;
  for (CUpdateInfoListItemUI* row : rows_) {
    const bool updatable = row->Status() != update::kStatusUpToDate && row->Status() != update::kStatusUnknown;
    row->SetCheckEnabled(updatable);
    if (updatable) row->SetChecked(true);
    any = any || updatable;
  }
  ShowConfirmButton(any);
  if (page_status == update::kPageUpToDate) last_check_date_ = update::FormatCheckDate(today_);
  ShowPageStatus(page_status);
}

void UpdatePage::OnDownloadStarted(size_t index) {
  CUpdateInfoListItemUI* row = Row(index);
  if (row == nullptr) return;
  row->SetStatus(update::kStatusDownloading);
  ShowPageStatus(update::kPageBusy);
}

void UpdatePage::OnDownloadProgress(size_t index, std::int64_t total, std::int64_t received) {
  CUpdateInfoListItemUI* row = Row(index);
  if (row == nullptr || row->Status() != update::kStatusDownloading) return;
  platform::DebugPrintf("count:%lld,size:%lld\n", static_cast<long long>(received), static_cast<long long>(total));
  if (total > 0) {
    row->SetProgress(static_cast<int>(received * 100 / total));
  } else {
    row->SetProgressBytes(received);
  }
}

void UpdatePage::OnDownloaded(size_t index, int status) {
  CUpdateInfoListItemUI* row = Row(index);
  if (row == nullptr) return;
  in_download_[index] = false;
  row->SetStatus(status);
  // A failed row can be confirmed again.
  if (status == update::kStatusFailed) UpdateConfirmButton();
  InstallNext();
}

void UpdatePage::OnDownloadsDone() { OnRowsChanged(); }

void UpdatePage::InstallNext() {
  if (installing_ || !install_thread_) return;
  for (size_t i = 0; i < rows_.size(); ++i) {
    CUpdateInfoListItemUI* row = rows_[i];
    if (!row->IsChecked() || row->Status() != update::kStatusDownloaded) continue;
    row->SetStatus(update::kStatusInstalling);
    ShowPageStatus(update::kPageBusy);
    installing_ = i;
    const std::filesystem::path file(row->Info().file);
    const int device_id = row->Info().device_id;
    install_thread_->Post([this, i, file, device_id](update::HttpClient&, const platform::StopEvent& stop) {
      // The desktop's handler belongs to the UI thread.
      const update::DesktopOpen open = [this, &stop](const std::filesystem::path& path) {
        return OnUiThread(this, stop,
                          [this, path] { return hooks_.open_with_desktop && hooks_.open_with_desktop(path); })
            .value_or(false);
      };
      const bool started = update::StartInstaller(file, device_id, open);
      const bool handed_over = device_id == update::kDesktopOpenedDevice;
      QMetaObject::invokeMethod(
          this, [this, i, started, handed_over] { OnInstallStarted(i, started, handed_over); }, Qt::QueuedConnection);
    });
    return;
  }
}

void UpdatePage::OnInstallStarted(size_t index, bool started, bool handed_over) {
  if (installing_ != index) return;
  if (started && handed_over) {
    // The desktop's handler took the file and will never report: the row shows it downloaded and
    // leaves the queue, so that the window can close and the next row can install.
    installing_.reset();
    if (CUpdateInfoListItemUI* row = Row(index)) {
      row->SetStatus(update::kStatusDownloaded);
      row->SetChecked(false);
    }
    InstallNext();
    if (!installing_) OnRowsChanged();
    return;
  }
  if (started) return;
  // Nothing runs that could report: the row fails at once and can be confirmed again.
  installing_.reset();
  if (CUpdateInfoListItemUI* row = Row(index)) row->SetStatus(update::kStatusFailed);
  if (hooks_.show_failure) hooks_.show_failure(QStringLiteral("Update failed!"));
  UpdateConfirmButton();
  OnRowsChanged();
}

void UpdatePage::OnInstallerReport(int first, int second) {
  if (!installing_) {
    platform::DebugPrintf("installer report %d %d: no installation runs", first, second);
    return;
  }
  CUpdateInfoListItemUI* row = Row(*installing_);
  if (row == nullptr) return;
  switch (first) {
    case 1: {
      row->SetOldVersion(row->NewVersion());
      row->SetNewVersion(QString());
      row->SetStatus(update::kStatusUpToDate);
      row->SetChecked(false);
      installing_.reset();
      bool others = false;
      for (const CUpdateInfoListItemUI* other : rows_) {
        others = others || (other->IsChecked() && other->Status() != update::kStatusUpToDate);
      }
      if (!others) {
        bool updatable = false;
        for (CUpdateInfoListItemUI* other : rows_) {
          if (other->Status() == update::kStatusUpToDate || other->Status() == update::kStatusUnknown) continue;
          other->SetCheckEnabled(true);
          updatable = true;
        }
        ShowPageStatus(updatable ? update::kPageUpdatable : update::kPageUpToDate);
      }
      OnRowsChanged();
      break;
    }
    case 2:
    case 3:
      row->SetStatus(update::kStatusFailed);
      installing_.reset();
      UpdateConfirmButton();
      OnRowsChanged();
      break;
    case 4:
      if (row->Status() == update::kStatusInstalling) row->SetProgress(std::clamp(second, 0, 100));
      break;
    default: platform::DebugPrintf("installer report %d %d not understood", first, second); break;
  }
}

void UpdatePage::OnRowsChanged() {
  InstallNext();
  if (Busy() || page_status_ != update::kPageBusy) return;
  bool updatable = false;
  for (const CUpdateInfoListItemUI* row : rows_) updatable = updatable || CanBeUpdated(row->Status());
  ShowPageStatus(updatable ? update::kPageUpdatable : update::kPageUpToDate);
}

bool UpdatePage::Busy() const {
  for (const CUpdateInfoListItemUI* row : rows_) {
    // A downloaded row that is no longer chosen waits for nothing (its file went to the desktop).
    const bool parked = row->Status() == update::kStatusDownloaded && !row->IsChecked();
    if (InFlight(row->Status()) && !parked) return true;
  }
  return false;
}

void UpdatePage::StopThreads() {
  UpdateWorker* threads[] = {check_thread_.get(), download_thread_.get(), install_thread_.get()};
  for (UpdateWorker* thread : threads) {
    if (thread != nullptr) thread->RequestStop();
  }
  for (UpdateWorker* thread : threads) {
    if (thread == nullptr) continue;
    // Reported, never killed: an overrun is joined when the page goes.
    platform::DebugOut(thread->StopAndWait(kThreadStopWait) ? "所有对象处于激发状态\n"
                                                            : "所有对象处于非激发状态，超时\n");
  }
}

}  // namespace zrv::app
