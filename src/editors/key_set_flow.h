#pragma once
// KeySetFlow: what the main window does with a keyboard or mouse page's key assignment editor.
// It connects the page's model to its CKeySetControlUI (devices::KeySetView) and routes the
// notifications of the editor's controls and of the key buttons (under the page as owner, so that
// they run only while the page's device is the current one):
//   "key_" N click (key page shown)  select key N for editing (mouse: the last left button is kept)
//   function / option drop-downs     show the category or the repeat row; *Save*
//   number edits losing the focus    *Save*
//   modifier options                 the option alone; *Save*
//   "key_butt_keysave" / "keydefalut" / "keycancel" / "prosave"   save / default / cancel / apply
//   "key_Op_tab" selected            the selected key marked again
// *Save* builds the assignment from the controls, stores it with the key's default in the model's
// key list and profile document, refreshes the key captions and makes the editor pending (save,
// cancel and apply enabled). Apply writes the macros, the key table and the profile file.
//
// Key capture ("setfocus" / "killfocus" of the key edit and the input hook) belongs to the main
// window; it hands captured key messages to OnKeyMessage of the current page's flow.

#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <set>

#include "devices/device_page.h"
#include "editors/key_set_control.h"
#include "platform/input/input_records.h"
#include "ui/route_registry.h"

namespace zrv::editors {

class KeySetFlow {
 public:
  // Shows a message box: a text id, or a finished text when `is_id` is false.
  using MessageBox = std::function<void(const QString& text, bool is_id)>;

  static constexpr const char* kEditorName = "KeySetControlItem";
  static constexpr int kKeyFunctionMode = 2;

  // The flow of `page` when its layout has a CKeySetControlUI named "KeySetControlItem"; null
  // otherwise. The editor gets the device kind and the macro names, and becomes the model's
  // KeySetView.
  static std::unique_ptr<KeySetFlow> Bind(devices::CHalveronUSBDevicePage& page, MessageBox message_box);
  KeySetFlow(devices::CHalveronUSBDevicePage& page, CKeySetControlUI& editor, MessageBox message_box);
  // The model no longer shows keys through the editor.
  ~KeySetFlow();
  KeySetFlow(const KeySetFlow&) = delete;
  KeySetFlow& operator=(const KeySetFlow&) = delete;

  void AddRoutes(ui::RouteRegistry& routes);

  // The actions of the routes.
  void ClickKey(int key);
  void Save();
  void ShowDefault();
  void Cancel();
  void Apply();
  void ChooseCategory();
  void ChooseMacroMode();
  void ChooseModifier(int option);
  void ShowKeyPage();
  // A captured key message: presses only, a held key's repeats dropped. Keys the key table does
  // not know are ignored.
  void OnKeyMessage(const platform::input::KeyRecord& key);
  // Key capture ends (focus left the key edit): held keys are forgotten.
  void EndCapture() { held_keys_.clear(); }

  bool Pending() const { return pending_; }
  void SetPending(bool pending);
  // The key marked on the picture (-1: none).
  int MarkedKey() const { return marked_key_; }

  devices::CHalveronUSBDevicePage* Page() const { return page_; }
  CKeySetControlUI* Editor() const { return editor_; }

 private:
  void MarkKey(int key);
  devices::CHalveronUSBDevice* Model() const { return page_ != nullptr ? &page_->Model() : nullptr; }

  QPointer<devices::CHalveronUSBDevicePage> page_;
  QPointer<CKeySetControlUI> editor_;
  MessageBox message_box_;
  bool pending_ = false;
  int marked_key_ = -1;
  std::set<uint32_t> held_keys_;  // Linux key codes pressed and not yet released
};

}  // namespace zrv::editors
