// The image-string grammar and the drawing helper (placement, source, mask, fade, nine slices,
// tint).

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "ui/containers.h"
#include "ui/image_string.h"
#include "ui/render.h"
#include "ui/resources.h"
#include "ui_test_util.h"

namespace zrv::ui {
namespace {

TEST(ImageStringTest, BareNamesAndKeys) {
  ImageString is;
  ASSERT_TRUE(ParseImageString("common/background.png", &is));
  EXPECT_EQ(is.file, "common/background.png");
  EXPECT_FALSE(is.hasDest);

  ASSERT_TRUE(
      ParseImageString("file='a b.png' dest='1,2,11,22' source='0,0,5,6' corner='1,2,3,4' "
                       "mask='#FF00FF' fade='128' hole='true' xtiled='true' ytiled='false' hsl='true'",
                       &is));
  EXPECT_EQ(is.file, "a b.png");
  EXPECT_EQ(is.dest, QRect(1, 2, 10, 20));
  EXPECT_EQ(is.source, QRect(0, 0, 5, 6));
  EXPECT_EQ(is.corner, QMargins(1, 2, 3, 4));
  EXPECT_TRUE(is.hasMask);
  EXPECT_EQ(is.mask, 0xFFFF00FFu);
  EXPECT_EQ(is.fade, 128);
  EXPECT_TRUE(is.hole && is.xTiled && !is.yTiled && is.hsl);

  ASSERT_TRUE(ParseImageString("res='107' restype='PNG'", &is));
  EXPECT_EQ(is.file, ":/PNG/107");

  QString error;
  EXPECT_FALSE(ParseImageString("file='a.png' size='3'", &is, &error));
  EXPECT_TRUE(error.contains("size"));
  EXPECT_FALSE(ParseImageString("file='a.png", &is, &error));
  EXPECT_FALSE(ParseImageString("file='a.png' dest='1,2,3'", &is, &error));
  EXPECT_FALSE(ParseImageString("file='a.png' fade='x'", &is, &error));
  EXPECT_TRUE(is.IsEmpty());
}

class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Resources::Instance().SetResourcePath(dir.path());
    // 4 x 4: left half red, right half blue, one magenta pixel.
    QImage halves(4, 4, QImage::Format_ARGB32);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < 4; ++x) halves.setPixel(x, y, x < 2 ? 0xFFFF0000u : 0xFF0000FFu);
    }
    halves.setPixel(0, 0, 0xFFFF00FFu);
    halves.save(dir.filePath("halves.png"));
    // 10 x 10: a 2-pixel green frame around red.
    QImage frame(10, 10, QImage::Format_ARGB32);
    frame.fill(0xFF00FF00u);
    for (int y = 2; y < 8; ++y) {
      for (int x = 2; x < 8; ++x) frame.setPixel(x, y, 0xFFFF0000u);
    }
    frame.save(dir.filePath("frame.png"));
    QImage white(8, 8, QImage::Format_ARGB32);
    white.fill(0xFFFFFFFFu);
    white.save(dir.filePath("white.png"));
    QDir().mkpath(dir.filePath("img"));
    QFile::copy(testing::SkinDir() + "/img/light.svg", dir.filePath("img/light.svg"));
  }
  void TearDown() override { testing::UseTestSkin(); }

  QImage Draw(const QString& image, double zoom = 1.0, quint32 tint = 0, int intensity = 0, bool useTint = false,
              bool* drawn = nullptr) {
    QImage target(40, 40, QImage::Format_ARGB32);
    target.fill(Qt::transparent);
    QPainter p(&target);
    const bool ok = render::DrawImageString(p, target.rect(), image, zoom, tint, intensity, useTint);
    if (drawn) *drawn = ok;
    p.end();
    return target;
  }

  QTemporaryDir dir;
};

