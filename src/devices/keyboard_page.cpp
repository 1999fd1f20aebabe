#include "devices/keyboard_page.h"

#include "devices/model/lighting_engine.h"
#include "ui/lookup.h"

namespace zrv::devices {
namespace {

// The light positions "prefix" + 0 … count - 1 of the page (null where there is none).
std::vector<QPointer<controls::CDeviceKeyButtonUI>> FindLights(ui::Control* page, const QString& prefix, size_t count) {
  std::vector<QPointer<controls::CDeviceKeyButtonUI>> lights(count);
  for (size_t i = 0; i < count; ++i) {
    lights[i] = ui::FindSubControlByName<controls::CDeviceKeyButtonUI>(page, prefix + QString::number(i));
  }
  return lights;
}

void Paint(const std::vector<QPointer<controls::CDeviceKeyButtonUI>>& lights, int index, uint32_t colour,
           int intensity) {
  if (index < 0 || static_cast<size_t>(index) >= lights.size()) return;
  controls::CDeviceKeyButtonUI* button = lights[static_cast<size_t>(index)];
  if (button != nullptr && button->IsVisible()) button->SetLight(colour, intensity, true);
}

}  // namespace

CHalveronKeyboardDevicePage::CHalveronKeyboardDevicePage(QWidget* parent)
    : CHalveronUSBDevicePage(std::make_unique<CHalveronKeyboardDevice>(), parent), system_(this, Keyboard()) {
  Keyboard().SetKeyboardView(this);
}

CHalveronKeyboardDevicePage::~CHalveronKeyboardDevicePage() { Keyboard().SetKeyboardView(nullptr); }

void CHalveronKeyboardDevicePage::BuildPage() {
  CHalveronUSBDevicePage::BuildPage();
  logo_lights_ = FindLights(this, QStringLiteral("logo_light_"), LightingEngine::kLogoPositions);
  strip_lights_ = FindLights(this, QStringLiteral("strip_light_"), LightingEngine::kStripPositions);
  system_.Show();
}

bool CHalveronKeyboardDevicePage::PictureShown() const {
  const QWidget* top = window();
  if (top->isMinimized()) return false;
  return !(top->isHidden() && top->testAttribute(Qt::WA_WState_ExplicitShowHide));
}

void CHalveronKeyboardDevicePage::showEvent(QShowEvent* event) {
  CHalveronUSBDevicePage::showEvent(event);
  Keyboard().OnPictureShown();
}

void CHalveronKeyboardDevicePage::TakeChangedLights(ChangedLights& changed) {
  CHalveronUSBDevicePage::TakeChangedLights(changed);
  TakeChangedLightsOf(logo_lights_, changed);
  TakeChangedLightsOf(strip_lights_, changed);
}

void CHalveronKeyboardDevicePage::PaintLogoLight(int index, uint32_t colour, int intensity) {
  Paint(logo_lights_, index, colour, intensity);
}

void CHalveronKeyboardDevicePage::PaintStripLight(int index, uint32_t colour, int intensity) {
  Paint(strip_lights_, index, colour, intensity);
}

void CHalveronKeyboardDevicePage::RefreshKeyboardPage() { system_.Show(); }

void CHalveronKeyboardDevicePage::SetKeyTip(int index, const std::string& title, const std::string& text,
                                            bool key_set_hidden) {
  controls::CDeviceKeyButtonUI* button = KeyButton(index);
  if (button == nullptr) return;
  button->SetUserToolTitle(QString::fromStdString(title));
  button->SetUserToolText(QString::fromStdString(text));
  button->SetKeySetHidden(key_set_hidden);
}

void CHalveronKeyboardDevicePage::AddRoutes(ui::RouteRegistry& routes) {
  CHalveronUSBDevicePage::AddRoutes(routes);
  // The owner is the page as the window knows it: its base.
  system_.AddRoutes(routes, static_cast<CHalveronUSBDevicePage*>(this));
}

}  // namespace zrv::devices
