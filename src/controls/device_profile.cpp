#include "controls/device_profile.h"

#include "platform/debug_output.h"
#include "ui/lookup.h"

#include <utility>

namespace zrv::controls {
namespace {

constexpr const char* kComboName = "device_profile_combo";
constexpr const char* kNameEditName = "device_profile_name_edit";
constexpr const char* kMenuLayoutName = "profile_menu_layout";
constexpr const char* kAmpersandText = "message_text_5_3";

// Tab numbers (1-8) of the tabs a device kind hides and shows.
struct TabVisibility {
  device::DeviceKind kind;
  std::initializer_list<int> hidden;
  std::initializer_list<int> shown;
};
constexpr int kKey = 2, kMacro = 3, kSystem = 4, kCursor = 5, kEqualiser = 6, kVoice = 7, kSurround = 8;
const TabVisibility kTabVisibility[] = {
    {device::DeviceKind::kKeyboard, {kCursor}, {}},
    {device::DeviceKind::kMouse, {}, {}},
    {device::DeviceKind::kMousePad, {kCursor, kMacro, kSystem, kKey}, {}},
    {device::DeviceKind::kHeadsetAlias, {kCursor, kMacro, kKey}, {}},
    {device::DeviceKind::kHub, {kCursor, kMacro, kSystem, kKey}, {}},
    {device::DeviceKind::kHeadset, {kCursor, kMacro, kSystem, kKey}, {kEqualiser, kVoice, kSurround}},
};

}  // namespace

CDeviceProfileUI::CDeviceProfileUI(QWidget* parent) : ui::HorizontalLayout(parent) {}

void CDeviceProfileUI::DoInit() {
  // The tabs of each bar exclude each other, but not those of the other device pages' bars in
  // the same window: every bar gets a group of its own.
  const QString group = QStringLiteral("device_op_tab_%1").arg(reinterpret_cast<quintptr>(this), 0, 16);
  for (int n = 1; n <= static_cast<int>(kOpTabs.size()); ++n) {
    if (ui::Option* tab = OpTab(n)) tab->SetGroup(group);
  }
}

template <class T>
T* CDeviceProfileUI::Find(QPointer<T>& cache, const char* name) const {
  if (cache.isNull()) cache = ui::FindSubControlByName<T>(this, QString::fromLatin1(name));
  return cache.data();
}

ui::Combo* CDeviceProfileUI::ProfileCombo() const { return Find(combo_, kComboName); }

ui::Edit* CDeviceProfileUI::NameEdit() const { return Find(name_edit_, kNameEditName); }

ui::Control* CDeviceProfileUI::MenuLayout() const { return Find(menu_layout_, kMenuLayoutName); }

ui::Option* CDeviceProfileUI::OpTab(int n) const {
  if (n < 1 || n > static_cast<int>(kOpTabs.size())) return nullptr;
  return Find(tabs_[static_cast<size_t>(n - 1)], kOpTabs[static_cast<size_t>(n - 1)]);
}

void CDeviceProfileUI::SetMessageSink(MessageSink sink) {
  sink_ = std::move(sink);
  if (!sink_) return;
  for (const QString& text_id : std::exchange(kept_, {})) sink_(text_id);
}

void CDeviceProfileUI::Show(const QString& text_id) const {
  if (text_id.isEmpty()) return;
  if (sink_) {
    sink_(text_id);
  } else {
    platform::DebugPrintf("profile bar: %s", qPrintable(text_id));
    if (!kept_.contains(text_id)) kept_.append(text_id);
  }
}

void CDeviceProfileUI::ShowOutcome(const config::ProfileOutcome& outcome) const { Show(outcome.message); }

void CDeviceProfileUI::SetDeviceKind(device::DeviceKind kind) { list_.SetDeviceKind(kind); }

void CDeviceProfileUI::SetPaths(const QString& data_folder, const QString& template_path) {
  list_.SetPaths(data_folder, template_path);
}

void CDeviceProfileUI::AddRow(const QString& name) {
  if (ui::Combo* combo = ProfileCombo()) combo->Add({name, name, false, true, kRowHeight});
}

bool CDeviceProfileUI::InitProfiles() {
  const config::ProfileOutcome init = list_.InitProfiles();
  ShowOutcome(init);
  if (ui::Combo* combo = ProfileCombo()) combo->RemoveAll();
  for (const config::ProfileEntry& entry : list_.Entries()) AddRow(entry.name);
  bool ok = init.ok;
  if (init.position >= 0) ok = SelectProfile(init.position, false) && ok;
  ApplyTabVisibility(list_.DeviceKind());
  return ok;
}

void CDeviceProfileUI::ApplyTabVisibility(device::DeviceKind kind) {
  for (const TabVisibility& row : kTabVisibility) {
    if (row.kind != kind) continue;
    for (int n : row.hidden) {
      if (ui::Option* tab = OpTab(n)) tab->SetVisible(false);
    }
    for (int n : row.shown) {
      if (ui::Option* tab = OpTab(n)) tab->SetVisible(true);
    }
  }
}

void CDeviceProfileUI::SelectOpTab(int n) {
  for (int i = 1; i <= static_cast<int>(kOpTabs.size()); ++i) {
    if (ui::Option* tab = OpTab(i)) tab->Selected(i == n, false);
  }
}

bool CDeviceProfileUI::SelectProfile(int position, bool notify) {
  ui::Combo* combo = ProfileCombo();
  if (combo == nullptr || position < 0 || position >= combo->GetCount()) return false;
  combo->SelectItem(position, true, notify);
  SetNameEditText(combo->GetItemText(position));
  const config::ProfileOutcome selected = list_.SelectProfile(position);
  // The device forms its file path from the identifier: one that is no plain file name (a list
  // changed by hand) would make it read and write outside its data folder.
  if (config::ProfileList::IsPlainId(selected.id)) current_id_ = selected.id;
  ShowOutcome(selected);
  return selected.ok;
}

int CDeviceProfileUI::GetCurSel() const {
  const ui::Combo* combo = ProfileCombo();
  return combo == nullptr ? -1 : combo->GetCurSel();
}

QString CDeviceProfileUI::GetCurItemText() const {
  const ui::Combo* combo = ProfileCombo();
  return combo == nullptr ? QString() : combo->GetItemText(combo->GetCurSel());
}

QString CDeviceProfileUI::GetNameEditText() {
  const ui::Edit* edit = NameEdit();
  if (edit == nullptr) return QString();
  const QString text = edit->GetText();
  if (text.contains(QLatin1Char('&'))) {
    Show(QString::fromLatin1(kAmpersandText));
    return QString();
  }
  return text;
}

void CDeviceProfileUI::SetNameEditText(const QString& text) {
  if (ui::Edit* edit = NameEdit()) edit->SetText(text);
}

void CDeviceProfileUI::SetMenuVisible(bool visible) {
  if (ui::Control* menu = MenuLayout()) menu->SetVisible(visible);
}

bool CDeviceProfileUI::IsMenuVisible() const {
  const ui::Control* menu = MenuLayout();
  return menu != nullptr && menu->IsVisible();
}

bool CDeviceProfileUI::NewProfile() {
  const config::ProfileOutcome created = list_.NewProfile();
  ShowOutcome(created);
  if (created.ok) AddRow(created.name);
  return created.ok;
}

bool CDeviceProfileUI::CopyProfile() {
  const int position = GetCurSel();
  if (position < 0) return false;
  const config::ProfileOutcome copied = list_.CopyProfile(position);
  ShowOutcome(copied);
  if (copied.ok) AddRow(copied.name);
  return copied.ok;
}

bool CDeviceProfileUI::DeleteProfile() {
  ui::Combo* combo = ProfileCombo();
  const int position = GetCurSel();
  if (combo == nullptr || position < 0) return false;
  const config::ProfileOutcome deleted = list_.DeleteProfile(position);
  ShowOutcome(deleted);
  if (!deleted.ok) return false;
  combo->RemoveAt(position);
  combo->SelectItem(deleted.position, false, false);
  SetNameEditText(combo->GetItemText(deleted.position));
  return true;
}

bool CDeviceProfileUI::ResetProfile() {
  const int position = GetCurSel();
  if (position < 0) return false;
  const config::ProfileOutcome reset = list_.ResetProfile(position);
  ShowOutcome(reset);
  return reset.ok;
}

bool CDeviceProfileUI::ImportProfile(const QString& path) {
  const config::ProfileOutcome imported = list_.ImportProfile(path);
  ShowOutcome(imported);
  if (imported.ok) AddRow(imported.name);
  return imported.ok;
}

bool CDeviceProfileUI::ExportProfile(const QString& path) {
  const int position = GetCurSel();
  if (position < 0) return false;
  const config::ProfileOutcome exported = list_.ExportProfile(position, path);
  ShowOutcome(exported);
  return exported.ok;
}

int CDeviceProfileUI::RenameProfile(const QString& name) {
  ui::Combo* combo = ProfileCombo();
  if (name.contains(QLatin1Char('&'))) return config::kRenameAmpersand;
  if (combo == nullptr) return config::kRenameNameUsed;
  const int position = combo->GetCurSel();
  const config::RenameResultCode result = list_.RenameProfile(position, name);
  if (result != config::kRenameDone) return result;
  combo->SetItemText(position, name);
  combo->SetItemUserData(position, name);
  SetNameEditText(name);
  combo->NeedUpdate();
  return result;
}

}  // namespace zrv::controls