TEST_F(RenderTest, DestSourceAndZoom) {
  QImage t = Draw("file='halves.png' dest='10,10,20,20'");
  EXPECT_EQ(qAlpha(t.pixel(5, 5)), 0);
  EXPECT_EQ(t.pixel(11, 18), 0xFFFF0000u);
  EXPECT_EQ(t.pixel(18, 11), 0xFF0000FFu);
  EXPECT_EQ(qAlpha(t.pixel(25, 15)), 0);

  t = Draw("file='halves.png' source='2,0,4,4'");
  EXPECT_EQ(t.pixel(1, 38), 0xFF0000FFu);
  EXPECT_EQ(t.pixel(38, 1), 0xFF0000FFu);

  // The source window is cut to the image: asking for more than there is draws what exists.
  bool drawn = false;
  t = Draw("file='halves.png' source='2,0,40,4'", 1.0, 0, 0, false, &drawn);
  EXPECT_TRUE(drawn);
  EXPECT_EQ(t.pixel(20, 20), 0xFF0000FFu);

  // dest is in 96-DPI pixels: zoom 1.5 moves and grows it.
  t = Draw("file='halves.png' dest='10,10,20,20'", 1.5);
  EXPECT_EQ(qAlpha(t.pixel(14, 14)), 0);
  EXPECT_EQ(t.pixel(16, 28), 0xFFFF0000u);
  EXPECT_EQ(qAlpha(t.pixel(31, 20)), 0);
}

TEST_F(RenderTest, MaskAndFade) {
  QImage t = Draw("file='halves.png' mask='#FF00FF'");
  EXPECT_EQ(qAlpha(t.pixel(2, 2)), 0);  // the magenta corner
  EXPECT_EQ(t.pixel(2, 30), 0xFFFF0000u);
  t = Draw("file='white.png' fade='128'");
  EXPECT_NEAR(qAlpha(t.pixel(20, 20)), 128, 2);
}

TEST_F(RenderTest, NineSlicesKeepCornersAndMayLeaveAHole) {
  QImage t = Draw("file='frame.png' corner='2,2,2,2'");
  EXPECT_EQ(t.pixel(0, 0), 0xFF00FF00u);
  EXPECT_EQ(t.pixel(1, 20), 0xFF00FF00u);  // the frame stays 2 pixels wide
  EXPECT_EQ(t.pixel(2, 20), 0xFFFF0000u);
  EXPECT_EQ(t.pixel(38, 38), 0xFF00FF00u);
  EXPECT_EQ(t.pixel(20, 20), 0xFFFF0000u);
  t = Draw("file='frame.png' corner='2,2,2,2' hole='true'");
  EXPECT_EQ(qAlpha(t.pixel(20, 20)), 0);
  EXPECT_EQ(t.pixel(1, 20), 0xFF00FF00u);
}

TEST_F(RenderTest, TintFillsTheShapeWithTheKeyColour) {
  // Key colours keep red in the low byte.
  QImage t = Draw("white.png", 1.0, 0x000000FFu, 255, true);
  EXPECT_EQ(t.pixel(20, 20), 0xFFFF0000u);
  t = Draw("white.png", 1.0, 0x00FF0000u, 255, true);
  EXPECT_EQ(t.pixel(20, 20), 0xFF0000FFu);
  t = Draw("white.png", 1.0, 0x0000FF00u, 128, true);
  EXPECT_NEAR(qAlpha(t.pixel(20, 20)), 128, 2);
  EXPECT_EQ(qGreen(t.pixel(20, 20)) > 0, true);
  // Zero intensity shows nothing; without the tint flag the image is drawn as it is.
  t = Draw("white.png", 1.0, 0x000000FFu, 0, true);
  EXPECT_EQ(qAlpha(t.pixel(20, 20)), 0);
  t = Draw("white.png", 1.0, 0x000000FFu, 0, false);
  EXPECT_EQ(t.pixel(20, 20), 0xFFFFFFFFu);
}

