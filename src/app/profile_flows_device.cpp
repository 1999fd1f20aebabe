#include "app/profile_flows_device.h"

#include "devices/device_page.h"
#include "ui/lookup.h"
#include "ui/window.h"

namespace zrv::app {

PageProfileDevice::PageProfileDevice(devices::CHalveronUSBDevicePage* page) : page_(page) {}

PageProfileDevice::~PageProfileDevice() = default;

devices::CHalveronUSBDevicePage* PageProfileDevice::Page() const { return page_.data(); }

device::DeviceKind PageProfileDevice::Kind() const {
  return page_ == nullptr ? device::DeviceKind::kNone : page_->Model().Kind();
}

QString PageProfileDevice::Presence() const {
  if (page_ == nullptr || !page_->Model().Connected()) return QString();
  return QString::fromStdString(page_->Model().Record().path);
}

void PageProfileDevice::SetProfileId(const QString& id) {
  if (page_ != nullptr) page_->Model().SetProfileId(id.toStdString());
}

void PageProfileDevice::LoadProfile() {
  if (page_ != nullptr) page_->Model().LoadProfile();
}

void PageProfileDevice::CheckAssignments() {
  if (page_ != nullptr) page_->Model().CheckAssignments();
}

void PageProfileDevice::RefreshPage() {
  if (page_ != nullptr) page_->Model().RefreshPage();
}

int PageProfileDevice::WriteSettings(int profile_index, int first_byte, int third_value, int screen_width,
                                     int screen_height) {
  if (page_ == nullptr) return 0;
  return page_->Model().WriteSettings(profile_index, first_byte, third_value, screen_width, screen_height);
}

int PageProfileDevice::WriteMacros() { return page_ == nullptr ? 0 : page_->Model().WriteMacros(); }

int PageProfileDevice::WriteKeyAssignmentList(int profile_index) {
  return page_ == nullptr ? 0 : page_->Model().WriteKeyAssignmentList(profile_index);
}

void PageProfileDevice::HideKeySetLayout() {
  if (page_ == nullptr) return;
  if (ui::Control* panel = ui::FindSubControlByName(page_, QStringLiteral("keyset_layout"))) panel->SetVisible(false);
}

void PageProfileDevice::DisableKeySaveButtons() {
  if (page_ == nullptr) return;
  for (const char* name : {"key_butt_keysave", "key_butt_keycancel", "key_butt_prosave"}) {
    if (ui::Control* button = ui::FindSubControlByName(page_, QString::fromLatin1(name))) button->SetEnabled(false);
  }
}

}  // namespace zrv::app
