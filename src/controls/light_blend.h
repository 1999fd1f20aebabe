#pragma once
// Lights blended straight into the pixels a painter draws on. A lit key is its light's shape (the
// coverage, 0-255 per device pixel) filled with one colour over what is under it. When the painter
// writes plain 32-bit memory (the raster engine on an image: every window's backing store) and
// only moves or scales by whole pixels, the colour is blended through the coverage in place: the
// shape is read from one shared plane and each pixel is written once. The tinted layer a colour
// needs otherwise is made, kept and read back per key and frame, which for a keyboard of lights
// changing twenty times a second costs more in memory traffic than the blending itself.

#include <QImage>

#include "ui/direct_pixels.h"

namespace zrv::controls::light_blend {

using Target = ui::render::PixelTarget;
using ui::render::DirectTarget;

// Blends `colour` (0x00BBGGRR) at `intensity` (0-255) through `coverage` (Format_Alpha8, the size
// of target.device_rect) over the target's pixels inside its clip: a source-over of the colour at
// coverage × intensity / 255, as the tinted layer would be drawn.
void Blend(const Target& target, const QImage& coverage, quint32 colour, int intensity);

}  // namespace zrv::controls::light_blend
