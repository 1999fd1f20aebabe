#include "ui/language.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QXmlStreamReader>

#include "platform/debug_output.h"
#include "ui/resources.h"

namespace zrv::ui {

namespace {

struct Current {
  QPointer<LanguageTranslator> translator;
  QString file;
};

Current& CurrentLanguage() {
  static Current current;
  return current;
}

}  // namespace

LanguageTranslator::LanguageTranslator(QObject* parent) : QTranslator(parent) {}

bool LanguageTranslator::LoadFile(const QString& path) {
  error_ = SkinError();
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    error_ = {path, 0, QStringLiteral("cannot open the language file")};
    return false;
  }
  QHash<QString, QString> texts;
  QString name;
  QXmlStreamReader xml(&f);
  bool sawRoot = false;
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement()) continue;
    const int line = static_cast<int>(xml.lineNumber());
    if (!sawRoot) {
      if (xml.name() != u"Language") {
        error_ = {path, line, QStringLiteral("the root element must be <Language>")};
        return false;
      }
      sawRoot = true;
      name = xml.attributes().value(QLatin1String("name")).toString();
      continue;
    }
    if (xml.name() != u"Text") {
      error_ = {path, line, QStringLiteral("unknown element <%1> (expected <Text id=>)").arg(xml.name())};
      return false;
    }
    const QString id = xml.attributes().value(QLatin1String("id")).toString();
    if (id.isEmpty()) {
      error_ = {path, line, QStringLiteral("<Text> without id")};
      return false;
    }
    if (texts.contains(id)) {
      error_ = {path, line, QStringLiteral("text id %1 appears twice").arg(id)};
      return false;
    }
    QString text = xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
    if (xml.hasError()) break;
    text = text.trimmed();
    text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    texts.insert(id, text);
  }
  if (xml.hasError()) {
    error_ = {path, static_cast<int>(xml.lineNumber()), xml.errorString()};
    return false;
  }
  if (!sawRoot) {
    error_ = {path, 0, QStringLiteral("no <Language> element")};
    return false;
  }
  texts_ = texts;
  name_ = name;
  return true;
}

QString LanguageTranslator::translate(const char* context, const char* sourceText, const char* disambiguation,
                                      int n) const {
  (void)context;
  (void)disambiguation;
  (void)n;
  if (!sourceText) return QString();
  return texts_.value(QString::fromUtf8(sourceText));
}

bool LoadLanguage(const QString& file) {
  const QString path = Resources::Instance().ResolveFile(file);
  auto* translator = new LanguageTranslator(QCoreApplication::instance());
  if (!translator->LoadFile(path)) {
    platform::DebugOut(("language: " + translator->Error().ToString()).toStdString());
    delete translator;
    return false;
  }
  Current& current = CurrentLanguage();
  LanguageTranslator* old = current.translator;
  current.translator = translator;
  current.file = path;
  if (old) {
    QCoreApplication::removeTranslator(old);
    old->deleteLater();
  }
  QCoreApplication::installTranslator(translator);
  if (translator->isEmpty()) {  // Qt announces only non-empty translators
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &change);
  }
  // The application posts the change to every window; deliver it now so that texts are current
  // when this returns.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
  return true;
}

QString CurrentLanguageFile() { return CurrentLanguage().file; }

QString TextById(const QString& id) {
  const LanguageTranslator* t = CurrentLanguage().translator;
  if (!t || !t->Contains(id)) return id;
  return t->Text(id);
}

}  // namespace zrv::ui
