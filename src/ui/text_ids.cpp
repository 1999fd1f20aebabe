#include "ui/text_ids.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include "ui/attribute_parse.h"

namespace zrv::ui {

namespace {

void AddIds(const QString& text, bool columns, QSet<QString>* ids) {
  const QStringList parts = columns ? text.split(u'|') : QStringList{text};
  for (const QString& p : parts) {
    if (!p.trimmed().isEmpty()) ids->insert(p.trimmed());
  }
}

// The ids that an attribute set names: a text marked as resource text, and its companions.
void IdsOf(const QString& element, const QHash<QString, QString>& a, QSet<QString>* ids) {
  auto on = [&](const QString& key) {
    bool v = false;
    return a.contains(key) && attr::ParseBool(a.value(key), &v) && v;
  };
  if (on(QStringLiteral("resourcetext"))) AddIds(a.value(QStringLiteral("text")), element == u"ListTextElement", ids);
  if (on(QStringLiteral("resourcetooltip"))) AddIds(a.value(QStringLiteral("tooltip")), false, ids);
  if (on(QStringLiteral("resourcetipvalue"))) AddIds(a.value(QStringLiteral("tipvalue")), false, ids);
  if (on(QStringLiteral("resourcetitle"))) AddIds(a.value(QStringLiteral("title")), false, ids);
}

}  // namespace

QSet<QString> CollectTextIds(const QString& skinFolder, QStringList* errors) {
  QSet<QString> ids;
  QDirIterator it(skinFolder, {QStringLiteral("*.xml")}, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
      if (errors) errors->append(path + QStringLiteral(": cannot open"));
      continue;
    }
    QXmlStreamReader xml(&f);
    bool first = true;
    QSet<QString> found;
    bool language = false;
    while (!xml.atEnd()) {
      xml.readNext();
      if (!xml.isStartElement()) continue;
      if (first && xml.name() == u"Language") {
        language = true;
        break;
      }
      first = false;
      QHash<QString, QString> a;
      for (const QXmlStreamAttribute& at : xml.attributes()) a.insert(at.name().toString(), at.value().toString());
      IdsOf(xml.name().toString(), a, &found);
      // Styles and defaults carry attribute lists of their own.
      if ((xml.name() == u"Style" || xml.name() == u"Default") && a.contains(QStringLiteral("value"))) {
        QList<QPair<QString, QString>> pairs;
        if (attr::ParseAttributeList(a.value(QStringLiteral("value")), &pairs)) {
          QHash<QString, QString> inner;
          for (const auto& [k, v] : pairs) inner.insert(k, v);
          IdsOf(QString(), inner, &found);
        }
      }
    }
    if (language) continue;
    if (xml.hasError()) {
      if (errors) errors->append(QStringLiteral("%1:%2: %3").arg(path).arg(xml.lineNumber()).arg(xml.errorString()));
      continue;
    }
    ids.unite(found);
  }
  return ids;
}

QSet<QString> CollectCodeTextIds(const QStringList& sourceFolders) {
  static const QRegularExpression kCall(QStringLiteral(
      R"re(\b(?:TextById|TextId|SetTextId)\s*\(\s*(?:QStringLiteral\s*\(\s*|QString::fromUtf8\s*\(\s*)?u?8?"([^"\\]+)")re"));
  QSet<QString> ids;
  for (const QString& folder : sourceFolders) {
    QDirIterator it(folder, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
      QFile f(it.next());
      if (!f.open(QIODevice::ReadOnly)) continue;
      const QString text = QString::fromUtf8(f.readAll());
      auto matches = kCall.globalMatch(text);
      while (matches.hasNext()) ids.insert(matches.next().captured(1));
    }
  }
  return ids;
}

}  // namespace zrv::ui
