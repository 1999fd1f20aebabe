#pragma once
// The skin folder and its resource index "res.xml" (identifier -> layout file).

#include <QHash>
#include <QString>

#include "ui/skin_error.h"

namespace zrv::ui {

class Resources {
 public:
  static Resources& Instance();

  // The skin folder (absolute). Clears the index and the image cache.
  void SetResourcePath(const QString& folder);
  QString GetResourcePath() const { return path_; }
  // Reads the index ("res.xml" in the skin folder by default). False with Error() when the file
  // is missing or malformed; the old index is then kept.
  bool LoadResourceIndex(const QString& file = QStringLiteral("res.xml"));
  const SkinError& Error() const { return error_; }
  // Registers one identifier by code.
  void SetLayoutId(const QString& id, const QString& file) { ids_[id] = NormalizeName(file); }

  // A name of code or of a layout turned into a skin path: "\" becomes "/".
  static QString NormalizeName(const QString& name);
  // Resolves a layout name: an identifier of the index, else a path relative to the skin folder,
  // else an absolute path. Returns an absolute path (the file may not exist).
  QString ResolveLayout(const QString& name) const;
  // A skin file (image, language file, menu): absolute path for a skin-relative name.
  QString ResolveFile(const QString& name) const;
  // Styles and defaults of "styles.xml" (loaded with the index when the file exists).
  QString GetGlobalStyle(const QString& name) const { return styles_.value(name); }
  QString GetGlobalDefault(const QString& element) const { return defaults_.value(element); }
  // The identifiers of the index.
  QHash<QString, QString> LayoutIds() const { return ids_; }

 private:
  Resources() = default;
  QString path_;
  QHash<QString, QString> ids_;
  QHash<QString, QString> styles_;
  QHash<QString, QString> defaults_;
  SkinError error_;
};

}  // namespace zrv::ui
