#pragma once
// CDeviceOptionUI ("DeviceOption"): one item of the device selector, standing for one device page.
//
// Its layout holds "device_select" (the option with the device icon; selecting it shows the page),
// "synchro_device_select" (includes the device in synchronised lighting) and "device_select_name"
// (the name label). The item is present while it is visible: it is shown when its device arrives
// and hidden when the device leaves.
//
// The item drives the periodic work of its device with one-shot control timers: 1001 500 ms after
// an attach reads the device, then 1000 repaints every 50 ms while the device is connected, 1005
// reads the power state every 5 s, 1002 reloads after a device notification (requested from the
// device's notification thread), 1003 and 1004 run the two reserved operations.

#include <QPointer>
#include <QString>

#include <vector>

#include "device/device_tables.h"
#include "devices/device_page.h"
#include "ui/button.h"
#include "ui/containers.h"

namespace zrv::app {

class CDeviceOptionUI : public ui::HorizontalLayout {
  Q_OBJECT
 public:
  explicit CDeviceOptionUI(QWidget* parent = nullptr);
  ~CDeviceOptionUI() override;

  QString GetClass() const override { return QStringLiteral("DeviceOption"); }
  void DoInit() override;
  void DoTimer(int id) override;

  // The named children (null until the layout is built).
  ui::Option* SelectOption() const { return select_; }
  ui::Control* SynchroControl() const { return synchro_control_; }
  ui::Control* NameLabel() const { return name_; }

  // Icons and name label of the kind (device_option_kinds.h).
  void SetKind(device::DeviceKind kind, int sub_kind);
  device::DeviceKind Kind() const { return kind_; }
  int SubKind() const { return sub_kind_; }
  QString NormalImage() const { return normal_image_; }
  QString SelectedImage() const { return selected_image_; }
  QString SynchroNormalImage() const { return synchro_normal_image_; }
  QString SynchroSelectedImage() const { return synchro_selected_image_; }

  // Where the item's page lives: "device_select" shows page `tab_index` of the tab container and
  // the page container shows page `page_index` (-1: the page container is hidden).
  void BindPage(const QString& tab_container, int tab_index, const QString& page_container, int page_index);
  QString PageContainer() const { return page_container_; }
  int PageIndex() const { return page_index_; }

  // The device the item stands for.
  void SetDevice(devices::CHalveronUSBDevicePage* device);
  devices::CHalveronUSBDevicePage* Device() const { return device_; }

  // Shows or hides the item; present follows.
  void SetPresent(bool present);
  bool IsPresent() const { return present_ != 0; }
  // "device_select" is selected.
  bool IsDeviceSelected() const;
  bool IsSynchroChecked() const;
  void SetSynchroChecked(bool checked);

  // Selects "device_select" as a click of the user would (the "selectchanged" reaches the window).
  void Activate();

  // Timer 1001, 500 ms from now: the device was attached.
  void StartAttachTimer();
  // Arms a device timer (one-shot) of the item.
  void StartDeviceTimer(int id, int delay_ms);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // "device_select" shows the synchronised pair while the item is checked for synchronisation.
  void ShowIcons();
  // Repaints the device's picture when its colours changed since the last repaint: a still picture
  // costs nothing.
  void RedrawChangedPicture(devices::CHalveronUSBDevicePage& page);

  ui::Option* select_ = nullptr;
  ui::Control* synchro_control_ = nullptr;
  ui::Selectable* synchro_ = nullptr;
  ui::Control* name_ = nullptr;
  QPointer<devices::CHalveronUSBDevicePage> device_;
  device::DeviceKind kind_ = device::DeviceKind::kNone;
  int sub_kind_ = 0;
  QString synchro_selected_image_;
  QString synchro_normal_image_;
  QString selected_image_;
  QString normal_image_;
  QString name_text_id_;
  QString page_container_;
  int page_index_ = -1;
  uint8_t present_ = 1;
  std::vector<uint32_t> painted_colours_;  // key, logo and strip colours of the last repaint
};

}  // namespace zrv::app
