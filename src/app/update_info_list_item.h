#pragma once
// CUpdateInfoListItemUI ("UpdateInfoListItemUI"): one row of the settings window's update list,
// standing for the program or one device model. Built from the template
// "XML\CustomControlXML\device_Update_list_item.xml" (root element "UpdateInfoListItem").
//
// Sub-controls: "check_name_select" (the check, whose text is the name), "OldRev" (current
// version), "updateRev" (new version, hidden while empty), "update_status_text", the progress ring
// "update_status_ing" with its label "update_progress_value", and the done mark
// "update_status_ok". The row's status (update::RowStatus) decides text, progress, done mark, whether
// the check can be changed, and the check's colours (RowStatusLookOf). Its user data is the
// download address. It raises "itemactivate" when activated and "menu" on a context-menu request,
// and draws a hover frame while the pointer is over it unchecked.

#include <QString>

#include <cstdint>

#include "ui/list.h"
#include "update/update_info.h"

namespace zrv::ui {
class CheckBox;
}  // namespace zrv::ui
namespace zrv::controls {
class CCircleProgressUI;
}  // namespace zrv::controls

namespace zrv::app {

// What a row shows in a status.
struct RowStatusLook {
  const char* text_id;
  bool progress;
  bool done_mark;
  bool check_enabled;
  ui::Argb text_color;
  ui::Argb selected_text_color;
  ui::Argb disabled_text_color;
};

// The look of a status; statuses outside 0-8 look like 0.
const RowStatusLook& RowStatusLookOf(int status);

class CUpdateInfoListItemUI : public ui::ListContainerElement {
  Q_OBJECT
 public:
  static constexpr const char* kTemplate = "XML\\CustomControlXML\\device_Update_list_item.xml";
  static constexpr int kHeight = 50;

  explicit CUpdateInfoListItemUI(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("UpdateInfoListItemUI"); }
  void DoInit() override;

  // Setting the status the row already has changes nothing; showing the progress starts it at 0.
  void SetStatus(int status);
  int Status() const { return status_; }
  // The progress ring's percentage ("50%").
  void SetProgress(int percent);
  // For a download of unknown size: the bytes received so far ("1.4 MB"), the ring full.
  void SetProgressBytes(std::int64_t received);
  QString ProgressText() const;

  void SetName(const QString& name);
  QString Name() const;
  void SetOldVersion(const QString& text);
  QString OldVersion() const;
  // Hidden while empty.
  void SetNewVersion(const QString& text);
  QString NewVersion() const;

  bool IsChecked() const;
  // Silent: no "selectchanged".
  void SetChecked(bool checked);
  void SetCheckEnabled(bool enabled);
  bool IsCheckEnabled() const;

  // The answer stored with the row (its file, device id, path and version texts).
  const update::UpdateInfo& Info() const { return info_; }
  void SetInfo(const update::UpdateInfo& info) { info_ = info; }

  ui::CheckBox* Check() const { return check_; }

  void PaintBorder(QPainter& painter) override;

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void ApplyStatus();

  int status_ = -1;  // nothing applied yet
  update::UpdateInfo info_;
  ui::CheckBox* check_ = nullptr;
  ui::Control* old_rev_ = nullptr;
  ui::Control* new_rev_ = nullptr;
  ui::Control* status_text_ = nullptr;
  controls::CCircleProgressUI* ring_ = nullptr;
  ui::Control* progress_value_ = nullptr;
  ui::Control* done_mark_ = nullptr;
  bool hover_ = false;
};

}  // namespace zrv::app
