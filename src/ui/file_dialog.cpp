#include "ui/file_dialog.h"

#include <QFileDialog>
#include <QStringList>

namespace zrv::ui {

namespace {

std::function<QString(const FileDialogRequest&)>& Hook() {
  static std::function<QString(const FileDialogRequest&)> hook;
  return hook;
}

}  // namespace

void SetFileDialogHook(std::function<QString(const FileDialogRequest&)> hook) { Hook() = std::move(hook); }

QString ToQtFilter(const QString& filter) {
  if (!filter.contains(u'|')) return filter;
  QStringList parts = filter.split(u'|');
  while (!parts.isEmpty() && parts.last().trimmed().isEmpty()) parts.removeLast();
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString desc = parts[i].trimmed();
    QString patterns = parts[i + 1].trimmed();
    patterns.replace(u';', u' ');
    patterns = patterns.simplified();
    // Qt reads the patterns from the parentheses of the description.
    if (desc.contains(u'('))
      out.append(desc);
    else
      out.append(QStringLiteral("%1 (%2)").arg(desc, patterns));
  }
  return out.join(QStringLiteral(";;"));
}

QString OpenFileDialog(QWidget* parent, const QString& title, const QString& filter, const QString& startName) {
  FileDialogRequest request{false, title, ToQtFilter(filter), startName, QString()};
  if (Hook()) return Hook()(request);
  return QFileDialog::getOpenFileName(parent, title, startName, request.filter);
}

QString SaveFileDialog(QWidget* parent, const QString& title, const QString& filter, const QString& fileName,
                       const QString& defaultExt) {
  FileDialogRequest request{true, title, ToQtFilter(filter), fileName, defaultExt};
  if (Hook()) return Hook()(request);
  QFileDialog dialog(parent, title, fileName, request.filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  if (!defaultExt.isEmpty()) dialog.setDefaultSuffix(defaultExt);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().first();
}

}  // namespace zrv::ui
