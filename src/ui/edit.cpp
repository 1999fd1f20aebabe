#include "ui/edit.h"

#include <QFocusEvent>
#include <QPointer>
#include <QRegularExpressionValidator>

#include "ui/language.h"

namespace zrv::ui {

Edit::Edit(QWidget* parent) : ControlWidget<QLineEdit>(parent) {
  // textEdited and returnPressed come only from the user.
  connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
    StoreText(text);
    SendNotify(QString::fromLatin1(notify::kTextChanged));
  });
  connect(this, &QLineEdit::returnPressed, this, [this] { SendNotify(QString::fromLatin1(notify::kReturn)); });
}

void Edit::SetMaxChar(int count) { setMaxLength(count > 0 ? count : 32767); }

int Edit::GetMaxChar() const { return maxLength() == 32767 ? 0 : maxLength(); }

void Edit::SetNumberOnly(bool on) {
  number_only_ = on;
  if (on) {
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
  } else {
    setValidator(nullptr);
  }
}

void Edit::SetPasswordMode(bool on) { setEchoMode(on ? QLineEdit::Password : QLineEdit::Normal); }

void Edit::SetReadOnly(bool on) { setReadOnly(on); }

void Edit::SetTipValue(const QString& text) {
  tip_ = text;
  UpdateTip();
}

void Edit::SetResourceTipValue(bool on) {
  resource_tip_ = on;
  UpdateTip();
}

void Edit::UpdateTip() { setPlaceholderText(resource_tip_ ? TextById(tip_) : tip_); }

void Edit::SetSel(int start, int end) {
  const int len = text().size();
  start = std::clamp(start, 0, len);
  end = end < 0 ? len : std::clamp(end, start, len);
  setSelection(start, end - start);
}

void Edit::SetAttribute(const QString& name, const QString& value) {
  if (name == u"maxchar")
    SetMaxChar(AttrInt(name, value));
  else if (name == u"numberonly")
    SetNumberOnly(AttrBool(name, value));
  else if (name == u"password")
    SetPasswordMode(AttrBool(name, value));
  else if (name == u"readonly")
    SetReadOnly(AttrBool(name, value));
  else if (name == u"tipvalue")
    SetTipValue(value);
  else if (name == u"resourcetipvalue")
    SetResourceTipValue(AttrBool(name, value));
  else
    ControlWidget<QLineEdit>::SetAttribute(name, value);
}

void Edit::UpdateShownText() {
  setAlignment(GetTextAlign());
  const QMargins p = GetTextPadding();
  setTextMargins(Scale(p.left()), Scale(p.top()), Scale(p.right()), Scale(p.bottom()));
  const QString shown = ShownText();
  if (text() != shown) setText(shown);
}

void Edit::focusInEvent(QFocusEvent* event) {
  ControlWidget<QLineEdit>::focusInEvent(event);
  if (!CodeFocusChangeActive()) SendNotify(QString::fromLatin1(notify::kSetFocus));
}

void Edit::focusOutEvent(QFocusEvent* event) {
  QPointer<QWidget> alive(this);
  ControlWidget<QLineEdit>::focusOutEvent(event);
  if (!alive) return;
  // A popup (menu, drop-down) taking the focus for a moment is not the edit losing it.
  if (event->reason() == Qt::PopupFocusReason) return;
  if (!CodeFocusChangeActive()) SendNotify(QString::fromLatin1(notify::kKillFocus));
}

void Edit::changeEvent(QEvent* event) {
  ControlWidget<QLineEdit>::changeEvent(event);
  if (event->type() == QEvent::LanguageChange && resource_tip_) UpdateTip();
}

}  // namespace zrv::ui
