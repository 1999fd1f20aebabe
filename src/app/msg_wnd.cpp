#include "app/msg_wnd.h"

#include "app/window_fit.h"
#include "platform/debug_output.h"
#include "ui/control.h"

namespace zrv::app {

int CMsgWnd::MessageBox(QWidget* parent, const QString& title, const QString& text, int dpi, bool text_is_id,
                        int buttons) {
  auto* box = new CMsgWnd;
  if (!box->Create(parent, QStringLiteral("msgwnd"))) {
    platform::DebugPrintf("message box not created: %s", qPrintable(box->LastError().ToString()));
    delete box;
    return 0;
  }
  if (!title.isEmpty()) {
    if (ui::Control* label = box->FindControl(QStringLiteral("MessageTitle"))) {
      label->SetResourceText(false);
      label->SetText(title);
    }
  }
  if (!text.isEmpty()) {
    if (ui::Control* label = box->FindControl(QStringLiteral("MessageText"))) {
      label->SetResourceText(text_is_id);
      label->SetText(text);
    }
  }
  box->ApplyDpi(dpi);
  ui::Control* cancel = box->FindControl(QStringLiteral("cancel_btn"));
  ui::Control* confirm = box->FindControl(QStringLiteral("confirm_btn"));
  if (cancel != nullptr) cancel->SetVisible(buttons != kConfirmOnly);
  if (confirm != nullptr) confirm->SetVisible(true);
  box->CenterWindow();
  // The box deletes itself (OnFinalMessage) once its loop has ended.
  return box->ShowModal();
}

void CMsgWnd::InitWindow() { close_button_ = FindControl(QStringLiteral("closebtn")); }

bool CMsgWnd::IsValidDpi(int dpi) { return IsWindowDpi(dpi); }

void CMsgWnd::ApplyDpi(int dpi) {
  if (!IsValidDpi(dpi)) {
    platform::DebugOut("MSG_WND DPI SET ERROR");
    dpi = 96;
  }
  if (dpi == dpi_) return;
  dpi_ = dpi;
  SetDPI(dpi);
}

void CMsgWnd::OnNotify(ui::Notify& msg) {
  if (msg.type != QLatin1String(ui::notify::kClick)) return;
  const QString name = msg.SenderName();
  if (name == QLatin1String("confirm_btn")) {
    Close(1);
  } else if (name == QLatin1String("cancel_btn") || (msg.sender != nullptr && msg.sender == close_button_)) {
    Close(0);
  } else if (name == QLatin1String("minbtn")) {
    showMinimized();
  } else if (name == QLatin1String("maxbtn")) {
    showMaximized();
  } else if (name == QLatin1String("restorebtn")) {
    showNormal();
  }
}

void CMsgWnd::OnFinalMessage() { deleteLater(); }

}  // namespace zrv::app
