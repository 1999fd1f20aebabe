// Control state changed by code: containers, tabs, lists, combos, painting of skin attributes,
// attribute values.

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>

#include <atomic>
#include <thread>

#include "ui/attribute_parse.h"
#include "ui/ui.h"
#include "ui_test_util.h"

namespace zrv::ui {
namespace {

using testing::RecordingWindow;

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::UseTestSkin();
    ASSERT_TRUE(w.Create(nullptr, QString()));
    w.show();
    QCoreApplication::processEvents();
  }
  Container* Root() { return w.FindControl<Container>("root"); }
  RecordingWindow w;
};

TEST_F(ControlsTest, ContainersAddMoveAndRemoveChildren) {
  auto* box = new HorizontalLayout;
  Root()->Add(box);
  auto* a = new Label;
  a->SetName("a");
  auto* b = new Label;
  b->SetName("b");
  auto* c = new Label;
  c->SetName("c");
  c->SetVisible(false);  // hidden before it joins: stays hidden
  box->Add(a);
  box->Add(b);
  box->AddAt(c, 0);
  EXPECT_EQ(box->GetCount(), 3);
  EXPECT_EQ(box->GetItemAt(0), c);
  EXPECT_FALSE(c->IsVisible());
  EXPECT_TRUE(a->IsVisible());
  EXPECT_TRUE(box->SetItemIndex(c, 2));
  EXPECT_EQ(box->GetItemIndex(c), 2);
  EXPECT_EQ(box->GetItemAt(0), a);
  EXPECT_EQ(w.FindControl("b"), b);

  QPointer<QWidget> gone(a);
  EXPECT_TRUE(box->Remove(a));
  EXPECT_EQ(box->GetCount(), 2);
  EXPECT_EQ(w.FindControl("a"), nullptr);  // out of the window at once
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(gone.isNull());
  EXPECT_FALSE(box->RemoveAt(5));
  box->RemoveAll();
  EXPECT_EQ(box->GetCount(), 0);
}

