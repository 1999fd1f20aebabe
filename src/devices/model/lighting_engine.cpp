// Records, colour vectors and light frames of the lighting engine.

#include "devices/model/lighting_engine.h"

#include <algorithm>
#include <span>
#include <utility>

namespace zrv::devices {

LightingEngine::LightingEngine(device::DeviceLink& link)
    : link_(link), logo_colours_(kLogoPositions, 0), strip_colours_(kStripPositions, 0) {}

void LightingEngine::SetKeyButtonCount(int count) {
  std::lock_guard lock(lock_);
  key_colours_.assign(static_cast<size_t>(std::max(count, 0)), 0);
}

// ---- records

void LightingEngine::SetMainRecord(const LightRecord& record) {
  std::lock_guard lock(lock_);
  main_ = record;
}

void LightingEngine::SetLogoRecord(const LightRecord& record) {
  std::lock_guard lock(lock_);
  logo_ = record;
  if (zone_records_hook_) zone_records_hook_();
}

void LightingEngine::SetStripRecord(const LightRecord& record) {
  std::lock_guard lock(lock_);
  strip_ = record;
  if (zone_records_hook_) zone_records_hook_();
}

void LightingEngine::SetAllRecords(const LightRecord& record) {
  std::lock_guard lock(lock_);
  main_ = record;
  logo_ = record;
  strip_ = record;
  if (zone_records_hook_) zone_records_hook_();
}

void LightingEngine::SetZoneRecordsHook(std::function<void()> hook) {
  std::lock_guard lock(lock_);
  zone_records_hook_ = std::move(hook);
}

LightRecord LightingEngine::MainRecord() const {
  std::lock_guard lock(lock_);
  return main_;
}

LightRecord LightingEngine::LogoRecord() const {
  std::lock_guard lock(lock_);
  return logo_;
}

LightRecord LightingEngine::StripRecord() const {
  std::lock_guard lock(lock_);
  return strip_;
}

// ---- colours

void LightingEngine::SetKeyColour(int index, KeyColour colour) {
  std::lock_guard lock(lock_);
  if (index < 0 || static_cast<size_t>(index) >= key_colours_.size()) return;
  key_colours_[static_cast<size_t>(index)] = colour;
}

KeyColour LightingEngine::GetKeyColour(int index) const {
  std::lock_guard lock(lock_);
  if (index < 0 || static_cast<size_t>(index) >= key_colours_.size()) return 0;
  return key_colours_[static_cast<size_t>(index)];
}

std::vector<KeyColour> LightingEngine::KeyColours() const {
  std::lock_guard lock(lock_);
  return key_colours_;
}

std::vector<KeyColour> LightingEngine::LogoColours() const {
  std::lock_guard lock(lock_);
  return logo_colours_;
}

std::vector<KeyColour> LightingEngine::StripColours() const {
  std::lock_guard lock(lock_);
  return strip_colours_;
}

// ---- frames

// Paints every key button with its entry of the key colour vector, then sends the device the
// frame of red, green and blue scaled by each entry's intensity (3 bytes per key button, button
// 126 left out). A link behind a wireless receiver gets no frames.
//
// After a frame that failed the device is given 200 ms before the next one. That pause is not a
// sleep: this runs on the user-interface thread from the repaint timer, so instead the frames of
// the next 200 ms are painted but not sent. Nothing blocks, and a shut-down never waits for it.
void LightingEngine::RenderFrame(DevicePageView* view) {
  if (!Control()) return;
  const std::vector<KeyColour> colours = KeyColours();
  PaintKeyButtons(view, colours);
  SendKeyFrame(colours);
}

void LightingEngine::PaintKeyButtons(DevicePageView* view, const std::vector<KeyColour>& colours) const {
  if (view == nullptr) return;
  for (size_t i = 0; i < colours.size(); ++i) {
    view->PaintKey(static_cast<int>(i), KeyTint(colours[i]), KeyIntensity(colours[i]));
  }
}

int LightingEngine::SendKeyFrame(const std::vector<KeyColour>& colours) {
  std::array<uint8_t, kLightFrameSize> frame{};
  const size_t buttons = std::min(colours.size(), kLightFrameSize / 3);
  for (size_t i = 0; i < buttons; ++i) {
    if (i == kFrameSkippedButton) continue;
    const KeyColour c = colours[i];
    const unsigned intensity = KeyIntensity(c);
    frame[3 * i] = static_cast<uint8_t>(KeyRed(c) * intensity / 256);
    frame[3 * i + 1] = static_cast<uint8_t>(KeyGreen(c) * intensity / 256);
    frame[3 * i + 2] = static_cast<uint8_t>(KeyBlue(c) * intensity / 256);
  }
  if (buttons == 0 || link_.Slow() || FramePaused()) return 0;
  const int result = link_.SendLightFrame(std::span<const uint8_t>(frame.data(), buttons * 3));
  if (result != 1) {
    frame_pause_until_.store((Now() + kLightFramePause).time_since_epoch().count());
  }
  return result;
}

bool LightingEngine::FramePaused() const { return Now().time_since_epoch().count() < frame_pause_until_.load(); }

}  // namespace zrv::devices
