#include "editors/key_set_control.h"

#include <algorithm>

#include "config/key_table.h"
#include "ui/lookup.h"

namespace zrv::editors {
namespace {

// Items of the direction drop-downs and the macro playback modes.
constexpr int kDirectionItems = 2;

QString ModifierName(int n) { return QStringLiteral("key_ComBox_check_%1").arg(n); }

}  // namespace

CKeySetControlUI::CKeySetControlUI(QWidget* parent) : ui::HorizontalLayout(parent) {}

void CKeySetControlUI::DoInit() {
  ui::HorizontalLayout::DoInit();
  InitControls();
}

void CKeySetControlUI::InitControls() {
  const auto find = [this]<class T>(QPointer<T>& slot, const char* name) {
    slot = ui::FindSubControlByName<T>(this, QLatin1String(name));
  };
  find(layout_, "keyset_layout");
  find(function_combo_, "keyset_function_combo");
  find(pages_, "function_switch_tablayout");
  find(save_button_, "key_butt_keysave");
  find(cancel_button_, "key_butt_keycancel");
  find(apply_button_, "key_butt_prosave");
  find(mouse_key_combo_, "keyset_mousekey_combo");
  find(swing_combo_, "keyset_mouseswing_combo");
  find(swing_count_, "keyset_mouseswing_num_edit");
  find(swing_delay_, "keyset_mouseswing_delay_edit");
  find(swing_speed_, "keyset_mouseswing_speed_edit");
  find(wheel_combo_, "keyset_mousewheel_combo");
  find(wheel_count_, "keyset_mousewheel_num_edit");
  find(wheel_delay_, "keyset_mousewheel_delay_edit");
  find(wheel_speed_, "keyset_mousewheel_speed_edit");
  find(dpi_combo_, "keyset_mousedpi_combo");
  find(fire_interval_, "keyset_mousefire_interval_edit");
  find(fire_count_, "keyset_mousefire_num_edit");
  find(key_edit_, "keyset_keyboard_text_edit");
  for (int n = 0; n < kModifierOptions; ++n) {
    modifiers_[static_cast<size_t>(n)] = ui::FindSubControlByName<ui::Option>(this, ModifierName(n));
  }
  find(media_combo_, "keyset_media_combo");
  find(system_combo_, "keyset_system_combo");
  find(macro_combo_, "keyset_macro_combo");
  find(macro_mode_combo_, "keyset_macro_over_combo");
  find(macro_repeat_layout_, "keyset_macro_cycle_layout");
  find(macro_repeat_, "keyset_macro_cycle_edit");
  find(gun_combo_, "keyset_gunkey_combo");
  find(shortcut_combo_, "keyset_combokey_combo");
  find(notice_, "keyset_hook_notice");
}

void CKeySetControlUI::SetDeviceKind(device::DeviceKind kind) {
  kind_ = kind;
  if (function_combo_ == nullptr) return;
  const bool keyboard = kind == device::DeviceKind::kKeyboard;
  for (int i = 0; i < function_combo_->GetCount(); ++i) {
    const int category = function_combo_->GetItemUserData(i).toInt();
    if (category == config::kCategoryDpi || category == config::kCategoryShoot) {
      function_combo_->SetItemVisible(i, !keyboard);
    }
  }
}

// ---- macro names

void CKeySetControlUI::FillMacroNames(const std::vector<std::string>& names) {
  if (macro_combo_ == nullptr) return;
  macro_combo_->RemoveAll();
  for (const std::string& name : names) AddMacroName(QString::fromStdString(name));
  macro_combo_->SelectItem(-1);
}

void CKeySetControlUI::AddMacroName(const QString& name) {
  if (macro_combo_ == nullptr) return;
  ui::ComboItem item;
  item.text = name;
  item.height = kMacroItemHeight;
  macro_combo_->Add(item);
}

void CKeySetControlUI::RemoveMacroName(int macro) {
  if (macro_combo_ != nullptr && macro >= 0) macro_combo_->RemoveAt(macro);
}

void CKeySetControlUI::RenameMacroName(int macro, const QString& name) {
  if (macro_combo_ == nullptr || macro < 0 || name.isEmpty() || macro >= macro_combo_->GetCount()) return;
  macro_combo_->SetItemText(macro, name);
}

int CKeySetControlUI::MacroCount() const { return macro_combo_ != nullptr ? macro_combo_->GetCount() : 0; }

// ---- showing

void CKeySetControlUI::SetEditorVisible(bool visible) {
  if (layout_ != nullptr) layout_->SetVisible(visible);
}

void CKeySetControlUI::ShowKey(const config::KeyHalf& current, const config::KeyHalf& def) {
  current_ = current;
  default_ = def;
  ShowCurrent();
}

void CKeySetControlUI::ShowDefault() {
  config::KeyHalf shown = default_;
  ShowView(config::ShowAssignment(shown, default_, MacroCount()));
}

void CKeySetControlUI::ShowCurrent() { ShowView(config::ShowAssignment(current_, default_, MacroCount())); }

void CKeySetControlUI::ShowView(const config::KeyEditorView& view) {
  const int category = view.category;
  // Every category's controls show what the view holds for them; only the chosen page is seen.
  const int row = view.row;
  Select(mouse_key_combo_, category == config::kCategoryMouseButton ? row : -1);
  Select(dpi_combo_, category == config::kCategoryDpi ? row : -1);
  Select(media_combo_, category == config::kCategoryMedia ? row : -1);
  Select(system_combo_, category == config::kCategorySystem ? row : -1);
  Select(shortcut_combo_, category == config::kCategoryShortcut ? row : -1);
  if (category == config::kCategorySwing) {
    Select(swing_combo_, view.direction);
    SetNumber(swing_count_, view.count);
    SetNumber(swing_delay_, view.delay);
    SetNumber(swing_speed_, view.speed);
  }
  if (category == config::kCategoryWheel) {
    Select(wheel_combo_, view.direction);
    SetNumber(wheel_count_, view.count);
    SetNumber(wheel_delay_, view.delay);
    SetNumber(wheel_speed_, view.speed);
  }
  if (category == config::kCategoryRapidFire) {
    SetNumber(fire_interval_, view.interval);
    SetNumber(fire_count_, view.clicks);
  }
  if (category == config::kCategoryKey) {
    SetModifierChoice(view.modifier_option);
    ShowKeyRow(view.key_row);
  }
  if (category == config::kCategoryMacro) {
    Select(macro_combo_, view.macro);
    Select(macro_mode_combo_, view.macro_mode);
    SetNumber(macro_repeat_, view.repeat);
    if (macro_repeat_layout_ != nullptr) macro_repeat_layout_->SetVisible(view.repeat_visible);
  }
  if (category == config::kCategoryShoot) Select(gun_combo_, view.gun);

  const int item =
      function_combo_ != nullptr && category >= 0 ? function_combo_->FindItemByUserData(QString::number(category)) : -1;
  if (item < 0) {
    SetEditorVisible(false);
    return;
  }
  SetEditorVisible(true);
  function_combo_->SelectItem(item);
  if (pages_ != nullptr) pages_->SelectItem(category);
}

void CKeySetControlUI::ShowKeyRow(int row) {
  key_row_ = row >= 0 && static_cast<size_t>(row) < config::kKeyTableRows ? row : -1;
  SetKeyText(key_row_ >= 0 ? QString::fromLatin1(config::kKeyTable[static_cast<size_t>(key_row_)].caption) : QString());
}

void CKeySetControlUI::ShowChosenCategory() {
  const int category = SelectedCategory();
  if (pages_ != nullptr && category >= 0) pages_->SelectItem(category);
  if (category == config::kCategoryKey) {
    ShowKeyRow(-1);
    SetModifierChoice(-1);
  }
}

void CKeySetControlUI::ShowChosenMacroMode() {
  if (macro_repeat_layout_ != nullptr) {
    macro_repeat_layout_->SetVisible(Selected(macro_mode_combo_) == config::kMacroModeRepeat);
  }
}

void CKeySetControlUI::ShowWindowOnlyNotice(bool visible) {
  if (notice_ != nullptr) notice_->SetVisible(visible);
}

// ---- building

int CKeySetControlUI::SelectedCategory() const {
  const int item = Selected(function_combo_);
  if (item < 0) return config::kCategoryNone;
  bool ok = false;
  const int category = function_combo_->GetItemUserData(item).toInt(&ok);
  return ok ? category : config::kCategoryNone;
}

config::KeyEditorView CKeySetControlUI::ReadView() const {
  config::KeyEditorView view;
  view.category = SelectedCategory();
  switch (view.category) {
    case config::kCategoryMouseButton: view.row = Selected(mouse_key_combo_); break;
    case config::kCategoryDpi: view.row = Selected(dpi_combo_); break;
    case config::kCategoryMedia: view.row = Selected(media_combo_); break;
    case config::kCategorySystem: view.row = Selected(system_combo_); break;
    case config::kCategoryShortcut: view.row = Selected(shortcut_combo_); break;
    case config::kCategorySwing:
      view.direction = std::min(Selected(swing_combo_), kDirectionItems - 1);
      view.count = ReadNumber(swing_count_);
      view.delay = ReadNumber(swing_delay_);
      view.speed = ReadNumber(swing_speed_);
      break;
    case config::kCategoryWheel:
      view.direction = std::min(Selected(wheel_combo_), kDirectionItems - 1);
      view.count = ReadNumber(wheel_count_);
      view.delay = ReadNumber(wheel_delay_);
      view.speed = ReadNumber(wheel_speed_);
      break;
    case config::kCategoryRapidFire:
      view.interval = ReadNumber(fire_interval_);
      view.clicks = ReadNumber(fire_count_);
      break;
    case config::kCategoryKey:
      view.modifier_option = GetModifierChoice();
      view.key_row = key_edit_ != nullptr && key_edit_->GetText().isEmpty() ? -1 : key_row_;
      break;
    case config::kCategoryMacro:
      view.macro = Selected(macro_combo_);
      view.macro_mode = Selected(macro_mode_combo_);
      view.repeat = ReadNumber(macro_repeat_);
      view.repeat_visible = macro_repeat_layout_ != nullptr && macro_repeat_layout_->IsVisible();
      break;
    case config::kCategoryShoot: view.gun = Selected(gun_combo_); break;
    default: break;
  }
  return view;
}

config::KeyHalf CKeySetControlUI::BuildAssignment() {
  current_ = config::BuildAssignment(ReadView(), current_, default_, MacroCount());
  return current_;
}

// ---- the key category

void CKeySetControlUI::SetModifierChoice(int n) {
  for (const QPointer<ui::Option>& option : modifiers_) {
    if (option != nullptr) option->Selected(false);
  }
  if (n >= 0 && n < kModifierOptions && modifiers_[static_cast<size_t>(n)] != nullptr) {
    modifiers_[static_cast<size_t>(n)]->Selected(true);
  }
}

int CKeySetControlUI::GetModifierChoice() const {
  for (int n = kModifierOptions - 1; n >= 0; --n) {
    const QPointer<ui::Option>& option = modifiers_[static_cast<size_t>(n)];
    if (option != nullptr && option->IsSelected()) return n;
  }
  return -1;
}

void CKeySetControlUI::SetKeyText(const QString& caption) {
  if (key_edit_ == nullptr) return;
  if (caption.isEmpty()) {
    key_edit_->SetResourceText(false);
    key_edit_->SetText(QString());
  } else {
    // As a text id, so that a language change translates it again.
    key_edit_->SetTextId(caption);
  }
}

void CKeySetControlUI::SetCapturedKey(uint8_t kind, uint8_t first, uint8_t second) {
  current_.type = kind;
  current_.value = first;
  current_.extra = second;
}

bool CKeySetControlUI::CaptureKey(uint8_t scan, bool extended) {
  config::KeyEditorView view = ReadView();
  view.key_row = key_row_;
  config::KeyHalf captured = current_;
  if (!config::CaptureKey(scan, extended, view, captured)) return false;
  SetModifierChoice(view.modifier_option);
  ShowKeyRow(view.key_row);
  SetCapturedKey(captured.type, captured.value, captured.extra);
  return true;
}

void CKeySetControlUI::SetButtonsEnabled(bool enabled) {
  for (ui::Control* button : {save_button_.data(), cancel_button_.data(), apply_button_.data()}) {
    if (button != nullptr) button->SetEnabled(enabled);
  }
}

// ---- control helpers

int CKeySetControlUI::ReadNumber(const ui::Edit* edit) {
  if (edit == nullptr) return 0;
  bool ok = false;
  const int value = edit->GetText().trimmed().toInt(&ok, 10);
  return ok ? value : 0;
}

void CKeySetControlUI::SetNumber(ui::Edit* edit, int value) {
  if (edit != nullptr) edit->SetText(QString::number(value));
}

void CKeySetControlUI::Select(ui::Combo* combo, int index) {
  if (combo == nullptr) return;
  combo->SelectItem(index >= 0 && index < combo->GetCount() ? index : -1);
}

int CKeySetControlUI::Selected(const ui::Combo* combo) { return combo != nullptr ? combo->GetCurSel() : -1; }

}  // namespace zrv::editors
