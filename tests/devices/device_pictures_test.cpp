// The device pictures of the page layouts: the keyboard's key buttons lie on the keys of its
// drawing, the keys sit where a keyboard has them (found through the key identity table, not through
// the layout), and every button of every picture has a place of its own and names its key.

#include <gtest/gtest.h>

#include <QFile>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QRectF>
#include <QXmlStreamReader>

#include <map>
#include <memory>
#include <set>
#include <vector>

#include "controls/device_key_button.h"
#include "device/hid_backend.h"
#include "device/key_identity_table.h"
#include "device/virtual_hid.h"
#include "devices/device_page_factory.h"
#include "devices/kind_pages.h"
#include "page_test_support.h"
#include "ui/language.h"
#include "ui/lookup.h"

namespace zrv::devices {
namespace {

constexpr int kPictureWidth = 800;
constexpr int kPictureHeight = 210;
// Logical keys without a key on the keyboard: the empty positions of the layout and the unused last one.
const std::set<int> kNoKey = {16, 20, 104, 125};

class DevicePicturesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    testing::RegisterPageControls();
    ASSERT_TRUE(ui::LoadLanguage(QStringLiteral("lan_en.xml")));
  }

  DevicePicturesTest() : backends_({device::VirtualHidRegistry::Instance().Backend()}) {}

  // The page of row `row` of the device tables (0 mouse, 1 keyboard, 2 pad, 3 headset).
  std::unique_ptr<CHalveronUSBDevicePage> Build(size_t row) {
    static const size_t kRecords[] = {2, 0, 4, 6};
    QString error;
    std::unique_ptr<CHalveronUSBDevicePage> page(
        CreateDevicePage(row, device::kInterfaceTable[kRecords[row]], nullptr, nullptr, &error));
    EXPECT_NE(page, nullptr) << error.toStdString();
    return page;
  }

  static std::vector<controls::CDeviceKeyButtonUI*> Buttons(CHalveronUSBDevicePage& page) {
    std::vector<controls::CDeviceKeyButtonUI*> out;
    for (ui::Control* c : ui::FindSubControlsByClass(&page, QStringLiteral("DeviceKeyButton"))) {
      out.push_back(dynamic_cast<controls::CDeviceKeyButtonUI*>(c));
    }
    return out;
  }

 private:
  device::ScopedHidBackends backends_;
};

// The key caps of the keyboard drawing by logical key ("key_" n), and the drawing's view box.
std::map<int, QRectF> DrawnKeys(QRectF* view_box) {
  std::map<int, QRectF> keys;
  QFile file(QStringLiteral(ZRV31_SOURCE_DIR "/skin/common/device/keyboard.svg"));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement()) continue;
    const QXmlStreamAttributes a = xml.attributes();
    if (xml.name() == u"svg") {
      const QStringList v = a.value(QLatin1String("viewBox")).toString().split(u' ');
      if (v.size() == 4) *view_box = QRectF(v[0].toDouble(), v[1].toDouble(), v[2].toDouble(), v[3].toDouble());
    }
    const QString id = a.value(QLatin1String("id")).toString();
    if (xml.name() == u"rect" && id.startsWith(u"key_")) {
      keys[id.mid(4).toInt()] =
          QRectF(a.value(QLatin1String("x")).toDouble(), a.value(QLatin1String("y")).toDouble(),
                 a.value(QLatin1String("width")).toDouble(), a.value(QLatin1String("height")).toDouble());
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return keys;
}

// The logical key whose factory code is the plain key with this HID usage (or the given code).
int LogicalKey(uint8_t type, uint8_t first, uint8_t second) {
  for (size_t i = 0; i < device::kKeyIdentityTable.size(); ++i) {
    const device::KeyCode& c = device::kKeyIdentityTable[i];
    if (c.type == type && c.first == first && c.second == second) return static_cast<int>(i);
  }
  return -1;
}
int Usage(uint8_t usage) { return LogicalKey(0x20, 0x00, usage); }

TEST_F(DevicePicturesTest, EveryKeyboardKeyButtonLiesOnItsKeyOfTheDrawing) {
  auto page = Build(1);
  ASSERT_NE(page, nullptr);
  QRectF view_box;
  const std::map<int, QRectF> drawn = DrawnKeys(&view_box);
  EXPECT_EQ(view_box, QRectF(0, 0, kPictureWidth, kPictureHeight)) << "the drawing uses the picture's coordinates";
  auto* picture = ui::FindSubControlByName<ui::Control>(page.get(), QStringLiteral("keyboard_device_picture"));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->GetFixedHeight(), kPictureHeight);

  for (int key = 0; key < 126; ++key) {
    SCOPED_TRACE(key);
    controls::CDeviceKeyButtonUI* button = page->KeyButton(key);
    if (kNoKey.count(key) != 0) {
      EXPECT_EQ(button, nullptr) << "no key, no button";
      EXPECT_EQ(drawn.count(key), 0u);
      continue;
    }
    ASSERT_NE(button, nullptr);
    ASSERT_EQ(drawn.count(key), 1u);
    const QRectF cap = drawn.at(key);
    const QRectF pos(button->GetFloatPos());
    EXPECT_NEAR(pos.center().x(), cap.center().x(), 0.5);
    EXPECT_NEAR(pos.center().y(), cap.center().y(), 0.5);
    EXPECT_NEAR(pos.width(), cap.width(), 2.0);
    EXPECT_NEAR(pos.height(), cap.height(), 2.0);
    const QString tip = button->GetToolTip();
    EXPECT_FALSE(tip.isEmpty());
    EXPECT_FALSE(tip.startsWith(u"keyboard_key_")) << "the key's name, not its text id: " << tip.toStdString();
  }
}

