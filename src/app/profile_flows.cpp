#include "app/profile_flows.h"

#include "app/msg_wnd.h"
#include "app/profile_flows_device.h"
#include "app/window_timers.h"
#include "config/profile_list.h"
#include "controls/device_profile.h"
#include "devices/device_page.h"
#include "ui/file_dialog.h"
#include "ui/language.h"

#include <utility>

namespace zrv::app {

QString ProfileAsker::OpenFile(const QString& filter) { return ui::OpenFileDialog(DialogParent(), QString(), filter); }

QString ProfileAsker::SaveFile(const QString& filter) {
  return ui::SaveFileDialog(DialogParent(), QString(), filter, QString(), QStringLiteral("json"));
}

int MsgWndAsker::MessageBox(const QString& text, bool text_is_id, int buttons) {
  return CMsgWnd::MessageBox(parent_, QString(), text, dpi_ ? dpi_() : 96, text_is_id, buttons);
}

QString MacrosTooLargeText(int count) {
  QString text = ui::TextById(QStringLiteral("message_text_16"));
  const qsizetype at = text.indexOf(QLatin1String("%d"));
  if (at >= 0) text.replace(at, 2, QString::number(count));
  return text;
}

ProfileFlows::ProfileFlows(ProfileAsker& asker, TargetProvider current, QObject* parent)
    : QObject(parent), asker_(asker), current_(std::move(current)) {
  switch_timer_.setSingleShot(true);
  switch_timer_.setInterval(kProfileSwitchDelayMs);
  switch_timer_.setObjectName(QStringLiteral("timer_%1").arg(kProfileSwitchTimer));
  connect(&switch_timer_, &QTimer::timeout, this, &ProfileFlows::SwitchProfile);
  bar_device_ = [](controls::CDeviceProfileUI* bar) -> std::shared_ptr<ProfileDevice> {
    for (QObject* parent = bar->parent(); parent != nullptr; parent = parent->parent()) {
      auto* page = dynamic_cast<devices::CHalveronUSBDevicePage*>(parent);
      if (page != nullptr && page->ProfileBar() == bar) return std::make_shared<PageProfileDevice>(page);
    }
    return nullptr;
  };
}

ProfileFlows::~ProfileFlows() = default;

void ProfileFlows::AdoptBar(controls::CDeviceProfileUI* bar) {
  if (bar != nullptr) bar->SetMessageSink([this](const QString& text_id) { ShowLater(text_id); });
}

void ProfileFlows::ShowLater(const QString& text_id) {
  if (later_.contains(text_id)) return;
  later_.append(text_id);
  if (later_.size() > 1) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        for (const QString& text : std::exchange(later_, {})) Show(text);
      },
      Qt::QueuedConnection);
}

ProfileFlows::Target ProfileFlows::Current() {
  Target target = current_ ? current_() : Target{};
  if (target.bar == nullptr || target.device == nullptr) return {};
  target.bar->SetMessageSink([this](const QString& text_id) { Show(text_id); });
  return target;
}

bool ProfileFlows::Bound::Here() const { return !bar.isNull() && device && device->Presence() == presence; }

ProfileFlows::Bound ProfileFlows::Bind() {
  Target target = Current();
  if (target.bar == nullptr) return {};
  const QString presence = target.device->Presence();
  return {target.bar, std::move(target.device), presence};
}

bool ProfileFlows::Confirm(const char* text_id) {
  return asker_.MessageBox(QString::fromLatin1(text_id), true, ProfileAsker::kConfirmAndCancel) == 1;
}

void ProfileFlows::Show(const QString& text_id) { asker_.MessageBox(text_id, true, ProfileAsker::kConfirmOnly); }

