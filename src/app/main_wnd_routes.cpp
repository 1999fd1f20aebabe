#include "app/main_wnd_routes.h"

#include "app/main_wnd.h"
#include "app/profile_flows.h"
#include "app/window_messages.h"
#include "ui/notify.h"

namespace zrv::app {

void AddWindowRoutes(ui::RouteRegistry& routes, CMainWnd& window) {
  using ui::RouteHit;
  const auto click = [&](const char* name, std::function<void()> action) {
    routes.AddName(&window, ui::notify::kClick, name, [action = std::move(action)](const RouteHit&) { action(); });
  };
  CMainWnd* w = &window;
  click("closebtn", [w] { w->CloseToTray(); });
  click("nodevice_ok_btn", [w] { w->HideToTray(); });
  click("control_light_status", [w] { w->ToggleLightControl(); });
  click("minbtn", [w] { w->showMinimized(); });
  click("maxbtn", [w] { w->showMaximized(); });
  click("restorebtn", [w] { w->showNormal(); });
  click("WebLink_btn", [w] { w->OpenHomePage(); });
  click("device_select_prev", [w] { w->Selector().Previous(); });
  click("device_select_next", [w] { w->Selector().Next(); });
  routes.AddName(w, ui::notify::kSelectChanged, "device_select",
                 [w](const RouteHit&) { w->Selector().SwitchToSelected(); });

  // The key-recording edit holds the global input hook while it has the focus (message 1054).
  routes.AddName(w, ui::notify::kSetFocus, "keyset_keyboard_text_edit",
                 [w](const RouteHit&) { w->SendCustomMessage(msg::kInputHook, 1, 0, {}); });
  routes.AddName(w, ui::notify::kKillFocus, "keyset_keyboard_text_edit",
                 [w](const RouteHit&) { w->SendCustomMessage(msg::kInputHook, 0, 0, {}); });

  routes.AddName(w, ui::notify::kMenu, "exit", [w](const RouteHit&) {
    w->CloseSecondaryWindows();
    w->Close(0);
  });
}

void AddProfileBarRoutes(ui::RouteRegistry& routes, ProfileFlows& flows) {
  ProfileFlows* f = &flows;
  const auto on_click = [f](const ui::RouteHit& hit) { f->OnClick(hit.msg.SenderName()); };
  for (const char* name : {"device_add_btn", "device_sub_btn", "device_copy_btn", "device_export_btn",
                           "device_import_btn", "device_reset_btn", "device_profile_edit_save_btn"}) {
    routes.AddName(f, ui::notify::kClick, name, on_click);
  }
  routes.AddName(f, ui::notify::kClick, "profile_fun_spread_btn", on_click, /*case_sensitive=*/true);
  // A profile chosen takes effect 400 ms later: a quick series of choices switches once.
  routes.AddName(f, ui::notify::kItemSelect, "device_profile_combo",
                 [f](const ui::RouteHit&) { f->OnProfileSelected(); });
}

}  // namespace zrv::app
