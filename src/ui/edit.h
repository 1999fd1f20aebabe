#pragma once
// Edit: one-line input. Raises "textchanged" for each edit of the user, "return" for Enter,
// "setfocus"/"killfocus" when the keyboard focus comes or goes.

#include <QLineEdit>

#include "ui/control_widget.h"

namespace zrv::ui {

class Edit : public ControlWidget<QLineEdit> {
  Q_OBJECT
 public:
  explicit Edit(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("Edit"); }

  void SetMaxChar(int count);  // 0: no limit
  int GetMaxChar() const;
  void SetNumberOnly(bool on);  // digits only
  bool IsNumberOnly() const { return number_only_; }
  void SetPasswordMode(bool on);
  void SetReadOnly(bool on);
  void SetTipValue(const QString& text);  // placeholder
  void SetResourceTipValue(bool on);
  void SetSel(int start, int end);  // selects characters [start, end); -1 end: to the end

  void SetAttribute(const QString& name, const QString& value) override;

 protected:
  void UpdateShownText() override;
  void changeEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void UpdateTip();
  bool number_only_ = false;
  QString tip_;
  bool resource_tip_ = false;
};

}  // namespace zrv::ui
