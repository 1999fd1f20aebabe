#include "devices/keyboard_page_system.h"

#include <algorithm>

#include "devices/model/keyboard_device.h"
#include "ui/button.h"
#include "ui/language.h"
#include "ui/lookup.h"
#include "ui/slider.h"

namespace zrv::devices {
namespace {

constexpr const char* kPollingRatePrefix = "polling_rate_option_";
constexpr const char* kScanDelayPrefix = "delay_rate_option_";
constexpr const char* kRepeatDelayPrefix = "repeat_delay_check_";
constexpr const char* kWinLockName = "winlockflag_option";
constexpr const char* kWFlagName = "wflag_option";
constexpr const char* kKey6FlagName = "6flag_option";
constexpr const char* kRepeatRateName = "repeat_rate_slider";
constexpr const char* kRepeatDelayLabelName = "repeat_delay_time_label1";
constexpr const char* kResetRepeatName = "reset_repeat_btn";

bool Is(const QString& name, const char* wanted) {
  return name.compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0;
}

QString OptionName(const char* prefix, int n) { return QLatin1String(prefix) + QString::number(n); }

}  // namespace

KeyboardSystemBindings::KeyboardSystemBindings(ui::Control* page, CHalveronKeyboardDevice& model)
    : page_(page), model_(model) {}

ui::Control* KeyboardSystemBindings::Find(const QString& name) const {
  return page_ != nullptr ? ui::FindSubControlByName(page_, name) : nullptr;
}

// ---- showing the profile

void KeyboardSystemBindings::Show() {
  const config::KeyboardSystem system = model_.GetKeyboardSystem();
  ShowGroup(kPollingRatePrefix, system.polling_rate);
  ShowGroup(kScanDelayPrefix, system.scan_delay);
  ShowGroup(kRepeatDelayPrefix, system.repeat_delay);
  ShowRepeatDelayLabel(system.repeat_delay);
  ShowFlag(kWinLockName, system.win_flag != 0);
  ShowFlag(kWFlagName, system.w_flag != 0);
  ShowFlag(kKey6FlagName, system.key6_flag != 0);
  if (auto* slider = dynamic_cast<ui::Slider*>(Find(QLatin1String(kRepeatRateName)))) {
    slider->SetValue(system.repeat);
  }
}

void KeyboardSystemBindings::ShowGroup(const char* prefix, int selected) const {
  selected = ValidOption(selected);
  // The one to select last: selecting an option of a group unselects the others anyway, and
  // options without a group need the explicit unselect.
  for (int n = 0; n < kOptionCount; ++n) {
    if (n == selected) continue;
    if (auto* option = dynamic_cast<ui::Selectable*>(Find(OptionName(prefix, n)))) option->Selected(false);
  }
  if (auto* option = dynamic_cast<ui::Selectable*>(Find(OptionName(prefix, selected)))) option->Selected(true);
}

void KeyboardSystemBindings::ShowFlag(const char* name, bool on) const {
  if (auto* option = dynamic_cast<ui::Selectable*>(Find(QLatin1String(name)))) option->Selected(on);
}

QString KeyboardSystemBindings::RepeatDelayText(int option) {
  const int ms = ValidOption(option) * kRepeatDelayStepMs + kRepeatDelayStepMs;
  return ui::TextById(QStringLiteral("Repeat_Delay_Time")) + QString::number(ms) + QStringLiteral("ms");
}

void KeyboardSystemBindings::ShowRepeatDelayLabel(int option) const {
  if (ui::Control* label = Find(QLatin1String(kRepeatDelayLabelName))) label->SetText(RepeatDelayText(option));
}

// ---- the user's changes

void KeyboardSystemBindings::AddRoutes(ui::RouteRegistry& routes, ui::RouteRegistry::Owner owner) {
  const auto handle = [this](const ui::RouteHit& hit) { OnNotify(hit.msg); };
  routes.AddName(owner, ui::notify::kClick, kResetRepeatName, handle);
  for (const char* prefix : {kPollingRatePrefix, kScanDelayPrefix, kRepeatDelayPrefix}) {
    routes.AddPrefix(owner, ui::notify::kSelectChanged, prefix, handle);
  }
  for (const char* name : {kWinLockName, kWFlagName, kKey6FlagName}) {
    routes.AddName(owner, ui::notify::kSelectChanged, name, handle);
  }
  routes.AddName(owner, ui::notify::kValueChanged, kRepeatRateName, handle);
}

bool KeyboardSystemBindings::OnNotify(const ui::Notify& msg) {
  const QString name = msg.SenderName();
  if (msg.type == u"click") {
    if (!Is(name, kResetRepeatName)) return false;
    ResetRepeat();
    return true;
  }
  if (msg.type == u"valuechanged") {
    if (!Is(name, kRepeatRateName)) return false;
    auto* slider = dynamic_cast<ui::Slider*>(msg.sender);
    SetRepeatRate(slider != nullptr ? slider->GetValue() : static_cast<int>(msg.wParam));
    return true;
  }
  if (msg.type != u"selectchanged") return false;
  const bool selected = msg.wParam != 0;
  if (Is(name, kWinLockName)) {
    SetWinLock(selected);
    return true;
  }
  if (Is(name, kWFlagName)) {
    SetWFlag(selected);
    return true;
  }
  if (Is(name, kKey6FlagName)) {
    SetKey6Flag(selected);
    return true;
  }
  const ui::NameNumber split = ui::SplitNameNumber(name);
  void (KeyboardSystemBindings::*choose)(int) = nullptr;
  if (Is(split.prefix, kPollingRatePrefix)) choose = &KeyboardSystemBindings::SelectPollingRate;
  if (Is(split.prefix, kScanDelayPrefix)) choose = &KeyboardSystemBindings::SelectScanDelay;
  if (Is(split.prefix, kRepeatDelayPrefix)) choose = &KeyboardSystemBindings::SelectRepeatDelay;
  if (choose == nullptr) return false;
  // A group reports the option it leaves as well; only the one chosen counts.
  if (selected) (this->*choose)(split.number);
  return true;
}

void KeyboardSystemBindings::Store(uint16_t config::KeyboardSystem::*field, int value, bool send) {
  config::KeyboardSystem system = model_.GetKeyboardSystem();
  system.*field = static_cast<uint16_t>(std::clamp(value, 0, 0xFFFF));
  model_.ChangeKeyboardSystem(system, send);
}

void KeyboardSystemBindings::SelectPollingRate(int option) {
  option = ValidOption(option);
  ShowGroup(kPollingRatePrefix, option);
  Store(&config::KeyboardSystem::polling_rate, option, true);
}

void KeyboardSystemBindings::SelectScanDelay(int option) {
  option = ValidOption(option);
  ShowGroup(kScanDelayPrefix, option);
  Store(&config::KeyboardSystem::scan_delay, option, true);
}

void KeyboardSystemBindings::SelectRepeatDelay(int option) {
  option = ValidOption(option);
  ShowGroup(kRepeatDelayPrefix, option);
  ShowRepeatDelayLabel(option);
  Store(&config::KeyboardSystem::repeat_delay, option, false);
}

void KeyboardSystemBindings::SetWinLock(bool on) { Store(&config::KeyboardSystem::win_flag, on ? 1 : 0, true); }

void KeyboardSystemBindings::SetWFlag(bool on) { Store(&config::KeyboardSystem::w_flag, on ? 1 : 0, true); }

void KeyboardSystemBindings::SetKey6Flag(bool on) { Store(&config::KeyboardSystem::key6_flag, on ? 1 : 0, true); }

void KeyboardSystemBindings::SetRepeatRate(int value) { Store(&config::KeyboardSystem::repeat, value, false); }

void KeyboardSystemBindings::ResetRepeat() {
  model_.ResetKeyRepeat();
  Show();
}

}  // namespace zrv::devices
