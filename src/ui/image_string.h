#pragma once
// The image-string grammar of the skin: a bare file name, or key='value' pairs:
// file, res, restype, dest, source, corner, mask, fade, hole, xtiled, ytiled, hsl.

#include <QMargins>
#include <QRect>
#include <QString>

namespace zrv::ui {

struct ImageString {
  QString file;  // skin-relative, absolute, or ":/restype/res" for a compiled-in resource
  QString res, resType;
  bool hasDest = false;
  QRect dest;  // relative to the control, 96-DPI pixels
  bool hasSource = false;
  QRect source;      // image pixels
  QMargins corner;   // nine-slice borders, image pixels
  quint32 mask = 0;  // 0xAARRGGBB made transparent; 0: none
  bool hasMask = false;
  int fade = 255;
  bool hole = false;
  bool xTiled = false;
  bool yTiled = false;
  bool hsl = false;

  bool IsEmpty() const { return file.isEmpty() && res.isEmpty(); }
};

// Parses an image string. False with `error` for a malformed string (unknown key, bad number,
// unterminated quote); the result is then empty.
bool ParseImageString(const QString& text, ImageString* out, QString* error = nullptr);

}  // namespace zrv::ui
