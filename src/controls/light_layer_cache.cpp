#include "controls/light_layer_cache.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "ui/render.h"

namespace zrv::controls {

LightLayerCache& LightLayerCache::Instance() {
  static LightLayerCache cache;
  return cache;
}

LightLayerCache::LightLayerCache() = default;

void LightLayerCache::Draw(QPainter& painter, const QRect& rect, const QString& image, double zoom, quint32 colour,
                           int intensity) {
  if (rect.isEmpty() || image.isEmpty() || intensity <= 0) return;  // a dark key shows nothing
  // The layer is made in the pixels it lands on (the device transform holds the device pixel ratio
  // and any scaling of the painter), so it is blitted 1:1 and stays sharp at any zoom.
  qreal scale = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0;
  const QTransform& t = painter.deviceTransform();
  if (t.type() <= QTransform::TxScale) scale = std::max(std::abs(t.m11()), std::abs(t.m22()));
  const QSize device_size(static_cast<int>(std::ceil(rect.width() * scale)),
                          static_cast<int>(std::ceil(rect.height() * scale)));
  const Key key{image,
                colour & 0x00FFFFFFu,
                std::clamp(intensity, 0, 255),
                device_size.width(),
                device_size.height(),
                static_cast<int>(std::lround(zoom * 100.0)),
                static_cast<int>(std::lround(scale * 100.0))};
  if (const QImage* hit = cache_.object(key)) {
    painter.drawImage(rect.topLeft(), *hit);
    return;
  }
  QImage layer(device_size, QImage::Format_ARGB32_Premultiplied);
  layer.setDevicePixelRatio(scale);
  layer.fill(Qt::transparent);
  {
    QPainter p(&layer);
    ui::render::DrawImageString(p, QRect(QPoint(0, 0), rect.size()), image, zoom, key.colour, key.intensity, true);
  }
  ++renders_;
  painter.drawImage(rect.topLeft(), layer);
  cache_.insert(key, new QImage(layer), std::max<qsizetype>(1, layer.sizeInBytes() / 1024));
}

}  // namespace zrv::controls
