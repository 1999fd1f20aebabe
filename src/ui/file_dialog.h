#pragma once
// Open and save file dialogs. Filters may be written the Qt way ("Profile Files (*.json)") or as
// description|pattern pairs ("(*.png)|*.png|(*.*)|*.*||"). Tests and scripted runs can answer the
// dialogs through a hook instead of a real dialog.

#include <QString>
#include <QWidget>

#include <functional>

namespace zrv::ui {

struct FileDialogRequest {
  bool save = false;
  QString title;
  QString filter;      // Qt form
  QString fileName;    // proposed name (save) or start folder
  QString defaultExt;  // without dot
};

// Empty result: cancelled.
QString OpenFileDialog(QWidget* parent, const QString& title, const QString& filter, const QString& startName = {});
QString SaveFileDialog(QWidget* parent, const QString& title, const QString& filter, const QString& fileName = {},
                       const QString& defaultExt = {});
// "desc|pattern|desc|pattern||" -> "desc (pattern);;desc (pattern)"; Qt-form filters stay.
QString ToQtFilter(const QString& filter);
// Installs an answerer for every dialog (null: real dialogs again).
void SetFileDialogHook(std::function<QString(const FileDialogRequest&)> hook);

}  // namespace zrv::ui
