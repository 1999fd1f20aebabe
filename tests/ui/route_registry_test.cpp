// The route registry: prefix + number names against exact names, case, owners that are active or
// not, and routes that change while a notification runs.
#include "ui/route_registry.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace zrv::ui {
namespace {

class RouteRegistryTest : public ::testing::Test {
 protected:
  RouteHandler Record(const QString& what) {
    return [this, what](const RouteHit& hit) { ran_ << QStringLiteral("%1 %2").arg(what).arg(hit.number); };
  }
  int Run(const char* type, const QString& name, std::initializer_list<RouteRegistry::Owner> active) {
    Notify msg;
    msg.type = QLatin1String(type);
    const std::vector<RouteRegistry::Owner> owners(active);
    return routes_.Dispatch(msg, name, owners);
  }

  RouteRegistry routes_;
  QStringList ran_;
  const int window_ = 0;  // owners: only their addresses count
  const int page_ = 0;
};

TEST_F(RouteRegistryTest, PrefixRoutesRunFirstWithTheirNumberThenExactRoutesOnTheWholeName) {
  routes_.AddName(&window_, notify::kClick, "mode_7", Record("exact"));
  routes_.AddPrefix(&window_, notify::kClick, "mode_", Record("prefix"));
  routes_.AddPrefix(&window_, notify::kClick, "Tab1_mode_", Record("tab1"));
  routes_.AddPrefix(&window_, notify::kSelectChanged, "mode_", Record("other type"));

  EXPECT_EQ(Run("click", "mode_7", {&window_}), 2) << "a name may match both";
  EXPECT_EQ(ran_, QStringList({"prefix 7", "exact 0"}));
  ran_.clear();
  Run("click", "mode_12", {&window_});
  // The split is at the last underscore: the whole front part is the prefix, not a start of it.
  Run("click", "Tab1_mode_3", {&window_});
  Run("click", "xmode_3", {&window_});
  Run("click", "mode_x", {&window_});  // text that is no number reads as 0
  Run("click", "mode", {&window_});    // no underscore, no prefix
  EXPECT_EQ(ran_, QStringList({"prefix 12", "tab1 3", "prefix 0"}));
  EXPECT_EQ(Run("valuechanged", "mode_7", {&window_}), 0);
}

TEST_F(RouteRegistryTest, NamesAreComparedWithoutCaseUnlessTheRouteSaysSo) {
  routes_.AddName(&window_, notify::kClick, "closebtn", Record("close"));
  routes_.AddName(&window_, notify::kClick, "Spread_Btn", Record("spread"), /*case_sensitive=*/true);
  routes_.AddPrefix(&window_, notify::kClick, "key_", Record("key"));
  Run("click", "CLOSEBTN", {&window_});
  Run("click", "spread_btn", {&window_});
  Run("click", "SPREAD_BTN", {&window_});
  Run("click", "Spread_Btn", {&window_});
  Run("click", "KEY_4", {&window_});
  EXPECT_EQ(ran_, QStringList({"close 0", "spread 0", "key 4"}));
}

TEST_F(RouteRegistryTest, OnlyTheRoutesOfActiveOwnersRunAndRemovedRoutesNever) {
  routes_.AddName(&window_, notify::kClick, "btn", Record("window"));
  const int page_route = routes_.AddName(&page_, notify::kClick, "btn", Record("page"));
  routes_.AddPrefix(&page_, notify::kClick, "dpi_", Record("page dpi"));
  EXPECT_EQ(Run("click", "btn", {&window_}), 1);
  EXPECT_EQ(Run("click", "dpi_2", {&window_}), 0);
  EXPECT_EQ(Run("click", "btn", {&window_, &page_}), 2);
  EXPECT_EQ(ran_, QStringList({"window 0", "window 0", "page 0"})) << "in the order added";

  ran_.clear();
  routes_.Remove(page_route);
  EXPECT_EQ(Run("click", "btn", {&window_, &page_}), 1);
  EXPECT_EQ(Run("click", "dpi_2", {&window_, &page_}), 1);
  routes_.RemoveOwner(&page_);
  EXPECT_EQ(Run("click", "dpi_2", {&window_, &page_}), 0);
  EXPECT_EQ(routes_.Size(), 1u);
  EXPECT_EQ(ran_, QStringList({"window 0", "page dpi 2"}));
}

TEST_F(RouteRegistryTest, AHandlerThatChangesTheRoutesDoesNotChangeWhatRunsForTheCurrentNotification) {
  int second = 0;
  routes_.AddName(&window_, notify::kClick, "btn", [&](const RouteHit&) {
    ran_ << "first";
    routes_.RemoveOwner(&page_);
    routes_.AddName(&window_, notify::kClick, "btn", Record("added"));
  });
  routes_.AddName(&page_, notify::kClick, "btn", [&](const RouteHit& hit) {
    ++second;
    EXPECT_EQ(hit.msg.type, "click");
  });
  EXPECT_EQ(Run("click", "btn", {&window_, &page_}), 2);
  EXPECT_EQ(second, 1) << "found before the first handler removed it";
  EXPECT_EQ(ran_, QStringList({"first"}));
  ran_.clear();
  EXPECT_EQ(Run("click", "btn", {&window_, &page_}), 2);
  EXPECT_EQ(ran_, QStringList({"first", "added 0"}));
}

}  // namespace
}  // namespace zrv::ui
