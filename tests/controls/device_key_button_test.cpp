// The key button: its attributes, its light and key-set fields, and what it draws.

#include "controls/device_key_button.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

#include "controls/key_layer_cache.h"
#include "ui/containers.h"
#include "ui/control_factory.h"
#include "ui/dialog_builder.h"
#include "ui/render.h"

namespace zrv::controls {
namespace {

const QString kLightImage = QStringLiteral(ZRV31_SOURCE_DIR "/skin/common/device/key_light.svg");
const QString kMarkImage = QStringLiteral(ZRV31_SOURCE_DIR "/skin/common/status_dot.svg");  // #2DE1C2

// The button drawn at 30 x 26 pixels; the pixel at its centre.
QRgb CentrePixel(CDeviceKeyButtonUI& button) {
  button.resize(30, 26);
  QImage image(30, 26, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::black);
  button.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);  // no window background
  return image.pixel(15, 13);
}

TEST(DeviceKeyButton, StartsDarkWithTheDefaultLight) {
  CDeviceKeyButtonUI button;
  EXPECT_EQ(button.GetClass(), "DeviceKeyButton");
  EXPECT_FALSE(button.IsLightOn());
  EXPECT_EQ(button.GetLightColour(), 0x000000FFu);
  EXPECT_EQ(button.GetLightIntensity(), 200);
  EXPECT_TRUE(button.IsKeySetHidden());
  EXPECT_EQ(button.GetSelectState(), 0);
}

TEST(DeviceKeyButton, LayoutAttributesReachTheButton) {
  ui::RegistControl<CDeviceKeyButtonUI>(QStringLiteral("CDeviceKeyButtonUI"));
  ui::DialogBuilder builder;
  std::unique_ptr<ui::Control> root(
      builder.CreateFromText("<HorizontalLayout><DeviceKeyButton name='key_7' lightimage='a.svg' keysetimage='b.svg' "
                             "gmnametextcolor='#FF00FF00' width='30'/></HorizontalLayout>",
                             "inline"));
  ASSERT_NE(root, nullptr) << builder.Error().ToString().toStdString();
  auto* button = dynamic_cast<CDeviceKeyButtonUI*>(dynamic_cast<ui::Container*>(root.get())->GetItemAt(0));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->GetName(), "key_7");
  EXPECT_EQ(button->GetLightImage(), "a.svg");
  EXPECT_EQ(button->GetKeySetImage(), "b.svg");
  EXPECT_FALSE(button->HasCustomAttribute("gmnametextcolor")) << "accepted, not kept";
  EXPECT_EQ(button->GetFixedWidth(), 30);
  ui::ControlFactory::Instance().Unregister(QStringLiteral("CDeviceKeyButtonUI"));
}

TEST(DeviceKeyButton, SetLightKeepsTheColourWithoutAlphaAndClampsTheIntensity) {
  CDeviceKeyButtonUI button;
  button.SetLight(0xFF123456, 300, true);
  EXPECT_EQ(button.GetLightColour(), 0x00123456u);
  EXPECT_EQ(button.GetLightIntensity(), 255);
  EXPECT_TRUE(button.IsLightOn());
  button.SetLight(0x10, -5, false);
  EXPECT_EQ(button.GetLightIntensity(), 0);
  EXPECT_FALSE(button.IsLightOn());
}

TEST(DeviceKeyButton, TheLightImageIsTintedWithTheKeyColourWhileTheLightIsOn) {
  // An opaque white light of our own: the skin's light is a translucent rim, so its centre pixel would
  // say nothing exact about the tint.
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString light = dir.filePath(QStringLiteral("light.svg"));
  QFile file(light);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(
      "<svg xmlns='http://www.w3.org/2000/svg' width='30' height='26'><rect width='30' height='26' "
      "fill='#FFFFFF'/></svg>");
  file.close();
  CDeviceKeyButtonUI button;
  button.SetLightImage(light);
  EXPECT_EQ(CentrePixel(button), qRgb(0, 0, 0)) << "light off: nothing drawn";

  button.SetLight(0x0000FF00, 255, true);  // green, 0x00BBGGRR
  EXPECT_EQ(CentrePixel(button), qRgb(0, 255, 0));

  button.SetLight(0x000000FF, 128, true);  // red at half intensity over black
  const QRgb half = CentrePixel(button);
  EXPECT_NEAR(qRed(half), 128, 2);
  EXPECT_EQ(qGreen(half), 0);
  EXPECT_EQ(qBlue(half), 0);
}

