#pragma once
// The routing of the main window's notifications: per notification type a table of prefixes
// (names "prefix" + number) and a table of exact names, each row naming the action that handles it.
//
// A sender name is split at its last underscore into the prefix (up to and including the
// underscore) and a decimal number (0 when the rest is no number). The prefix table is tried first,
// then the exact table; every matching row of both runs, in table order. Names are compared without
// regard to case unless the row says otherwise.
//
// A row without an action is routed but not handled yet: the feature that handles it arrives with
// its page (the row's `handled_by` says which). Rows marked `needs_device` act on the current device
// of the selector and do nothing while there is none.

#include <QString>
#include <QStringView>

#include <span>
#include <vector>

namespace zrv::ui {
struct Notify;
}
namespace zrv::devices {
class CHalveronUSBDevicePage;
}

namespace zrv::app {

class CMainWnd;

struct RouteContext {
  CMainWnd& window;
  const ui::Notify& msg;
  int number = 0;                                    // of a prefix + number name
  devices::CHalveronUSBDevicePage* device = nullptr;  // the current device, or null
};

using RouteAction = void (*)(RouteContext& context);

struct RouteRow {
  const char* name;
  RouteAction action;      // null: not handled yet
  const char* handled_by;  // the feature that handles the row
  bool needs_device = true;
  bool case_sensitive = false;
};

struct RouteTable {
  std::span<const RouteRow> prefixes;
  std::span<const RouteRow> names;
};

struct RouteMatch {
  const RouteRow* row = nullptr;
  int number = 0;
};

// The tables of a notification type ("click", "selectchanged", "valuechanged", "itemselect",
// "killfocus", "setfocus", "itemactivate", "colorchanged", "movevaluechanged", "click_select_end");
// null for the other types.
const RouteTable* RouteTableFor(QStringView type);
// The tray and macro-action menus' commands (exact names).
const RouteTable& MenuRouteTable();

// Every row of `table` that `name` matches: prefix rows first, then exact rows.
std::vector<RouteMatch> MatchRoutes(const RouteTable& table, const QString& name);

// Runs the matched rows' actions with `device` as the current device. Returns the number of
// actions run (rows without an action, and rows needing a device when there is none, do not run).
int RunRoutes(const std::vector<RouteMatch>& matches, CMainWnd& window, const ui::Notify& msg,
              devices::CHalveronUSBDevicePage* device);

}  // namespace zrv::app
