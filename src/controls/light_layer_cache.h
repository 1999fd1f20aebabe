#pragma once
// The tinted light layers of the key buttons, one image per (light image, colour, intensity, size
// in device pixels). A lighting effect gives a full keyboard a new colour up to 30 times a second,
// while most keys repeat colours they had a moment ago (a breathing key, a wave over a row): a key
// that paints a colour seen before blits one image instead of tinting and scaling its light again.

#include <QCache>
#include <QImage>
#include <QRect>
#include <QString>

class QPainter;

namespace zrv::controls {

class LightLayerCache {
 public:
  static LightLayerCache& Instance();

  // Draws the light image string over `rect`, tinted
  // with `colour` (0x00BBGGRR) at `intensity` (0-255). The layer is rendered through the UI layer's
  // image drawing on the first use of these values and kept.
  void Draw(QPainter& painter, const QRect& rect, const QString& image, double zoom, quint32 colour, int intensity);

  // Layers rendered so far (each one a miss of the cache); for tests and the benchmark.
  qint64 Renders() const { return renders_; }
  void Clear() { cache_.clear(); }

 private:
  struct Key {
    QString image;
    quint32 colour;
    int intensity;
    int width, height;  // device pixels
    int zoom_percent;
    int scale_percent;
    bool operator==(const Key& o) const {
      return colour == o.colour && intensity == o.intensity && width == o.width && height == o.height &&
             zoom_percent == o.zoom_percent && scale_percent == o.scale_percent && image == o.image;
    }
  };
  friend size_t qHash(const Key& key, size_t seed) {
    return qHashMulti(seed, key.image, key.colour, key.intensity, key.width, key.height, key.zoom_percent,
                      key.scale_percent);
  }

  LightLayerCache();
  // Cost in kilobytes: 16 MB hold the layers of a full keyboard in some forty colours each.
  QCache<Key, QImage> cache_{16 * 1024};
  qint64 renders_ = 0;
};

}  // namespace zrv::controls
