// Notifications: one per user action, driven with real input events; silence for changes made
// by code unless the caller asks for a notification.

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QTest>

#include <atomic>
#include <thread>

#include "ui/ui.h"
#include "ui_test_util.h"

namespace zrv::ui {
namespace {

using testing::RecordingWindow;

class NotifyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::UseTestSkin();
    ASSERT_TRUE(w.Create(nullptr, QStringLiteral("notify"))) << w.LastError().ToString().toStdString();
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QCoreApplication::processEvents();
    w.records.clear();
  }
  template <class T = Control>
  T* Find(const char* name) {
    T* c = w.FindControl<T>(QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  QWidget* W(const char* name) { return Find(name)->Widget(); }

  RecordingWindow w;
};

TEST_F(NotifyTest, ButtonClickAndDoubleClick) {
  QTest::mouseClick(W("btn"), Qt::LeftButton);
  EXPECT_EQ(w.Log(), QStringList({"click:btn"}));

  // A double click: press, release, double-click press, release.
  w.records.clear();
  QWidget* b = W("btn");
  const QPoint p = b->rect().center();
  QTest::mousePress(b, Qt::LeftButton, {}, p);
  QTest::mouseRelease(b, Qt::LeftButton, {}, p);
  QMouseEvent dbl(QEvent::MouseButtonDblClick, p, b->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, {});
  QApplication::sendEvent(b, &dbl);
  QTest::mouseRelease(b, Qt::LeftButton, {}, p);
  EXPECT_EQ(w.Log(), QStringList({"click:btn", "dbclick:btn", "click:btn"}));

  // Disabled: nothing.
  w.records.clear();
  Find("btn")->SetEnabled(false);
  QTest::mouseClick(b, Qt::LeftButton);
  EXPECT_TRUE(w.Log().isEmpty());
}

TEST_F(NotifyTest, OptionGroupNotifiesBothDirectionsThenClick) {
  QTest::mouseClick(W("opt_b"), Qt::LeftButton);
  EXPECT_EQ(w.Log(), QStringList({"selectchanged:opt_a", "selectchanged:opt_b", "click:opt_b"}));
  EXPECT_EQ(w.records[0].wParam, 0);
  EXPECT_EQ(w.records[1].wParam, 1);
  EXPECT_TRUE(Find<Option>("opt_b")->IsSelected());
  EXPECT_FALSE(Find<Option>("opt_a")->IsSelected());

  // Clicking the selected option of a group changes nothing: only the click.
  w.records.clear();
  QTest::mouseClick(W("opt_b"), Qt::LeftButton);
  EXPECT_EQ(w.Log(), QStringList({"click:opt_b"}));
  EXPECT_TRUE(Find<Option>("opt_b")->IsSelected());

  // A lone option and a check box toggle, one notification per click each way.
  w.records.clear();
  QTest::mouseClick(W("lone"), Qt::LeftButton);
  QTest::mouseClick(W("lone"), Qt::LeftButton);
  QWidget* check = W("check");
  QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
  QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
  EXPECT_EQ(w.Log(), QStringList({"selectchanged:lone", "click:lone", "selectchanged:lone", "click:lone",
                                  "selectchanged:check", "click:check", "selectchanged:check", "click:check"}));

  // Code is silent, unless it asks.
  w.records.clear();
  Find<Option>("opt_a")->Selected(true);
  Find<CheckBox>("check")->SetCheck(true);
  EXPECT_TRUE(w.Log().isEmpty());
  EXPECT_FALSE(Find<Option>("opt_b")->IsSelected());
  Find<Option>("opt_b")->Selected(true, true);
  EXPECT_EQ(w.Log(), QStringList({"selectchanged:opt_a", "selectchanged:opt_b"}));
}

TEST_F(NotifyTest, SliderDragKeysAndCode) {
  auto* slider = Find<Slider>("slider");
  QWidget* s = slider->Widget();
  const int y = s->height() / 2;
  const int span = s->width() - 10;  // thumb 10 wide
  auto xFor = [&](int value) { return 5 + span * value / 100; };
  QTest::mousePress(s, Qt::LeftButton, {}, QPoint(xFor(20), y));
  QTest::mouseMove(s, QPoint(xFor(30), y));
  QTest::mouseMove(s, QPoint(xFor(40), y));
  QTest::mouseRelease(s, Qt::LeftButton, {}, QPoint(xFor(40), y));
  EXPECT_EQ(w.Log(), QStringList({"movevaluechanged:slider", "movevaluechanged:slider", "movevaluechanged:slider",
                                  "valuechanged:slider"}));
  EXPECT_EQ(w.Last("valuechanged")->wParam, 40);
  EXPECT_EQ(slider->GetValue(), 40);

  // Pressing the knob where it is and letting go: no change, no notification.
  w.records.clear();
  QTest::mousePress(s, Qt::LeftButton, {}, QPoint(xFor(40), y));
  QTest::mouseRelease(s, Qt::LeftButton, {}, QPoint(xFor(40), y));
  EXPECT_TRUE(w.Log().isEmpty());

  // A key: one valuechanged.
  s->setFocus();
  w.records.clear();
  QTest::keyClick(s, Qt::Key_Right);
  EXPECT_EQ(w.Log(), QStringList({"valuechanged:slider"}));
  EXPECT_EQ(w.Last("valuechanged")->wParam, 41);
  // At the maximum a key changes nothing.
  slider->SetValue(100);
  w.records.clear();
  QTest::keyClick(s, Qt::Key_Right);
  EXPECT_TRUE(w.Log().isEmpty());

  // Code: silent, also range changes that move the value.
  slider->SetValue(5);
  slider->SetMaxValue(3);
  EXPECT_TRUE(w.Log().isEmpty());
  EXPECT_EQ(slider->GetValue(), 3);
}

TEST_F(NotifyTest, ComboSkipsHiddenItemsAndReportsChangesOnly) {
  auto* combo = Find<Combo>("combo");
  EXPECT_EQ(combo->GetCurSel(), -1);
  EXPECT_TRUE(combo->SelectItem(0));
  combo->Widget()->setFocus();
  QTest::keyClick(combo->Widget(), Qt::Key_Down);  // over the hidden item
  EXPECT_EQ(w.Log(), QStringList({"itemselect:combo"}));
  EXPECT_EQ(w.records[0].wParam, 2);
  EXPECT_EQ(w.records[0].lParam, 0);
  EXPECT_EQ(combo->GetItemUserData(combo->GetCurSel()), "2");

  w.records.clear();
  QTest::keyClick(combo->Widget(), Qt::Key_Down);  // already the last visible item
  EXPECT_TRUE(w.Log().isEmpty());

  EXPECT_TRUE(combo->SelectItem(0));
  EXPECT_TRUE(w.Log().isEmpty());
  EXPECT_TRUE(combo->SelectItem(2, false, true));
  EXPECT_EQ(w.Log(), QStringList({"itemselect:combo"}));
  // Removing and adding items is silent too.
  w.records.clear();
  combo->RemoveAt(0);
  combo->Add({QStringLiteral("three"), QStringLiteral("3")});
  EXPECT_TRUE(w.Log().isEmpty());
}

TEST_F(NotifyTest, ListRowsClickSelectAndActivate) {
  auto* list = Find<List>("list");
  QWidget* r1 = W("r1");
  QTest::mouseClick(r1, Qt::LeftButton);
  EXPECT_EQ(w.Log(), QStringList({"itemselect:list", "itemclick:r1"}));
  EXPECT_EQ(w.records[0].wParam, 1);
  EXPECT_EQ(w.records[0].lParam, -1);
  EXPECT_EQ(list->GetCurSel(), 1);
  EXPECT_TRUE(r1->property("selected").toBool());

  w.records.clear();
  QTest::mouseClick(r1, Qt::LeftButton);  // the same row again: a click, no new selection
  EXPECT_EQ(w.Log(), QStringList({"itemclick:r1"}));

  w.records.clear();
  QWidget* r2 = W("r2");
  const QPoint p = r2->rect().center();
  QTest::mousePress(r2, Qt::LeftButton, {}, p);
  QTest::mouseRelease(r2, Qt::LeftButton, {}, p);
  QMouseEvent dbl(QEvent::MouseButtonDblClick, p, r2->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, {});
  QApplication::sendEvent(r2, &dbl);
  QTest::mouseRelease(r2, Qt::LeftButton, {}, p);
  EXPECT_EQ(w.Log(), QStringList({"itemselect:list", "itemclick:r2", "itemactivate:r2"}));

  // Keys on the list: Up selects, Enter activates.
  w.records.clear();
  QTest::keyClick(list->Widget(), Qt::Key_Up);
  QTest::keyClick(list->Widget(), Qt::Key_Return);
  EXPECT_EQ(w.Log(), QStringList({"itemselect:list", "itemactivate:r1"}));

  // Code: silent; SelectItemActivate raises the activation as a double click would.
  w.records.clear();
  EXPECT_TRUE(list->SelectItem(0));
  EXPECT_FALSE(list->SelectItem(7));
  EXPECT_TRUE(w.Log().isEmpty());
  EXPECT_TRUE(list->SelectItemActivate(2));
  EXPECT_EQ(w.Log(), QStringList({"itemactivate:r2"}));
}

TEST_F(NotifyTest, EditTextReturnAndFocus) {
  QWidget* e1 = W("edit_1");
  QWidget* e2 = W("edit_2");
  QTest::mouseClick(e1, Qt::LeftButton);
  EXPECT_EQ(w.Log(), QStringList({"setfocus:edit_1"}));
  w.records.clear();
  QTest::mouseClick(e2, Qt::LeftButton);
  EXPECT_EQ(w.Log(), QStringList({"killfocus:edit_1", "setfocus:edit_2"}));

  // Digits only, three at most: the letter and the fourth digit are refused.
  w.records.clear();
  QTest::keyClicks(e2, QStringLiteral("1a23"));
  QTest::keyClick(e2, Qt::Key_9);
  EXPECT_EQ(Find("edit_2")->GetText(), "123");
  EXPECT_EQ(w.Count("textchanged"), 3);
  QTest::keyClick(e2, Qt::Key_Return);
  EXPECT_EQ(w.Count("return"), 1);

  // Code: text and focus changes are silent.
  w.records.clear();
  Find("edit_1")->SetText(QStringLiteral("abc"));
  Find("edit_1")->SetFocus();
  Find("edit_2")->SetFocus();
  EXPECT_TRUE(w.Log().isEmpty());
  EXPECT_EQ(Find<Edit>("edit_1")->text(), "abc");
}

TEST_F(NotifyTest, PalettePicksColourOnRelease) {
  auto* palette = Find<ColorPalette>("palette");
  QWidget* p = palette->Widget();
  palette->SetSelectColor(0xFF102030u);
  EXPECT_EQ(palette->GetSelectColor(), 0xFF102030u);  // kept exactly
  EXPECT_TRUE(w.Log().isEmpty());

  QTest::mousePress(p, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseMove(p, QPoint(p->width() / 3, 10));
  EXPECT_TRUE(w.Log().isEmpty());  // nothing while dragging
  QTest::mouseRelease(p, Qt::LeftButton, {}, QPoint(p->width() / 3, 10));
  ASSERT_EQ(w.Log(), QStringList({"colorchanged:palette"}));
  EXPECT_EQ(static_cast<quint32>(w.records[0].wParam), palette->GetSelectColor());
  const QColor c = QColor::fromRgba(palette->GetSelectColor());
  EXPECT_NEAR(c.hsvHue(), 120, 3);  // a third of the way: green

  // The same spot again changes nothing.
  w.records.clear();
  QTest::mouseClick(p, Qt::LeftButton, {}, QPoint(p->width() / 3, 10));
  EXPECT_TRUE(w.Log().isEmpty());
}

TEST_F(NotifyTest, HoverAndContextMenu) {
  QWidget* h = W("hover");
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), h->mapToGlobal(QPointF(2, 2)));
  QApplication::sendEvent(h, &enter);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(h, &leave);
  QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(3, 4), h->mapToGlobal(QPoint(3, 4)));
  QApplication::sendEvent(h, &menu);
  EXPECT_EQ(w.Log(), QStringList({"msenter:hover", "msleave:hover", "menu:hover"}));
  const QPoint inWindow = h->mapTo(&w, QPoint(3, 4));
  EXPECT_EQ(w.records[2].wParam, inWindow.x());
  EXPECT_EQ(w.records[2].lParam, inWindow.y());

