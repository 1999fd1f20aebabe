#include "app/about_wnd.h"

#include "app/window_fit.h"
#include "app/window_messages.h"
#include "platform/debug_output.h"
#include "ui/language.h"
#include "update/update_target.h"

namespace zrv::app {

int CAboutWnd::Show(QWidget* parent, int dpi, QPointer<CAboutWnd>* handle) {
  auto* window = new CAboutWnd;
  if (!window->Create(parent, QStringLiteral("  "))) {
    platform::DebugPrintf("about window not created: %s", qPrintable(window->LastError().ToString()));
    delete window;
    return 0;
  }
  window->SetDPI(IsWindowDpi(dpi) ? dpi : 96);
  window->ShowVersion();
  window->CenterWindow();
  if (handle != nullptr) *handle = window;
  // Deletes itself once closed (OnFinalMessage); the handle then clears by itself.
  return window->ShowModal();
}

QString CAboutWnd::VersionText() {
  return ui::TextById(QStringLiteral("software_rev_text")) +
         QString::fromStdString(update::UpdateTargetTable().back().version_label);
}

void CAboutWnd::InitWindow() { title_buttons_.Find(*this); }

void CAboutWnd::ShowVersion() {
  if (ui::Control* label = FindControl(QStringLiteral("software_ver_label"))) {
    label->SetResourceText(false);
    label->SetText(VersionText());
  }
}

void CAboutWnd::OnNotify(ui::Notify& msg) {
  if (msg.type != QLatin1String(ui::notify::kClick)) return;
  const QString name = msg.SenderName();
  if (name == u"closebtn") {
    Close(0);
  } else {
    title_buttons_.OnClick(name);
  }
}

bool CAboutWnd::OnCustomMessage(int message, qint64 wParam, qint64 lParam) {
  if (message == msg::kLanguageChanged) {
    ShowVersion();
    update();
    return true;
  }
  return ui::WindowBase::OnCustomMessage(message, wParam, lParam);
}

}  // namespace zrv::app
