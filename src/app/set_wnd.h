#pragma once
// CSetWnd: the settings window. A modal child of the main window with its update page
// (update_page.h) and the language list (filled by the language work). The main window opens it
// with Open and keeps its handle while it is open, to close it and to pass it the installer
// reports.

#include <QString>

#include <memory>
#include <vector>

#include "app/title_buttons.h"
#include "app/update_page.h"
#include "ui/window.h"

namespace zrv::app {

class CSetWnd : public ui::WindowBase {
  Q_OBJECT

 public:
  struct Options {
    int dpi = 96;             // the main window's
    int language_index = -1;  // the current language, for the language list
    std::vector<update::UpdateTarget> targets;
    UpdatePage::Settings settings;
    UpdatePage::Hooks hooks;
  };

  // Builds the window over `parent` (not yet shown; null when the layout cannot be built). It
  // deletes itself once closed.
  static CSetWnd* Open(QWidget* parent, Options options);
  ~CSetWnd() override;

  QString GetSkinFile() const override { return QStringLiteral("XML/setwnd.xml"); }
  QString GetWindowClassName() const override { return QStringLiteral("SetWnd"); }
  void InitWindow() override;
  void OnNotify(ui::Notify& msg) override;
  ui::Control* CreateControl(const QString& class_name) override;
  bool OnCustomMessage(int message, qint64 wParam, qint64 lParam) override;
  bool OnCloseRequest() override;
  void OnFinalMessage() override;

  // An installer's report (Forward), passed on by the main window.
  void ForwardMessage(int first, int second);
  // The close request of the title bar, the "later" button, the platform and the main window: the
  // window stays open while a row waits, downloads, is downloaded or installs; otherwise its
  // threads stop and it closes. True when it closed.
  bool RequestClose();

  void ApplyDpi(int dpi);
  int LanguageIndex() const { return language_index_; }
  UpdatePage& Updates() { return *page_; }

 private:
  explicit CSetWnd(Options options);

  Options options_;
  int language_index_ = -1;
  std::unique_ptr<UpdatePage> page_;
  TitleButtons title_buttons_;
};

}  // namespace zrv::app
