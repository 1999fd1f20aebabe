#include "ui/resources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include "ui/render.h"

namespace zrv::ui {

namespace {

// Skin files written on a case-insensitive file system may differ in case from the names the
// code uses; when the exact path does not exist, look for each component without regard to case.
QString FindIgnoringCase(const QString& path) {
  if (QFileInfo::exists(path) || path.startsWith(u":/")) return path;
  const QStringList parts = QDir::cleanPath(path).split(u'/', Qt::SkipEmptyParts);
  QString current = path.startsWith(u'/') ? QStringLiteral("/") : QString();
  for (int i = 0; i < parts.size(); ++i) {
    const QString candidate = current.isEmpty() ? parts[i] : QDir(current).filePath(parts[i]);
    if (QFileInfo::exists(candidate)) {
      current = candidate;
      continue;
    }
    const QStringList entries = QDir(current.isEmpty() ? QStringLiteral(".") : current)
                                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    QString match;
    for (const QString& e : entries) {
      if (e.compare(parts[i], Qt::CaseInsensitive) == 0) {
        match = e;
        break;
      }
    }
    if (match.isEmpty()) return path;
    current = current.isEmpty() ? match : QDir(current).filePath(match);
  }
  return current;
}

bool ReadStyles(const QString& file, QHash<QString, QString>* styles, QHash<QString, QString>* defaults,
                SkinError* error) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) {
    *error = {file, 0, QStringLiteral("cannot open the file")};
    return false;
  }
  QXmlStreamReader xml(&f);
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement()) continue;
    const QString name = xml.name().toString();
    if (name == u"Style") {
      styles->insert(xml.attributes().value(QLatin1String("name")).toString(),
                     xml.attributes().value(QLatin1String("value")).toString());
    } else if (name == u"Default") {
      defaults->insert(xml.attributes().value(QLatin1String("name")).toString(),
                       xml.attributes().value(QLatin1String("value")).toString());
    }
  }
  if (xml.hasError()) {
    *error = {file, static_cast<int>(xml.lineNumber()), xml.errorString()};
    return false;
  }
  return true;
}

}  // namespace

Resources& Resources::Instance() {
  static Resources instance;
  return instance;
}

void Resources::SetResourcePath(const QString& folder) {
  path_ = QDir(folder).absolutePath();
  ids_.clear();
  styles_.clear();
  defaults_.clear();
  render::ClearImageCache();
}

QString Resources::NormalizeName(const QString& name) {
  QString n = name;
  n.replace(u'\\', u'/');
  return n;
}

bool Resources::LoadResourceIndex(const QString& file) {
  error_ = SkinError();
  const QString path = ResolveFile(file);
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    error_ = {path, 0, QStringLiteral("cannot open the resource index")};
    return false;
  }
  QHash<QString, QString> ids;
  QXmlStreamReader xml(&f);
  int depth = 0;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isEndElement()) --depth;
    if (!xml.isStartElement()) continue;
    ++depth;
    if (depth == 1) continue;  // the root, whatever its name
    const int line = static_cast<int>(xml.lineNumber());
    if (xml.name() != u"Layout") {
      error_ = {path, line, QStringLiteral("unknown element <%1> (expected <Layout id= file=>)").arg(xml.name())};
      return false;
    }
    const QString id = xml.attributes().value(QLatin1String("id")).toString();
    const QString target = xml.attributes().value(QLatin1String("file")).toString();
    if (id.isEmpty() || target.isEmpty()) {
      error_ = {path, line, QStringLiteral("<Layout> needs id and file")};
      return false;
    }
    if (ids.contains(id)) {
      error_ = {path, line, QStringLiteral("identifier %1 appears twice").arg(id)};
      return false;
    }
    ids.insert(id, NormalizeName(target));
  }
  if (xml.hasError()) {
    error_ = {path, static_cast<int>(xml.lineNumber()), xml.errorString()};
    return false;
  }
  ids_ = ids;
  const QString styles = ResolveFile(QStringLiteral("styles.xml"));
  if (QFileInfo::exists(styles)) {
    QHash<QString, QString> s, d;
    if (!ReadStyles(styles, &s, &d, &error_)) return false;
    styles_ = s;
    defaults_ = d;
  }
  return true;
}

QString Resources::ResolveLayout(const QString& name) const {
  const QString n = NormalizeName(name);
  auto it = ids_.find(n);
  if (it != ids_.end()) return ResolveFile(it.value());
  return ResolveFile(n);
}

QString Resources::ResolveFile(const QString& name) const {
  const QString n = NormalizeName(name);
  if (n.isEmpty()) return n;
  if (QDir::isAbsolutePath(n)) return FindIgnoringCase(n);
  return FindIgnoringCase(QDir(path_.isEmpty() ? QDir::currentPath() : path_).filePath(n));
}

}  // namespace zrv::ui
