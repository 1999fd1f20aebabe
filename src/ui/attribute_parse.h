#pragma once
// Parsing of attribute values and the sink that bad values are reported to: the builder installs
// one while it applies an element's attributes (so the error names file and line); outside a
// build, bad values go to the debug output.

#include <QHash>
#include <QList>
#include <QMargins>
#include <QPair>
#include <QSize>
#include <QString>

#include <functional>

namespace zrv::ui::attr {

bool ParseInt(const QString& value, int* out);
bool ParseBool(const QString& value, bool* out);
// #RRGGBB, #AARRGGBB, 0xAARRGGBB, or a plain hexadecimal number.
bool ParseColor(const QString& value, quint32* out);
// "a,b,c,d" (four integers; blanks allowed).
bool ParseMargins(const QString& value, QMargins* out);
bool ParseSize(const QString& value, QSize* out);
// Alignment words: left, center, right / top, vcenter, bottom (any combination).
bool ParseAlign(const QString& value, Qt::Alignment* out);
// "name='value' name2=\"value\"" -> ordered pairs. False on a malformed list.
bool ParseAttributeList(const QString& list, QList<QPair<QString, QString>>* out, QString* error = nullptr);

// Error sink of the current build (UI thread only).
void ReportError(const QString& message);

class ErrorScope {
 public:
  explicit ErrorScope(std::function<void(const QString&)> sink);
  ~ErrorScope();
  ErrorScope(const ErrorScope&) = delete;
  ErrorScope& operator=(const ErrorScope&) = delete;

 private:
  friend void ReportError(const QString& message);
  std::function<void(const QString&)> sink_;
  ErrorScope* previous_;
};

}  // namespace zrv::ui::attr
