#include "app/main_wnd_routes.h"

#include "app/main_wnd_actions.h"
#include "ui/lookup.h"
#include "ui/notify.h"

namespace zrv::app {
namespace {

// What handles the rows whose actions come with later features.
constexpr const char* kKeyEditor = "key assignment editor";
constexpr const char* kLightEditor = "lighting editor";
constexpr const char* kMacroEditor = "macro editor";
constexpr const char* kShootEditor = "shoot editor";
constexpr const char* kMouse = "mouse page";
constexpr const char* kHeadset = "headset page";
constexpr const char* kKeyboardSettings = "keyboard system settings";
constexpr const char* kDeviceSettings = "keyboard and mouse system settings";
constexpr const char* kProfiles = "profile bar";
constexpr const char* kDeviceDefaults = "device defaults";
constexpr const char* kSettingsWindow = "settings window";
constexpr const char* kAboutWindow = "about window";
constexpr const char* kSkinWindow = "skin window";
constexpr const char* kControlPanel = "platform control panel";
constexpr const char* kWindow = "main window";
constexpr const char* kSelector = "device selector";
constexpr const char* kDevicePage = "device page";

// Row helpers: a device action, a window action (no current device needed), a pending row.
constexpr RouteRow Device(const char* name, RouteAction action, const char* by) { return {name, action, by, true, false}; }
constexpr RouteRow Window(const char* name, RouteAction action, const char* by) { return {name, action, by, false, false}; }
constexpr RouteRow Later(const char* name, const char* by) { return {name, nullptr, by, true, false}; }
constexpr RouteRow LaterWithCase(const char* name, const char* by) { return {name, nullptr, by, true, true}; }

// ---- click

constexpr RouteRow kClickPrefixes[] = {
    Later("key_", kKeyEditor),
    Later("color_option_", kLightEditor),
    Later("LightTab1_color_option_", kLightEditor),
    Later("LightTab2_color_option_", kLightEditor),
    {"windowdeviceset_", nullptr, kControlPanel, false, false},
};

constexpr RouteRow kClickNames[] = {
    Window("closebtn", actions::CloseToTray, kWindow),
    Window("nodevice_ok_btn", actions::HideWindow, kWindow),
    Window("control_light_status", actions::ToggleLightControl, kWindow),
    Window("minbtn", actions::Minimise, kWindow),
    Window("maxbtn", actions::Maximise, kWindow),
    Window("restorebtn", actions::Restore, kWindow),
    {"skinbtn", nullptr, kSkinWindow, false, false},
    {"setbtn", nullptr, kSettingsWindow, false, false},
    Later("default_btn", kDeviceDefaults),
    Device("reset_repeat_btn", actions::KeyboardSystemSetting, kKeyboardSettings),
    Device("device_add_btn", actions::ProfileBarClick, kProfiles),
    Device("device_sub_btn", actions::ProfileBarClick, kProfiles),
    Device("device_copy_btn", actions::ProfileBarClick, kProfiles),
    Device("device_export_btn", actions::ProfileBarClick, kProfiles),
    Device("device_import_btn", actions::ProfileBarClick, kProfiles),
    Device("device_reset_btn", actions::ProfileBarClick, kProfiles),
    Device("device_profile_edit_save_btn", actions::ProfileBarClick, kProfiles),
    Later("key_butt_keysave", kKeyEditor),
    Later("key_butt_keydefalut", kKeyEditor),
    Later("key_butt_keycancel", kKeyEditor),
    Later("key_butt_prosave", kKeyEditor),
    Later("macro_btn_starredio", kMacroEditor),
    Later("macro_btn_stopredio", kMacroEditor),
    Later("macro_btn_name_add", kMacroEditor),
    Later("macro_btn_name_sub", kMacroEditor),
    Later("macro_btn_name_edit", kMacroEditor),
    Later("macro_btn_save", kMacroEditor),
    Later("macro_btn_cancel", kMacroEditor),
    Later("macro_btn_export", kMacroEditor),
    Later("macro_btn_import", kMacroEditor),
    Later("macro_btn_up", kMacroEditor),
    Later("macro_btn_down", kMacroEditor),
    Later("macro_btn_uptop", kMacroEditor),
    Later("macro_btn_downbottom", kMacroEditor),
    Later("macro_btn_delete", kMacroEditor),
    Later("macro_btn_deleteall", kMacroEditor),
    LaterWithCase("macro_inset_moveleftkey_btn", kMacroEditor),
    LaterWithCase("macro_inset_moverightkey_btn", kMacroEditor),
    LaterWithCase("macro_inset_moveupkey_btn", kMacroEditor),
    LaterWithCase("macro_inset_movedownkey_btn", kMacroEditor),
    Later("shootdate_save_btn", kMouse),
    Later("shootdate_reset_btn", kShootEditor),
    Later("shootdate_import_btn", kShootEditor),
    Later("shootdate_export_btn", kShootEditor),
    Later("bullet_selected_prev", kShootEditor),
    Later("bullet_selected_next", kShootEditor),
    Later("custom_bright_color_btn", kLightEditor),
    Later("custom_off_color_btn", kLightEditor),
    Later("deng_same_mode", kLightEditor),
    Device("LightTab1_deng_same_mode", actions::NoAction, kLightEditor),
    Device("LightTab2_deng_same_mode", actions::NoAction, kLightEditor),
    Later("hs_EQ_btn_save", kHeadset),
    Later("hs_EQ_btn_delete", kHeadset),
    {"profile_fun_spread_btn", actions::ProfileBarClick, kProfiles, true, true},
    Window("device_select_prev", actions::SelectPreviousDevice, kSelector),
    Window("device_select_next", actions::SelectNextDevice, kSelector),
    Window("WebLink_btn", actions::OpenHomePage, kWindow),
};

// ---- selectchanged

constexpr RouteRow kSelectPrefixes[] = {
    Later("DPI_enable_check_", kMouse),
    Device("polling_rate_option_", actions::KeyboardSystemSetting, kDeviceSettings),
    Device("delay_rate_option_", actions::KeyboardSystemSetting, kKeyboardSettings),
    Device("repeat_delay_check_", actions::KeyboardSystemSetting, kKeyboardSettings),
    Later("mouse_device_seting_option_", kDeviceSettings),
    Later("keyboard_device_seting_option_", kDeviceSettings),
    Later("shoot_gun_op_", kShootEditor),
    Later("bullet_op_", kShootEditor),
    Later("magic_option_", kHeadset),
    Later("6533_eq_option_", kHeadset),
    Later("key_ComBox_check_", kKeyEditor),
};

constexpr RouteRow kSelectNames[] = {
    Later("pointer_precision_check", kMouse),
    Later("scrolls_page_check", kMouse),
    Device("winlockflag_option", actions::KeyboardSystemSetting, kKeyboardSettings),
    Device("wflag_option", actions::KeyboardSystemSetting, kKeyboardSettings),
    Device("6flag_option", actions::KeyboardSystemSetting, kKeyboardSettings),
    Window("synchro_device_select", actions::NoAction, kSelector),
    Window("device_select", actions::SwitchToSelectedDevice, kSelector),
    Device("deng_Op_tab", actions::ShowFunctionTab, kDevicePage),
    Device("key_Op_tab", actions::ShowFunctionTab, kDevicePage),
    Device("macro_Op_tab", actions::ShowFunctionTab, kDevicePage),
    Device("system_Op_tab", actions::ShowFunctionTab, kDevicePage),
    Device("cursor_Op_tab", actions::ShowFunctionTab, kDevicePage),
    Device("6533_voice_Op_tab", actions::ShowFunctionTab, kDevicePage),
    Device("magic_Op_tab", actions::ShowFunctionTab, kDevicePage),
    Device("Virtual7.1_Op_tab", actions::ShowFunctionTab, kDevicePage),
    Later("deng_FXL_check", kLightEditor),
    Later("deng_FXR_check", kLightEditor),
    Later("LightTab1_deng_FXL_check", kLightEditor),
    Later("LightTab1_deng_FXR_check", kLightEditor),
    Later("LightTab2_deng_FXL_check", kLightEditor),
    Later("LightTab2_deng_FXR_check", kLightEditor),
    Later("deng_7color_check", kLightEditor),
    Later("LightTab1_deng_7color_check", kLightEditor),
    Later("LightTab2_deng_7color_check", kLightEditor),
    Later("LightTab1_RGBdeng_check", kLightEditor),
    Later("bullet_x_check", kShootEditor),
    Later("bullet_y_check", kShootEditor),
    Later("magic_enable_option", kHeadset),
    Later("6533_MicIn_option", kHeadset),
    Later("6533_MicMoniter_option", kHeadset),
};

// ---- valuechanged

constexpr RouteRow kValuePrefixes[] = {
    Later("DPI_slider_", kMouse),
    Later("6533_eq_hz_slider_", kHeadset),
};

constexpr RouteRow kValueNames[] = {
    Later("pointer_speed_slider", kMouse),
    Later("scroll_speed_slider", kMouse),
    Later("double_click_slider", kMouse),
    Device("repeat_rate_slider", actions::KeyboardSystemSetting, kKeyboardSettings),
    Later("deng_light_slider", kLightEditor),
    Later("deng_speed_slider", kLightEditor),
    Later("LightTab1_deng_light_slider", kLightEditor),
    Later("LightTab1_deng_speed_slider", kLightEditor),
    Later("LightTab2_deng_light_slider", kLightEditor),
    Later("LightTab2_deng_speed_slider", kLightEditor),
    Later("6533_MicIn_slider", kHeadset),
    Later("6533_MicMoniter_slider", kHeadset),
};

// ---- movevaluechanged (sliders being dragged)

constexpr RouteRow kMovePrefixes[] = {
    Device("orvex_DPI_slider_", actions::ShowDraggedDpiValue, kMouse),
    Later("DPI_slider_", kMouse),
};

// ---- itemselect

constexpr RouteRow kItemSelectNames[] = {
    Device("device_profile_combo", actions::StartProfileSwitchTimer, kProfiles),
    Later("light_combo_modeSelect", kLightEditor),
    Later("LightTab1_light_combo_modeSelect", kLightEditor),
    Later("LightTab2_light_combo_modeSelect", kLightEditor),
    Later("light_combo_custommodeSelect", kLightEditor),
    Later("light_combo_ZZCCmodeSelect", kLightEditor),
    Later("keyset_function_combo", kKeyEditor),
    Later("keyset_macro_over_combo", kKeyEditor),
    Later("macro_name_list", kMacroEditor),
    Later("custom_eq_name_combo", kHeadset),
    // A choice in any of these also saves the edited key assignment at once.
    Later("keyset_function_combo", kKeyEditor),
    Later("keyset_mousekey_combo", kKeyEditor),
    Later("keyset_mouseswing_combo", kKeyEditor),
    Later("keyset_mousewheel_combo", kKeyEditor),
    Later("keyset_mousedpi_combo", kKeyEditor),
    Later("keyset_media_combo", kKeyEditor),
    Later("keyset_system_combo", kKeyEditor),
    Later("keyset_macro_combo", kKeyEditor),
    Later("keyset_macro_over_combo", kKeyEditor),
    Later("keyset_gunkey_combo", kKeyEditor),
    Later("keyset_combokey_combo", kKeyEditor),
};

// ---- killfocus, setfocus

constexpr RouteRow kKillFocusPrefixes[] = {
    Later("orvex_DPI_edit_", kMouse),
    Later("DPI_edit_", kMouse),
};

constexpr RouteRow kKillFocusNames[] = {
    Later("deng_edit_R", kLightEditor),
    Later("deng_edit_G", kLightEditor),
    Later("deng_edit_B", kLightEditor),
    Later("LightTab1_deng_edit_R", kLightEditor),
    Later("LightTab1_deng_edit_G", kLightEditor),
    Later("LightTab1_deng_edit_B", kLightEditor),
    Later("LightTab2_deng_edit_R", kLightEditor),
    Later("LightTab2_deng_edit_G", kLightEditor),
    Later("LightTab2_deng_edit_B", kLightEditor),
    Window("keyset_keyboard_text_edit", actions::RemoveInputHook, kKeyEditor),
    Later("bullet_x_eidt", kShootEditor),
    Later("bullet_y_eidt", kShootEditor),
    Later("bullet_delay_eidt", kShootEditor),
    Later("macro_delay", kMacroEditor),
    Later("keyset_mouseswing_num_edit", kKeyEditor),
    Later("keyset_mouseswing_delay_edit", kKeyEditor),
    Later("keyset_mouseswing_speed_edit", kKeyEditor),
    Later("keyset_mousewheel_num_edit", kKeyEditor),
    Later("keyset_mousewheel_delay_edit", kKeyEditor),
    Later("keyset_mousewheel_speed_edit", kKeyEditor),
    Later("keyset_mousefire_interval_edit", kKeyEditor),
    Later("keyset_mousefire_num_edit", kKeyEditor),
    Later("keyset_macro_cycle_edit", kKeyEditor),
};

constexpr RouteRow kSetFocusNames[] = {
    Window("keyset_keyboard_text_edit", actions::InstallInputHook, kKeyEditor),
};

// ---- the rest

constexpr RouteRow kItemActivateNames[] = {
    Later("macro_action", kMacroEditor),
};

constexpr RouteRow kColourNames[] = {
    Later("deng_Color_Pallet", kLightEditor),
    Later("LightTab1_deng_Color_Pallet", kLightEditor),
    Later("LightTab2_deng_Color_Pallet", kLightEditor),
};

constexpr RouteRow kSelectEndNames[] = {
    Later("keyboard_device_key_light_0", kLightEditor),
    Later("mouse_device_key_light", kMouse),
};

constexpr RouteRow kMenuNames[] = {
    Window("exit", actions::ExitProgram, kWindow),
    {"about_menu", nullptr, kAboutWindow, false, false},
    {"setwnd_menu", nullptr, kSettingsWindow, false, false},
    Later("redio_previous_record_time", kMacroEditor),
    Later("redio_previous_constant_time", kMacroEditor),
    Later("redio_previous_ignore_time", kMacroEditor),
    Later("redio_later_record_time", kMacroEditor),
    Later("redio_later_constant_time", kMacroEditor),
    Later("redio_later_ignore_time", kMacroEditor),
    Later("left_down", kMacroEditor),
    Later("left_up", kMacroEditor),
    Later("left_click", kMacroEditor),
    Later("middle_down", kMacroEditor),
    Later("middle_up", kMacroEditor),
    Later("middle_click", kMacroEditor),
    Later("right_down", kMacroEditor),
    Later("right_up", kMacroEditor),
    Later("right_click", kMacroEditor),
    Later("forward_down", kMacroEditor),
    Later("forward_up", kMacroEditor),
    Later("forward_click", kMacroEditor),
    Later("back_down", kMacroEditor),
    Later("back_up", kMacroEditor),
    Later("back_click", kMacroEditor),
    Later("macro_action_edit", kMacroEditor),
};

constexpr RouteTable kClick{kClickPrefixes, kClickNames};
constexpr RouteTable kSelectChanged{kSelectPrefixes, kSelectNames};
constexpr RouteTable kValueChanged{kValuePrefixes, kValueNames};
constexpr RouteTable kMoveValueChanged{kMovePrefixes, {}};
constexpr RouteTable kItemSelect{{}, kItemSelectNames};
constexpr RouteTable kKillFocus{kKillFocusPrefixes, kKillFocusNames};
constexpr RouteTable kSetFocus{{}, kSetFocusNames};
constexpr RouteTable kItemActivate{{}, kItemActivateNames};
constexpr RouteTable kColourChanged{{}, kColourNames};
constexpr RouteTable kSelectEnd{{}, kSelectEndNames};
constexpr RouteTable kMenu{{}, kMenuNames};

bool SameName(const RouteRow& row, QStringView name) {
  return name.compare(QLatin1String(row.name), row.case_sensitive ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
}

}  // namespace

const RouteTable* RouteTableFor(QStringView type) {
  struct Entry {
    const char* type;
    const RouteTable* table;
  };
  static constexpr Entry kTables[] = {
      {ui::notify::kClick, &kClick},
      {ui::notify::kSelectChanged, &kSelectChanged},
      {ui::notify::kValueChanged, &kValueChanged},
      {ui::notify::kMoveValueChanged, &kMoveValueChanged},
      {ui::notify::kItemSelect, &kItemSelect},
      {ui::notify::kKillFocus, &kKillFocus},
      {ui::notify::kSetFocus, &kSetFocus},
      {ui::notify::kItemActivate, &kItemActivate},
      {ui::notify::kColorChanged, &kColourChanged},
      {ui::notify::kClickSelectEnd, &kSelectEnd},
  };
  for (const Entry& entry : kTables) {
    if (type == QLatin1String(entry.type)) return entry.table;
  }
  return nullptr;
}

const RouteTable& MenuRouteTable() { return kMenu; }

std::vector<RouteMatch> MatchRoutes(const RouteTable& table, const QString& name) {
  std::vector<RouteMatch> matches;
  const ui::NameNumber split = ui::SplitNameNumber(name);
  if (!split.prefix.isEmpty()) {
    for (const RouteRow& row : table.prefixes) {
      if (SameName(row, split.prefix)) matches.push_back({&row, split.number});
    }
  }
  for (const RouteRow& row : table.names) {
    if (SameName(row, name)) matches.push_back({&row, 0});
  }
  return matches;
}

int RunRoutes(const std::vector<RouteMatch>& matches, CMainWnd& window, const ui::Notify& msg,
              devices::CHalveronUSBDevicePage* device) {
  int run = 0;
  for (const RouteMatch& match : matches) {
    if (match.row->action == nullptr) continue;
    if (match.row->needs_device && device == nullptr) continue;
    RouteContext context{window, msg, match.number, device};
    match.row->action(context);
    ++run;
  }
  return run;
}

}  // namespace zrv::app
