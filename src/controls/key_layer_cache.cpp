#include "controls/key_layer_cache.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "controls/light_blend.h"
#include "ui/render.h"

namespace zrv::controls {

KeyLayerCache& KeyLayerCache::Instance() {
  static KeyLayerCache cache;
  return cache;
}

int KeyLayerCache::ImageId(const QString& image) {
  if (image.isEmpty()) return 0;
  static QHash<QString, int> ids;  // UI thread only, as all painting
  const auto it = ids.constFind(image);
  if (it != ids.constEnd()) return it.value();
  const int id = static_cast<int>(ids.size()) + 1;
  ids.insert(image, id);
  return id;
}

KeyLayerCache::Key KeyLayerCache::MakeKey(Kind kind, const QPainter& painter, const QRect& rect) {
  // Layers are made in the pixels they land on (the device transform holds the device pixel ratio
  // and any scaling of the painter), so they are blitted 1:1 and stay sharp at any zoom.
  // The device's ratio is asked for only when the transform cannot tell it: for a widget that is a
  // walk to its screen, for every key of every frame.
  const QTransform& t = painter.deviceTransform();
  qreal scale = 1.0;
  if (t.type() <= QTransform::TxScale) {
    scale = std::max(std::abs(t.m11()), std::abs(t.m22()));
  } else if (painter.device() != nullptr) {
    scale = painter.device()->devicePixelRatioF();
  }
  Key key{};
  key.kind = kind;
  key.width = static_cast<int>(std::ceil(rect.width() * scale));
  key.height = static_cast<int>(std::ceil(rect.height() * scale));
  key.scale_percent = static_cast<int>(std::lround(scale * 100.0));
  return key;
}

QImage KeyLayerCache::NewLayer(const Key& key) {
  QImage layer(key.width, key.height, QImage::Format_ARGB32_Premultiplied);
  layer.setDevicePixelRatio(key.scale_percent / 100.0);
  return layer;
}

void KeyLayerCache::Keep(const Key& key, const QImage& layer) {
  cache_.insert(key, new QImage(layer), std::max<qsizetype>(1, layer.sizeInBytes() / 1024));
}

void KeyLayerCache::DrawLight(QPainter& painter, const QRect& rect, int image_id, const QString& image, double zoom,
                              quint32 colour, int intensity) {
  if (rect.isEmpty() || image.isEmpty() || intensity <= 0) return;  // a dark key shows nothing
  Key key = MakeKey(Kind::kTinted, painter, rect);
  key.image = image_id;
  key.colour = colour & 0x00FFFFFFu;
  key.intensity = std::min(intensity, 255);
  key.zoom_percent = static_cast<int>(std::lround(zoom * 100.0));
  if (direct_blend_) {
    const std::optional<light_blend::Target> target = light_blend::DirectTarget(painter, rect);
    if (target && target->device_rect.size() == QSize(key.width, key.height)) {
      if (const QImage* coverage = Coverage(key, image, rect.size(), zoom)) {
        light_blend::Blend(*target, *coverage, key.colour, key.intensity);
      }
      return;
    }
  }
  if (const QImage* hit = cache_.object(key)) {
    painter.drawImage(rect.topLeft(), *hit);
    return;
  }
  const QImage shape = Shape(key, image, rect.size(), zoom);
  if (shape.isNull()) return;
  const QImage layer = Tint(shape, key.colour, key.intensity);
  ++tint_renders_;
  painter.drawImage(rect.topLeft(), layer);
  Keep(key, layer);
}

KeyLayerCache::Key KeyLayerCache::Untinted(const Key& tinted, Kind kind) {
  Key key = tinted;
  key.kind = kind;
  key.colour = 0;
  key.intensity = 0;
  return key;
}

QImage KeyLayerCache::Shape(const Key& tinted, const QString& image, const QSize& size, double zoom) {
  const Key key = Untinted(tinted, Kind::kShape);
  if (const QImage* hit = cache_.object(key)) return *hit;
  QImage shape = NewLayer(key);
  shape.fill(Qt::transparent);
  {
    QPainter p(&shape);
    if (!ui::render::DrawImageString(p, QRect(QPoint(0, 0), size), image, zoom)) return QImage();
  }
  Keep(key, shape);
  return shape;
}

const QImage* KeyLayerCache::Coverage(const Key& tinted, const QString& image, const QSize& size, double zoom) {
  const Key key = Untinted(tinted, Kind::kCoverage);
  if (const QImage* hit = cache_.object(key)) return hit;
  const QImage coverage = Shape(tinted, image, size, zoom).convertToFormat(QImage::Format_Alpha8);
  if (coverage.isNull()) return nullptr;
  Keep(key, coverage);
  return cache_.object(key);
}

QImage KeyLayerCache::Tint(const QImage& shape, quint32 colour, int intensity) {
  // Per pixel and without a painter: a frame may tint a hundred keys.
  QImage layer(shape.size(), QImage::Format_ARGB32_Premultiplied);
  layer.setDevicePixelRatio(shape.devicePixelRatio());
  const uint r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
  const uint strength = static_cast<uint>(intensity);
  for (int y = 0; y < shape.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(shape.constScanLine(y));
    auto* out = reinterpret_cast<QRgb*>(layer.scanLine(y));
    for (int x = 0; x < shape.width(); ++x) {
      const uint a = (qAlpha(in[x]) * strength + 127) / 255;
      out[x] = qRgba(static_cast<int>((r * a + 127) / 255), static_cast<int>((g * a + 127) / 255),
                     static_cast<int>((b * a + 127) / 255), static_cast<int>(a));
    }
  }
  return layer;
}

void KeyLayerCache::DrawRoundedFill(QPainter& painter, const QRect& rect, quint32 argb, const QSize& radii) {
  if (rect.isEmpty() || (argb >> 24) == 0) return;
  Key key = MakeKey(Kind::kFill, painter, rect);
  key.colour = argb;
  key.rx = radii.width();
  key.ry = radii.height();
  if (const QImage* hit = cache_.object(key)) {
    painter.drawImage(rect.topLeft(), *hit);
    return;
  }
  QImage layer = NewLayer(key);
  layer.fill(Qt::transparent);
  {
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(QPoint(0, 0), QSizeF(rect.size())), key.rx, key.ry);
    p.fillPath(path, QColor::fromRgba(argb));
  }
  painter.drawImage(rect.topLeft(), layer);
  Keep(key, layer);
}

}  // namespace zrv::controls