bool ProfileFlows::OnClick(const QString& name) {
  if (name == u"profile_fun_spread_btn") {
    ToggleMenu();
    return true;
  }
  static const std::pair<const char*, void (ProfileFlows::*)()> kButtons[] = {
      {"device_add_btn", &ProfileFlows::AddProfile},
      {"device_sub_btn", &ProfileFlows::DeleteProfile},
      {"device_copy_btn", &ProfileFlows::CopyProfile},
      {"device_import_btn", &ProfileFlows::ImportProfile},
      {"device_export_btn", &ProfileFlows::ExportProfile},
      {"device_reset_btn", &ProfileFlows::ResetProfile},
      {"device_profile_edit_save_btn", &ProfileFlows::RenameProfile},
  };
  for (const auto& [button, flow] : kButtons) {
    if (name.compare(QLatin1String(button), Qt::CaseInsensitive) == 0) {
      (this->*flow)();
      return true;
    }
  }
  return false;
}

void ProfileFlows::OnProfileSelected() { ScheduleSwitch(Current().bar); }

void ProfileFlows::ScheduleSwitch(controls::CDeviceProfileUI* bar) {
  // Only one timer: a selection still waiting on another page's bar is switched now, or that
  // bar would show a profile its device never gets.
  if (!switch_bar_.isNull() && switch_bar_ != bar) {
    if (const Target pending = PendingTarget(); pending.bar != nullptr) SwitchTarget(pending);
  }
  switch_bar_ = bar;
  window_timer_spent_ = false;
  if (start_switch_timer_) {
    start_switch_timer_();
  } else {
    switch_timer_.start();
  }
}

void ProfileFlows::AddProfile() {
  const Bound bound = Bind();
  if (bound.bar.isNull() || !Confirm(ui::TextId("message_text_27")) || !bound.Here()) return;
  bound.bar->NewProfile();
}

void ProfileFlows::DeleteProfile() {
  const Bound bound = Bind();
  if (bound.bar.isNull() || !Confirm(ui::TextId("message_text_29")) || !bound.Here()) return;
  // The drop-down list now shows another profile; the switch makes it the device's, on the page
  // the profile was deleted from, whichever page is shown by now.
  if (bound.bar->DeleteProfile()) ScheduleSwitch(bound.bar);
}

void ProfileFlows::CopyProfile() {
  const Bound bound = Bind();
  if (bound.bar.isNull() || !Confirm(ui::TextId("message_text_26")) || !bound.Here()) return;
  bound.bar->CopyProfile();
}

void ProfileFlows::ImportProfile() {
  const Bound bound = Bind();
  if (bound.bar.isNull() || bound.bar->GetCurSel() < 0) return;
  const QString path = asker_.OpenFile(QString::fromLatin1(kFileFilter));
  // Anything but a profile file is ignored without a word.
  if (path.isEmpty() || !bound.Here() || !config::ProfileList::IsImportableProfile(path)) return;
  bound.bar->ImportProfile(path);
}

void ProfileFlows::ExportProfile() {
  const Bound bound = Bind();
  if (bound.bar.isNull() || bound.bar->GetCurSel() < 0) return;
  const QString path = asker_.SaveFile(QString::fromLatin1(kFileFilter));
  if (path.isEmpty() || !bound.Here()) return;
  bound.bar->ExportProfile(path);
}

void ProfileFlows::ResetProfile() {
  const Bound bound = Bind();
  if (bound.bar.isNull() || !Confirm(ui::TextId("message_text_22")) || !bound.Here()) return;
  // A reset that could not be written has been reported; the device keeps what it has.
  if (!bound.bar->ResetProfile()) return;
  ProfileDevice& device = *bound.device;
  device.LoadProfile();
  device.RefreshPage();
  WriteSettings(device);
  const device::DeviceKind kind = device.Kind();
  if (kind == device::DeviceKind::kKeyboard) {
    device.HideKeySetLayout();
    WriteMacrosShowingResult(device);
    device.WriteKeyAssignmentList(0);
  } else if (device::IsMouse(kind)) {
    WriteMacrosShowingResult(device);
    device.WriteKeyAssignmentList(0);
    device.HideKeySetLayout();
  }
  if (kind == device::DeviceKind::kKeyboard || device::IsMouse(kind)) device.DisableKeySaveButtons();
}