TEST_F(RenderTest, AStringIsComposedOnceThenBlittedWhereverItLandsUntilTheSkinChanges) {
  const QString nine = QStringLiteral("file='frame.png' corner='2,2,2,2' dest='4,4,24,24'");
  const QImage first = Draw(nine);
  QImage moved(40, 40, QImage::Format_ARGB32);
  moved.fill(Qt::transparent);
  {
    QPainter p(&moved);
    p.translate(6, 6);
    render::DrawImageString(p, QRect(0, 0, 40, 40), nine);
  }
  EXPECT_EQ(moved.copy(6, 6, 34, 34), first.copy(0, 0, 34, 34)) << "the kept composition, elsewhere";
  QImage scaled(80, 80, QImage::Format_ARGB32);
  scaled.fill(Qt::transparent);
  {
    QPainter p(&scaled);
    p.scale(2, 2);  // not a blit: drawn directly
    render::DrawImageString(p, QRect(0, 0, 40, 40), nine);
  }
  EXPECT_EQ(scaled.pixel(8, 8), 0xFF00FF00u);
  EXPECT_EQ(scaled.pixel(20, 20), 0xFFFF0000u);
  // A container's opaque colour under its image is kept as one image, made again on a change.
  Container box;
  box.resize(20, 20);
  box.SetBkColor(0xFF000000u);
  box.SetBkImage(QStringLiteral("file='halves.png' dest='0,0,10,10'"));
  EXPECT_EQ(box.grab().toImage().pixel(2, 8), 0xFFFF0000u);
  EXPECT_EQ(box.grab().toImage().pixel(15, 15), 0xFF000000u);
  box.SetBkColor(0xFF00FF00u);
  EXPECT_EQ(box.grab().toImage().pixel(15, 15), 0xFF00FF00u);
  box.SetBkImage(QStringLiteral("file='white.png' dest='0,0,10,10'"));
  EXPECT_EQ(box.grab().toImage().pixel(2, 8), 0xFFFFFFFFu);
  // Copied into plain pixels, it covers the region being repainted and nothing else (two strips).
  QImage pixels(20, 20, QImage::Format_RGB32);
  pixels.fill(0xFF123456u);
  box.render(&pixels, QPoint(), QRegion(0, 0, 5, 20) + QRegion(15, 0, 5, 20));
  EXPECT_EQ(pixels.pixel(2, 8), 0xFFFFFFFFu);
  EXPECT_EQ(pixels.pixel(17, 17), 0xFF00FF00u);
  EXPECT_EQ(pixels.pixel(10, 10), 0xFF123456u) << "between the strips";
  // A skin change empties the kept compositions.
  QImage blue(10, 10, QImage::Format_ARGB32);
  blue.fill(0xFF0000FFu);
  ASSERT_TRUE(QFile::remove(dir.filePath("frame.png")) && blue.save(dir.filePath("frame.png")));
  render::ClearImageCache();
  EXPECT_EQ(Draw(nine).pixel(14, 14), 0xFF0000FFu);
}

TEST_F(RenderTest, SvgAndMissingImages) {
  QImage t = Draw("img/light.svg", 1.5);
  EXPECT_EQ(t.pixel(39, 39), 0xFFFFFFFFu);  // stretched over the whole rectangle
  bool drawn = true;
  Draw("file='nothing.png'", 1.0, 0, 0, false, &drawn);
  EXPECT_FALSE(drawn);
  Draw("file='white.png' bogus='1'", 1.0, 0, 0, false, &drawn);
  EXPECT_FALSE(drawn);
  Draw("", 1.0, 0, 0, false, &drawn);
  EXPECT_FALSE(drawn);
  EXPECT_EQ(render::ImageSize("img/light.svg"), QSize(20, 10));
}

TEST(DrawTextTest, HtmlTextTakesItsColoursFromTheMarkup) {
  QImage target(120, 40, QImage::Format_ARGB32);
  target.fill(Qt::transparent);
  QPainter p(&target);
  QFont font;
  font.setPixelSize(20);
  render::DrawHtmlText(p, target.rect(), "<font color='#00ff00'>WW</font>", 0xFFFF0000u, font,
                       Qt::AlignLeft | Qt::AlignVCenter);
  p.end();
  int green = 0, red = 0;
  for (int y = 0; y < target.height(); ++y) {
    for (int x = 0; x < target.width(); ++x) {
      const QRgb c = target.pixel(x, y);
      if (qAlpha(c) > 200 && qGreen(c) > 200 && qRed(c) < 50) ++green;
      if (qAlpha(c) > 200 && qRed(c) > 200 && qGreen(c) < 50) ++red;
    }
  }
  EXPECT_GT(green, 20);
  EXPECT_EQ(red, 0);
}

}  // namespace
}  // namespace zrv::ui
