#pragma once
// The system settings of the keyboard page: polling rate, scan delay, the Win-key lock, W and
// 6-key flags, key repeat rate and repeat delay.
//
// Controls (found by name inside the page):
//   "polling_rate_option_" 0-3    options, one group   "PollingRate"
//   "delay_rate_option_" 0-3      options, one group   "ScanDelay"
//   "winlockflag_option"          toggle               "WinFlag"
//   "wflag_option"                toggle               "WFlag"
//   "6flag_option"                toggle               "Key6Flag"
//   "repeat_rate_slider"          slider               "Repeat"
//   "repeat_delay_check_" 0-3     options, one group   "RepeatDelay"
//   "repeat_delay_time_label1"    label: "Repeat_Delay_Time" text + 250, 500, 750 or 1000 + "ms"
//   "reset_repeat_btn"            button: repeat rate and delay back to the template's values
// A value outside 0-3 selects option 0.
//
// A user's change is stored into the profile and saved first; then the settings record goes to
// the keyboard. Repeat rate and delay are not part of the record: they are stored only.

#include <QString>

#include "config/profile_records.h"
#include "ui/control.h"
#include "ui/notify.h"
#include "ui/route_registry.h"

namespace zrv::devices {

class CHalveronKeyboardDevice;

class KeyboardSystemBindings {
 public:
  static constexpr int kOptionCount = 4;
  static constexpr int kRepeatDelayStepMs = 250;

  KeyboardSystemBindings(ui::Control* page, CHalveronKeyboardDevice& model);

  // Puts the profile's values on the controls, without notifications.
  void Show();

  // Routes a notification of one of the controls above: "selectchanged" of the options (an option
  // of a group only as it becomes selected), "valuechanged" of the slider, "click" of the reset
  // button. False for any other.
  bool OnNotify(const ui::Notify& msg);
  // Routes the notifications OnNotify handles to it, under `owner` (the page).
  void AddRoutes(ui::RouteRegistry& routes, ui::RouteRegistry::Owner owner);

  // The user's changes, one per control.
  void SelectPollingRate(int option);
  void SelectScanDelay(int option);
  void SelectRepeatDelay(int option);
  void SetWinLock(bool on);
  void SetWFlag(bool on);
  void SetKey6Flag(bool on);
  void SetRepeatRate(int value);
  void ResetRepeat();

  // "Repeat_Delay_Time" text + milliseconds of the option + "ms".
  static QString RepeatDelayText(int option);
  // 0-3 as it is; anything else 0.
  static int ValidOption(int option) { return option >= 0 && option < kOptionCount ? option : 0; }

 private:
  // Controls are looked up when used: the page's layout may be rebuilt (zoom, language).
  ui::Control* Find(const QString& name) const;
  // Selects option `selected` of the group "prefix" 0-3 and unselects the others, silently.
  void ShowGroup(const char* prefix, int selected) const;
  void ShowFlag(const char* name, bool on) const;
  void ShowRepeatDelayLabel(int option) const;
  // Stores one value into the profile and saves it, then, with `send`, writes the record.
  void Store(uint16_t config::KeyboardSystem::*field, int value, bool send);

  ui::Control* page_;
  CHalveronKeyboardDevice& model_;
};

}  // namespace zrv::devices
