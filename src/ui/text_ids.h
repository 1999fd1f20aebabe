#pragma once
// Collects the text ids the program uses, for the check that every shipped language file has them.

#include <QSet>
#include <QString>
#include <QStringList>

namespace zrv::ui {

// Every id used by the layouts and menus of a skin folder (recursively): text with
// resourcetext="true", tooltip with resourcetooltip, tipvalue with resourcetipvalue, title with
// resourcetitle. Language files (root <Language>) are skipped. `errors` gets "file:line: message"
// for files that do not parse.
QSet<QString> CollectTextIds(const QString& skinFolder, QStringList* errors = nullptr);
// Every id named by code in the .cpp/.h files below the folders: the string literal given
// directly to TextById, TextId or SetTextId (wrap any other id literal in TextId to list it).
QSet<QString> CollectCodeTextIds(const QStringList& sourceFolders);

}  // namespace zrv::ui
