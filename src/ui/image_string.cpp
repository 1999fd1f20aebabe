#include "ui/image_string.h"

#include <QRegularExpression>

#include "ui/attribute_parse.h"

namespace zrv::ui {

namespace {

bool ParseRect(const QString& value, QRect* out) {
  QMargins m;
  if (!attr::ParseMargins(value, &m)) return false;
  *out = QRect(QPoint(m.left(), m.top()), QPoint(m.right() - 1, m.bottom() - 1));
  return true;
}

}  // namespace

bool ParseImageString(const QString& text, ImageString* out, QString* error) {
  *out = ImageString();
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) return true;
  static const QRegularExpression kKeyed(QStringLiteral("^[A-Za-z]+\\s*=\\s*['\"]"));
  if (!kKeyed.match(trimmed).hasMatch()) {
    out->file = trimmed;  // a bare file name
    return true;
  }
  QList<QPair<QString, QString>> pairs;
  QString why;
  auto fail = [&](const QString& message) {
    if (error) *error = message;
    *out = ImageString();
    return false;
  };
  if (!attr::ParseAttributeList(trimmed, &pairs, &why)) return fail(why);
  for (const auto& [key, value] : pairs) {
    const QString k = key.toLower();
    bool ok = true;
    if (k == u"file") {
      out->file = value;
    } else if (k == u"res") {
      out->res = value;
    } else if (k == u"restype") {
      out->resType = value;
    } else if (k == u"dest") {
      ok = ParseRect(value, &out->dest);
      out->hasDest = ok;
    } else if (k == u"source") {
      ok = ParseRect(value, &out->source);
      out->hasSource = ok;
    } else if (k == u"corner") {
      ok = attr::ParseMargins(value, &out->corner);
    } else if (k == u"mask") {
      ok = attr::ParseColor(value, &out->mask);
      out->hasMask = ok;
    } else if (k == u"fade") {
      ok = attr::ParseInt(value, &out->fade);
      out->fade = std::clamp(out->fade, 0, 255);
    } else if (k == u"hole") {
      ok = attr::ParseBool(value, &out->hole);
    } else if (k == u"xtiled") {
      ok = attr::ParseBool(value, &out->xTiled);
    } else if (k == u"ytiled") {
      ok = attr::ParseBool(value, &out->yTiled);
    } else if (k == u"hsl") {
      ok = attr::ParseBool(value, &out->hsl);
    } else {
      return fail(QStringLiteral("unknown image key '%1'").arg(key));
    }
    if (!ok) return fail(QStringLiteral("bad value '%1' of image key '%2'").arg(value, key));
  }
  if (out->file.isEmpty() && !out->res.isEmpty()) {
    out->file = QStringLiteral(":/%1/%2").arg(out->resType, out->res);
  }
  return true;
}

}  // namespace zrv::ui