void ProfileFlows::RenameProfile() {
  const Target target = Current();
  if (target.bar == nullptr) return;
  // While a switch waits, the name field still shows the profile in use while the drop-down list
  // shows the chosen one: the switch is done first, so that the name goes to the profile it
  // was typed for or to none.
  if (!switch_bar_.isNull()) {
    SwitchProfile();
    window_timer_spent_ = static_cast<bool>(start_switch_timer_);
  }
  controls::CDeviceProfileUI& bar = *target.bar;
  const QString text = bar.GetNameEditText();  // a text with "&" has been reported and reads ""
  if (text.isEmpty()) {
    Show(QString::fromLatin1(ui::TextId("message_text_5_1")));
    bar.SetNameEditText(bar.GetCurItemText());
    return;
  }
  const char* refusal = nullptr;
  switch (bar.RenameProfile(text)) {
    case config::kRenameDone: return;
    case config::kRenameNameUsed: refusal = ui::TextId("message_text_5"); break;
    case config::kRenameLeadingSpace: refusal = ui::TextId("message_text_25"); break;
    case config::kRenameAmpersand: refusal = ui::TextId("message_text_5_3"); break;
    case config::kRenameSaveFailed: refusal = ui::TextId("message_text_save_failed"); break;
  }
  if (refusal != nullptr) Show(QString::fromLatin1(refusal));
  bar.SetNameEditText(bar.GetCurItemText());
}

void ProfileFlows::ToggleMenu() {
  const Target target = Current();
  if (target.bar != nullptr) target.bar->SetMenuVisible(!target.bar->IsMenuVisible());
}

ProfileFlows::Target ProfileFlows::PendingTarget() {
  controls::CDeviceProfileUI* bar = switch_bar_.data();
  switch_bar_.clear();
  if (bar == nullptr) return {};
  std::shared_ptr<ProfileDevice> device = bar_device_ ? bar_device_(bar) : nullptr;
  if (device == nullptr) return {};
  bar->SetMessageSink([this](const QString& text_id) { Show(text_id); });
  return {bar, std::move(device)};
}

void ProfileFlows::SwitchProfile() {
  switch_timer_.stop();
  if (std::exchange(window_timer_spent_, false) && switch_bar_.isNull()) return;
  const Target current = Current();
  if (!switch_bar_.isNull() && switch_bar_ != current.bar) {
    SwitchTarget(PendingTarget());
    return;
  }
  switch_bar_.clear();
  SwitchTarget(current);
}

void ProfileFlows::SwitchTarget(const Target& target) {
  if (target.bar == nullptr) return;
  controls::CDeviceProfileUI& bar = *target.bar;
  const int position = bar.GetCurSel();
  if (position < 0) return;
  // A selection that cannot be recorded is reported; the profile is still the one to use now.
  bar.SelectProfile(position, false);
  ProfileDevice& device = *target.device;
  device.SetProfileId(bar.GetCurrentProfileId());
  device.LoadProfile();
  device.CheckAssignments();
  device.RefreshPage();
  WriteSettings(device);
  WriteMacrosShowingResult(device);
  if (device.Kind() == device::DeviceKind::kKeyboard) device.ReloadCustomLightModes();
  device.WriteKeyAssignmentList(0);
}

void ProfileFlows::WriteSettings(ProfileDevice& device) {
  device.WriteSettings(0, 0, 1, screen_.width(), screen_.height());
}

void ProfileFlows::WriteMacrosShowingResult(ProfileDevice& device) {
  const int result = device.WriteMacros();
  if (result == -1) {
    Show(QString::fromLatin1(ui::TextId("message_text_7")));
  } else if (result != 0) {
    asker_.MessageBox(MacrosTooLargeText(result), false, ProfileAsker::kConfirmOnly);
  }
}

}  // namespace zrv::app
