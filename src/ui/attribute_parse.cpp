#include "ui/attribute_parse.h"

#include <QRegularExpression>
#include <QStringList>

#include "platform/debug_output.h"

namespace zrv::ui::attr {

namespace {
ErrorScope* g_scope = nullptr;
}

bool ParseInt(const QString& value, int* out) {
  bool ok = false;
  const int v = value.trimmed().toInt(&ok, 10);
  if (ok) *out = v;
  return ok;
}

bool ParseBool(const QString& value, bool* out) {
  const QString v = value.trimmed().toLower();
  if (v == u"true" || v == u"1") {
    *out = true;
    return true;
  }
  if (v == u"false" || v == u"0") {
    *out = false;
    return true;
  }
  return false;
}

bool ParseColor(const QString& value, quint32* out) {
  QString v = value.trimmed();
  if (v.startsWith(u'#')) {
    v = v.mid(1);
  } else if (v.startsWith(u"0x", Qt::CaseInsensitive)) {
    v = v.mid(2);
  }
  if (v.isEmpty() || v.size() > 8) return false;
  bool ok = false;
  quint32 c = v.toUInt(&ok, 16);
  if (!ok) return false;
  if (v.size() <= 6) c |= 0xFF000000u;  // six digits (or fewer) mean opaque
  *out = c;
  return true;
}

bool ParseMargins(const QString& value, QMargins* out) {
  const QStringList parts = value.split(u',');
  if (parts.size() != 4) return false;
  int v[4];
  for (int i = 0; i < 4; ++i) {
    if (!ParseInt(parts[i], &v[i])) return false;
  }
  *out = QMargins(v[0], v[1], v[2], v[3]);
  return true;
}

bool ParseSize(const QString& value, QSize* out) {
  const QStringList parts = value.split(u',');
  if (parts.size() != 2) return false;
  int w = 0, h = 0;
  if (!ParseInt(parts[0], &w) || !ParseInt(parts[1], &h)) return false;
  *out = QSize(w, h);
  return true;
}

bool ParseAlign(const QString& value, Qt::Alignment* out) {
  Qt::Alignment a;
  const QStringList words =
      value.simplified().toLower().split(QRegularExpression(QStringLiteral("[ ,|]")), Qt::SkipEmptyParts);
  if (words.isEmpty()) return false;
  for (const QString& w : words) {
    if (w == u"left")
      a |= Qt::AlignLeft;
    else if (w == u"center")
      a |= Qt::AlignHCenter;
    else if (w == u"right")
      a |= Qt::AlignRight;
    else if (w == u"top")
      a |= Qt::AlignTop;
    else if (w == u"vcenter")
      a |= Qt::AlignVCenter;
    else if (w == u"bottom")
      a |= Qt::AlignBottom;
    else
      return false;
  }
  *out = a;
  return true;
}

bool ParseAttributeList(const QString& list, QList<QPair<QString, QString>>* out, QString* error) {
  out->clear();
  int i = 0;
  const int n = list.size();
  auto fail = [&](const QString& why) {
    if (error) *error = why;
    out->clear();
    return false;
  };
  while (true) {
    while (i < n && list[i].isSpace()) ++i;
    if (i >= n) return true;
    const int nameStart = i;
    while (i < n && !list[i].isSpace() && list[i] != u'=') ++i;
    const QString name = list.mid(nameStart, i - nameStart);
    while (i < n && list[i].isSpace()) ++i;
    if (i >= n || list[i] != u'=' || name.isEmpty()) {
      return fail(QStringLiteral("expected name='value' at \"%1\"").arg(list.mid(nameStart, 20)));
    }
    ++i;
    while (i < n && list[i].isSpace()) ++i;
    if (i >= n || (list[i] != u'\'' && list[i] != u'"')) {
      return fail(QStringLiteral("value of '%1' must be quoted").arg(name));
    }
    const QChar quote = list[i++];
    const int valueStart = i;
    while (i < n && list[i] != quote) ++i;
    if (i >= n) return fail(QStringLiteral("unterminated value of '%1'").arg(name));
    out->append({name, list.mid(valueStart, i - valueStart)});
    ++i;
  }
}

ErrorScope::ErrorScope(std::function<void(const QString&)> sink) : sink_(std::move(sink)), previous_(g_scope) {
  g_scope = this;
}

ErrorScope::~ErrorScope() { g_scope = previous_; }

void ReportError(const QString& message) {
  if (g_scope && g_scope->sink_) {
    g_scope->sink_(message);
  } else {
    platform::DebugOut(("skin: " + message).toStdString());
  }
}

}  // namespace zrv::ui::attr