TEST(DeviceKeyButton, TheKeySetMarkIsDrawnUntintedOnlyWhileNotHidden) {
  CDeviceKeyButtonUI button;
  button.SetKeySetImage(kMarkImage);
  button.SetLight(0x000000FF, 255, false);
  EXPECT_EQ(CentrePixel(button), qRgb(0, 0, 0));
  button.SetKeySetHidden(false);
  EXPECT_FALSE(button.IsKeySetHidden());
  EXPECT_EQ(CentrePixel(button), qRgb(0x2D, 0xE1, 0xC2));
}

// Counts the paints a widget gets.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    paints += event->type() == QEvent::Paint ? 1 : 0;
    return false;
  }
};

// A shown button; Settle() lets pending paints happen and returns how many there were.
class ShownKey : public ::testing::Test {
 protected:
  void SetUp() override {
    button_.SetLightImage(kLightImage);
    button_.resize(30, 26);
    button_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button_));
    Settle();
  }
  int Settle() {
    counter_.paints = 0;
    QCoreApplication::processEvents();
    return counter_.paints;
  }
  CDeviceKeyButtonUI button_;
  PaintCounter counter_{&button_};
};

TEST_F(ShownKey, RepaintsOnlyForAChangedLightOrKeySetFlag) {
  button_.SetLight(0x00112233, 200, true);
  EXPECT_EQ(Settle(), 0) << "SetLight leaves the repaint to the page";
  EXPECT_TRUE(button_.RedrawLight());
  EXPECT_EQ(Settle(), 1);
  button_.SetLight(0x00112233, 200, true);
  EXPECT_FALSE(button_.RedrawLight()) << "same light again";
  button_.SetKeySetHidden(true);
  EXPECT_EQ(Settle(), 0) << "the flag as stored";
  button_.SetKeySetHidden(false);
  EXPECT_EQ(Settle(), 1);
}

TEST_F(ShownKey, ALightSeenBeforeIsDrawnFromTheLayerCache) {
  KeyLayerCache& cache = KeyLayerCache::Instance();
  cache.Clear();
  cache.SetDirectBlend(false);  // the way of painters whose pixels are not written in place
  const std::unique_ptr<KeyLayerCache, void (*)(KeyLayerCache*)> restore(
      &cache, [](KeyLayerCache* c) { c->SetDirectBlend(true); });
  const qint64 before = cache.TintRenders();
  button_.SetLight(0x00ABCDEF, 180, true);
  button_.RedrawLight();
  Settle();
  EXPECT_EQ(cache.TintRenders(), before + 1);
  button_.SetLight(0x00010203, 180, true);
  button_.RedrawLight();
  Settle();
  EXPECT_EQ(cache.TintRenders(), before + 2);
  button_.SetLight(0x00ABCDEF, 180, true);  // back to the first colour
  button_.RedrawLight();
  EXPECT_EQ(Settle(), 1);
  EXPECT_EQ(cache.TintRenders(), before + 2);
  button_.SetLight(0x00ABCDEF, 181, true);  // another intensity is another layer
  button_.RedrawLight();
  Settle();
  EXPECT_EQ(cache.TintRenders(), before + 3);
}

// The largest difference of any channel between two images of one size.
int MaxDifference(const QImage& a, const QImage& b) {
  int worst = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                        std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
    }
  }
  return worst;
}