TEST_F(ControlsTest, AControlMayRemoveItselfFromItsOwnClick) {
  auto* row = new HorizontalLayout;
  row->SetFixedHeight(30);
  Root()->Add(row);
  auto* b = new Button;
  b->SetName("self_removing");
  row->Add(b);
  w.show();
  QCoreApplication::processEvents();
  w.onNotify = [&](Notify& msg) {
    if (msg.type == u"click" && msg.SenderName() == "self_removing") row->Remove(msg.sender);
  };
  QPointer<QWidget> alive(b);
  QTest::mouseClick(b, Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(alive.isNull());
  EXPECT_EQ(row->GetCount(), 0);
}

TEST_F(ControlsTest, TabLayoutShowsOnlyTheSelectedPage) {
  auto* tabs = new TabLayout;
  Root()->Add(tabs);
  Control* pages[3];
  for (auto*& p : pages) {
    p = new PlainControl;
    tabs->Add(p);
  }
  EXPECT_EQ(tabs->GetCurSel(), 0);
  EXPECT_TRUE(pages[0]->IsVisible());
  EXPECT_FALSE(pages[1]->IsVisible());
  EXPECT_TRUE(tabs->SelectItem(2));
  EXPECT_FALSE(pages[0]->IsVisible());
  EXPECT_TRUE(pages[2]->IsVisible());
  EXPECT_FALSE(tabs->SelectItem(3));
  EXPECT_EQ(tabs->GetCurSel(), 2);
  EXPECT_TRUE(tabs->RemoveAt(2));
  EXPECT_EQ(tabs->GetCurSel(), 1);
  EXPECT_TRUE(pages[1]->IsVisible());
}

TEST_F(ControlsTest, ListKeepsItsSelectionThroughInsertionsAndRemovals) {
  auto* list = new List;
  list->SetFixedHeight(60);  // room for two rows of 30
  Root()->Add(list);
  for (int i = 0; i < 6; ++i) {
    auto* row = new ListLabelElement;
    row->SetName(QStringLiteral("row_%1").arg(i));
    row->SetText(QString::number(i));
    list->Add(row);
  }
  ASSERT_TRUE(list->SelectItem(2));
  list->AddAt(new ListLabelElement, 0);
  EXPECT_EQ(list->GetCurSel(), 3);  // the same row, one further down
  list->RemoveAt(0);
  EXPECT_EQ(list->GetCurSel(), 2);
  list->RemoveAt(2);
  EXPECT_EQ(list->GetCurSel(), -1);  // the selected row went away

  // Hidden rows cannot be selected.
  list->GetItemAt(1)->SetVisible(false);
  EXPECT_FALSE(list->SelectItem(1));
  EXPECT_TRUE(list->SelectItem(0));
  EXPECT_TRUE(dynamic_cast<ListElement*>(list->GetItemAt(0))->IsSelected());
  EXPECT_TRUE(dynamic_cast<ListElement*>(list->GetItemAt(2))->Select());
  EXPECT_FALSE(dynamic_cast<ListElement*>(list->GetItemAt(0))->IsSelected());
  list->RemoveAll();
  EXPECT_EQ(list->GetCount(), 0);
  EXPECT_EQ(list->GetCurSel(), -1);
}

TEST_F(ControlsTest, ListScrollsRowsIntoView) {
  auto* list = new List;
  list->SetFixedHeight(60);
  Root()->Add(list);
  QCoreApplication::processEvents();
  for (int i = 0; i < 10; ++i) list->Add(new ListLabelElement);
  // Right after adding: the rows have no final geometry yet, scrolling must still land.
  list->EnsureVisible(9);
  Control* last = list->GetItemAt(9);
  const QRect viewport = list->findChild<QScrollArea*>()->viewport()->rect();
  const QRect rowInView(last->Widget()->mapTo(list->findChild<QScrollArea*>()->viewport(), QPoint(0, 0)),
                        last->Widget()->size());
  EXPECT_TRUE(viewport.contains(rowInView)) << rowInView.y();
  list->HomeUp();
  EXPECT_EQ(list->findChild<QScrollArea*>()->verticalScrollBar()->value(), 0);
  list->LineDown();
  EXPECT_EQ(list->findChild<QScrollArea*>()->verticalScrollBar()->value(), 30);
  list->EndDown();
  EXPECT_EQ(list->findChild<QScrollArea*>()->verticalScrollBar()->value(), 300 - 60);
}

TEST_F(ControlsTest, ListColumnsFollowTheHeader) {
  RecordingWindow t(QStringLiteral("XML_TEST"));
  ASSERT_TRUE(t.Create(nullptr, QString()));
  auto* list = t.FindControl<List>("list");  // header: 50 wide, then the rest
  EXPECT_EQ(list->ColumnWidth(0, 200, 2), 50);
  EXPECT_EQ(list->ColumnWidth(1, 200, 2), 150);
  auto* row = dynamic_cast<ListTextElement*>(list->GetItemAt(0));
  row->SetText(3, QStringLiteral("d"));
  EXPECT_EQ(row->GetText(3), "d");
  EXPECT_EQ(row->GetText(2), "");
  EXPECT_EQ(row->GetTextId(), "a|b||d");
  List bare;
  EXPECT_EQ(bare.ColumnWidth(1, 300, 3), 100);  // no header: equal columns
}

TEST_F(ControlsTest, ComboItemsByCode) {
  auto* combo = w.FindControl<Combo>("combo");
  combo->RemoveAll();
  EXPECT_EQ(combo->GetCurSel(), -1);
  EXPECT_EQ(combo->Add({QStringLiteral("x"), QStringLiteral("ux")}), 0);
  EXPECT_EQ(combo->GetCurSel(), -1);  // adding selects nothing
  EXPECT_TRUE(combo->AddAt({QStringLiteral("w"), QStringLiteral("uw")}, 0));
  EXPECT_FALSE(combo->AddAt({}, 5));
  EXPECT_EQ(combo->GetItemText(1), "x");
  combo->SetItemVisible(0, false);
  EXPECT_FALSE(combo->SelectItem(0));
  combo->SetItemVisible(0, true);
  EXPECT_TRUE(combo->SelectItem(0));
  combo->SetItemText(1, QStringLiteral("renamed"));
  combo->SetItemUserData(1, QStringLiteral("u2"));
  EXPECT_EQ(combo->FindItemByUserData("u2"), 1);
  EXPECT_EQ(combo->FindItemByUserData("nothing"), -1);
  EXPECT_TRUE(combo->SelectItem(-1));
  EXPECT_EQ(combo->GetCurSel(), -1);
}

TEST_F(ControlsTest, SkinAttributesArePainted) {
  auto* patch = new PlainControl;
  patch->SetFixedHeight(20);
  Root()->Add(patch);
  patch->SetBkColor(0xFF00FF00u);
  QCoreApplication::processEvents();
  QImage shot = patch->Widget()->grab().toImage();
  EXPECT_EQ(shot.pixel(shot.width() / 2, shot.height() / 2), 0xFF00FF00u);
  patch->SetBorderColor(0xFFFF0000u);
  patch->SetBorderSize(2);
  shot = patch->Widget()->grab().toImage();
  EXPECT_EQ(shot.pixel(1, shot.height() / 2), 0xFFFF0000u);
  EXPECT_EQ(shot.pixel(shot.width() / 2, shot.height() / 2), 0xFF00FF00u);

  // An option with state images shows the selected image while selected.
  auto* option = new Option;
  option->SetFixedHeight(20);
  Root()->Add(option);
  option->SetAttribute("normalimage", "img/light.svg");  // white
  option->SetAttribute("selectedimage", "file='img/light.svg' fade='0'");
  option->SetBkColor(0xFF000000u);
  QCoreApplication::processEvents();
  EXPECT_TRUE(option->PaintsItself());
  shot = option->Widget()->grab().toImage();
  EXPECT_EQ(shot.pixel(3, 3), 0xFFFFFFFFu);
  option->Selected(true);
  shot = option->Widget()->grab().toImage();
  EXPECT_EQ(shot.pixel(3, 3), 0xFF000000u);  // the selected image is fully faded

  // A progress with a fill colour fills up to its value.
  auto* progress = new Progress;
  progress->SetFixedHeight(10);
  progress->SetFixedWidth(100);
  Root()->Add(progress);
  progress->SetAttribute("forecolor", "#FF0000FF");
  progress->SetValue(50);
  QCoreApplication::processEvents();
  shot = progress->Widget()->grab().toImage();
  EXPECT_EQ(shot.pixel(10, 5), 0xFF0000FFu);
  EXPECT_NE(shot.pixel(90, 5), 0xFF0000FFu);
}

// A control built on its own and then put into a window gets its palette replaced by the style
// sheet machinery; the skin's text colours must survive that.
TEST_F(ControlsTest, TextColoursSurviveAReplacedPalette) {
  auto* label = new Label;
  label->SetTextColor(0xFFE8EBF1u);
  label->SetDisabledTextColor(0xFF5D6578u);
  label->Widget()->setPalette(QPalette());
  Root()->Add(label);
  const QPalette& p = label->Widget()->palette();
  EXPECT_EQ(p.color(QPalette::Active, QPalette::WindowText).rgba(), 0xFFE8EBF1u);
  EXPECT_EQ(p.color(QPalette::Inactive, QPalette::WindowText).rgba(), 0xFFE8EBF1u);
  EXPECT_EQ(p.color(QPalette::Disabled, QPalette::WindowText).rgba(), 0xFF5D6578u);
}

TEST_F(ControlsTest, AContainerIsOpaqueToQtOnlyWhileAnOpaqueColourFillsItEdgeToEdge) {
  // Qt skips repainting what lies behind an opaque widget: a container marked so by mistake would
  // leave stale pixels where its colour does not reach (translucent colour, rounded corners).
  auto* box = new VerticalLayout;
  Root()->Add(box);
  auto opaque = [box] { return box->Widget()->testAttribute(Qt::WA_OpaquePaintEvent); };
  EXPECT_FALSE(opaque());
  box->SetAttribute("bkcolor", "#FF15181E");
  EXPECT_TRUE(opaque());
  box->SetAttribute("borderround", "6,6");
  EXPECT_FALSE(opaque());
  box->SetAttribute("borderround", "0,0");
  box->SetAttribute("bkcolor", "#8015181E");
  EXPECT_FALSE(opaque());
  auto* label = new Label;  // a control that is not a container keeps Qt's painting
  label->SetAttribute("bkcolor", "#FF15181E");
  Root()->Add(label);
  EXPECT_FALSE(label->Widget()->testAttribute(Qt::WA_OpaquePaintEvent));
}

TEST_F(ControlsTest, AttributesAtRunTimeAndBadValues) {
  auto* label = w.FindControl<Label>("hover");
  ASSERT_NE(label, nullptr);
  label->SetAttribute("width", "60");
  EXPECT_EQ(label->GetFixedWidth(), 60);
  label->SetAttribute("width", "wide");  // reported, the old value stays meaningful
  EXPECT_EQ(label->GetFixedWidth(), 0);
  label->SetAttribute("align", "right");
  EXPECT_TRUE(label->alignment() & Qt::AlignRight);
  label->SetAttribute("gmnametextcolor", "#123456");  // unknown: kept
  EXPECT_EQ(label->GetCustomAttribute("gmnametextcolor"), "#123456");
  label->ApplyAttributeList("text='x y' userdata=\"q\"");
  EXPECT_EQ(label->GetText(), "x y");
  EXPECT_EQ(label->GetUserData(), "q");

  quint32 c = 0;
  EXPECT_TRUE(attr::ParseColor("#123456", &c));
  EXPECT_EQ(c, 0xFF123456u);
  EXPECT_TRUE(attr::ParseColor("0x80123456", &c));
  EXPECT_EQ(c, 0x80123456u);
  EXPECT_FALSE(attr::ParseColor("#12345G", &c));
  EXPECT_FALSE(attr::ParseColor("#1234567890", &c));
  bool b = false;
  EXPECT_TRUE(attr::ParseBool("1", &b) && b);
  EXPECT_FALSE(attr::ParseBool("yes", &b));
  QMargins m;
  EXPECT_TRUE(attr::ParseMargins(" 1, 2,3 ,4", &m));
  EXPECT_EQ(m, QMargins(1, 2, 3, 4));
  EXPECT_FALSE(attr::ParseMargins("1,2,3", &m));
  QList<QPair<QString, QString>> pairs;
  EXPECT_FALSE(attr::ParseAttributeList("a='1' b=2", &pairs));
  EXPECT_TRUE(pairs.isEmpty());
}

// Some languages replace the window's whole font table at run time.
TEST_F(ControlsTest, ReplacingTheFontTableReachesEveryControl) {
  RecordingWindow t(QStringLiteral("XML_TEST"));
  ASSERT_TRUE(t.Create(nullptr, QString()));
  auto* withId = t.FindControl<Label>("fixed_label");  // font 2
  auto* plain = t.FindControl<Label>("id_label");      // the default font
  t.RemoveAllFonts();
  FontSpec face{QStringLiteral("DejaVu Serif"), 15};
  t.SetFont(0, face, false);
  t.SetFont(-1, {QStringLiteral("DejaVu Serif"), 12}, true);
  t.SetFont(2, {QStringLiteral("DejaVu Serif"), 18, true}, false);
  t.ApplyFonts();
  EXPECT_EQ(withId->font().pixelSize(), 18);
  EXPECT_EQ(withId->font().family(), "DejaVu Serif");
  EXPECT_EQ(plain->font().pixelSize(), 12);
  EXPECT_EQ(plain->font().family(), "DejaVu Serif");
  t.SetZoom(1.5);
  EXPECT_EQ(withId->font().pixelSize(), 27);
  EXPECT_EQ(plain->font().pixelSize(), 18);
  // A control that names a font the table lacks gets the default one.
  withId->SetFont(42);
  EXPECT_EQ(withId->font().pixelSize(), 18);
}

TEST_F(ControlsTest, ZoomReachesListRowsAndComboItems) {
  auto* list = w.FindControl<List>("list");
  QCoreApplication::processEvents();
  EXPECT_EQ(list->GetItemAt(0)->Widget()->height(), 30);
  w.SetZoom(1.5);
  QCoreApplication::processEvents();
  EXPECT_EQ(list->GetItemAt(0)->Widget()->height(), 45);
  auto* combo = w.FindControl<Combo>("combo");
  const QModelIndex first = combo->model()->index(0, 0);
  EXPECT_EQ(combo->model()->data(first, Qt::SizeHintRole).toSize().height(), 45);
}

TEST_F(ControlsTest, ASendToAWindowThatWentAwayFails) {
  auto* other = new RecordingWindow;
  ASSERT_TRUE(other->Create(nullptr, QString()));
  std::atomic<int> result{-1};
  std::atomic<bool> waiting{false};
  // The stop predicate is first asked once the message is queued: then the window goes away.
  std::thread worker([&] {
    result = other->SendCustomMessage(5, 0, 0,
                                      [&] {
                                        waiting = true;
                                        return false;
                                      })
                 ? 1
                 : 0;
  });
  while (!waiting) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  delete other;  // drops the queued message, which frees the sender
  worker.join();
  EXPECT_EQ(result.load(), 0);
}

TEST_F(ControlsTest, ListenersSeeEveryNotificationAfterTheWindow) {
  QStringList seen;
  const int id = w.AddNotifyListener([&](const Notify& n) { seen.append(n.type); });
  w.FindControl("btn")->SendNotify("click");
  w.RemoveNotifyListener(id);
  w.FindControl("btn")->SendNotify("click");
  EXPECT_EQ(seen, QStringList({"click"}));
  EXPECT_EQ(w.Count("click"), 2);
}

}  // namespace
}  // namespace zrv::ui
