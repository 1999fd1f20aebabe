// A device picture driven by the mouse: the rubber band over the key buttons of the selection
// panel, the key button's double click, and the hand controls beside it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QTest>

#include "controls/device_key_button.h"
#include "controls/hand_img_button.h"
#include "controls/hand_img_select_button.h"
#include "controls/select_panel.h"
#include "ui/control_factory.h"
#include "ui/ui_test_util.h"

namespace zrv::controls {
namespace {

const char* const kClasses[] = {"CSelectPanelUI", "CDeviceKeyButtonUI", "CHandImgButtonUI", "CHandImgSelectButtonUI"};

class Picture : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::RegistControl<CSelectPanelUI>(kClasses[0]);
    ui::RegistControl<CDeviceKeyButtonUI>(kClasses[1]);
    ui::RegistControl<CHandImgButtonUI>(kClasses[2]);
    ui::RegistControl<CHandImgSelectButtonUI>(kClasses[3]);
    ASSERT_TRUE(w_.Create(nullptr, QStringLiteral("picture"))) << w_.LastError().ToString().toStdString();
    w_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w_));
    panel_ = w_.FindControl<CSelectPanelUI>(QStringLiteral("panel"));
    ASSERT_NE(panel_, nullptr);
    w_.records.clear();
  }
  void TearDown() override {
    for (const char* name : kClasses) ui::ControlFactory::Instance().Unregister(name);
  }
  CDeviceKeyButtonUI* Key(const char* name) { return w_.FindControl<CDeviceKeyButtonUI>(QString::fromLatin1(name)); }
  // Select states of key_0, key_1, key_2 and the nested "deep" key, e.g. "1100".
  QString States() {
    QString s;
    for (const char* name : {"key_0", "key_1", "key_2", "deep"}) s += QString::number(Key(name)->GetSelectState());
    return s;
  }
  void SetStates(int state) {
    for (const char* name : {"key_0", "key_1", "key_2", "deep"}) Key(name)->SetSelectState(state);
  }
  // A drag over the panel in its own coordinates (the window's: the panel sits at 0,0).
  void Drag(QPoint from, QPoint to) {
    QTest::mousePress(panel_, Qt::LeftButton, {}, from);
    QTest::mouseMove(panel_, (from + to) / 2);
    QTest::mouseMove(panel_, to);
    QTest::mouseRelease(panel_, Qt::LeftButton, {}, to);
  }

  ui::testing::RecordingWindow w_{QStringLiteral(ZRV31_SOURCE_DIR "/tests/controls/data/picture_window.xml")};
  CSelectPanelUI* panel_ = nullptr;
};

TEST_F(Picture, PressAndReleaseWithoutMoveSelectsNothingAndRaisesNothing) {
  Key("key_1")->SetSelectState(1);
  QTest::mouseClick(panel_, Qt::LeftButton, {}, QPoint(45, 50));
  EXPECT_EQ(States(), "0100");
  EXPECT_TRUE(w_.Log().isEmpty());
}

TEST_F(Picture, EachDragReplacesTheSelectionOfTheDirectKeyButtons) {
  Key("deep")->SetSelectState(1);
  Drag(QPoint(5, 5), QPoint(55, 100));  // over key_0, into key_1 and over the nested key
  EXPECT_EQ(States(), "1101") << "a key one level down takes no part";
  EXPECT_EQ(panel_->GetSelectRect(), QRect(QPoint(5, 5), QPoint(54, 99)));
  Drag(QPoint(130, 45), QPoint(100, 20));  // backwards, over key_2 only
  EXPECT_EQ(States(), "0011");
  EXPECT_EQ(w_.Log(), QStringList({"click_select_end:panel", "click_select_end:panel"}));
}

TEST_F(Picture, KeysThatOnlyTouchTheRectangleAreNotSelected) {
  SetStates(1);
  Drag(QPoint(40, 0), QPoint(50, 50));  // between key_0 (ends at 40) and key_1 (starts at 50)
  EXPECT_EQ(States(), "0001");
  Drag(QPoint(39, 0), QPoint(51, 50));  // one pixel of each
  EXPECT_EQ(States(), "1101");
}

