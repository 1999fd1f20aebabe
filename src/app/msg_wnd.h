#pragma once
// The modal message box every part of the program asks or reports through.

#include <QString>

#include "ui/window.h"

namespace zrv::app {

class CMsgWnd : public ui::WindowBase {
  Q_OBJECT

 public:
  enum Buttons { kConfirmOnly = 0, kConfirmAndCancel = 1 };

  // Shows the box modally over `parent` and answers 1 when the user confirmed, 0 otherwise.
  // An empty title keeps the layout's own; with `text_is_id` the text is a text id of the
  // language files. `dpi` is the parent's (48, 72, 96, 120, 144, 168 or 192; anything else is
  // reported and shows the box at 96).
  static int MessageBox(QWidget* parent, const QString& title, const QString& text, int dpi, bool text_is_id,
                        int buttons);

  QString GetSkinFile() const override { return QStringLiteral("XML_MSG"); }
  QString GetWindowClassName() const override { return QStringLiteral("MsgWnd"); }
  void InitWindow() override;
  void OnNotify(ui::Notify& msg) override;
  void OnFinalMessage() override;

  // The DPI values a window may take.
  static bool IsValidDpi(int dpi);
  // Applies the DPI rule above; the same value is not applied twice.
  void ApplyDpi(int dpi);
  int dpi() const { return dpi_; }

 private:
  CMsgWnd() = default;

  int dpi_ = 96;
  ui::Control* close_button_ = nullptr;
};

}  // namespace zrv::app
