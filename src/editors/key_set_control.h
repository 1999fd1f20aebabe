#pragma once
// CKeySetControlUI ("KeySetControl", layout "XML/CustomControlXML/KeySetControl.xml"): the key
// assignment editor of a keyboard or mouse page, named "KeySetControlItem". It shows one key's
// assignment on its controls and builds the assignment the controls stand for; what an assignment
// means for the controls is config::ShowAssignment / BuildAssignment, this class only moves that
// view state to the controls and back.
//
// Controls (found by name inside the editor once, InitControls):
//   "keyset_layout"                 the editor; hidden while the shown assignment has no category
//   "keyset_function_combo"         category (item user data), "function_switch_tablayout" its pages
//   "key_butt_keydefalut", "key_butt_keysave", "key_butt_keycancel", "key_butt_prosave"
//   category 1 "keyset_mousekey_combo"; 2 "keyset_mouseswing_combo" + num/delay/speed edits;
//   3 "keyset_mousewheel_combo" + num/delay/speed edits; 4 "keyset_mousedpi_combo";
//   5 "keyset_mousefire_interval_edit", "keyset_mousefire_num_edit"; 6 "keyset_keyboard_text_edit"
//   and the modifier options "key_ComBox_check_" 0-4; 7 "keyset_media_combo"; 8
//   "keyset_system_combo"; 9 "keyset_macro_combo", "keyset_macro_over_combo",
//   "keyset_macro_cycle_layout", "keyset_macro_cycle_edit"; 10 "keyset_gunkey_combo"; 11
//   "keyset_combokey_combo"; the hidden label "text_test"; the notice "keyset_hook_notice".
//
// It is the model's KeySetView: the device shows the selected key through it.

#include <QPointer>
#include <QString>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "config/key_assignment.h"
#include "config/profile_records.h"
#include "device/device_tables.h"
#include "devices/model/key_set_view.h"
#include "ui/button.h"
#include "ui/combo.h"
#include "ui/containers.h"
#include "ui/edit.h"
#include "ui/label.h"

namespace zrv::editors {

class CKeySetControlUI : public ui::HorizontalLayout, public devices::KeySetView {
  Q_OBJECT
 public:
  static constexpr int kModifierOptions = 5;
  static constexpr int kMacroItemHeight = 30;

  explicit CKeySetControlUI(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("KeySetControl"); }
  void DoInit() override;

  // Finds every control of the editor (once the subtree exists).
  void InitControls();
  // Keyboard (1): the DPI and shoot categories are not offered.
  void SetDeviceKind(device::DeviceKind kind);
  device::DeviceKind GetDeviceKind() const { return kind_; }

  // The macro list, in macro order; after a fill or a removal no macro is selected.
  void FillMacroNames(const std::vector<std::string>& names) override;
  void AddMacroName(const QString& name);
  void RemoveMacroName(int macro);                       // nothing for -1
  void RenameMacroName(int macro, const QString& name);  // nothing for -1 or an empty name

  // devices::KeySetView.
  void SetEditorVisible(bool visible) override;
  // Stores both assignments and shows the current one.
  void ShowKey(const config::KeyHalf& current, const config::KeyHalf& def) override;
  void ShowDefault();
  void ShowCurrent();
  // The assignment the controls stand for; stored as the current one.
  config::KeyHalf BuildAssignment();
  const config::KeyHalf& Current() const { return current_; }
  const config::KeyHalf& Default() const { return default_; }

  // Option n selected alone (-1: none); the highest selected option, -1 when none.
  void SetModifierChoice(int n);
  int GetModifierChoice() const;
  // The translated caption of language key `caption` in the key edit (empty: no key).
  void SetKeyText(const QString& caption);
  // Bytes 2-4 of the current assignment.
  void SetCapturedKey(uint8_t kind, uint8_t first, uint8_t second);
  // Save, cancel and apply.
  void SetButtonsEnabled(bool enabled);

  // A key message while the key edit has the focus: the key and its modifier option are shown and
  // become the current assignment. False when no key-kind row has that scan code.
  bool CaptureKey(uint8_t scan, bool extended);
  // The function drop-down's choice: its page; for the key category the key text and the
  // modifier options are cleared.
  void ShowChosenCategory();
  // The playback-mode drop-down's choice: the repeat row only for "repeat".
  void ShowChosenMacroMode();
  // The line that says keys are captured only while the window is active.
  void ShowWindowOnlyNotice(bool visible);

  // The category of the selected function item (its user data); -1 when none.
  int SelectedCategory() const;

 private:
  void ShowView(const config::KeyEditorView& view);
  config::KeyEditorView ReadView() const;
  void ShowKeyRow(int row);
  int MacroCount() const;
  static int ReadNumber(const ui::Edit* edit);
  static void SetNumber(ui::Edit* edit, int value);
  static void Select(ui::Combo* combo, int index);
  static int Selected(const ui::Combo* combo);

  device::DeviceKind kind_ = device::DeviceKind::kNone;
  config::KeyHalf current_;
  config::KeyHalf default_;
  int key_row_ = -1;  // the kKeyTable row shown in the key edit

  QPointer<ui::Container> layout_;
  QPointer<ui::Combo> function_combo_;
  QPointer<ui::TabLayout> pages_;
  QPointer<ui::Button> save_button_;
  QPointer<ui::Button> cancel_button_;
  QPointer<ui::Button> apply_button_;
  QPointer<ui::Combo> mouse_key_combo_;
  QPointer<ui::Combo> swing_combo_;
  QPointer<ui::Edit> swing_count_;
  QPointer<ui::Edit> swing_delay_;
  QPointer<ui::Edit> swing_speed_;
  QPointer<ui::Combo> wheel_combo_;
  QPointer<ui::Edit> wheel_count_;
  QPointer<ui::Edit> wheel_delay_;
  QPointer<ui::Edit> wheel_speed_;
  QPointer<ui::Combo> dpi_combo_;
  QPointer<ui::Edit> fire_interval_;
  QPointer<ui::Edit> fire_count_;
  QPointer<ui::Edit> key_edit_;
  std::array<QPointer<ui::Option>, kModifierOptions> modifiers_;
  QPointer<ui::Combo> media_combo_;
  QPointer<ui::Combo> system_combo_;
  QPointer<ui::Combo> macro_combo_;
  QPointer<ui::Combo> macro_mode_combo_;
  QPointer<ui::Container> macro_repeat_layout_;
  QPointer<ui::Edit> macro_repeat_;
  QPointer<ui::Combo> gun_combo_;
  QPointer<ui::Combo> shortcut_combo_;
  QPointer<ui::Label> notice_;
};

}  // namespace zrv::editors
