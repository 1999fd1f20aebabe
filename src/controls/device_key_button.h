#pragma once
// CDeviceKeyButtonUI ("DeviceKeyButton"): the button laid over one key or light position of a
// device picture. It shows the key's light as its light image tinted with the key's colour at the
// key's intensity, and a mark ("keysetimage") on a key whose function was changed.
//
// The device page sets the light from the repaint timer (SetLight) and repaints the picture
// afterwards; the button itself never repaints for a new light.

#include "ui/button.h"

namespace zrv::controls {

class CDeviceKeyButtonUI : public ui::Button {
  Q_OBJECT
 public:
  static constexpr quint32 kDefaultLightColour = 0x000000FF;  // 0x00BBGGRR: red
  static constexpr int kDefaultLightIntensity = 200;

  explicit CDeviceKeyButtonUI(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("DeviceKeyButton"); }

  // Colour 0x00BBGGRR, intensity 0-255 (clamped), on: whether the light image is drawn.
  void SetLight(quint32 colour, int intensity, bool on);
  quint32 GetLightColour() const { return lightColour_; }
  int GetLightIntensity() const { return lightIntensity_; }
  bool IsLightOn() const { return lightOn_; }

  QString GetLightImage() const { return lightImage_; }
  void SetLightImage(const QString& image);
  QString GetKeySetImage() const { return keySetImage_; }
  void SetKeySetImage(const QString& image);

  // The key-set image is drawn only while this is clear. Repaints only when the flag changes.
  void SetKeySetHidden(bool hidden);
  bool IsKeySetHidden() const { return keySetHidden_; }

  // Written by the selection panel; not drawn.
  int GetSelectState() const { return selectState_; }
  void SetSelectState(int state) { selectState_ = state; }

  // Tool tip: the key's name as title and the description of its function as text.
  void SetUserToolTitle(const QString& title);
  void SetUserToolText(const QString& text);
  QString GetUserToolTitle() const { return toolTitle_; }
  QString GetUserToolText() const { return toolText_; }

  void SetAttribute(const QString& name, const QString& value) override;
  // The state image, then the tinted light image, then the key-set mark.
  void PaintStatusImage(QPainter& painter) override;
  void PaintText(QPainter& painter) override;
  // The button is drawn by the skin only, never as a platform push button.
  bool PaintsItself() const override { return true; }

 private:
  void UpdateUserToolTip();

  QString lightImage_;
  QString keySetImage_;
  bool lightOn_ = false;
  quint32 lightColour_ = kDefaultLightColour;
  int lightIntensity_ = kDefaultLightIntensity;
  bool keySetHidden_ = true;
  int selectState_ = 0;
  QString toolTitle_;
  QString toolText_;
};

}  // namespace zrv::controls
