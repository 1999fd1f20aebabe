#pragma once
// The layers a key button paints every lighting frame, kept as images in the pixels they land on:
// its rounded background, the untinted shape of its light image and the light tinted per colour
// and intensity. A lighting effect gives a full keyboard new colours up to 30 times a second, and
// most keys repeat colours they had a moment ago (a breathing key, a wave over a row): a key then
// blits its layers instead of filling paths, scaling images and tinting them again.

#include <QCache>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace zrv::controls {

class KeyLayerCache {
 public:
  static KeyLayerCache& Instance();
  // A number for a light image string, the same for equal strings (0 for the empty one): layers
  // are looked up by it, which spares hashing and copying the string for each key and frame.
  static int ImageId(const QString& image);

  // Draws the light image string over `rect`, tinted with `colour` (0x00BBGGRR) at `intensity`
  // (0-255), as the UI layer's tinted image drawing does: the image's shape filled with the colour,
  // shown at intensity/255 opacity. The shape is drawn through the UI layer once per image and size;
  // where the painter allows, the colour is blended through it in place (light_blend.h), otherwise
  // a tinted layer is made and kept.
  void DrawLight(QPainter& painter, const QRect& rect, int image_id, const QString& image, double zoom, quint32 colour,
                 int intensity);
  // Fills `rect` with `argb` (0xAARRGGBB), its corners rounded with `radii` (pixels, antialiased).
  void DrawRoundedFill(QPainter& painter, const QRect& rect, quint32 argb, const QSize& radii);

  // Tinted light layers made so far (each a miss of the cache); for tests and the benchmark.
  qint64 TintRenders() const { return tint_renders_; }
  // Whether lights may be blended in place (on unless turned off); for tests and the benchmark,
  // which compare the two ways.
  void SetDirectBlend(bool on) { direct_blend_ = on; }
  void Clear() { cache_.clear(); }

 private:
  enum class Kind : quint8 { kShape, kCoverage, kTinted, kFill };
  struct Key {
    Kind kind;
    int image;          // ImageId of the light image string (shape, coverage, tinted)
    quint32 colour;     // tint 0x00BBGGRR, or the fill's 0xAARRGGBB
    int intensity;      // tinted
    int rx, ry;         // fill corner radii
    int width, height;  // device pixels
    int zoom_percent;
    int scale_percent;  // device pixels per pixel of the painter's coordinates
    bool operator==(const Key& o) const {
      return kind == o.kind && colour == o.colour && intensity == o.intensity && rx == o.rx && ry == o.ry &&
             width == o.width && height == o.height && zoom_percent == o.zoom_percent &&
             scale_percent == o.scale_percent && image == o.image;
    }
  };
  friend size_t qHash(const Key& key, size_t seed) {
    return qHashMulti(seed, static_cast<int>(key.kind), key.image, key.colour, key.intensity, key.rx, key.ry, key.width,
                      key.height, key.zoom_percent, key.scale_percent);
  }

  KeyLayerCache() = default;
  // A key of `kind` for a layer over `rect` on `painter`'s device.
  static Key MakeKey(Kind kind, const QPainter& painter, const QRect& rect);
  static QImage NewLayer(const Key& key);
  // The key of a layer of `kind` that a tinted layer's colour and intensity do not change.
  static Key Untinted(const Key& tinted, Kind kind);
  void Keep(const Key& key, const QImage& layer);
  QImage Shape(const Key& tinted, const QString& image, const QSize& size, double zoom);
  // The shape's alpha alone (Format_Alpha8), for blending in place: kept in the cache, valid until
  // the next layer is kept (null when the image cannot be drawn).
  const QImage* Coverage(const Key& tinted, const QString& image, const QSize& size, double zoom);
  static QImage Tint(const QImage& shape, quint32 colour, int intensity);

  // Cost in kilobytes: 16 MB hold a full keyboard's layers in some forty colours each.
  QCache<Key, QImage> cache_{16 * 1024};
  qint64 tint_renders_ = 0;
  bool direct_blend_ = true;
};

}  // namespace zrv::controls
