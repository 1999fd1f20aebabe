#include "controls/hand_image.h"

#include <QCache>
#include <QDir>
#include <QFileInfo>
#include <QPainter>

#include <algorithm>

#include "ui/image_string.h"
#include "ui/render.h"
#include "ui/resources.h"

namespace zrv::controls {

namespace {

bool IsSkinFile(const QString& file) {
  if (file.isEmpty() || file.contains(u':') || QDir::isAbsolutePath(file)) return false;
  return QFileInfo(ui::Resources::Instance().ResolveFile(file)).isFile();
}

// Files outside the skin, by the name as given. Pictures a user points the control at are few and
// large, so the cache counts kilobytes.
QImage LoadOutside(const QString& file) {
  static QCache<QString, QImage> cache(32 * 1024);
  if (const QImage* hit = cache.object(file)) return *hit;
  QImage image(file);
  if (image.isNull()) return image;
  image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  cache.insert(file, new QImage(image), std::max<qsizetype>(1, image.sizeInBytes() / 1024));
  return image;
}

}  // namespace

QImage LoadHandImage(const QString& file) { return IsSkinFile(file) ? ui::render::LoadImage(file) : LoadOutside(file); }

bool DrawHandImage(QPainter& painter, const QRect& rect, const QString& image_string, double zoom) {
  ui::ImageString is;
  if (!ui::ParseImageString(image_string, &is) || is.IsEmpty()) return false;
  if (!image_string.contains(u':') && IsSkinFile(is.file)) {
    return ui::render::DrawImageString(painter, rect, image_string, zoom);
  }
  const QImage image = LoadOutside(is.file);
  if (image.isNull()) return false;
  const QRect src = is.hasSource ? is.source.intersected(image.rect()) : image.rect();
  if (src.isEmpty()) return false;
  QRectF dst(rect);
  if (is.hasDest) {
    dst = QRectF(rect.left() + is.dest.left() * zoom, rect.top() + is.dest.top() * zoom, is.dest.width() * zoom,
                 is.dest.height() * zoom);
  }
  if (dst.isEmpty()) return false;
  painter.save();
  painter.setOpacity(painter.opacity() * is.fade / 255.0);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(dst, image, src);
  painter.restore();
  return true;
}

}  // namespace zrv::controls
