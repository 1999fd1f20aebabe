#include "sim/factory_settings.h"

#include <algorithm>

#include "sim/mouse_model.h"

namespace zrv::sim {
namespace {

// Lighting record bytes: effect, brightness, 4 - speed, Fx, multicolour, red, green, blue.
void PutLighting(std::vector<uint8_t>& area, size_t at, uint8_t effect, uint8_t red, uint8_t green, uint8_t blue) {
  const uint8_t bytes[] = {effect, 24, 2, 0, 1, red, green, blue};
  std::copy(std::begin(bytes), std::end(bytes), area.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

std::vector<uint8_t> KeyboardFactorySettings(size_t profiles) {
  std::vector<uint8_t> area(kSettingsAreaSize, 0);
  for (size_t p = 0; p < profiles && (p + 1) * 46 <= area.size(); ++p) {
    size_t base = p * 46;
    area[base] = static_cast<uint8_t>(p);
    PutLighting(area, base + 1, 1, 0xFF, 0x00, 0x00);   // main: spectrum
    area[base + 22] = 0;                                // polling rate index
    area[base + 25] = 1;                                // scan delay index
    PutLighting(area, base + 27, 2, 0x00, 0x80, 0xFF);  // logo: breathing
    area[base + 36] = 1;                                // logo on
    PutLighting(area, base + 37, 3, 0xFF, 0xFF, 0xFF);  // strip: static
  }
  return area;
}

std::vector<uint8_t> MouseFactorySettings(size_t profiles) {
  std::vector<uint8_t> area(kSettingsAreaSize, 0);
  const uint16_t stages[] = {16, 32, 48, 64, 128};  // x 50: 800 ... 6400 DPI
  const uint8_t colours[][3] = {{0xFF, 0, 0}, {0, 0xFF, 0}, {0, 0, 0xFF}, {0xFF, 0xFF, 0}, {0xFF, 0, 0xFF}};
  for (size_t p = 0; p < profiles && (p + 1) * MouseModel::kSettingsStride <= area.size(); ++p) {
    size_t base = p * MouseModel::kSettingsStride;
    area[base] = static_cast<uint8_t>(p);
    PutLighting(area, base + 1, 0, 0xFF, 0x00, 0x00);  // wave
    area[base + 11] = 1;                               // report rate option
    area[base + 12] = 1;                               // DPI stage in use
    for (size_t i = 0; i < 5; ++i) {
      size_t at = base + 14 + 9 * i;
      area[at] = 1;  // enabled
      area[at + 1] = 0;
      area[at + 2] = area[at + 4] = static_cast<uint8_t>(stages[i]);
      area[at + 3] = area[at + 5] = static_cast<uint8_t>(stages[i] >> 8);
      std::copy(std::begin(colours[i]), std::end(colours[i]), area.begin() + static_cast<std::ptrdiff_t>(at + 6));
    }
    area[base + 59] = 1;
  }
  return area;
}

std::vector<uint8_t> LightingFactorySettings(size_t profiles) {
  std::vector<uint8_t> area(kSettingsAreaSize, 0);
  for (size_t p = 0; p < profiles && (p + 1) * 46 <= area.size(); ++p) {
    area[p * 46] = static_cast<uint8_t>(p);
    PutLighting(area, p * 46 + 1, 1, 0x00, 0xFF, 0x80);
  }
  return area;
}

}  // namespace zrv::sim
