#include "ui/render.h"

#include <QAbstractTextDocumentLayout>
#include <QCache>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>
#include <QTextDocument>

#include <cmath>
#include <memory>

#include "platform/debug_output.h"
#include "ui/image_string.h"
#include "ui/resources.h"

namespace zrv::ui::render {

namespace {

// Decoded images, tinted and masked variants included; the cost is in kilobytes.
QCache<QString, QImage>& Cache() {
  static QCache<QString, QImage> cache(64 * 1024);
  return cache;
}

// An untinted image string drawn once into an image of the pixels it covers, then blitted: a
// control repaints the same strings over the same rectangles (a hovered key twenty times a
// second), and parsing, slicing and scaling them again each time cost more than the blit.
struct ComposedKey {
  QString image_string;
  QSize rect_size;
  int zoom_percent;
  int scale_percent;  // device pixels per pixel of the painter's coordinates
  bool operator==(const ComposedKey& o) const {
    return rect_size == o.rect_size && zoom_percent == o.zoom_percent && scale_percent == o.scale_percent &&
           image_string == o.image_string;
  }
};
size_t qHash(const ComposedKey& key, size_t seed) {
  return qHashMulti(seed, key.image_string, key.rect_size.width(), key.rect_size.height(), key.zoom_percent,
                    key.scale_percent);
}

struct Composed {
  QImage image;   // transparent where the string draws nothing
  QPoint offset;  // of the image from the rectangle's top left, in the painter's coordinates
};

// Cost in kilobytes.
QCache<ComposedKey, Composed>& ComposedCache() {
  static QCache<ComposedKey, Composed> cache(24 * 1024);
  return cache;
}

QSet<QString>& Reported() {
  static QSet<QString> reported;
  return reported;
}

// Resolved paths and natural sizes, so that drawing a frame touches neither the file system nor
// an SVG parser.
QHash<QString, QString>& PathCache() {
  static QHash<QString, QString> cache;
  return cache;
}

QHash<QString, QSize>& SizeCache() {
  static QHash<QString, QSize> cache;
  return cache;
}

QString ResolvePath(const QString& file) {
  auto it = PathCache().constFind(file);
  if (it != PathCache().constEnd()) return it.value();
  QString path;
  if (file.startsWith(u":/")) {
    path = QFile::exists(file) ? file : Resources::Instance().ResolveFile(file.mid(2));  // "<restype>/<res>"
  } else {
    path = Resources::Instance().ResolveFile(file);
  }
  PathCache().insert(file, path);
  return path;
}

bool IsSvg(const QString& path) { return path.endsWith(u".svg", Qt::CaseInsensitive); }

void Insert(const QString& key, const QImage& image) {
  Cache().insert(key, new QImage(image), std::max<qsizetype>(1, image.sizeInBytes() / 1024));
}

QImage Masked(const QImage& image, const QString& key, quint32 mask) {
  const QString k = key + QStringLiteral("|m%1").arg(mask, 8, 16, QLatin1Char('0'));
  if (QImage* hit = Cache().object(k)) return *hit;
  QImage out = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb match = mask | 0xFF000000u;
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      if ((line[x] | 0xFF000000u) == match && qAlpha(line[x]) > 0) line[x] = 0;
    }
  }
  out = out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  Insert(k, out);
  return out;
}

// The image's shape filled with one colour (its alpha kept): the look of a key's light.
QImage Tinted(const QImage& image, const QString& key, quint32 tintBgr) {
  const QColor color(static_cast<int>(tintBgr & 0xFF), static_cast<int>((tintBgr >> 8) & 0xFF),
                     static_cast<int>((tintBgr >> 16) & 0xFF));
  const QString k = key + QStringLiteral("|t%1").arg(color.rgb() & 0xFFFFFF, 6, 16, QLatin1Char('0'));
  if (QImage* hit = Cache().object(k)) return *hit;
  QImage out(image.size(), QImage::Format_ARGB32_Premultiplied);
  out.fill(Qt::transparent);
  {
    QPainter p(&out);
    p.drawImage(0, 0, image);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(out.rect(), color);
  }
  Insert(k, out);
  return out;
}

