#pragma once
// CAboutWnd: the about window, a modal child of the main window with the program's version.

#include <QPointer>
#include <QString>

#include "app/title_buttons.h"
#include "ui/window.h"

namespace zrv::app {

class CAboutWnd : public ui::WindowBase {
  Q_OBJECT

 public:
  // Builds the window over `parent` at the parent's DPI, shows the version and runs it modally;
  // `handle` points at the window while it is open. Returns the code it was closed with.
  static int Show(QWidget* parent, int dpi, QPointer<CAboutWnd>* handle);
  // "software_rev_text" followed by the program row's version label ("Version: V1.0.3").
  static QString VersionText();

  QString GetSkinFile() const override { return QStringLiteral("XML/AboutWnd.xml"); }
  QString GetWindowClassName() const override { return QStringLiteral("AboutWnd"); }
  void InitWindow() override;
  void OnNotify(ui::Notify& msg) override;
  bool OnCustomMessage(int message, qint64 wParam, qint64 lParam) override;
  void OnFinalMessage() override { deleteLater(); }

 private:
  CAboutWnd() = default;
  void ShowVersion();

  TitleButtons title_buttons_;
};

}  // namespace zrv::app
