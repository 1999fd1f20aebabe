#pragma once
// Image drawing of the hand controls (HandImgButton, HandImgSelectButton). Their images are image
// strings like every skin image, but may also name a picture anywhere on disk: a string without
// ":" that names a file of the skin is drawn as the skin draws images; any other is parsed by the
// same grammar and its file is loaded by the name exactly as given.

#include <QImage>
#include <QRect>
#include <QString>

class QPainter;

namespace zrv::controls {

// The image of a hand control's file name (a skin file, else the name as given); null when it
// cannot be loaded. SVG files come at their natural size.
QImage LoadHandImage(const QString& file);

// Draws `image_string` over `rect`. The source window is cut to the image; an image that cannot be
// loaded draws nothing (false).
bool DrawHandImage(QPainter& painter, const QRect& rect, const QString& image_string, double zoom);

}  // namespace zrv::controls
