#include "app/main_wnd_actions.h"

#include "app/main_wnd.h"
#include "app/profile_flows.h"
#include "app/window_messages.h"
#include "controls/device_profile.h"
#include "devices/device_page.h"
#include "devices/keyboard_page.h"
#include "ui/lookup.h"
#include "ui/notify.h"

namespace zrv::app::actions {

void NoAction(RouteContext& context) { (void)context; }

void CloseToTray(RouteContext& context) { context.window.CloseToTray(); }

void HideWindow(RouteContext& context) { context.window.HideToTray(); }

void Minimise(RouteContext& context) { context.window.showMinimized(); }

void Maximise(RouteContext& context) { context.window.showMaximized(); }

void Restore(RouteContext& context) { context.window.showNormal(); }

void OpenHomePage(RouteContext& context) { context.window.OpenHomePage(); }

void ToggleLightControl(RouteContext& context) { context.window.ToggleLightControl(); }

void SelectPreviousDevice(RouteContext& context) { context.window.Selector().Previous(); }

void SelectNextDevice(RouteContext& context) { context.window.Selector().Next(); }

void SwitchToSelectedDevice(RouteContext& context) { context.window.Selector().SwitchToSelected(); }

void ShowFunctionTab(RouteContext& context) {
  if (context.msg.wParam == 0) return;  // the tab that lost the selection
  const QString name = context.msg.SenderName();
  const auto& tabs = controls::CDeviceProfileUI::kOpTabs;
  for (size_t i = 0; i < tabs.size(); ++i) {
    if (name.compare(QLatin1String(tabs[i]), Qt::CaseInsensitive) != 0) continue;
    context.device->Model().SetFunctionMode(static_cast<int>(i) + 1);  // tab n is function mode n
    if (i + 1 == 2) context.device->RedrawPicture();                   // the key tab
    return;
  }
}

void KeyboardSystemSetting(RouteContext& context) {
  if (auto* keyboard = dynamic_cast<devices::CHalveronKeyboardDevicePage*>(context.device)) {
    keyboard->OnSystemSettingNotify(context.msg);
  }
}

void ProfileBarClick(RouteContext& context) { context.window.Profiles().OnClick(context.msg.SenderName()); }

void StartProfileSwitchTimer(RouteContext& context) { context.window.Profiles().OnProfileSelected(); }

void InstallInputHook(RouteContext& context) { context.window.OnCustomMessage(msg::kInputHook, 1, 0); }

void RemoveInputHook(RouteContext& context) { context.window.OnCustomMessage(msg::kInputHook, 0, 0); }

void ShowDraggedDpiValue(RouteContext& context) {
  const QString edit_name = QStringLiteral("orvex_DPI_edit_%1").arg(context.number);
  ui::Control* edit = ui::FindSubControlByName(context.device, edit_name);
  if (edit == nullptr) edit = context.window.FindControl(edit_name);
  if (edit != nullptr) edit->SetText(QString::number(context.msg.wParam));
}

void ExitProgram(RouteContext& context) {
  context.window.CloseSecondaryWindows();
  context.window.Close(0);
}

}  // namespace zrv::app::actions