TEST_F(Picture, AStraightDragClearsEverySelectionAndStillNotifies) {
  SetStates(1);
  Drag(QPoint(5, 20), QPoint(200, 20));
  EXPECT_EQ(States(), "0001");
  EXPECT_EQ(w_.Log(), QStringList({"click_select_end:panel"}));
}

TEST_F(Picture, TheBandLiesOverTheKeysWhileDraggingOnly) {
  QTest::mousePress(panel_, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseMove(panel_, QPoint(60, 60));
  EXPECT_TRUE(panel_->IsDragging());
  QImage shot = w_.grab().toImage();
  const QRgb over_key = shot.pixel(25, 25);  // key_0 is black: the fill's alpha over black
  EXPECT_EQ(qRed(over_key), 0);
  EXPECT_NEAR(qGreen(over_key), 0x99 * 0x46 / 255, 2);
  EXPECT_NEAR(qBlue(over_key), 0xFF * 0x46 / 255, 2);
  EXPECT_EQ(shot.pixel(6, 30), 0xFF0099FFu) << "the border";
  QTest::mouseRelease(panel_, Qt::LeftButton, {}, QPoint(60, 60));
  shot = w_.grab().toImage();
  EXPECT_EQ(shot.pixel(25, 25), qRgb(0, 0, 0));
}

// Paint events a widget receives, with the region of the last one.
class PaintSpy : public QObject {
 public:
  explicit PaintSpy(QWidget* widget) { widget->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++count;
      region = static_cast<QPaintEvent*>(event)->region();
    }
    return false;
  }
  int count = 0;
  QRegion region;
};

TEST_F(Picture, KeyButtonsAreDrawnByTheirPanelWhichTheirChangesRepaint) {
  CDeviceKeyButtonUI* key = Key("key_0");
  EXPECT_TRUE(key->IsDrawnByParent());
  EXPECT_TRUE(Key("deep")->IsDrawnByParent()) << "by the container that holds it";
  EXPECT_EQ(w_.grab().toImage().pixel(25, 25), qRgb(0, 0, 0));
  EXPECT_EQ(key->grab().toImage().pixel(15, 15), qRgb(0, 0, 0)) << "a grab of the button alone";

  PaintSpy on_key(key);
  PaintSpy on_panel(panel_);
  // Each step must repaint the key's rectangle through the panel.
  const auto repainted = [&] {
    const int before = on_panel.count;
    return QTest::qWaitFor([&] { return on_panel.count > before && on_panel.region.contains(key->geometry()); });
  };
  key->SetBkColor(0xFFFF0000u);
  EXPECT_TRUE(repainted());
  EXPECT_EQ(w_.grab().toImage().pixel(25, 25), qRgb(255, 0, 0));
  EXPECT_EQ(w_.grab().toImage().pixel(5, 5), qRgb(0x10, 0x10, 0x10)) << "the panel around it";
  // Qt's own repaints of a pressed button reach the panel too, and a hidden key leaves it.
  QTest::mousePress(key, Qt::LeftButton);
  EXPECT_TRUE(repainted()) << "press";
  QTest::mouseRelease(key, Qt::LeftButton);
  EXPECT_TRUE(repainted()) << "release";
  key->hide();
  EXPECT_TRUE(repainted()) << "hide";
  EXPECT_NE(w_.grab().toImage().pixel(25, 25), qRgb(255, 0, 0));
  EXPECT_EQ(on_key.count, 0) << "no paint event of its own";
}

TEST_F(Picture, ADoubleClickOnAKeyGivesClickDbclickClick) {
  CDeviceKeyButtonUI* key = Key("key_2");
  // What the platform delivers: press, release, the double click in place of the second press,
  // release.
  QTest::mouseClick(key, Qt::LeftButton);
  QTest::mouseDClick(key, Qt::LeftButton);
  QTest::mouseRelease(key, Qt::LeftButton);
  EXPECT_EQ(w_.Log(), QStringList({"click:key_2", "dbclick:key_2", "click:key_2"}));
  w_.records.clear();
  key->SetEnabled(false);
  QTest::mouseDClick(key, Qt::LeftButton);
  QTest::mouseRelease(key, Qt::LeftButton);
  EXPECT_TRUE(w_.Log().isEmpty());
}

