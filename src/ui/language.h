#pragma once
// Texts by id. A language file (XML: <Language><Text id="...">text</Text>...</Language>) is served
// to Qt as a QTranslator; controls whose text is a text id show the new texts after every change.

#include <QHash>
#include <QString>
#include <QTranslator>

#include "ui/skin_error.h"

namespace zrv::ui {

class LanguageTranslator : public QTranslator {
  Q_OBJECT
 public:
  explicit LanguageTranslator(QObject* parent = nullptr);

  // Reads a language file. False with Error() (file and line) when it is missing or malformed.
  bool LoadFile(const QString& path);
  const SkinError& Error() const { return error_; }
  QString LanguageName() const { return name_; }

  // The source text is the text id; the context is ignored.
  QString translate(const char* context, const char* sourceText, const char* disambiguation, int n) const override;
  bool isEmpty() const override { return texts_.isEmpty(); }

  bool Contains(const QString& id) const { return texts_.contains(id); }
  QString Text(const QString& id) const { return texts_.value(id); }
  QHash<QString, QString> Texts() const { return texts_; }

 private:
  QHash<QString, QString> texts_;
  QString name_;
  SkinError error_;
};

// Loads a language file (skin-relative or absolute) and makes it the current language: installs
// it in the application, which re-translates every text-id control. False (and the previous
// language stays) when the file cannot be read.
bool LoadLanguage(const QString& file);
// The file of the current language, empty when none.
QString CurrentLanguageFile();
// The text of `id` in the current language; the id itself when the language lacks it.
QString TextById(const QString& id);
// Marks a string literal as a text id for the text-id collector; returns it unchanged.
constexpr const char* TextId(const char* id) { return id; }

}  // namespace zrv::ui