  // Without the attributes a control stays quiet.
  w.records.clear();
  QApplication::sendEvent(W("btn"), &enter);
  EXPECT_TRUE(w.Log().isEmpty());
}

TEST_F(NotifyTest, TabBindingAndNotificationsRaisedByCode) {
  QTest::mouseClick(W("tab_btn"), Qt::LeftButton);
  EXPECT_EQ(Find<TabLayout>("tabs")->GetCurSel(), 1);
  EXPECT_FALSE(Find("t0")->IsVisible());
  w.records.clear();
  Find("root")->SendNotify(QString::fromLatin1(notify::kClickSelectEnd));
  EXPECT_EQ(w.Log(), QStringList({"click_select_end:root"}));
}

TEST_F(NotifyTest, WindowInitOnceAndWindowSize) {
  RecordingWindow other;
  ASSERT_TRUE(other.Create(nullptr, QString()));
  EXPECT_EQ(other.Count("windowinit"), 0);  // posted: after Create returns
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  EXPECT_EQ(other.Count("windowinit"), 1);
  EXPECT_EQ(other.Last("windowinit")->sender, "root");
  other.show();
  QCoreApplication::processEvents();
  other.records.clear();
  other.resize(300, 200);
  ASSERT_NE(other.Last("windowsize"), nullptr);
  EXPECT_EQ(other.Last("windowsize")->wParam, 300);
  EXPECT_EQ(other.Last("windowsize")->lParam, 200);
}