TEST_F(Picture, HandButtonClicksOnlyOnAReleaseInside) {
  auto* hand = w_.FindControl<CHandImgButtonUI>(QStringLiteral("hand"));
  ASSERT_NE(hand, nullptr);
  QTest::mousePress(hand, Qt::LeftButton);
  EXPECT_TRUE(hand->isDown());
  QTest::mouseMove(hand, QPoint(-5, 5));
  EXPECT_FALSE(hand->isDown()) << "pushed follows the pointer while captured";
  QTest::mouseRelease(hand, Qt::LeftButton, {}, QPoint(-5, 5));
  EXPECT_TRUE(w_.Log().isEmpty());
  QTest::mouseClick(hand, Qt::LeftButton);
  EXPECT_EQ(w_.Log(), QStringList({"click:hand"}));
  w_.records.clear();
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), hand->mapToGlobal(QPointF(2, 2)));
  QApplication::sendEvent(hand, &enter);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(hand, &leave);
  EXPECT_EQ(w_.Log(), QStringList({"msenter:hand", "msleave:hand"}));
}

// The pan view over a 100 x 80 picture outside the skin, in a 40 x 30 control.
TEST_F(Picture, PanViewFollowsThePointerAndStopsAtTheEdges) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("big.png"));
  QImage big(100, 80, QImage::Format_RGB32);
  big.fill(Qt::darkCyan);
  ASSERT_TRUE(big.save(file));
  auto* pan = w_.FindControl<CHandImgSelectButtonUI>(QStringLiteral("pan"));
  ASSERT_NE(pan, nullptr);
  pan->SetHandImage(file);
  EXPECT_EQ(pan->GetImageSize(), QSize(100, 80));
  EXPECT_EQ(pan->GetShownImage(), QStringLiteral("file='%1' source='0,0,40,30'").arg(file));

  QTest::mousePress(pan, Qt::LeftButton, {}, QPoint(20, 15));
  QTest::mouseMove(pan, QPoint(10, 5));  // left and up: the view moves right and down
  EXPECT_EQ(pan->GetView(), QRect(10, 10, 40, 30));
  QTest::mouseMove(pan, QPoint(30, 25));  // back by more than the view's offset: stops at 0
  EXPECT_EQ(pan->GetView(), QRect(0, 0, 40, 30));
  QTest::mouseMove(pan, QPoint(-45, 25));  // 75 to the left: may pass the picture's edge once
  EXPECT_EQ(pan->GetView(), QRect(75, 0, 40, 30));
  QTest::mouseMove(pan, QPoint(-60, 25));
  EXPECT_EQ(pan->GetView(), QRect(75, 0, 40, 30)) << "no further once past the edge";
  EXPECT_EQ(pan->GetShownImage(), QStringLiteral("file='%1' source='75,0,115,30'").arg(file));
  QTest::mouseRelease(pan, Qt::LeftButton, {}, QPoint(-60, 25));
  EXPECT_FALSE(pan->IsDragging());
  EXPECT_TRUE(w_.Log().isEmpty()) << "the pan view raises no click";

  QImage small(30, 20, QImage::Format_RGB32);
  small.fill(Qt::red);
  const QString small_file = dir.filePath(QStringLiteral("small.png"));
  ASSERT_TRUE(small.save(small_file));
  pan->SetHandImage(small_file);
  EXPECT_EQ(pan->GetShownImage(), small_file) << "a picture that fits is shown whole";
  QTest::mousePress(pan, Qt::LeftButton, {}, QPoint(20, 15));
  QTest::mouseMove(pan, QPoint(0, 0));
  QTest::mouseMove(pan, QPoint(39, 29));
  QTest::mouseRelease(pan, Qt::LeftButton, {}, QPoint(39, 29));
  EXPECT_EQ(pan->GetView(), QRect(0, 0, 40, 30));
}

}  // namespace
}  // namespace zrv::controls
