#include "app/set_wnd.h"

#include <QDate>

#include "app/control_classes.h"
#include "app/window_fit.h"
#include "app/window_messages.h"
#include "platform/debug_output.h"

namespace zrv::app {

CSetWnd* CSetWnd::Open(QWidget* parent, Options options) {
  auto* window = new CSetWnd(std::move(options));
  if (!window->Create(parent, QStringLiteral("SetWnd"))) {
    platform::DebugPrintf("settings window not created: %s", qPrintable(window->LastError().ToString()));
    delete window;
    return nullptr;
  }
  window->ApplyDpi(window->options_.dpi);
  window->CenterWindow();
  return window;
}

CSetWnd::CSetWnd(Options options) : options_(std::move(options)), language_index_(options_.language_index) {
  page_ = std::make_unique<UpdatePage>(*this, options_.targets, options_.settings, options_.hooks);
}

CSetWnd::~CSetWnd() {
  // The threads end before the rows they report to go with the window.
  page_.reset();
}

void CSetWnd::InitWindow() {
  title_buttons_.Find(*this);
  resize(Scale(UpdatePage::kWindowWidth), Scale(UpdatePage::kWindowHeight));
}

ui::Control* CSetWnd::CreateControl(const QString& class_name) { return CreateWindowControl(class_name, this); }

void CSetWnd::ApplyDpi(int dpi) {
  if (!IsWindowDpi(dpi)) {
    platform::DebugOut("SET_WND DPI SET ERROR");
    dpi = 96;
  }
  if (dpi != GetDPI()) SetDPI(dpi);
}

void CSetWnd::OnNotify(ui::Notify& msg) {
  if (msg.type == QLatin1String(ui::notify::kWindowInit)) {
    page_->Start(QDate::currentDate());
    return;
  }
  if (page_->OnNotify(msg) || msg.type != QLatin1String(ui::notify::kClick)) return;
  const QString name = msg.SenderName();
  if (name == u"closebtn" || name == u"laterbtn") {
    page_->StopThreads();
    RequestClose();
  } else {
    title_buttons_.OnClick(name);
  }
}

bool CSetWnd::OnCustomMessage(int message, qint64 wParam, qint64 lParam) {
  switch (message) {
    case msg::kLanguageChanged:
      page_->OnLanguageChanged();
      update();
      return true;
    case msg::kDpiChangedNotice: return true;
    default: return ui::WindowBase::OnCustomMessage(message, wParam, lParam);
  }
}

void CSetWnd::ForwardMessage(int first, int second) { page_->OnInstallerReport(first, second); }

bool CSetWnd::RequestClose() {
  if (page_->Busy()) {
    platform::DebugOut("settings window stays open: an update is in progress");
    return false;
  }
  page_->StopThreads();
  Close(0);
  return true;
}

bool CSetWnd::OnCloseRequest() {
  // The platform's close (Alt+F4) follows the same rule as the title bar; Close() has run by then
  // when it was allowed.
  RequestClose();
  return false;
}

void CSetWnd::OnFinalMessage() { deleteLater(); }

}  // namespace zrv::app