// Draws src of image into dst, stretched or tiled.
void DrawPart(QPainter& painter, const QImage& image, const QRectF& dst, const QRect& src, bool xTiled, bool yTiled,
              double scale) {
  if (dst.width() <= 0 || dst.height() <= 0 || src.width() <= 0 || src.height() <= 0) return;
  if (!xTiled && !yTiled) {
    // An image rendered for its target differs from it by rounding only; drawn as a scaled image it
    // would be resampled on every paint (a device picture repaints twenty times a second).
    const QTransform& t = painter.deviceTransform();
    if (t.type() <= QTransform::TxTranslate && std::abs(dst.width() - src.width()) < 1.0 &&
        std::abs(dst.height() - src.height()) < 1.0) {
      // A plain blit: the smooth-transform hint or a source rectangle would send the raster engine
      // down its general span path (spread over a thread pool) for what is a copy.
      painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
      const QPoint at = dst.topLeft().toPoint();
      if (src == image.rect()) {
        painter.drawImage(at, image);
      } else {
        painter.drawImage(at, image, src);
      }
      return;
    }
    painter.drawImage(dst, image, src);
    return;
  }
  // A tile keeps its source size (zoomed) along the tiled direction and stretches along the other.
  const QImage piece = image.copy(src);
  const double tw = xTiled ? src.width() * scale : dst.width();
  const double th = yTiled ? src.height() * scale : dst.height();
  QBrush brush(piece);
  QTransform t;
  t.translate(dst.left(), dst.top());
  t.scale(tw / src.width(), th / src.height());
  brush.setTransform(t);
  painter.fillRect(dst, brush);
}

}  // namespace

QImage LoadImage(const QString& file, double scale) {
  if (file.isEmpty()) return QImage();
  const QString path = ResolvePath(file);
  const bool svg = IsSvg(path);
  const double s = svg ? std::max(0.01, std::round(scale * 100.0) / 100.0) : 1.0;
  const QString key = svg ? QStringLiteral("%1@%2").arg(path).arg(s) : path;
  if (QImage* hit = Cache().object(key)) return *hit;
  QImage image;
  if (svg) {
    QSvgRenderer renderer(path);
    if (renderer.isValid()) {
      const QSize size = (QSizeF(renderer.defaultSize()) * s).toSize().expandedTo(QSize(1, 1));
      image = QImage(size, QImage::Format_ARGB32_Premultiplied);
      image.fill(Qt::transparent);
      QPainter p(&image);
      renderer.render(&p);
    }
  } else {
    image.load(path);
    if (!image.isNull()) image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  }
  if (image.isNull()) {
    if (!Reported().contains(path)) {
      Reported().insert(path);
      platform::DebugOut(("skin: cannot load image " + path).toStdString());
    }
    return QImage();
  }
  Insert(key, image);
  return image;
}

QSize ImageSize(const QString& file) {
  const QString path = ResolvePath(file);
  auto it = SizeCache().constFind(path);
  if (it != SizeCache().constEnd()) return it.value();
  QSize size;
  if (IsSvg(path)) {
    QSvgRenderer renderer(path);
    if (renderer.isValid()) size = renderer.defaultSize();
  } else {
    const QImage image = LoadImage(file);
    if (!image.isNull()) size = image.size();
  }
  if (size.isValid()) SizeCache().insert(path, size);
  return size;
}

void ClearImageCache() {
  Cache().clear();
  ComposedCache().clear();
  Reported().clear();
  PathCache().clear();
  SizeCache().clear();
}

