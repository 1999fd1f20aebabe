// The keyboard's effect steps. Colours come from the rainbow table (multicolour) or the record;
// brightness is the intensity table's entry for the record's level, scaled by the effect's own
// light value (fade, breathing curve, distance from a moving front) where it has one.

#include "devices/model/keyboard_effects.h"

#include <algorithm>
#include <cstdlib>

#include "devices/model/phase_stepper.h"

namespace zrv::devices {
namespace {

using EffectState = LightingEngine::EffectState;
using Zone = config::LightZoneFields;

constexpr size_t kCells = kMatrixColumns * kMatrixRows;
constexpr uint8_t kFull = 255;
constexpr unsigned kColumnHueStep = 8;  // rainbow entries between neighbouring columns

// How many steps each travelling animation waits before it moves one cell.
constexpr unsigned kFrontStepsPerCell = 4;
constexpr unsigned kSnakeStepsPerCell = 2;
constexpr unsigned kBarStepsPerCell = 3;
constexpr unsigned kRippleStepsPerRadius = 2;
constexpr unsigned kRainStepsPerRow = 4;
constexpr unsigned kRainStepsPerDrop = 6;
constexpr unsigned kRowStepsPerRow = 4;
constexpr uint8_t kFrontLoss = 24;        // a travelling front dims by this per cell
constexpr uint8_t kRippleMaxRadius = 48;  // half cells: past the far corner
constexpr uint8_t kReactiveBase = 6;      // reactive rainbow: unlit keys at 1/6 brightness

uint8_t Scale(unsigned value, unsigned by) { return static_cast<uint8_t>(value * by / 255); }
uint8_t Hue(unsigned index) { return static_cast<uint8_t>(index % kRainbowSteps); }
Rgb RecordColour(const Zone& zone) { return {zone.red, zone.green, zone.blue}; }
Rgb ColourOr(const Zone& zone, unsigned hue) {
  return zone.multi_color != 0 ? kRainbowTable[Hue(hue)] : RecordColour(zone);
}
uint8_t Intensity(const Zone& zone) { return IntensityOfLevel(zone.light); }
bool Up(const Zone& zone) { return zone.fx != 0; }

// Advances a counter; true once every `every` calls.
bool Every(uint8_t& counter, unsigned every) {
  counter = static_cast<uint8_t>(counter + 1u >= every ? 0 : counter + 1);
  return counter == 0;
}

// Visits every logical key that has a place on the matrix.
template <class F>
void ForEachPlacedKey(std::span<KeyColour> keys, F&& f) {
  const auto& places = KeyPlaces();
  const size_t n = std::min(keys.size(), kKeyboardKeys);
  for (size_t k = 0; k < n; ++k) {
    if (places[k].column != 255) f(k, places[k]);
  }
}

void Fill(std::span<KeyColour> keys, KeyColour colour) {
  const size_t n = std::min(keys.size(), kKeyboardKeys);
  std::fill(keys.begin(), keys.begin() + static_cast<std::ptrdiff_t>(n), colour);
}

// Held keys stay full; the others fade.
void FadeKeys(EffectState& s, const KeyboardEffectExtras& x, bool fast) {
  for (size_t k = 0; k < kKeyboardKeys; ++k) s.fade[k] = x.held[k] ? kFull : FadedValue(s.fade[k], fast);
}

// Shows the fade values in the record's colour (multicolour: the per-key hue).
void ShowFades(const Zone& zone, const EffectState& s, const KeyboardEffectExtras& x, std::span<KeyColour> keys) {
  const uint8_t intensity = Intensity(zone);
  ForEachPlacedKey(keys, [&](size_t k, KeyPlace) {
    keys[k] = s.fade[k] == 0 ? 0 : MakeKeyColour(ColourOr(zone, x.hue[k]), Scale(s.fade[k], intensity));
  });
}

// Moves every value one place toward higher (or lower) indices, dimmer by kFrontLoss.
template <size_t N>
void Travel(std::array<uint8_t, N>& values, bool to_higher) {
  auto dim = [](uint8_t v) { return static_cast<uint8_t>(v > kFrontLoss ? v - kFrontLoss : 0); };
  if (to_higher) {
    for (size_t i = N - 1; i > 0; --i) values[i] = dim(values[i - 1]);
    values[0] = 0;
  } else {
    for (size_t i = 0; i + 1 < N; ++i) values[i] = dim(values[i + 1]);
    values[N - 1] = 0;
  }
}

// The cell of position p on a path that snakes over the rows (by_rows) or the columns.
KeyPlace SnakeCell(unsigned p, bool by_rows) {
  p %= kCells;
  if (by_rows) {
    const unsigned row = p / kMatrixColumns;
    const unsigned along = p % kMatrixColumns;
    return {static_cast<uint8_t>(row % 2 == 0 ? along : kMatrixColumns - 1 - along), static_cast<uint8_t>(row)};
  }
  const unsigned column = p / kMatrixRows;
  const unsigned along = p % kMatrixRows;
  return {static_cast<uint8_t>(column), static_cast<uint8_t>(column % 2 == 0 ? along : kMatrixRows - 1 - along)};
}

uint8_t KeyAt(KeyPlace cell) { return kLedMatrix[cell.row][cell.column]; }

// A position that runs 0 … last … 1 and starts over.
unsigned PingPong(unsigned position, unsigned last) {
  const unsigned p = position % (2 * last);
  return p <= last ? p : 2 * last - p;
}

// Light of a bar centred on `centre` at distance d: full on it, a third less each cell off.
uint8_t BarLight(int d) { return static_cast<uint8_t>(std::max(0, 255 - 85 * std::abs(d))); }

// ---- the steps

void Wave(const Zone& zone, EffectState& s, std::span<KeyColour> keys, unsigned (*position)(size_t, KeyPlace),
          unsigned hue_step) {
  StepPhase(s.phase, kRainbowSteps, Up(zone));
  const uint8_t intensity = Intensity(zone);
  ForEachPlacedKey(keys, [&](size_t k, KeyPlace place) {
    keys[k] = MakeKeyColour(kRainbowTable[Hue(s.phase + position(k, place) * hue_step)], intensity);
  });
}

void Spectrum(const Zone& zone, EffectState& s, std::span<KeyColour> keys) {
  StepPhase(s.phase, kRainbowSteps, Up(zone));
  Fill(keys, MakeKeyColour(kRainbowTable[s.phase], Intensity(zone)));
}

void Breathing(const Zone& zone, EffectState& s, std::span<KeyColour> keys) {
  StepPhase(s.phase, kBreathingSteps, Up(zone));
  const auto intensity = static_cast<uint8_t>(unsigned{kBreathingCurve[s.phase]} * Intensity(zone) / 256);
  ForEachPlacedKey(keys, [&](size_t k, KeyPlace place) {
    const Rgb colour = zone.multi_color != 0 ? kRainbowTable[Hue(7u * place.column)] : RecordColour(zone);
    keys[k] = MakeKeyColour(colour, intensity);
  });
}

void Static(const Zone& zone, std::span<KeyColour> keys) {
  const uint8_t intensity = Intensity(zone);
  if (zone.multi_color == 0) {
    Fill(keys, MakeKeyColour(RecordColour(zone), intensity));
    return;
  }
  for (size_t band = 0; band < kBandCount; ++band) {
    const KeyColour colour = MakeKeyColour(kRainbowTable[110 - 10 * band], intensity);
    for (const uint8_t key : kBandTable[band]) {
      if (key < kKeyboardKeys && key < keys.size()) keys[key] = colour;
    }
  }
}

void Reactive(const Zone& zone, EffectState& s, KeyboardEffectExtras& x, std::span<KeyColour> keys) {
  FadeKeys(s, x, false);
  for (size_t k = 0; k < kKeyboardKeys; ++k) x.hue[k] = Hue(KeyPlaces()[k].column * kColumnHueStep);
  ShowFades(zone, s, x, keys);
}

// A press sends light along its column front (to both sides over the whole keyboard) or along its
// own row only.
void ReactiveFronts(const Zone& zone, EffectState& s, KeyboardEffectExtras& x, std::span<KeyColour> keys,
                    bool whole_columns) {
  const auto& places = KeyPlaces();
  if (Every(s.counter_b, kFrontStepsPerCell)) {
    if (whole_columns) {
      Travel(s.ring, true);
      Travel(x.left, false);
    } else {
      for (size_t r = 0; r < kMatrixRows; ++r) {
        Travel(x.row_right[r], true);
        Travel(x.row_left[r], false);
      }
    }
  }
  for (size_t k = 0; k < kKeyboardKeys; ++k) {
    if (!x.fresh[k] || places[k].column == 255) continue;
    const KeyPlace p = places[k];
    if (whole_columns) {
      s.ring[p.column] = x.left[p.column] = kFull;
    } else {
      x.row_right[p.row][p.column] = x.row_left[p.row][p.column] = kFull;
    }
  }
  FadeKeys(s, x, false);
  const uint8_t intensity = Intensity(zone);
  ForEachPlacedKey(keys, [&](size_t k, KeyPlace p) {
    const uint8_t front = whole_columns ? std::max(s.ring[p.column], x.left[p.column])
                                        : std::max(x.row_right[p.row][p.column], x.row_left[p.row][p.column]);
    const uint8_t light = std::max(front, s.fade[k]);
    keys[k] =
        light == 0 ? 0 : MakeKeyColour(ColourOr(zone, p.column * kColumnHueStep + s.phase), Scale(light, intensity));
  });
}

// Two lights snake over the keyboard, one along the rows, one along the columns the other way,
// each leaving a fading trail.
void Snakes(const Zone& zone, EffectState& s, KeyboardEffectExtras& x, std::span<KeyColour> keys) {
  if (Every(s.counter_b, kSnakeStepsPerCell)) {
    x.position = static_cast<uint16_t>((x.position + 1) % kCells);
    s.colour_index = Hue(s.colour_index + 1u);
  }
  const unsigned forwards = Up(zone) ? x.position : kCells - 1 - x.position;
  const uint8_t first = KeyAt(SnakeCell(forwards, true));
  const uint8_t second = KeyAt(SnakeCell(kCells - 1 - forwards, false));
  FadeKeys(s, x, false);
  if (first < kKeyboardKeys) {
    s.fade[first] = kFull;
    x.hue[first] = s.colour_index;
  }
  if (second < kKeyboardKeys) {
    s.fade[second] = kFull;
    x.hue[second] = Hue(s.colour_index + kRainbowSteps / 2);
  }
  ShowFades(zone, s, x, keys);
}

void KeyRainbow(const Zone& zone, KeyboardEffectExtras& x, std::span<KeyColour> keys) {
  const uint8_t intensity = Intensity(zone);
  ForEachPlacedKey(keys, [&](size_t k, KeyPlace) {
    x.hue[k] = Hue(x.hue[k] + (Up(zone) ? 1u : kRainbowSteps - 1));
    keys[k] = MakeKeyColour(kRainbowTable[x.hue[k]], intensity);
  });
}

// A bar sweeps over the columns and back.
void ScanBar(const Zone& zone, EffectState& s, KeyboardEffectExtras& x, std::span<KeyColour> keys) {
  if (Every(s.counter_b, kBarStepsPerCell)) {
    x.position = static_cast<uint16_t>((x.position + 1) % (2 * (kMatrixColumns - 1)));
    if (x.position == 0) s.colour_index = Hue(s.colour_index + 32u);
  }
  const unsigned at = PingPong(x.position, kMatrixColumns - 1);
  const int centre = static_cast<int>(Up(zone) ? at : kMatrixColumns - 1 - at);
  const uint8_t intensity = Intensity(zone);
  const Rgb colour = ColourOr(zone, s.colour_index);
  ForEachPlacedKey(keys, [&](size_t k, KeyPlace p) {
    const uint8_t light = BarLight(p.column - centre);
    keys[k] = light == 0 ? 0 : MakeKeyColour(colour, Scale(light, intensity));
  });
}

// A press starts a ring that grows from the key over the keyboard.
void ReactiveRipple(const Zone& zone, EffectState& s, KeyboardEffectExtras& x, std::span<KeyColour> keys) {
  const auto& places = KeyPlaces();
  for (size_t k = 0; k < kKeyboardKeys; ++k) {
    if (!x.fresh[k] || places[k].column == 255) continue;
    // A new ring takes a free slot, else the oldest (largest) one.
    auto slot = std::find_if(x.ripples.begin(), x.ripples.end(), [](const Ripple& r) { return !r.active; });
    if (slot == x.ripples.end()) {
      slot = std::max_element(x.ripples.begin(), x.ripples.end(),
                              [](const Ripple& a, const Ripple& b) { return a.radius < b.radius; });
    }
    *slot = {places[k].column, places[k].row, 0, s.colour_index, true};
    s.colour_index = Hue(s.colour_index + 24u);
  }
  const bool grow = Every(s.counter_b, kRippleStepsPerRadius);
  FadeKeys(s, x, true);
  for (Ripple& ripple : x.ripples) {
    if (!ripple.active) continue;
    if (grow && ++ripple.radius > kRippleMaxRadius) {
      ripple.active = false;
      continue;
    }
    const int inner = std::max(0, ripple.radius - 1);
    const int outer = ripple.radius + 1;
    for (size_t k = 0; k < kKeyboardKeys; ++k) {
      if (places[k].column == 255) continue;
      const int dx = 2 * (places[k].column - ripple.column);
      const int dy = 2 * (places[k].row - ripple.row);
      const int q = dx * dx + dy * dy;  // squared distance in half cells
      if (q < inner * inner || q > outer * outer) continue;
      s.fade[k] = kFull;
      x.hue[k] = ripple.hue;
    }
  }
  ShowFades(zone, s, x, keys);
}

// A press gives the key the next rainbow colour, which fades over the dimly lit keyboard.
void ReactiveRainbow(const Zone& zone, EffectState& s, KeyboardEffectExtras& x, std::span<KeyColour> keys) {
  for (size_t k = 0; k < kKeyboardKeys; ++k) {
    if (!x.fresh[k]) continue;
    x.hue[k] = s.colour_index;
    s.colour_index = Hue(s.colour_index + 16u);
  }
  FadeKeys(s, x, false);
  const uint8_t intensity = Intensity(zone);
  const KeyColour base = MakeKeyColour(RecordColour(zone), intensity / kReactiveBase);
  ForEachPlacedKey(keys, [&](size_t k, KeyPlace) {
    keys[k] = s.fade[k] == 0
                  ? base
                  : MakeKeyColour(kRainbowTable[x.hue[k]], std::max(Scale(s.fade[k], intensity), KeyIntensity(base)));
  });
}

// Drops fall down the columns, each leaving a fading trail.
void Rain(const Zone& zone, EffectState& s, KeyboardEffectExtras& x, std::span<KeyColour> keys) {
  if (Every(s.counter_a, kRainStepsPerDrop)) {
    x.seed = x.seed * 1103515245u + 12345u;  // the same drops every time the effect starts
    const size_t column = (x.seed >> 16) % kMatrixColumns;
    if (x.drops[column] == 0) x.drops[column] = 1;
  }
  const bool fall = Every(s.counter_b, kRainStepsPerRow);
  FadeKeys(s, x, false);
  for (size_t c = 0; c < kMatrixColumns; ++c) {
    if (x.drops[c] == 0) continue;
    if (fall && ++x.drops[c] > kMatrixRows) {
      x.drops[c] = 0;
      continue;
    }
    const size_t row = Up(zone) ? x.drops[c] - 1u : kMatrixRows - x.drops[c];
    const uint8_t key = kLedMatrix[row][c];
    if (key < kKeyboardKeys) s.fade[key] = kFull;
  }
  for (size_t k = 0; k < kKeyboardKeys; ++k) x.hue[k] = Hue(KeyPlaces()[k].column * kColumnHueStep);
  ShowFades(zone, s, x, keys);
}

// Every key lit; a press darkens its key, which comes back.
void ReactiveDark(const Zone& zone, EffectState& s, KeyboardEffectExtras& x, std::span<KeyColour> keys) {
  FadeKeys(s, x, true);
  const uint8_t intensity = Intensity(zone);
  ForEachPlacedKey(keys, [&](size_t k, KeyPlace p) {
    keys[k] = MakeKeyColour(ColourOr(zone, p.column * kColumnHueStep), Scale(255u - s.fade[k], intensity));
  });
}

// The rainbow turns around the middle of the keyboard.
void Spiral(const Zone& zone, EffectState& s, std::span<KeyColour> keys) {
  StepPhase(s.phase, kRainbowSteps, Up(zone));
  const uint8_t intensity = Intensity(zone);
  const auto& angles = KeyAngles();
  ForEachPlacedKey(
      keys, [&](size_t k, KeyPlace) { keys[k] = MakeKeyColour(kRainbowTable[Hue(angles[k] + s.phase)], intensity); });
}

// Rings run from the middle bands of the 12 x 12 table outward (or inward).
void BandRipple(const Zone& zone, EffectState& s, std::span<KeyColour> keys) {
  constexpr unsigned kSpan = kBandCount / 2;  // band distances 0-5 from the middle
  constexpr unsigned kPhaseSteps = 16 * kSpan;
  StepPhase(s.phase, kPhaseSteps, Up(zone));
  const unsigned front = s.phase / 16;
  const uint8_t intensity = Intensity(zone);
  for (size_t band = 0; band < kBandCount; ++band) {
    const unsigned distance = (band < kSpan ? kSpan - 1 - band : band - kSpan);
    const unsigned gap = (distance + kSpan - front) % kSpan;  // steps until the front arrives
    const uint8_t light = gap == 0 ? 255 : gap == kSpan - 1 ? 140 : gap == kSpan - 2 ? 50 : 0;
    const KeyColour colour =
        light == 0 ? 0 : MakeKeyColour(ColourOr(zone, distance * 32 + s.phase), Scale(light, intensity));
    for (const uint8_t key : kBandTable[band]) {
      if (key < kKeyboardKeys && key < keys.size()) keys[key] = colour;
    }
  }
}

void Custom(const Zone& zone, std::span<const Rgb> custom, std::span<KeyColour> keys) {
  const uint8_t intensity = Intensity(zone);
  const size_t n = std::min(keys.size(), kKeyboardKeys);
  for (size_t k = 0; k < n; ++k) keys[k] = k < custom.size() ? MakeKeyColour(custom[k], intensity) : 0;
}

// Two bars run from the sides to the middle and back; they change colour where they meet.
void MeetingBars(const Zone& zone, EffectState& s, KeyboardEffectExtras& x, std::span<KeyColour> keys) {
  constexpr unsigned kMiddle = (kMatrixColumns - 1) / 2;
  if (Every(s.counter_b, kBarStepsPerCell)) {
    x.position = static_cast<uint16_t>((x.position + 1) % (2 * kMiddle));
    if (x.position == kMiddle) s.colour_index = Hue(s.colour_index + 32u);
  }
  const int left = static_cast<int>(PingPong(x.position, kMiddle));
  const int right = static_cast<int>(kMatrixColumns - 1) - left;
  const uint8_t intensity = Intensity(zone);
  const Rgb colour = ColourOr(zone, s.colour_index);
  ForEachPlacedKey(keys, [&](size_t k, KeyPlace p) {
    const uint8_t light = std::max(BarLight(p.column - left), BarLight(p.column - right));
    keys[k] = light == 0 ? 0 : MakeKeyColour(colour, Scale(light, intensity));
  });
}

// The rows light one after the other, each fading as the next comes.
void Rows(const Zone& zone, EffectState& s, KeyboardEffectExtras& x, std::span<KeyColour> keys) {
  if (Every(s.counter_b, kRowStepsPerRow)) x.position = static_cast<uint16_t>((x.position + 1) % kMatrixRows);
  const size_t row = Up(zone) ? x.position : kMatrixRows - 1 - x.position;
  FadeKeys(s, x, false);
  for (const uint8_t key : kLedMatrix[row]) {
    if (key >= kKeyboardKeys) continue;
    s.fade[key] = kFull;
    x.hue[key] = Hue(row * 32);
  }
  ShowFades(zone, s, x, keys);
}

unsigned ColumnPosition(size_t, KeyPlace p) { return p.column; }
unsigned DiagonalPosition(size_t, KeyPlace p) { return p.column + 2u * p.row; }
unsigned DistancePosition(size_t k, KeyPlace) { return KeyDistances()[k]; }

}  // namespace

void PrepareMainEffect(int effect, EffectState& state, KeyboardEffectExtras& extras) {
  state.phase = 0;
  state.counter_a = 0;
  state.counter_b = 0;
  state.colour_index = 0;
  state.fade.fill(0);
  state.ring.fill(0);
  const auto held = extras.held;
  extras = {};
  extras.held = held;
  if (effect == kEffectKeyRainbow) {
    // Neighbouring keys far apart on the rainbow, the same pattern every time.
    for (size_t k = 0; k < kKeyboardKeys; ++k) extras.hue[k] = Hue(k * 37);
  }
}

bool StepMainEffect(int effect, const Zone& zone, std::span<const Rgb> custom, EffectState& s, KeyboardEffectExtras& x,
                    std::span<KeyColour> keys) {
  switch (effect) {
    case kEffectWave: Wave(zone, s, keys, ColumnPosition, kColumnHueStep); break;
    case kEffectDiagonalWave: Wave(zone, s, keys, DiagonalPosition, 6); break;
    case kEffectCentreRainbow: Wave(zone, s, keys, DistancePosition, 6); break;
    case kEffectSpectrum: Spectrum(zone, s, keys); break;
    case kEffectBreathing: Breathing(zone, s, keys); break;
    case kEffectStatic: Static(zone, keys); break;
    case kEffectReactive: Reactive(zone, s, x, keys); break;
    case kEffectReactiveColumns: ReactiveFronts(zone, s, x, keys, true); break;
    case kEffectReactiveRow: ReactiveFronts(zone, s, x, keys, false); break;
    case kEffectSnakes: Snakes(zone, s, x, keys); break;
    case kEffectKeyRainbow: KeyRainbow(zone, x, keys); break;
    case kEffectScanBar: ScanBar(zone, s, x, keys); break;
    case kEffectReactiveRipple: ReactiveRipple(zone, s, x, keys); break;
    case kEffectReactiveRainbow: ReactiveRainbow(zone, s, x, keys); break;
    case kEffectRain: Rain(zone, s, x, keys); break;
    case kEffectReactiveDark: ReactiveDark(zone, s, x, keys); break;
    case kEffectSpiral: Spiral(zone, s, keys); break;
    case kEffectRipple: BandRipple(zone, s, keys); break;
    case kEffectCustom: Custom(zone, custom, keys); break;
    case kEffectMeetingBars: MeetingBars(zone, s, x, keys); break;
    case kEffectRows: Rows(zone, s, x, keys); break;
    default: return false;
  }
  ++s.step_counter;
  x.fresh.fill(false);
  return true;
}

bool ZoneEffectAnimates(int effect) { return effect >= 0 && effect < kZoneEffects && effect != 3 && effect != 5; }

void StepZoneEffect(int effect, const Zone& zone, ZoneEffectState& state, std::span<KeyColour> lights) {
  constexpr unsigned kBlinkSteps = 64;
  const uint8_t intensity = Intensity(zone);
  const size_t n = lights.size();
  switch (effect) {
    case 0:  // wave: the rainbow runs along the positions
      StepPhase(state.phase, kRainbowSteps, Up(zone));
      for (size_t i = 0; i < n; ++i)
        lights[i] = MakeKeyColour(kRainbowTable[Hue(state.phase + i * kRainbowSteps / n)], intensity);
      break;
    case 1:  // spectrum
      StepPhase(state.phase, kRainbowSteps, Up(zone));
      std::fill(lights.begin(), lights.end(), MakeKeyColour(kRainbowTable[state.phase], intensity));
      break;
    case 2: {  // breathing; multicolour moves on through the rainbow with every breath
      if (StepPhase(state.phase, kBreathingSteps, Up(zone))) state.colour_index = Hue(state.colour_index + 16u);
      const auto light = static_cast<uint8_t>(unsigned{kBreathingCurve[state.phase]} * intensity / 256);
      std::fill(lights.begin(), lights.end(), MakeKeyColour(ColourOr(zone, state.colour_index), light));
      break;
    }
    case 3:  // static; multicolour spreads the rainbow over the positions
      for (size_t i = 0; i < n; ++i) lights[i] = MakeKeyColour(ColourOr(zone, i * kRainbowSteps / n), intensity);
      break;
    case 4: {  // blink: on and off for kBlinkSteps steps each, the next colour at every toggle
      state.counter = static_cast<uint16_t>((state.counter + 1) % (2 * kBlinkSteps));
      if (state.counter == 0) state.colour_index = Hue(state.colour_index + 16u);
      const KeyColour colour =
          state.counter < kBlinkSteps ? MakeKeyColour(ColourOr(zone, state.colour_index), intensity) : 0;
      std::fill(lights.begin(), lights.end(), colour);
      break;
    }
    case 5: std::fill(lights.begin(), lights.end(), KeyColour{0}); break;
    default: break;
  }
}

}  // namespace zrv::devices
