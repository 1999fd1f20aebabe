#pragma once
// Painting straight into the pixels a painter draws on, for what a device picture redraws twenty
// times a second (its background and its lights). When the painter writes plain 32-bit memory (the
// raster engine on an image: every window's backing store) and only moves or scales by whole
// pixels, rows are written in place, inside the region being repainted. The engine's own path for
// a region of several rectangles goes span by span and spreads the work over a thread pool.

#include <QImage>
#include <QRect>
#include <QRegion>

#include <optional>

class QPainter;

namespace zrv::ui::render {

// Where a drawing over `rect` (the painter's coordinates) lands in plain memory.
struct PixelTarget {
  QImage* image = nullptr;  // the painter's pixels (the engine's device), written in place
  QRect device_rect;        // `rect` in `image`'s pixels
  QRegion clip;             // what the painter may touch, in `image`'s pixels
};

// The target of a drawing over `rect`, or none when the painter's pixels cannot be written
// directly: another engine or format, a rotation or a fractional position, an opacity, another
// composition mode, or a clip of the painter's own.
std::optional<PixelTarget> DirectTarget(QPainter& painter, const QRect& rect);

// Calls row(pixels, x, y, width) for each row of the target's rectangle inside its clip: pixels is
// the first of `width` pixels written in place, (x, y) where they are in the rectangle.
template <class Row>
void ForEachClippedRow(const PixelTarget& target, Row&& row) {
  // The engine writes these pixels too: no detach, which would part them from the device.
  uchar* bits = const_cast<uchar*>(target.image->constBits());
  const qsizetype stride = target.image->bytesPerLine();
  const QRect bounds = target.device_rect & target.image->rect();
  for (const QRect& clip : target.clip) {
    const QRect r = bounds & clip;
    if (r.isEmpty()) continue;
    for (int y = r.top(); y <= r.bottom(); ++y) {
      row(reinterpret_cast<quint32*>(bits + y * stride) + r.left(), r.left() - target.device_rect.left(),
          y - target.device_rect.top(), r.width());
    }
  }
}

// Copies `source` (opaque 32-bit pixels, the size of target.device_rect) into the target inside its
// clip. False, with nothing written, when the source does not fit that.
bool CopyInto(const PixelTarget& target, const QImage& source);

}  // namespace zrv::ui::render