namespace {

// Parses the string and draws its parts (up to nine slices, scaled or tiled) onto the painter.
bool DrawImageStringParts(QPainter& painter, const QRect& rect, const QString& imageString, double zoom, quint32 tint,
                          int intensity, bool useTint) {
  ImageString is;
  QString error;
  if (!ParseImageString(imageString, &is, &error)) {
    static QSet<QString> reported;
    if (!reported.contains(imageString)) {
      reported.insert(imageString);
      platform::DebugOut(("skin: image string \"" + imageString + "\": " + error).toStdString());
    }
    return false;
  }
  if (is.IsEmpty()) return false;
  if (useTint && intensity <= 0) return true;  // a light at zero intensity shows nothing

  QRectF dst(rect);
  if (is.hasDest) {
    dst = QRectF(rect.left() + is.dest.left() * zoom, rect.top() + is.dest.top() * zoom, is.dest.width() * zoom,
                 is.dest.height() * zoom);
  }
  if (dst.width() <= 0 || dst.height() <= 0) return false;

  // SVG images are rendered large enough for the target, so they stay sharp at any zoom.
  const QString path = ResolvePath(is.file);
  double imageScale = 1.0;
  if (IsSvg(path)) {
    const QSize natural = ImageSize(is.file);
    if (!natural.isValid() || natural.isEmpty()) return false;
    const QSizeF wanted = is.hasSource ? QSizeF(is.source.size()) : QSizeF(natural);
    const double dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    imageScale = std::max({zoom, dst.width() / wanted.width(), dst.height() / wanted.height()}) * dpr;
  }
  QImage image = LoadImage(is.file, imageScale);
  if (image.isNull()) return false;
  QString key = QStringLiteral("%1@%2").arg(path).arg(imageScale);
  if (is.hasMask) image = Masked(image, key, is.mask);
  if (is.hasMask) key += QStringLiteral("|m%1").arg(is.mask, 8, 16, QLatin1Char('0'));
  if (useTint) image = Tinted(image, key, tint);

  // Source window in image pixels, cut to the image.
  auto scaled = [imageScale](int v) { return static_cast<int>(std::lround(v * imageScale)); };
  QRect src = image.rect();
  if (is.hasSource) {
    src =
        QRect(scaled(is.source.left()), scaled(is.source.top()), scaled(is.source.width()), scaled(is.source.height()))
            .intersected(image.rect());
  }
  if (src.isEmpty()) return false;

  const double opacity = (is.fade / 255.0) * (useTint ? std::clamp(intensity, 0, 255) / 255.0 : 1.0);
  painter.save();
  painter.setOpacity(painter.opacity() * opacity);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  const double drawScale = zoom / imageScale;  // image pixels -> target pixels
  const QMargins c = is.corner;
  if (c.isNull()) {
    DrawPart(painter, image, dst, src, is.xTiled, is.yTiled, drawScale);
  } else {
    // Nine slices: corners keep their (zoomed) size, edges stretch one way, the middle both.
    const int sl = scaled(c.left()), st = scaled(c.top()), sr = scaled(c.right()), sb = scaled(c.bottom());
    const double dl = c.left() * zoom, dt = c.top() * zoom, dr = c.right() * zoom, db = c.bottom() * zoom;
    const int sx[4] = {src.left(), src.left() + sl, src.right() + 1 - sr, src.right() + 1};
    const int sy[4] = {src.top(), src.top() + st, src.bottom() + 1 - sb, src.bottom() + 1};
    const double dx[4] = {dst.left(), dst.left() + dl, dst.right() - dr, dst.right()};
    const double dy[4] = {dst.top(), dst.top() + dt, dst.bottom() - db, dst.bottom()};
    for (int row = 0; row < 3; ++row) {
      for (int col = 0; col < 3; ++col) {
        if (is.hole && row == 1 && col == 1) continue;
        const QRect s(QPoint(sx[col], sy[row]), QPoint(sx[col + 1] - 1, sy[row + 1] - 1));
        const QRectF d(QPointF(dx[col], dy[row]), QPointF(dx[col + 1], dy[row + 1]));
        const bool middle = row == 1 || col == 1;
        DrawPart(painter, image, d, s, middle && is.xTiled, middle && is.yTiled, drawScale);
      }
    }
  }
  painter.restore();
  return true;
}

const Composed* Compose(const ComposedKey& key, const QString& imageString, double zoom, double scale) {
  ImageString is;
  if (!ParseImageString(imageString, &is, nullptr) || is.IsEmpty()) return nullptr;
  // The pixels the string can touch: its dest, or the whole rectangle.
  const QRect whole(QPoint(0, 0), key.rect_size);
  QRect box = whole;
  if (is.hasDest) {
    box = QRectF(is.dest.left() * zoom, is.dest.top() * zoom, is.dest.width() * zoom, is.dest.height() * zoom)
              .toAlignedRect();
  }
  if (box.isEmpty()) return nullptr;
  const QSize pixels(static_cast<int>(std::ceil(box.width() * scale)),
                     static_cast<int>(std::ceil(box.height() * scale)));
  // A huge target (a window's background tiled over a large screen) is drawn directly.
  if (qint64{pixels.width()} * pixels.height() > 4096 * 4096) return nullptr;
  auto composed = std::make_unique<Composed>();
  composed->image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
  composed->image.setDevicePixelRatio(scale);
  composed->image.fill(Qt::transparent);
  composed->offset = box.topLeft();
  {
    QPainter p(&composed->image);
    p.translate(-box.topLeft());
    if (!DrawImageStringParts(p, whole, imageString, zoom, 0, 0, false)) return nullptr;
  }
  const Composed* kept = composed.get();
  const auto cost = std::max<qsizetype>(1, composed->image.sizeInBytes() / 1024);
  if (!ComposedCache().insert(key, composed.release(), cost)) return nullptr;  // larger than the cache
  return kept;
}

}  // namespace

