#pragma once
// Drawing helpers for controls: image strings (with the optional tint of per-key lighting),
// colours, rectangles and text. Images are cached; tinted images are cached per colour.

#include <QImage>
#include <QRect>
#include <QString>

class QPainter;
class QFont;

namespace zrv::ui {

namespace render {

// Draws `imageString` into `rect` (dest, when given, is relative to rect and zoomed).
// With useTint the image's shape is filled with `tint` (0x00BBGGRR: red in the low byte, as the
// device's key colours are kept) and drawn at intensity/255 opacity. False when nothing was drawn
// (empty string, malformed string or missing file).
bool DrawImageString(QPainter& painter, const QRect& rect, const QString& imageString, double zoom = 1.0,
                     quint32 tint = 0, int intensity = 0, bool useTint = false);
// True when the painter maps its coordinates onto whole device pixels by a plain translation: an
// image made in device pixels can then be blitted 1:1.
bool LandsOnWholePixels(const QPainter& painter);
// Fills rect with an 0xAARRGGBB colour (alpha honoured).
void DrawColor(QPainter& painter, const QRect& rect, quint32 argb);
// Outlines rect with a pen of `size` pixels inside it.
void DrawRect(QPainter& painter, const QRect& rect, int size, quint32 argb);
// Draws text in rect with Qt alignment flags (plus Qt::TextWordWrap / ElideRight handling).
void DrawText(QPainter& painter, const QRect& rect, const QString& text, quint32 argb, const QFont& font, int flags,
              bool endEllipsis = false);

// Draws simple HTML (b, i, u, font color, br) in rect, vertically centred unless flags say top or
// bottom; the default colour is argb.
void DrawHtmlText(QPainter& painter, const QRect& rect, const QString& html, quint32 argb, const QFont& font,
                  int flags);

// Loads an image of the skin (cached). Empty image when it cannot be loaded.
// SVG images are rendered at `scale` times their natural size.
QImage LoadImage(const QString& file, double scale = 1.0);
// Natural size of an image file (SVG: its default size), invalid when it cannot be loaded.
QSize ImageSize(const QString& file);
// Empties the caches (skin change).
void ClearImageCache();

}  // namespace render

}  // namespace zrv::ui