TEST(KeyLayers, LookAsTheLibraryDrawsThemAtAFractionalPixelRatio) {
  auto canvas = [] {
    QImage image(45, 39, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(1.5);
    image.fill(Qt::transparent);
    return image;
  };
  const QRect key(0, 0, 30, 26);
  QImage mine = canvas(), library = canvas();
  {
    QPainter p(&mine);
    KeyLayerCache::Instance().DrawLight(p, key, KeyLayerCache::ImageId(kLightImage), kLightImage, 1.0, 0x0040A0FF, 150);
  }
  {
    QPainter p(&library);
    ui::render::DrawImageString(p, key, kLightImage, 1.0, 0x0040A0FF, 150, true);
  }
  int strongest = 0;  // the skin's light is a rim: look for it anywhere on the key
  for (int y = 0; y < mine.height(); ++y) {
    for (int x = 0; x < mine.width(); ++x) strongest = std::max(strongest, qAlpha(mine.pixel(x, y)));
  }
  EXPECT_GT(strongest, 100) << "the light is there";
  EXPECT_LE(MaxDifference(mine, library), 3) << "tinted light";

  mine = canvas();
  library = canvas();
  {
    QPainter p(&mine);
    KeyLayerCache::Instance().DrawRoundedFill(p, key, 0xFF1E222A, QSize(4, 4));
  }
  {
    QPainter p(&library);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(key), 4, 4);
    p.fillPath(path, QColor::fromRgba(0xFF1E222A));
  }
  EXPECT_LE(MaxDifference(mine, library), 3) << "rounded background";
}

TEST(KeyLayers, ALightBlendedInPlaceLooksAsItsTintedLayerAndKeepsToTheRepaintedRegion) {
  KeyLayerCache& cache = KeyLayerCache::Instance();
  const QColor under(30, 60, 90, 200);
  const QRect key(3, 5, 30, 26);  // odd offsets and a width of 4n + 2: every part of a run
  for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
    for (const qreal ratio : {1.0, 2.0}) {
      for (const int intensity : {150, 255}) {  // at 255 the fully covered rim is stored as it is
        const auto draw = [&](bool in_place) {
          QImage image(QSize(40, 36) * ratio, format);
          image.setDevicePixelRatio(ratio);
          image.fill(under);
          cache.SetDirectBlend(in_place);
          QPainter p(&image);
          cache.DrawLight(p, key, KeyLayerCache::ImageId(kLightImage), kLightImage, 1.0, 0x0040A0FF, intensity);
          return image;
        };
        const QImage layered = draw(false);
        const qint64 layers = cache.TintRenders();
        const QImage in_place = draw(true);
        EXPECT_EQ(cache.TintRenders(), layers) << "no layer is made";
        EXPECT_LE(MaxDifference(in_place, layered), 2) << format << " at " << ratio << ", " << intensity;
        EXPECT_NE(in_place.pixel(QPoint(4, 18) * ratio), in_place.pixel(0, 0)) << "the rim is lit";
      }
    }
  }

  // A widget's paint may write only the region being repainted: here the key's left half.
  CDeviceKeyButtonUI button;
  button.SetLightImage(kLightImage);
  button.SetLight(0x0040A0FF, 255, true);
  button.resize(30, 26);
  QImage image(30, 26, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::black);
  button.render(&image, QPoint(), QRegion(0, 0, 15, 26), QWidget::DrawChildren);
  EXPECT_NE(image.pixel(1, 13), qRgb(0, 0, 0)) << "the left rim";
  EXPECT_EQ(image.pixel(28, 13), qRgb(0, 0, 0)) << "the right rim is outside the region";
}

TEST(DeviceKeyButton, ToolTipCarriesTitleAndText) {
  CDeviceKeyButtonUI button;
  button.SetUserToolTitle(QStringLiteral("A"));
  EXPECT_EQ(button.GetToolTip(), "A");
  button.SetUserToolText(QStringLiteral("A -> B"));
  EXPECT_EQ(button.GetToolTip(), "A\nA -> B");
  EXPECT_EQ(button.GetUserToolTitle(), "A");
  EXPECT_EQ(button.GetUserToolText(), "A -> B");
}

}  // namespace
}  // namespace zrv::controls
