#pragma once
// The pages of the four device kinds (the keyboard's is in keyboard_page.h). Each owns its kind's
// model; the kinds' own page builders (editors, profile bar, system settings) come with their
// models' operations.

#include "devices/device_page.h"
#include "devices/keyboard_page.h"
#include "devices/model/hs6533_device.h"
#include "devices/model/mouse_device.h"
#include "devices/model/mousepad_device.h"
#include "ui/list.h"

namespace zrv::devices {

class CHalveronMouseDevicePage : public CHalveronUSBDevicePage {
  Q_OBJECT
 public:
  explicit CHalveronMouseDevicePage(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("CHalveronMouseDevice"); }
  CHalveronMouseDevice& Mouse() { return static_cast<CHalveronMouseDevice&>(Model()); }

  // The caption of button `index`'s assignment: the button's tool tip (its name as title, the
  // caption as text) and row `index` of the key-information list "device_setkeyinfo_list", which
  // gets rows as needed and shows a row only while its key button is shown.
  void ShowKeyCaption(int index, const std::string& caption) override;
  // Row `index` of the key-information list (null when the page has no list or no such row yet).
  ui::ListContainerElement* KeyInfoRow(int index) const;

 private:
  ui::ListContainerElement* AddKeyInfoRow(ui::List& list);
};

class CHalveronMousePadDevicePage : public CHalveronUSBDevicePage {
  Q_OBJECT
 public:
  explicit CHalveronMousePadDevicePage(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("CHalveronMousePadDevice"); }
  CHalveronMousePadDevice& MousePad() { return static_cast<CHalveronMousePadDevice&>(Model()); }
};

class CHalveronHS6533DevicePage : public CHalveronUSBDevicePage {
  Q_OBJECT
 public:
  explicit CHalveronHS6533DevicePage(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("CHalveronHS6533Device"); }
  CHalveronHS6533Device& Headset() { return static_cast<CHalveronHS6533Device&>(Model()); }
};

}  // namespace zrv::devices
