#include "controls/light_blend.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define ZRV_LIGHT_BLEND_AVX2 1
#endif

namespace zrv::controls::light_blend {

namespace {

// x / 255, rounded, for x up to 255 × 255: the same in the vector and the scalar code.
constexpr quint32 Div255(quint32 x) {
  x += 128;
  return (x + (x >> 8)) >> 8;
}

quint32 Premultiplied(quint32 colour, int intensity) {
  const auto a = static_cast<quint32>(std::clamp(intensity, 0, 255));
  const quint32 r = Div255((colour & 0xFF) * a), g = Div255(((colour >> 8) & 0xFF) * a),
                b = Div255(((colour >> 16) & 0xFF) * a);
  return (a << 24) | (r << 16) | (g << 8) | b;
}

#if defined(ZRV_LIGHT_BLEND_AVX2)
#pragma GCC push_options
#pragma GCC target("avx2")
// The vector parts of Div255 and the source-over below, for sixteen channels at a time.
inline __m256i Div255(__m256i v) {
  return _mm256_mulhi_epu16(_mm256_add_epi16(v, _mm256_set1_epi16(128)), _mm256_set1_epi16(257));
}

inline __m256i Alpha(__m256i v) { return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(v, 0xFF), 0xFF); }

// colour over d, both 16 bits per channel, colour through cover.
inline __m256i Over(__m256i colour, __m256i d, __m256i cover) {
  const __m256i s = Div255(_mm256_mullo_epi16(colour, cover));
  return _mm256_add_epi16(s, Div255(_mm256_mullo_epi16(d, _mm256_sub_epi16(_mm256_set1_epi16(255), Alpha(s)))));
}

// The four-pixel loop of BlendRun below, eight pixels at a time where the processor has AVX2 (the
// same arithmetic in each 128-bit half, so the same results). Returns how many pixels it did.
int BlendEights(quint32* dst, const uchar* coverage, int count, quint32 premultiplied) {
  const bool opaque = (premultiplied >> 24) == 0xFF;
  const __m256i zero = _mm256_setzero_si256();
  const __m256i colour = _mm256_unpacklo_epi8(_mm256_set1_epi32(static_cast<int>(premultiplied)), zero);
  const __m256i c255 = _mm256_set1_epi16(255);
  const __m256i solid = _mm256_set1_epi32(static_cast<int>(premultiplied));
  quint64 run_cover = 0;
  __m256i run_source = zero, run_rest = c255;
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    quint64 eight;
    std::memcpy(&eight, coverage + i, sizeof eight);
    if (eight == 0) continue;
    auto* at = reinterpret_cast<__m256i*>(dst + i);
    if (eight == ~quint64{0} && opaque) {
      _mm256_storeu_si256(at, solid);
      continue;
    }
    const __m256i d = _mm256_loadu_si256(at);
    if (eight == (eight & 0xFF) * 0x0101010101010101u) {
      if (eight != run_cover) {
        run_cover = eight;
        run_source = Div255(_mm256_mullo_epi16(colour, _mm256_set1_epi16(static_cast<short>(eight & 0xFF))));
        run_rest = _mm256_sub_epi16(c255, Alpha(run_source));
      }
      const __m256i low =
          _mm256_add_epi16(run_source, Div255(_mm256_mullo_epi16(_mm256_unpacklo_epi8(d, zero), run_rest)));
      const __m256i high =
          _mm256_add_epi16(run_source, Div255(_mm256_mullo_epi16(_mm256_unpackhi_epi8(d, zero), run_rest)));
      _mm256_storeu_si256(at, _mm256_packus_epi16(low, high));
      continue;
    }
    // Each pixel's coverage in its four channels: pixels 0-3 in the low half, 4-7 in the high one.
    __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(coverage + i));
    bytes = _mm_unpacklo_epi8(bytes, bytes);
    const __m256i cover = _mm256_set_m128i(_mm_unpackhi_epi16(bytes, bytes), _mm_unpacklo_epi16(bytes, bytes));
    const __m256i low = Over(colour, _mm256_unpacklo_epi8(d, zero), _mm256_unpacklo_epi8(cover, zero));
    const __m256i high = Over(colour, _mm256_unpackhi_epi8(d, zero), _mm256_unpackhi_epi8(cover, zero));
    _mm256_storeu_si256(at, _mm256_packus_epi16(low, high));
  }
  return i;
}
#pragma GCC pop_options

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}
#endif

