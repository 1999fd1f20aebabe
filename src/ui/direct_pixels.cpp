#include "ui/direct_pixels.h"

#include <QPaintEngine>
#include <QPainter>

#include <cmath>
#include <cstring>

namespace zrv::ui::render {

namespace {

bool Whole(double v) { return std::abs(v - std::round(v)) < 1e-6; }

}  // namespace

std::optional<PixelTarget> DirectTarget(QPainter& painter, const QRect& rect) {
  QPaintEngine* engine = painter.paintEngine();
  if (engine == nullptr || engine->type() != QPaintEngine::Raster) return std::nullopt;
  QPaintDevice* device = engine->paintDevice();  // a widget's painter draws on its backing store
  if (device == nullptr || device->devType() != QInternal::Image) return std::nullopt;
  auto* image = static_cast<QImage*>(device);
  if (image->format() != QImage::Format_RGB32 && image->format() != QImage::Format_ARGB32_Premultiplied) {
    return std::nullopt;
  }
  if (painter.hasClipping() || painter.opacity() < 1.0 ||
      painter.compositionMode() != QPainter::CompositionMode_SourceOver) {
    return std::nullopt;
  }
  const QTransform& t = painter.deviceTransform();
  if (t.type() > QTransform::TxScale || t.m11() <= 0 || t.m22() <= 0) return std::nullopt;
  const QRectF mapped = t.mapRect(QRectF(rect));
  if (!Whole(mapped.left()) || !Whole(mapped.top()) || !Whole(mapped.right()) || !Whole(mapped.bottom())) {
    return std::nullopt;
  }
  PixelTarget target;
  target.image = image;
  target.device_rect = mapped.toRect();
  // A widget's paint is clipped to the region being repainted; an image's painter has no clip.
  target.clip = engine->systemClip();
  if (target.clip.isEmpty()) target.clip = image->rect();
  return target;
}

bool CopyInto(const PixelTarget& target, const QImage& source) {
  if (source.size() != target.device_rect.size() || source.depth() != 32 || source.hasAlphaChannel()) return false;
  ForEachClippedRow(target, [&](quint32* pixels, int x, int y, int width) {
    std::memcpy(pixels, reinterpret_cast<const quint32*>(source.constScanLine(y)) + x,
                static_cast<size_t>(width) * sizeof(quint32));
  });
  return true;
}

}  // namespace zrv::ui::render
