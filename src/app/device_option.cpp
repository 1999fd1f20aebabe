#include "app/device_option.h"

#include <QAbstractButton>
#include <QMouseEvent>

#include <algorithm>

#include "app/device_option_kinds.h"
#include "devices/model/device_timers.h"
#include "ui/lookup.h"

namespace zrv::app {

CDeviceOptionUI::CDeviceOptionUI(QWidget* parent) : ui::HorizontalLayout(parent) {
  const DeviceOptionLook unknown = UnknownDeviceOptionLook();
  normal_image_ = DeviceIconImage(unknown.prefix, DeviceIcon::kNormal);
  selected_image_ = DeviceIconImage(unknown.prefix, DeviceIcon::kSelected);
  synchro_normal_image_ = DeviceIconImage(unknown.prefix, DeviceIcon::kSynchroNormal);
  synchro_selected_image_ = DeviceIconImage(unknown.prefix, DeviceIcon::kSynchroSelected);
  name_text_id_ = unknown.name_text_id;
}

CDeviceOptionUI::~CDeviceOptionUI() {
  // No timer request of the device's notification thread may reach this item any more.
  if (device_) device_->Model().SetTimerRequestHandler(nullptr);
}

void CDeviceOptionUI::DoInit() {
  select_ = ui::FindSubControlByName<ui::Option>(this, QStringLiteral("device_select"));
  synchro_control_ = ui::FindSubControlByName(this, QStringLiteral("synchro_device_select"));
  synchro_ = dynamic_cast<ui::Selectable*>(synchro_control_);
  name_ = ui::FindSubControlByName(this, QStringLiteral("device_select_name"));
  if (auto* button =
          synchro_control_ != nullptr ? qobject_cast<QAbstractButton*>(synchro_control_->Widget()) : nullptr) {
    // Every change, by the user or by code, swaps the icon pair.
    connect(button, &QAbstractButton::toggled, this, [this] { ShowIcons(); });
  }
  ShowIcons();
}

void CDeviceOptionUI::SetKind(device::DeviceKind kind, int sub_kind) {
  kind_ = kind;
  sub_kind_ = sub_kind;
  const std::optional<DeviceOptionLook> look = DeviceOptionLookFor(kind, sub_kind);
  if (!look) return;
  normal_image_ = DeviceIconImage(look->prefix, DeviceIcon::kNormal);
  selected_image_ = DeviceIconImage(look->prefix, DeviceIcon::kSelected);
  synchro_normal_image_ = DeviceIconImage(look->prefix, DeviceIcon::kSynchroNormal);
  synchro_selected_image_ = DeviceIconImage(look->prefix, DeviceIcon::kSynchroSelected);
  name_text_id_ = look->name_text_id;
  ShowIcons();
}

void CDeviceOptionUI::ShowIcons() {
  if (select_ != nullptr) {
    const bool synchro = IsSynchroChecked();
    select_->SetNormalImage(synchro ? synchro_normal_image_ : normal_image_);
    select_->SetSelectedImage(synchro ? synchro_selected_image_ : selected_image_);
  }
  if (name_ != nullptr) name_->SetTextId(name_text_id_);
}

void CDeviceOptionUI::BindPage(const QString& tab_container, int tab_index, const QString& page_container,
                               int page_index) {
  if (select_ != nullptr) {
    select_->BindTabLayoutName(tab_container);
    select_->BindTabIndex(tab_index);
  }
  page_container_ = page_container;
  page_index_ = page_index;
}

void CDeviceOptionUI::SetDevice(devices::CHalveronUSBDevicePage* device) {
  if (device_) device_->Model().SetTimerRequestHandler(nullptr);
  device_ = device;
  if (!device) return;
  // The notification thread asks for timers (1002 after a device notification); they run here.
  device->Model().SetTimerRequestHandler([this](int id, int delay_ms) {
    QMetaObject::invokeMethod(
        this, [this, id, delay_ms] { StartDeviceTimer(id, delay_ms); }, Qt::QueuedConnection);
  });
}

void CDeviceOptionUI::SetPresent(bool present) {
  SetVisible(present);
  present_ = present ? 1 : 0;
}

bool CDeviceOptionUI::IsDeviceSelected() const { return select_ != nullptr && select_->IsSelected(); }

bool CDeviceOptionUI::IsSynchroChecked() const { return synchro_ != nullptr && synchro_->IsSelected(); }

void CDeviceOptionUI::SetSynchroChecked(bool checked) {
  if (synchro_ != nullptr) synchro_->Selected(checked, false);
}

void CDeviceOptionUI::Activate() {
  if (select_ != nullptr && !select_->IsSelected()) select_->Selected(true, true);
}

void CDeviceOptionUI::mousePressEvent(QMouseEvent* event) {
  // Taken, so that the release comes here (and not to the window's caption drag).
  if (event->button() == Qt::LeftButton) {
    event->accept();
    return;
  }
  ui::HorizontalLayout::mousePressEvent(event);
}

void CDeviceOptionUI::mouseReleaseEvent(QMouseEvent* event) {
  // A click on the item beside its option (on the name) chooses the device too.
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Activate();
  ui::HorizontalLayout::mouseReleaseEvent(event);
}

void CDeviceOptionUI::StartAttachTimer() { StartDeviceTimer(devices::kTimerAttached, devices::kAttachDelayMs); }

void CDeviceOptionUI::StartDeviceTimer(int id, int delay_ms) { SetTimer(id, std::max(delay_ms, 0)); }

void CDeviceOptionUI::RedrawChangedPicture(devices::CHalveronUSBDevicePage& page) {
  const devices::CHalveronUSBDevice& model = page.Model();
  std::vector<uint32_t> colours = model.KeyColours();
  for (const auto& more : {model.LogoColours(), model.StripColours()})
    colours.insert(colours.end(), more.begin(), more.end());
  if (colours == painted_colours_) return;
  painted_colours_ = std::move(colours);
  page.RedrawPicture();
}

void CDeviceOptionUI::DoTimer(int id) {
  if (!devices::IsDeviceTimer(id)) {
    ui::HorizontalLayout::DoTimer(id);
    return;
  }
  KillTimer(id);  // every device timer runs once per start
  if (!device_) return;
  devices::CHalveronUSBDevicePage& page = *device_;
  const bool shown = IsDeviceSelected() && IsPresent();
  page.SetItemSelected(shown);
  const devices::TimerOutcome outcome = page.Model().RunTimer(id, shown);
  // A hidden page is not repainted: showing it paints the keys as they are.
  if (outcome.redraw_page && page.isVisible()) RedrawChangedPicture(page);
  for (const devices::TimerStart& next : outcome.start) StartDeviceTimer(next.id, next.delay_ms);
}

}  // namespace zrv::app