bool LandsOnWholePixels(const QPainter& painter) {
  const QTransform& t = painter.deviceTransform();
  return t.type() <= QTransform::TxTranslate && t.dx() == std::floor(t.dx()) && t.dy() == std::floor(t.dy());
}

bool DrawImageString(QPainter& painter, const QRect& rect, const QString& imageString, double zoom, quint32 tint,
                     int intensity, bool useTint) {
  // Only where the blit lands on whole device pixels unscaled, as the composed image was made.
  if (useTint || !LandsOnWholePixels(painter) || imageString.isEmpty() || rect.isEmpty()) {
    return DrawImageStringParts(painter, rect, imageString, zoom, tint, intensity, useTint);
  }
  const double scale = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0;
  const ComposedKey key{imageString, rect.size(), static_cast<int>(std::lround(zoom * 100.0)),
                        static_cast<int>(std::lround(scale * 100.0))};
  const Composed* composed = ComposedCache().object(key);
  if (composed == nullptr) composed = Compose(key, imageString, zoom, scale);
  if (composed == nullptr) return DrawImageStringParts(painter, rect, imageString, zoom, tint, intensity, useTint);
  painter.drawImage(rect.topLeft() + composed->offset, composed->image);
  return true;
}

void DrawColor(QPainter& painter, const QRect& rect, quint32 argb) {
  if ((argb >> 24) == 0) return;
  painter.fillRect(rect, QColor::fromRgba(argb));
}

void DrawRect(QPainter& painter, const QRect& rect, int size, quint32 argb) {
  if (size <= 0 || (argb >> 24) == 0) return;
  const QColor c = QColor::fromRgba(argb);
  size = std::min({size, rect.width() / 2 + 1, rect.height() / 2 + 1});
  painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), size), c);
  painter.fillRect(QRect(rect.left(), rect.bottom() + 1 - size, rect.width(), size), c);
  painter.fillRect(QRect(rect.left(), rect.top() + size, size, rect.height() - 2 * size), c);
  painter.fillRect(QRect(rect.right() + 1 - size, rect.top() + size, size, rect.height() - 2 * size), c);
}

void DrawText(QPainter& painter, const QRect& rect, const QString& text, quint32 argb, const QFont& font, int flags,
              bool endEllipsis) {
  if (text.isEmpty() || rect.isEmpty()) return;
  painter.save();
  painter.setFont(font);
  painter.setPen(QColor::fromRgba(argb));
  QString shown = text;
  if (endEllipsis && !(flags & Qt::TextWordWrap)) {
    shown = QFontMetrics(font).elidedText(text, Qt::ElideRight, rect.width());
  }
  painter.drawText(rect, flags, shown);
  painter.restore();
}

void DrawHtmlText(QPainter& painter, const QRect& rect, const QString& html, quint32 argb, const QFont& font,
                  int flags) {
  if (html.isEmpty() || rect.isEmpty()) return;
  QTextDocument doc;
  doc.setDefaultFont(font);
  doc.setDocumentMargin(0);
  doc.setDefaultStyleSheet(QStringLiteral("body { color: %1; }").arg(QColor::fromRgba(argb).name(QColor::HexArgb)));
  const QString align = (flags & Qt::AlignHCenter) ? QStringLiteral("center")
                        : (flags & Qt::AlignRight) ? QStringLiteral("right")
                                                   : QStringLiteral("left");
  doc.setHtml(QStringLiteral("<body><div align=\"%1\">%2</div></body>").arg(align, html));
  doc.setTextWidth(rect.width());
  const double height = doc.size().height();
  double top = rect.top();
  if (flags & Qt::AlignBottom)
    top = rect.bottom() + 1 - height;
  else if (!(flags & Qt::AlignTop))
    top = rect.top() + (rect.height() - height) / 2.0;
  painter.save();
  painter.setClipRect(rect);
  painter.translate(rect.left(), top);
  QAbstractTextDocumentLayout::PaintContext context;
  context.palette.setColor(QPalette::Text, QColor::fromRgba(argb));
  doc.documentLayout()->draw(&painter, context);
  painter.restore();
}

}  // namespace zrv::ui::render