TEST_F(NotifyTest, ControlTimersRepeatUntilKilled) {
  Control* btn = Find("btn");
  btn->SetTimer(1000, 5);
  QTRY_VERIFY(w.Count("timer") >= 3);
  EXPECT_EQ(w.Last("timer")->wParam, 1000);
  EXPECT_EQ(w.Last("timer")->sender, "btn");
  btn->KillTimer(1000);
  EXPECT_FALSE(btn->HasTimer(1000));
  const int after = w.Count("timer");
  QTest::qWait(30);
  EXPECT_EQ(w.Count("timer"), after);

  // Restarting an id replaces it; a control's timers end with it.
  btn->SetTimer(1, 5);
  btn->SetTimer(1, 5);
  delete btn->Widget();
  QTest::qWait(30);
  SUCCEED();
}

// A control that handles its own timer raises no notification (selector items drive devices so).
class SelfTimed : public Label {
 public:
  void DoTimer(int id) override {
    fired.push_back(id);
    if (id == 1001) KillTimer(1001);  // one-shot
  }
  std::vector<int> fired;
};

TEST_F(NotifyTest, AControlMayHandleItsOwnTimers) {
  auto* c = new SelfTimed;
  Find<Container>("root")->Add(c);
  c->SetTimer(1001, 1);
  QTest::qWait(30);
  EXPECT_EQ(c->fired, std::vector<int>({1001}));
  EXPECT_EQ(w.Count("timer"), 0);
}

TEST_F(NotifyTest, CustomMessagesFromOtherThreads) {
  w.PostCustomMessage(3090, 4, 0);
  QCoreApplication::processEvents();
  ASSERT_EQ(w.customMessages.size(), 1u);
  EXPECT_EQ(w.customMessages[0].wParam, 4);

  // Send from a worker: it waits for the UI thread and gets the handler's answer.
  std::atomic<bool> sent{false}, handled{false};
  std::thread worker([&] {
    bool h = false;
    sent = w.SendCustomMessage(
        1054, 1, 0, [] { return false; }, &h);
    handled = h;
  });
  QTRY_VERIFY(sent.load());
  worker.join();
  EXPECT_TRUE(handled.load());

  // A worker being stopped gives up while the UI thread is busy (here: joining it).
  std::atomic<bool> stop{false};
  bool result = true;
  std::thread stopped([&] { result = w.SendCustomMessage(7, 0, 0, [&] { return stop.load(); }); });
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  stop = true;
  stopped.join();
  EXPECT_FALSE(result);
  QCoreApplication::processEvents();  // the message still arrives later, harmlessly
  EXPECT_EQ(w.customMessages.back().type, "7");
}

}  // namespace
}  // namespace zrv::ui
