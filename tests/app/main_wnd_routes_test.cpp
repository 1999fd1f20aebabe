// The routing of notifications: prefix + number names against exact names, the names compared
// with case, and the current device that every device action needs.
#include "app/main_wnd_routes.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "app/main_wnd.h"
#include "devices/device_page.h"
#include "ui/notify.h"

namespace zrv::app {
namespace {

QStringList Ran;

void RecordPrefix(RouteContext& context) { Ran << QStringLiteral("prefix %1").arg(context.number); }
void RecordExact(RouteContext& context) { Ran << QStringLiteral("exact %1").arg(context.number); }
void RecordDevice(RouteContext& context) { Ran << (context.device != nullptr ? "device" : "device without device"); }
void RecordWindow(RouteContext&) { Ran << "window"; }

constexpr RouteRow kPrefixes[] = {
    {"mode_", RecordPrefix, "test", true, false},
    {"Tab1_mode_", RecordPrefix, "test", true, false},
};
constexpr RouteRow kNames[] = {
    {"mode_7", RecordExact, "test", true, false},
    {"Spread_Btn", RecordExact, "test", true, true},
    {"pending_btn", nullptr, "later", true, false},
    {"window_btn", RecordWindow, "test", false, false},
    {"device_btn", RecordDevice, "test", true, false},
};
constexpr RouteTable kTable{kPrefixes, kNames};

QStringList Matched(const RouteTable& table, const QString& name) {
  QStringList out;
  for (const RouteMatch& match : MatchRoutes(table, name)) {
    out << QStringLiteral("%1 %2").arg(QString::fromLatin1(match.row->name)).arg(match.number);
  }
  return out;
}

const RouteTable& Table(const char* type) {
  const RouteTable* table = RouteTableFor(QString::fromLatin1(type));
  EXPECT_NE(table, nullptr) << type;
  static const RouteTable kEmpty{};
  return table != nullptr ? *table : kEmpty;
}

TEST(MainWndRoutes, PrefixRowsComeFirstWithTheirNumberAndExactRowsMatchTheWholeName) {
  EXPECT_EQ(Matched(kTable, "mode_7"), QStringList({"mode_ 7", "mode_7 0"})) << "a name may match in both";
  EXPECT_EQ(Matched(kTable, "mode_12"), QStringList({"mode_ 12"}));
  // The split is at the last underscore: the whole front part is the prefix, not a start of it.
  EXPECT_EQ(Matched(kTable, "Tab1_mode_3"), QStringList({"Tab1_mode_ 3"}));
  EXPECT_EQ(Matched(kTable, "xmode_3"), QStringList());
  EXPECT_EQ(Matched(kTable, "mode_x"), QStringList({"mode_ 0"})) << "text that is no number reads as 0";
  EXPECT_EQ(Matched(kTable, "mode"), QStringList()) << "no underscore, no prefix";

  // The real tables: the lighting tabs and the DPI edits keep their own prefixes.
  EXPECT_EQ(Matched(Table("click"), "key_12"), QStringList({"key_ 12"}));
  EXPECT_EQ(Matched(Table("click"), "LightTab1_color_option_3"), QStringList({"LightTab1_color_option_ 3"}));
  EXPECT_EQ(Matched(Table("click"), "color_option_3"), QStringList({"color_option_ 3"}));
  EXPECT_EQ(Matched(Table("killfocus"), "orvex_DPI_edit_2"), QStringList({"orvex_DPI_edit_ 2"}));
  EXPECT_EQ(Matched(Table("killfocus"), "DPI_edit_2"), QStringList({"DPI_edit_ 2"}));
  EXPECT_EQ(Matched(Table("selectchanged"), "polling_rate_option_3"), QStringList({"polling_rate_option_ 3"}));
  // A key-assignment combo both acts and saves at once.
  EXPECT_EQ(Matched(Table("itemselect"), "keyset_function_combo"),
            QStringList({"keyset_function_combo 0", "keyset_function_combo 0"}));
}

TEST(MainWndRoutes, FiveNamesAreComparedWithCaseAllOthersWithout) {
  EXPECT_EQ(Matched(kTable, "MODE_7"), QStringList({"mode_ 7", "mode_7 0"}));
  EXPECT_EQ(Matched(kTable, "Spread_Btn"), QStringList({"Spread_Btn 0"}));
  EXPECT_EQ(Matched(kTable, "spread_btn"), QStringList());

  const RouteTable& click = Table("click");
  EXPECT_EQ(Matched(click, "CLOSEBTN"), QStringList({"closebtn 0"}));
  EXPECT_EQ(Matched(click, "Device_Select_Next"), QStringList({"device_select_next 0"}));
  EXPECT_EQ(Matched(click, "weblink_btn"), QStringList({"WebLink_btn 0"}));
  for (const char* name : {"profile_fun_spread_btn", "macro_inset_moveleftkey_btn", "macro_inset_moverightkey_btn",
                           "macro_inset_moveupkey_btn", "macro_inset_movedownkey_btn"}) {
    const QString exact = QString::fromLatin1(name);
    EXPECT_EQ(Matched(click, exact).size(), 1) << name;
    EXPECT_TRUE(Matched(click, exact.toUpper()).isEmpty()) << name;
    QString first_upper = exact;
    first_upper[0] = first_upper[0].toUpper();
    EXPECT_TRUE(Matched(click, first_upper).isEmpty()) << name;
  }
}

TEST(MainWndRoutes, WithoutCurrentDeviceOnlyWindowRowsRunAndPendingRowsNever) {
  CMainWnd window;
  ui::Notify msg;
  msg.type = "click";
  Ran.clear();
  EXPECT_EQ(RunRoutes(MatchRoutes(kTable, "device_btn"), window, msg, nullptr), 0);
  EXPECT_EQ(RunRoutes(MatchRoutes(kTable, "mode_7"), window, msg, nullptr), 0);
  EXPECT_EQ(RunRoutes(MatchRoutes(kTable, "pending_btn"), window, msg, nullptr), 0);
  EXPECT_EQ(RunRoutes(MatchRoutes(kTable, "window_btn"), window, msg, nullptr), 1);
  EXPECT_EQ(Ran, QStringList({"window"}));

  devices::CHalveronUSBDevicePage page;
  Ran.clear();
  EXPECT_EQ(RunRoutes(MatchRoutes(kTable, "device_btn"), window, msg, &page), 1);
  EXPECT_EQ(RunRoutes(MatchRoutes(kTable, "mode_7"), window, msg, &page), 2);
  EXPECT_EQ(RunRoutes(MatchRoutes(kTable, "pending_btn"), window, msg, &page), 0);
  EXPECT_EQ(Ran, QStringList({"device", "prefix 7", "exact 0"}));
}

TEST(MainWndRoutes, RowsOfTheExistingFeaturesAreWiredTheOthersWaitWithTheirName) {
  struct Wired {
    const char* type;
    const char* name;
  };
  for (const Wired& wired : std::initializer_list<Wired>{
           {"click", "closebtn"},          {"click", "nodevice_ok_btn"},     {"click", "minbtn"},
           {"click", "maxbtn"},            {"click", "restorebtn"},          {"click", "control_light_status"},
           {"click", "device_select_prev"}, {"click", "device_select_next"}, {"click", "WebLink_btn"},
           {"selectchanged", "device_select"}, {"selectchanged", "synchro_device_select"},
           {"selectchanged", "polling_rate_option_1"}, {"selectchanged", "delay_rate_option_2"},
           {"selectchanged", "repeat_delay_check_3"}, {"selectchanged", "winlockflag_option"},
           {"selectchanged", "wflag_option"}, {"selectchanged", "6flag_option"},
           {"valuechanged", "repeat_rate_slider"}, {"itemselect", "device_profile_combo"},
           {"setfocus", "keyset_keyboard_text_edit"}, {"killfocus", "keyset_keyboard_text_edit"}}) {
    const std::vector<RouteMatch> matches = MatchRoutes(Table(wired.type), QString::fromLatin1(wired.name));
    ASSERT_EQ(matches.size(), 1u) << wired.type << " " << wired.name;
    EXPECT_NE(matches[0].row->action, nullptr) << wired.type << " " << wired.name;
  }
  for (const char* type : {"click", "selectchanged", "valuechanged", "movevaluechanged", "itemselect", "killfocus",
                           "setfocus", "itemactivate", "colorchanged", "click_select_end"}) {
    const RouteTable& table = Table(type);
    for (const auto rows : {table.prefixes, table.names}) {
      for (const RouteRow& row : rows) {
        EXPECT_STRNE(row.handled_by, "") << row.name;
      }
    }
  }
  EXPECT_EQ(RouteTableFor(u"windowinit"), nullptr);
  EXPECT_EQ(MatchRoutes(MenuRouteTable(), "exit").size(), 1u);
}

}  // namespace
}  // namespace zrv::app
