#include "editors/key_set_flow.h"

#include "controls/device_key_button.h"
#include "ui/language.h"
#include "ui/lookup.h"
#include "ui/notify.h"

namespace zrv::editors {
namespace {

constexpr const char* kMarkImageAttribute = "keymarkimage";

bool IsPress(platform::input::KeyMessage message) {
  return message == platform::input::KeyMessage::kKeyDown || message == platform::input::KeyMessage::kSystemKeyDown;
}

}  // namespace

std::unique_ptr<KeySetFlow> KeySetFlow::Bind(devices::CHalveronUSBDevicePage& page, MessageBox message_box) {
  auto* editor = ui::FindSubControlByName<CKeySetControlUI>(&page, QLatin1String(kEditorName));
  if (editor == nullptr) return nullptr;
  return std::make_unique<KeySetFlow>(page, *editor, std::move(message_box));
}

KeySetFlow::KeySetFlow(devices::CHalveronUSBDevicePage& page, CKeySetControlUI& editor, MessageBox message_box)
    : page_(&page), editor_(&editor), message_box_(std::move(message_box)) {
  editor.SetDeviceKind(page.Model().Kind());
  page.Model().SetKeySetView(&editor);
  page.Model().FillEditorMacroNames();
  // No key chosen yet: nothing to edit, nothing to save.
  editor.SetEditorVisible(false);
  editor.SetButtonsEnabled(false);
}

KeySetFlow::~KeySetFlow() {
  if (page_ != nullptr) page_->Model().SetKeySetView(nullptr);
}

void KeySetFlow::AddRoutes(ui::RouteRegistry& routes) {
  const ui::RouteRegistry::Owner owner = static_cast<devices::CHalveronUSBDevicePage*>(page_.data());
  using ui::RouteHit;
  routes.AddPrefix(owner, ui::notify::kClick, "key_", [this](const RouteHit& hit) {
    // "key_butt_..." share the prefix: only key buttons of the picture select a key.
    if (dynamic_cast<controls::CDeviceKeyButtonUI*>(hit.msg.sender) != nullptr) ClickKey(hit.number);
  });
  routes.AddName(owner, ui::notify::kItemSelect, "keyset_function_combo",
                 [this](const RouteHit&) { ChooseCategory(); });
  routes.AddName(owner, ui::notify::kItemSelect, "keyset_macro_over_combo",
                 [this](const RouteHit&) { ChooseMacroMode(); });
  for (const char* combo : {"keyset_mousekey_combo", "keyset_mouseswing_combo", "keyset_mousewheel_combo",
                            "keyset_mousedpi_combo", "keyset_media_combo", "keyset_system_combo", "keyset_macro_combo",
                            "keyset_gunkey_combo", "keyset_combokey_combo"}) {
    routes.AddName(owner, ui::notify::kItemSelect, combo, [this](const RouteHit&) { Save(); });
  }
  for (const char* edit : {"keyset_mouseswing_num_edit", "keyset_mouseswing_delay_edit", "keyset_mouseswing_speed_edit",
                           "keyset_mousewheel_num_edit", "keyset_mousewheel_delay_edit", "keyset_mousewheel_speed_edit",
                           "keyset_mousefire_interval_edit", "keyset_mousefire_num_edit", "keyset_macro_cycle_edit"}) {
    routes.AddName(owner, ui::notify::kKillFocus, edit, [this](const RouteHit&) { Save(); });
  }
  routes.AddPrefix(owner, ui::notify::kSelectChanged, "key_ComBox_check_",
                   [this](const RouteHit& hit) { ChooseModifier(hit.number); });
  routes.AddName(owner, ui::notify::kClick, "key_butt_keysave", [this](const RouteHit&) { Save(); });
  routes.AddName(owner, ui::notify::kClick, "key_butt_keydefalut", [this](const RouteHit&) { ShowDefault(); });
  routes.AddName(owner, ui::notify::kClick, "key_butt_keycancel", [this](const RouteHit&) { Cancel(); });
  routes.AddName(owner, ui::notify::kClick, "key_butt_prosave", [this](const RouteHit&) { Apply(); });
  routes.AddName(owner, ui::notify::kSelectChanged, "key_Op_tab", [this](const RouteHit& hit) {
    if (hit.msg.wParam != 0) ShowKeyPage();
  });
}

// ---- choosing a key

void KeySetFlow::ClickKey(int key) {
  devices::CHalveronUSBDevice* model = Model();
  if (model == nullptr || editor_ == nullptr || model->GetFunctionMode() != kKeyFunctionMode) return;
  if (!model->ProfileReadable()) return;
  if (device::IsMouse(model->Kind()) && model->HoldsLastLeftButton(key)) {
    if (message_box_) message_box_(QStringLiteral("message_text_6"), true);
    return;
  }
  model->FillEditorMacroNames();
  model->SetSelectedKey(key);
  MarkKey(key);
}

void KeySetFlow::MarkKey(int key) {
  if (page_ == nullptr) return;
  const QString mark = editor_ != nullptr ? editor_->GetCustomAttribute(QLatin1String(kMarkImageAttribute)) : QString();
  if (controls::CDeviceKeyButtonUI* previous = page_->KeyButton(marked_key_)) previous->SetForeImage(QString());
  if (controls::CDeviceKeyButtonUI* button = page_->KeyButton(key)) button->SetForeImage(mark);
  marked_key_ = key;
}

void KeySetFlow::ShowKeyPage() {
  devices::CHalveronUSBDevice* model = Model();
  if (model == nullptr || model->Kind() != device::DeviceKind::kKeyboard || marked_key_ < 0) return;
  MarkKey(marked_key_);
}

// ---- editing

void KeySetFlow::Save() {
  devices::CHalveronUSBDevice* model = Model();
  if (model == nullptr || editor_ == nullptr) return;
  const int key = model->GetSelectedKey();
  config::KeyRecord entry;
  if (!model->GetKeyEntry(key, entry)) return;
  entry.assignment = editor_->BuildAssignment();
  entry.assignment.key = entry.default_assignment.key;
  model->StoreKeyEntry(key, entry);
  model->RefreshKeyCaptions();
  SetPending(true);
}

void KeySetFlow::ShowDefault() {
  if (editor_ == nullptr) return;
  editor_->ShowDefault();
  SetPending(true);
}

void KeySetFlow::Cancel() {
  if (editor_ == nullptr) return;
  editor_->ShowCurrent();
  SetPending(false);
}

void KeySetFlow::ChooseCategory() {
  if (editor_ == nullptr) return;
  editor_->ShowChosenCategory();
  Save();
}

void KeySetFlow::ChooseMacroMode() {
  if (editor_ == nullptr) return;
  editor_->ShowChosenMacroMode();
  Save();
}

void KeySetFlow::ChooseModifier(int option) {
  if (editor_ == nullptr) return;
  editor_->SetModifierChoice(option);
  Save();
}

void KeySetFlow::OnKeyMessage(const platform::input::KeyRecord& key) {
  if (!IsPress(key.message)) {
    held_keys_.erase(key.linux_key);
    return;
  }
  if (!held_keys_.insert(key.linux_key).second) return;  // auto-repeat of a held key
  if (editor_ == nullptr || key.scan_code > 0xFF) return;
  if (!editor_->CaptureKey(static_cast<uint8_t>(key.scan_code), key.extended)) return;
  Save();
}

void KeySetFlow::SetPending(bool pending) {
  pending_ = pending;
  if (editor_ != nullptr) editor_->SetButtonsEnabled(pending);
}

// ---- apply

void KeySetFlow::Apply() {
  devices::CHalveronUSBDevice* model = Model();
  if (model == nullptr) return;
  const devices::CHalveronUSBDevice::ApplyResult result = model->ApplyKeyAssignments();
  if (result.macros < 0) {
    if (message_box_) message_box_(QStringLiteral("message_text_7"), true);
    return;
  }
  if (result.macros > 0) {
    QString text = ui::TextById(QStringLiteral("message_text_16"));
    text.replace(QLatin1String("%d"), QString::number(result.macros));
    if (message_box_) message_box_(text, false);
    // The key falls back to its default: a macro that is not on the device cannot be assigned.
    if (editor_ != nullptr) editor_->ShowDefault();
    Save();
    return;
  }
  if (!result.applied) {
    // The keyboard refused the key table: the changes stay pending for another try.
    if (message_box_) message_box_(QStringLiteral("message_text_7"), true);
    return;
  }
  SetPending(false);
}

}  // namespace zrv::editors
