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
  // The engine writes these pixels too: no detach, which would part them from the device.
  uchar* bits = const_cast<uchar*>(target.image->constBits());
  const qsizetype stride = target.image->bytesPerLine();
  const QRect bounds = target.device_rect & target.image->rect();
  for (const QRect& clip : target.clip) {
    const QRect r = bounds & clip;
    if (r.isEmpty()) continue;
    const int x = r.left() - target.device_rect.left();
    for (int y = r.top(); y <= r.bottom(); ++y) {
      std::memcpy(bits + y * stride + r.left() * 4, source.constScanLine(y - target.device_rect.top()) + x * 4,
                  static_cast<size_t>(r.width()) * 4);
    }
  }
  return true;
}

}  // namespace zrv::ui::render
