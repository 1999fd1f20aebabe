#include "app/update_info_list_item.h"

#include <QPainter>

#include <array>

#include "controls/circle_progress.h"
#include "ui/button.h"
#include "ui/language.h"
#include "ui/lookup.h"

namespace zrv::app {
namespace {

constexpr ui::Argb kWhite = 0xFFFFFFFF;
constexpr ui::Argb kGrey = 0xFF666666;
constexpr ui::Argb kBlue = 0xFF0099FF;
constexpr ui::Argb kDarkBlue = 0xFF0078C8;
constexpr ui::Argb kHoverFrame = 0xFF2A303C;

constexpr std::array<RowStatusLook, 9> kLooks = {{
    {ui::TextId("LessUpdateText"), false, false, false, kWhite, kWhite, kGrey},
    {ui::TextId("NeedUpdateText"), false, false, true, kBlue, kBlue, kDarkBlue},
    {ui::TextId("NeedUpdateText"), false, false, true, kBlue, kBlue, kDarkBlue},
    {ui::TextId("DownloadWaitText"), false, false, false, kBlue, kBlue, kDarkBlue},
    {ui::TextId("DownloadIngText"), true, false, false, kBlue, kBlue, kDarkBlue},
    {ui::TextId("DownloadOkText"), false, true, false, kBlue, kBlue, kDarkBlue},
    {ui::TextId("UpdateIngText"), true, false, false, kBlue, kBlue, kDarkBlue},
    {ui::TextId("UpdateOkText"), false, false, false, kWhite, kWhite, kGrey},
    {ui::TextId("UpdateFailText"), false, false, true, kBlue, kBlue, kDarkBlue},
}};

}  // namespace

const RowStatusLook& RowStatusLookOf(int status) {
  return status >= 0 && status < static_cast<int>(kLooks.size()) ? kLooks[static_cast<size_t>(status)] : kLooks[0];
}

CUpdateInfoListItemUI::CUpdateInfoListItemUI(QWidget* parent) : ui::ListContainerElement(parent) {
  SetFixedHeight(kHeight);
  SetMenuNotify(true);
}

void CUpdateInfoListItemUI::DoInit() {
  check_ = ui::FindSubControlByName<ui::CheckBox>(this, QStringLiteral("check_name_select"));
  old_rev_ = ui::FindSubControlByName(this, QStringLiteral("OldRev"));
  new_rev_ = ui::FindSubControlByName(this, QStringLiteral("updateRev"));
  status_text_ = ui::FindSubControlByName(this, QStringLiteral("update_status_text"));
  ring_ = ui::FindSubControlByName<controls::CCircleProgressUI>(this, QStringLiteral("update_status_ing"));
  progress_value_ = ui::FindSubControlByName(this, QStringLiteral("update_progress_value"));
  done_mark_ = ui::FindSubControlByName(this, QStringLiteral("update_status_ok"));
  if (check_ != nullptr) {
    // The hover frame is drawn only around an unchecked row.
    connect(check_, &QAbstractButton::toggled, this, [this] { update(); });
  }
  SetStatus(update::kStatusUpToDate);
  SetNewVersion(QString());
}

void CUpdateInfoListItemUI::SetStatus(int status) {
  if (status == status_) return;
  status_ = status;
  ApplyStatus();
}

void CUpdateInfoListItemUI::ApplyStatus() {
  const RowStatusLook& look = RowStatusLookOf(status_);
  if (status_text_ != nullptr) status_text_->SetTextId(QString::fromLatin1(look.text_id));
  if (ring_ != nullptr) ring_->SetVisible(look.progress);
  if (progress_value_ != nullptr) progress_value_->SetVisible(look.progress);
  if (look.progress) SetProgress(0);
  if (done_mark_ != nullptr) done_mark_->SetVisible(look.done_mark);
  if (check_ != nullptr) {
    check_->SetEnabled(look.check_enabled);
    check_->SetTextColor(look.text_color);
    check_->SetSelectedTextColor(look.selected_text_color);
    check_->SetDisabledTextColor(look.disabled_text_color);
    check_->Invalidate();
  }
  if (status_text_ != nullptr) {
    status_text_->SetTextColor(look.text_color);
    status_text_->SetDisabledTextColor(look.disabled_text_color);
  }
}

void CUpdateInfoListItemUI::SetProgress(int percent) {
  if (ring_ != nullptr) ring_->SetValue(percent);
  if (progress_value_ != nullptr) progress_value_->SetText(QString::asprintf("%d%s", percent, "%"));
}

void CUpdateInfoListItemUI::SetProgressBytes(std::int64_t received) {
  if (ring_ != nullptr) ring_->SetValue(100);
  const double mib = static_cast<double>(received) / (1024.0 * 1024.0);
  const QString text = mib >= 1.0 ? QString::number(mib, 'f', 1) + QStringLiteral(" MB")
                                  : QString::number(received / 1024) + QStringLiteral(" KB");
  if (progress_value_ != nullptr) progress_value_->SetText(text);
}

QString CUpdateInfoListItemUI::ProgressText() const {
  return progress_value_ != nullptr ? progress_value_->GetText() : QString();
}

void CUpdateInfoListItemUI::SetName(const QString& name) {
  if (check_ != nullptr) {
    check_->SetResourceText(false);
    check_->SetText(name);
  }
}

QString CUpdateInfoListItemUI::Name() const { return check_ != nullptr ? check_->GetText() : QString(); }

void CUpdateInfoListItemUI::SetOldVersion(const QString& text) {
  if (old_rev_ != nullptr) old_rev_->SetText(text);
}

QString CUpdateInfoListItemUI::OldVersion() const { return old_rev_ != nullptr ? old_rev_->GetText() : QString(); }

void CUpdateInfoListItemUI::SetNewVersion(const QString& text) {
  if (new_rev_ == nullptr) return;
  new_rev_->SetText(text);
  new_rev_->SetVisible(!text.isEmpty());
}

QString CUpdateInfoListItemUI::NewVersion() const { return new_rev_ != nullptr ? new_rev_->GetText() : QString(); }

bool CUpdateInfoListItemUI::IsChecked() const { return check_ != nullptr && check_->GetCheck(); }

void CUpdateInfoListItemUI::SetChecked(bool checked) {
  if (check_ != nullptr) check_->SetCheck(checked, false);
}

void CUpdateInfoListItemUI::SetCheckEnabled(bool enabled) {
  if (check_ != nullptr) check_->SetEnabled(enabled);
}

bool CUpdateInfoListItemUI::IsCheckEnabled() const { return check_ != nullptr && check_->IsEnabled(); }

void CUpdateInfoListItemUI::enterEvent(QEnterEvent* event) {
  hover_ = true;
  ui::ListContainerElement::enterEvent(event);
  update();
}

void CUpdateInfoListItemUI::leaveEvent(QEvent* event) {
  hover_ = false;
  ui::ListContainerElement::leaveEvent(event);
  update();
}

void CUpdateInfoListItemUI::PaintBorder(QPainter& painter) {
  ui::ListContainerElement::PaintBorder(painter);
  if (!hover_ || IsChecked()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor::fromRgba(kHoverFrame), Scale(1)));
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), Scale(6), Scale(6));
  painter.restore();
}

}  // namespace zrv::app
