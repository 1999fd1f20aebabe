#pragma once
// CDeviceKeyButtonUI ("DeviceKeyButton"): the button laid over one key or light position of a
// device picture. It shows the key's light as its light image tinted with the key's colour at the
// key's intensity, and a mark ("keysetimage") on a key whose function was changed.
//
// The device page sets the light from the repaint timer (SetLight) and repaints the picture
// afterwards (RedrawLight): only the buttons whose light changed are repainted, and the tinted
// light is drawn from a cache of layers (KeyLayerCache).

#include <utility>

#include "ui/button.h"

namespace zrv::controls {

class CDeviceKeyButtonUI : public ui::Button {
  Q_OBJECT
 public:
  static constexpr quint32 kDefaultLightColour = 0x000000FF;  // 0x00BBGGRR: red
  static constexpr int kDefaultLightIntensity = 200;

  explicit CDeviceKeyButtonUI(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("DeviceKeyButton"); }

  // Colour 0x00BBGGRR, intensity 0-255 (clamped), on: whether the light image is drawn. No
  // repaint by itself: the page repaints its picture after a frame.
  void SetLight(quint32 colour, int intensity, bool on);
  // Repaints the button when SetLight changed its light since the last call; true when it did.
  bool RedrawLight();
  // Takes the mark of a changed light without repainting (the caller repaints the picture at once).
  bool TakeLightChange() { return std::exchange(light_changed_, false); }
  quint32 GetLightColour() const { return light_colour_; }
  int GetLightIntensity() const { return light_intensity_; }
  bool IsLightOn() const { return light_on_; }

  QString GetLightImage() const { return light_image_; }
  void SetLightImage(const QString& image);
  QString GetKeySetImage() const { return key_set_image_; }
  void SetKeySetImage(const QString& image);

  // The key-set image is drawn only while this is clear. Repaints only when the flag changes.
  void SetKeySetHidden(bool hidden);
  bool IsKeySetHidden() const { return key_set_hidden_; }

  // Written by the selection panel; not drawn.
  int GetSelectState() const { return select_state_; }
  void SetSelectState(int state) { select_state_ = state; }

  // Tool tip: the key's name as title and the description of its function as text.
  void SetUserToolTitle(const QString& title);
  void SetUserToolText(const QString& text);
  QString GetUserToolTitle() const { return tool_title_; }
  QString GetUserToolText() const { return tool_text_; }

  void SetAttribute(const QString& name, const QString& value) override;
  // A key that shows its light and nothing else (the usual key of a lighting frame) draws the light
  // alone; anything else goes through every layer.
  void PaintBackground(QPainter& painter) override;
  void PaintOverlay(QPainter& painter) override;
  // The background colour as the library fills it, rounded corners from the layer cache.
  void PaintBkColor(QPainter& painter) override;
  // The state image, then the tinted light image, then the key-set mark.
  void PaintStatusImage(QPainter& painter) override;
  void PaintText(QPainter& painter) override;
  // The button is drawn by the skin only, never as a platform push button.
  bool PaintsItself() const override { return true; }
  // A picture repaints every key twenty times a second: the container draws them with one painter
  // and without a paint event per key.
  bool DrawnByContainer() const override { return true; }

 protected:
  // The second press of a double click inside the enabled button: pushed and captured, then
  // "dbclick"; its release is the button's ordinary one, so a double click gives "click",
  // "dbclick", "click". Elsewhere, or on a disabled button, it is dropped.
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void UpdateUserToolTip();
  bool ShowsLightOnly() const;
  void DrawLight(QPainter& painter) const;

  QString light_image_;
  int light_image_id_ = 0;  // KeyLayerCache::ImageId of light_image_
  QString key_set_image_;
  bool light_on_ = false;
  quint32 light_colour_ = kDefaultLightColour;
  int light_intensity_ = kDefaultLightIntensity;
  bool light_changed_ = false;
  // What the background pass of the paint under way chose; the overlay pass follows it.
  bool painting_light_only_ = false;
  bool key_set_hidden_ = true;
  int select_state_ = 0;
  QSize border_round_{0, 0};  // "borderround", kept for PaintBkColor
  QString tool_title_;
  QString tool_text_;
};

}  // namespace zrv::controls