// One run of pixels: `dst` (premultiplied 0xAARRGGBB, or opaque ones) gets `premultiplied` (the
// colour at full coverage, premultiplied) through `coverage`. Where an opaque colour fully covers a
// pixel (a key's rim at full brightness) it is stored without reading what lay below.
void BlendRun(quint32* dst, const uchar* coverage, int count, quint32 premultiplied) {
  const bool opaque = (premultiplied >> 24) == 0xFF;
  int i = 0;
#if defined(ZRV_LIGHT_BLEND_AVX2)
  if (HasAvx2()) i = BlendEights(dst, coverage, count, premultiplied);
#endif
#if defined(__SSE2__)
  // Four pixels at a time, each channel widened to 16 bits.
  const __m128i zero = _mm_setzero_si128();
  const __m128i colour = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(premultiplied)), zero);
  const __m128i c255 = _mm_set1_epi16(255), c128 = _mm_set1_epi16(128), c257 = _mm_set1_epi16(257);
  // (v + 128) × 257 / 65536 is Div255 for every product of two bytes, in one multiply.
  const auto div255 = [&](__m128i v) { return _mm_mulhi_epu16(_mm_add_epi16(v, c128), c257); };
  const auto alpha = [](__m128i v) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, 0xFF), 0xFF); };
  const auto over = [&](__m128i d, __m128i cover) {
    const __m128i s = div255(_mm_mullo_epi16(colour, cover));
    return _mm_add_epi16(s, div255(_mm_mullo_epi16(d, _mm_sub_epi16(c255, alpha(s)))));
  };
  const __m128i solid = _mm_set1_epi32(static_cast<int>(premultiplied));
  // Most of a key's light is its fill, one coverage over many pixels: for four pixels that share a
  // coverage, the source term and what is left of the pixel below are the run's, worked out once.
  quint32 run_cover = 0;
  __m128i run_source = zero, run_rest = c255;
  for (; i + 4 <= count; i += 4) {
    quint32 four;
    std::memcpy(&four, coverage + i, sizeof four);
    if (four == 0) continue;
    auto* at = reinterpret_cast<__m128i*>(dst + i);
    if (four == 0xFFFFFFFFu && opaque) {
      _mm_storeu_si128(at, solid);
      continue;
    }
    if (four == (four & 0xFF) * 0x01010101u) {
      if (four != run_cover) {
        run_cover = four;
        run_source = div255(_mm_mullo_epi16(colour, _mm_set1_epi16(static_cast<short>(four & 0xFF))));
        run_rest = _mm_sub_epi16(c255, alpha(run_source));
      }
      const __m128i d = _mm_loadu_si128(at);
      const __m128i low = _mm_add_epi16(run_source, div255(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), run_rest)));
      const __m128i high = _mm_add_epi16(run_source, div255(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), run_rest)));
      _mm_storeu_si128(at, _mm_packus_epi16(low, high));
      continue;
    }
    __m128i cover = _mm_cvtsi32_si128(static_cast<int>(four));
    cover = _mm_unpacklo_epi8(cover, cover);
    cover = _mm_unpacklo_epi16(cover, cover);  // each pixel's coverage in its four channels
    const __m128i d = _mm_loadu_si128(at);
    const __m128i low = over(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(cover, zero));
    const __m128i high = over(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(cover, zero));
    _mm_storeu_si128(at, _mm_packus_epi16(low, high));
  }
#endif
  for (; i < count; ++i) {
    const quint32 cover = coverage[i];
    if (cover == 0) continue;
    if (cover == 0xFF && opaque) {
      dst[i] = premultiplied;
      continue;
    }
    const quint32 d = dst[i];
    const quint32 a = Div255((premultiplied >> 24) * cover);
    quint32 out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      const quint32 s = Div255(((premultiplied >> shift) & 0xFF) * cover);
      out |= (s + Div255(((d >> shift) & 0xFF) * (255 - a))) << shift;
    }
    dst[i] = out;
  }
}

}  // namespace

void Blend(const Target& target, const QImage& coverage, quint32 colour, int intensity) {
  if (coverage.format() != QImage::Format_Alpha8 || coverage.size() != target.device_rect.size()) return;
  const quint32 premultiplied = Premultiplied(colour, intensity);
  if (premultiplied == 0) return;
  ui::render::ForEachClippedRow(target, [&](quint32* pixels, int x, int y, int width) {
    BlendRun(pixels, coverage.constScanLine(y) + x, width, premultiplied);
  });
}

}  // namespace zrv::controls::light_blend
