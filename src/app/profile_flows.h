#pragma once
// The main window's profile flows: what happens when the user works the profile bar of the page
// that is shown (CDeviceProfileUI). The main window routes the bar's clicks here (OnClick) and the
// "itemselect" of "device_profile_combo" (OnProfileSelected); everything starts from the current
// target, and nothing happens without one.
//
// Selecting a profile does not switch at once: timer 1055 (400 ms, one-shot; window_timers.h)
// starts again with every selection, so a quick series of selections switches the device once, to
// the last one.
//
// A flow takes its bar and device when it starts and keeps them to its end: while a message box
// or a file dialog is open, devices may come and go and another page be shown, and the flow still
// acts on the page it started on, or, when that page's device left meanwhile, ends without
// writing anything.
//
// Confirmations, messages and file dialogs go through a ProfileAsker, so that tests (and a future
// front end) answer them; the real one shows CMsgWnd over the main window and the system's file
// dialogs (which tests may answer through ui::SetFileDialogHook).

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

class QWidget;

namespace zrv::controls {
class CDeviceProfileUI;
}

namespace zrv::app {

class ProfileDevice;

class ProfileAsker {
 public:
  enum Buttons { kConfirmOnly = 0, kConfirmAndCancel = 1 };
  virtual ~ProfileAsker() = default;
  // A message box; 1 when the user confirmed. `text` is a text id when `text_is_id`.
  virtual int MessageBox(const QString& text, bool text_is_id, int buttons) = 0;
  // File dialogs; an empty path when cancelled. The defaults are ui::OpenFileDialog and
  // ui::SaveFileDialog over the parent.
  virtual QString OpenFile(const QString& filter);
  virtual QString SaveFile(const QString& filter);

 protected:
  virtual QWidget* DialogParent() const { return nullptr; }
};

// The message box of the program over `parent`, at the DPI that `dpi` reports when asked.
class MsgWndAsker : public ProfileAsker {
 public:
  MsgWndAsker(QWidget* parent, std::function<int()> dpi) : parent_(parent), dpi_(std::move(dpi)) {}
  int MessageBox(const QString& text, bool text_is_id, int buttons) override;

 protected:
  QWidget* DialogParent() const override { return parent_; }

 private:
  QWidget* parent_;
  std::function<int()> dpi_;
};

class ProfileFlows : public QObject {
  Q_OBJECT
 public:
  // Open and save dialogs of profiles: the filter text and its pattern.
  static constexpr const char* kFileFilter = "Profile Files(*.json)|*.json;||";

  // The profile bar and the device of the page that is shown; either may be null. The device is
  // the flow's own for as long as it runs: a provider hands out a device bound to its page, never
  // one that it points at another page later.
  struct Target {
    controls::CDeviceProfileUI* bar = nullptr;
    std::shared_ptr<ProfileDevice> device;
  };
  using TargetProvider = std::function<Target()>;

  // The device of the page that holds `bar` (null when none), for a selection whose page is no
  // longer shown when the switch runs. The default finds the device page around the bar.
  using BarDeviceProvider = std::function<std::shared_ptr<ProfileDevice>(controls::CDeviceProfileUI* bar)>;

  ProfileFlows(ProfileAsker& asker, TargetProvider current, QObject* parent = nullptr);
  ~ProfileFlows() override;
  void SetBarDeviceProvider(BarDeviceProvider provider) { bar_device_ = std::move(provider); }

  // The screen size measured at start-up, passed to WriteSettings.
  void SetScreenSize(const QSize& size) { screen_ = size; }

  // A bar as its page has built it. What the bar had to tell before any flow ran (a profile list
  // that could not be written at the first start) is shown once the event loop runs, each text
  // once however many bars tell it; so is what it tells later outside a flow.
  void AdoptBar(controls::CDeviceProfileUI* bar);

  // A click on one of the profile bar's buttons; false when the name is none of them.
  // "profile_fun_spread_btn" is compared with case, the others without.
  bool OnClick(const QString& control_name);
  // "itemselect" of "device_profile_combo": (re)starts timer 1055. A selection still pending on
  // another page's bar (the user changed pages within the 400 ms) is switched at once.
  void OnProfileSelected();
  // A window that keeps timer 1055 itself: `start` (re)starts it in place of the flows' own timer,
  // and the window calls SwitchProfile when it fires. Null: the flows' own timer again.
  void SetSwitchTimerStarter(std::function<void()> start) { start_switch_timer_ = std::move(start); }
  bool SwitchPending() const { return switch_timer_.isActive(); }
  int SwitchRemainingMs() const { return switch_timer_.remainingTime(); }

  // ---- the flows
  void AddProfile();     // confirm "message_text_27", then NewProfile
  void DeleteProfile();  // confirm "message_text_29", then DeleteProfile and the switch (timer)
  void CopyProfile();    // confirm "message_text_26", then CopyProfile
  void ImportProfile();  // open dialog; a profile file is imported, anything else ignored
  void ExportProfile();  // save dialog, then ExportProfile
  void ResetProfile();   // confirm "message_text_22", then the reset of the device
  void RenameProfile();  // the name field's text becomes the selected profile's name
  void ToggleMenu();     // folds the profile tools in or out
  // What timer 1055 does: the bar's selected profile becomes the device's and is written to it.
  // The bar is the one whose selection started the timer, also when another page is shown by now;
  // without a pending selection, the shown page's bar.
  void SwitchProfile();

 private:
  // A flow's bar and device as they were when it started.
  struct Bound {
    QPointer<controls::CDeviceProfileUI> bar;
    std::shared_ptr<ProfileDevice> device;
    QString presence;
    // The bar is there, and so is the device that was there when the flow started.
    bool Here() const;
  };

  // The current target with the bar's messages going to the asker; bar null without a device.
  Target Current();
  Bound Bind();
  // Starts timer 1055 for a selection on `bar`.
  void ScheduleSwitch(controls::CDeviceProfileUI* bar);
  // Shows `text_id` once the event loop runs, unless it waits to be shown already.
  void ShowLater(const QString& text_id);
  bool Confirm(const char* text_id);
  void Show(const QString& text_id);
  // WriteMacros and its messages: -1 "message_text_7", any other non-zero n "message_text_16"
  // with n.
  void WriteMacrosShowingResult(ProfileDevice& device);
  void WriteSettings(ProfileDevice& device);
  void SwitchTarget(const Target& target);
  // The bar whose selection waits for the timer, with its device; empty when none waits.
  Target PendingTarget();

  ProfileAsker& asker_;
  TargetProvider current_;
  QTimer switch_timer_;
  std::function<void()> start_switch_timer_;
  QPointer<controls::CDeviceProfileUI> switch_bar_;  // whose selection waits for the timer
  // A switch done before the window's timer fired: that timer's call finds nothing left to do.
  bool window_timer_spent_ = false;
  BarDeviceProvider bar_device_;
  QStringList later_;  // texts waiting for ShowLater's call
  QSize screen_;
};

// The text of "message_text_16" with `count` in place of its "%d". Only that one placeholder is
// replaced: the text comes from a language file and is never used as a format of its own.
QString MacrosTooLargeText(int count);

}  // namespace zrv::app