// Every legend of the keyboard drawing lies on the top face of its key cap (the rectangle drawn right
// after the cap's skirt), measured with the face the drawing names.
TEST_F(DevicePicturesTest, EveryKeyboardLegendStaysOnItsCap) {
  QFont inter(QStringLiteral("Inter"));
  if (QFontInfo(inter).family() != u"Inter") GTEST_SKIP() << "the drawing's font is not installed";
  QFile file(QStringLiteral(ZRV31_SOURCE_DIR "/skin/common/device/keyboard.svg"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  QString key;
  QRectF face;
  bool face_next = false;
  int legends = 0;
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement()) continue;
    const QXmlStreamAttributes a = xml.attributes();
    const auto number = [&a](const char* name) { return a.value(QLatin1String(name)).toDouble(); };
    if (xml.name() == u"rect") {
      const QString id = a.value(QLatin1String("id")).toString();
      if (id.startsWith(u"key_")) {
        key = id;
        face_next = true;
      } else if (face_next) {
        face = QRectF(number("x"), number("y"), number("width"), number("height"));
        face_next = false;
      }
      continue;
    }
    if (xml.name() != u"text" || key.isEmpty()) continue;
    const double x = number("x");
    QFont font = inter;
    font.setPixelSize(100);  // measured large and scaled: pixel sizes are whole numbers
    font.setWeight(a.value(QLatin1String("font-weight")) == u"500" ? QFont::Medium : QFont::Normal);
    const QString text = xml.readElementText();
    const double width = QFontMetricsF(font).horizontalAdvance(text) * number("font-size") / 100.0;
    ASSERT_EQ(a.value(QLatin1String("text-anchor")), u"middle") << key.toStdString();
    EXPECT_GE(x - width / 2, face.left()) << key.toStdString() << " " << text.toStdString();
    EXPECT_LE(x + width / 2, face.right()) << key.toStdString() << " " << text.toStdString();
    ++legends;
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_GT(legends, 100);
}

// Runs of keys that lie side by side on one row, left to right, and the rows from the top down.
TEST_F(DevicePicturesTest, TheKeysSitWhereAKeyboardHasThem) {
  auto page = Build(1);
  ASSERT_NE(page, nullptr);
  const std::vector<std::vector<int>> rows = {
      {Usage(0x29), Usage(0x3A), Usage(0x3B), Usage(0x3C), Usage(0x3D), Usage(0x3E), Usage(0x3F), Usage(0x40),
       Usage(0x41), Usage(0x42), Usage(0x43), Usage(0x44), Usage(0x45), Usage(0x46), Usage(0x47), Usage(0x48),
       LogicalKey(0x30, 0xB6, 0), LogicalKey(0x30, 0xCD, 0), LogicalKey(0x30, 0xB5, 0)},
      {Usage(0x35), Usage(0x1E), Usage(0x1F), Usage(0x20), Usage(0x21), Usage(0x22), Usage(0x23), Usage(0x24),
       Usage(0x25), Usage(0x26), Usage(0x27), Usage(0x2D), Usage(0x2E), Usage(0x89), Usage(0x2A), Usage(0x49),
       Usage(0x4A), Usage(0x4B), Usage(0x53), Usage(0x54), Usage(0x55), Usage(0x56)},
      {Usage(0x2B), Usage(0x14), Usage(0x1A), Usage(0x08), Usage(0x15), Usage(0x17), Usage(0x1C),
       Usage(0x18), Usage(0x0C), Usage(0x12), Usage(0x13), Usage(0x2F), Usage(0x30), Usage(0x31),
       Usage(0x4C), Usage(0x4D), Usage(0x4E), Usage(0x5F), Usage(0x60), Usage(0x61), Usage(0x57)},
      {Usage(0x39), Usage(0x04), Usage(0x16), Usage(0x07), Usage(0x09), Usage(0x0A), Usage(0x0B), Usage(0x0D),
       Usage(0x0E), Usage(0x0F), Usage(0x33), Usage(0x34), Usage(0x32), Usage(0x28), Usage(0x5C), Usage(0x5D),
       Usage(0x5E), Usage(0x85)},
      {LogicalKey(0x20, 0x02, 0), Usage(0x64), Usage(0x1D), Usage(0x1B), Usage(0x06), Usage(0x19), Usage(0x05),
       Usage(0x11), Usage(0x10), Usage(0x36), Usage(0x37), Usage(0x38), Usage(0x87), LogicalKey(0x20, 0x20, 0),
       Usage(0x52), Usage(0x59), Usage(0x5A), Usage(0x5B)},
      {LogicalKey(0x20, 0x01, 0), LogicalKey(0x20, 0x08, 0), LogicalKey(0x20, 0x04, 0), Usage(0x8B), Usage(0x91),
       Usage(0x2C), Usage(0x90), Usage(0x8A), Usage(0x88), LogicalKey(0x20, 0x40, 0), LogicalKey(0xA0, 0x01, 0),
       Usage(0x65), LogicalKey(0x20, 0x10, 0), Usage(0x50), Usage(0x51), Usage(0x4F), Usage(0x62), Usage(0x63)},
  };
  int previous_top = -1;
  for (size_t r = 0; r < rows.size(); ++r) {
    SCOPED_TRACE(r);
    int previous_right = -1;
    const int top = page->KeyButton(rows[r].front())->GetFloatPos().top();
    EXPECT_GT(top, previous_top) << "each row lies below the one before";
    for (int key : rows[r]) {
      ASSERT_GE(key, 0);
      ASSERT_NE(page->KeyButton(key), nullptr) << key;
      const QRect pos = page->KeyButton(key)->GetFloatPos();
      EXPECT_EQ(pos.top(), top) << key;
      EXPECT_GT(pos.left(), previous_right) << key;
      previous_right = pos.right();
    }
    previous_top = top;
  }
  // Above each other: the keypad's Enter spans the rows of 1 and 0, the macro keys form a column left
  // of the main block, the arrows form an inverted T.
  const QRect enter = page->KeyButton(Usage(0x58))->GetFloatPos();
  EXPECT_EQ(enter.top(), page->KeyButton(Usage(0x5B))->GetFloatPos().top());
  EXPECT_EQ(enter.bottom(), page->KeyButton(Usage(0x63))->GetFloatPos().bottom());
  int left = -1;
  for (uint8_t m = 1; m <= 5; ++m) {
    const QRect pos = page->KeyButton(LogicalKey(0xD0, 0xA2, m))->GetFloatPos();
    EXPECT_EQ(pos.top(), page->KeyButton(rows[m].front())->GetFloatPos().top()) << "M" << int(m);
    EXPECT_LT(pos.right(), page->KeyButton(rows[m].front())->GetFloatPos().left());
    if (left >= 0) {
      EXPECT_EQ(pos.left(), left);
    }
    left = pos.left();
  }
  EXPECT_EQ(page->KeyButton(Usage(0x52))->GetFloatPos().center().x(),
            page->KeyButton(Usage(0x51))->GetFloatPos().center().x());
}

// Every button of every picture lies inside the picture, overlaps no other button, and carries a
// translated tool tip.
TEST_F(DevicePicturesTest, EveryButtonHasAPlaceOfItsOwnAndNamesWhatItIs) {
  const QRect picture(0, 0, kPictureWidth, kPictureHeight);
  const size_t expected[] = {8 + 6, 122 + 15 + 6, 15, 13};  // keys and light positions of each picture
  for (size_t row = 0; row < 4; ++row) {
    SCOPED_TRACE(row);
    auto page = Build(row);
    ASSERT_NE(page, nullptr);
    const std::vector<controls::CDeviceKeyButtonUI*> buttons = Buttons(*page);
    EXPECT_EQ(buttons.size(), expected[row]);
    for (size_t i = 0; i < buttons.size(); ++i) {
      const QRect pos = buttons[i]->GetFloatPos();
      const std::string name = buttons[i]->GetName().toStdString();
      EXPECT_TRUE(picture.contains(pos)) << name;
      EXPECT_FALSE(buttons[i]->GetToolTip().isEmpty()) << name;
      EXPECT_FALSE(buttons[i]->GetToolTip().contains(u'_')) << name << ": " << buttons[i]->GetToolTip().toStdString();
      for (size_t j = i + 1; j < buttons.size(); ++j) {
        EXPECT_FALSE(pos.intersects(buttons[j]->GetFloatPos())) << name << " / " << buttons[j]->GetName().toStdString();
      }
      // Nothing else floating on the picture (the mouse's key-information list) takes a button's clicks.
      for (ui::Control* other : ui::FindSubControlsByClass(page.get(), QStringLiteral("List"))) {
        EXPECT_FALSE(pos.intersects(other->GetFloatPos())) << name << " / " << other->GetName().toStdString();
      }
    }
  }
}

}  // namespace
}  // namespace zrv::devices
