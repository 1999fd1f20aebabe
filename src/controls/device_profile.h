#pragma once
// CDeviceProfileUI ("DeviceProfile", layout "XML/CustomControlXML/DeviceProfile.xml"): the profile
// bar of every device page, named "DeviceProfileItem". It shows the device's profile list
// (config::ProfileList) in "device_profile_combo", one row per profile in list order, the selected
// profile's name in "device_profile_name_edit", the profile tools folded into
// "profile_menu_layout", and the function tabs of the page ("deng_Op_tab" ... "Virtual7.1_Op_tab").
//
// The page builds it with SetDeviceKind, SetPaths, InitProfiles and SelectOpTab(1) and hands
// GetCurrentProfileId to its device; the main window's profile flows (app/profile_flows.h) call the
// other operations. The rows mirror the list file: every operation that adds or removes an entry
// adds or removes its row in the same step, and only once the files were written.
//
// Messages (the list is full, the last profile, a name with "&", a file that could not be written)
// go to the message sink as text ids. Without one they are written to the debug output and kept
// for the first sink, so that what the page build had to tell (a profile list that could not be
// written at the first start) still reaches the user.

#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

#include "config/profile_list.h"
#include "device/device_tables.h"
#include "ui/button.h"
#include "ui/combo.h"
#include "ui/containers.h"
#include "ui/edit.h"

namespace zrv::controls {

class CDeviceProfileUI : public ui::HorizontalLayout {
  Q_OBJECT
 public:
  static constexpr int kRowHeight = 30;
  // The function tabs, numbered 1 to 8 in this order (SelectOpTab).
  static constexpr std::array<const char*, 8> kOpTabs = {"deng_Op_tab",   "key_Op_tab",       "macro_Op_tab",
                                                         "system_Op_tab", "cursor_Op_tab",    "6533_voice_Op_tab",
                                                         "magic_Op_tab",  "Virtual7.1_Op_tab"};

  explicit CDeviceProfileUI(QWidget* parent = nullptr);
  QString GetClass() const override { return QStringLiteral("DeviceProfile"); }
  void DoInit() override;

  using MessageSink = std::function<void(const QString& text_id)>;
  // The sink gets the messages kept so far at once.
  void SetMessageSink(MessageSink sink);

  // ---- built by the page
  void SetDeviceKind(device::DeviceKind kind);
  device::DeviceKind GetDeviceKind() const { return list_.DeviceKind(); }
  void SetPaths(const QString& data_folder, const QString& template_path);
  // Loads the list (making "profile1" on a first start), fills the rows, selects the recorded
  // profile without notification and shows the tabs of the device kind. False when the list
  // could not be written (reported).
  bool InitProfiles();
  // Tab n (1-8) becomes selected, the others not; silent.
  void SelectOpTab(int n);
  // Shows and hides the tabs of a device kind (tabs the kind does not name keep the skin's state).
  void ApplyTabVisibility(device::DeviceKind kind);

  // ---- state
  QString GetCurrentProfileId() const { return current_id_; }
  // Selects row `position` (taking the focus; "itemselect" only with notify), shows its name and
  // records it as the selected profile; the current identifier becomes its identifier. False for
  // a position without row or when the list could not be written (reported; the identifier is
  // taken all the same: the profile is still the one to use now).
  bool SelectProfile(int position, bool notify);
  int GetCurSel() const;  // -1 without the drop-down list
  QString GetCurItemText() const;
  // The name field's text; a text holding "&" shows "message_text_5_3" and yields "".
  QString GetNameEditText();
  void SetNameEditText(const QString& text);
  void SetMenuVisible(bool visible);
  bool IsMenuVisible() const;

  // ---- operations (true when the files changed)
  // Appends a profile from the template ("message_text_30" at 50 rows); selection, name field and
  // current identifier stay.
  bool NewProfile();
  // Deletes the selected profile ("message_text_11" for the last one); the previous row (the
  // first when the first goes) becomes selected without notification. The caller switches the
  // device to it.
  bool DeleteProfile();
  bool CopyProfile();
  // The selected profile back to the template (a headset keeps its own equaliser curves).
  bool ResetProfile();
  bool ImportProfile(const QString& path);
  // Writes the selected profile to `path` ("message_text_30" at 50 rows).
  bool ExportProfile(const QString& path);
  // config::RenameResultCode: 1 done, 0 name used (or no drop-down list), 2 leading space, 3 "&",
  // 4 not written. Shows nothing; the rename flow tells the user.
  int RenameProfile(const QString& name);

  // ---- parts
  config::ProfileList& List() { return list_; }
  ui::Combo* ProfileCombo() const;
  ui::Edit* NameEdit() const;
  ui::Control* MenuLayout() const;
  ui::Option* OpTab(int n) const;  // 1-8

 private:
  template <class T>
  T* Find(QPointer<T>& cache, const char* name) const;
  void AddRow(const QString& name);
  void Show(const QString& text_id) const;
  void ShowOutcome(const config::ProfileOutcome& outcome) const;

  config::ProfileList list_;
  QString current_id_;
  MessageSink sink_;
  mutable QStringList kept_;  // told while there was no sink
  mutable QPointer<ui::Combo> combo_;
  mutable QPointer<ui::Edit> name_edit_;
  mutable QPointer<ui::Container> menu_layout_;
  mutable std::array<QPointer<ui::Option>, kOpTabs.size()> tabs_;
};

}  // namespace zrv::controls
