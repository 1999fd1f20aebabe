#include "config/key_assignment.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSet>
#include <QXmlStreamReader>

#include <span>

#include "config/assignment_captions.h"
#include "config/key_table.h"

namespace zrv::config {

// Readable failures of caption checks (found by argument-dependent lookup).
void PrintTo(const CaptionPart& part, std::ostream* os) { *os << (part.translate ? "id " : "text ") << part.text; }

namespace {

constexpr uint16_t kPos = 0x0107;
const KeyHalf kDef{kPos, 0x20, 0, 0x04};  // the key's own function: A
constexpr int kMacros = 3;

KeyHalf A(uint8_t kind, uint8_t value, uint8_t extra) { return {kPos, kind, value, extra}; }
std::string CaptionOfRow(int row) { return row < 0 ? "none" : kKeyTable[static_cast<size_t>(row)].caption; }

TEST(KeyTable, ScanCodesWhereTablesGoWrong) {
  struct Case {
    uint8_t scan;
    bool extended;
    const char* caption;
  };
  const Case cases[] = {
      {0x37, true, "keyboard_key_Print Scr"}, {0x37, false, "keyboard_key_Num *"},
      {0x45, false, "keyboard_key_Pause"},    {0x45, true, "keyboard_key_Num Lock"},
      {0x1C, false, "keyboard_key_Enter"},    {0x1C, true, "keyboard_key_Num Enter"},
      {0x35, false, "keyboard_key_/"},        {0x35, true, "keyboard_key_Num /"},
      {0x53, false, "keyboard_key_Decimal"},  {0x53, true, "keyboard_key_Delete"},
      {0x1D, true, "keyboard_key_RCtrl"},     {0x38, true, "keyboard_key_RAlt"},
      {0x36, false, "keyboard_key_RShift"},   {0x5B, true, "keyboard_key_LWin"},
      {0x5C, true, "keyboard_key_RWin"},      {0x5D, true, "keyboard_key_App"},
      {0x2B, false, "keyboard_key_xiegang"},  {0x56, false, "keyboard_key_K45"},
      {0x73, false, "keyboard_key_K56"},      {0x7D, false, "keyboard_key_K14"},
      {0x7E, false, "keyboard_key_K107"},     {0x7B, false, "keyboard_key_K131"},
      {0x79, false, "keyboard_key_K132"},     {0x70, false, "keyboard_key_K133"},
      {0x71, false, "keyboard_key_K150"},     {0x72, false, "keyboard_key_K151"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CaptionOfRow(FindScanCodeRow(c.scan, c.extended)), c.caption) << std::hex << int{c.scan};
  }
  EXPECT_EQ(FindScanCodeRow(0x36, true), -1);
  EXPECT_EQ(FindScanCodeRow(0x78, false), -1);
}

TEST(KeyTable, ShapeOfTheTable) {
  for (size_t i = 0; i < kKeyTable.size(); ++i) {
    EXPECT_EQ(kKeyTable[i].has_scan, i < kScanCodeRows) << kKeyTable[i].caption;
    // Each key is recognised by one scan code, so no two rows may share one.
    if (i < kScanCodeRows) {
      EXPECT_EQ(FindScanCodeRow(kKeyTable[i].scan, kKeyTable[i].extended), static_cast<int>(i));
    }
    EXPECT_EQ(FindKindCodeRow(kKeyTable[i].kind, kKeyTable[i].code1, kKeyTable[i].code2), static_cast<int>(i));
  }
  EXPECT_STREQ(kKeyTable[113].caption, "keyboard_key_K42");
  EXPECT_STREQ(kKeyTable[130].caption, "wed_stop");
  EXPECT_EQ(CaptionOfRow(FindKindCodeRow(0x30, 0x23, 0x02)), "keyboard_key_Browaer Home");
}

// Every assignment the editor can show is built back unchanged; right-hand modifiers are the
// exception, they come back as their left-hand bit.
TEST(KeyAssignment, ShowThenBuildGivesTheAssignmentBack) {
  const auto round_trip = [](KeyHalf a) {
    KeyHalf shown = a;
    const KeyEditorView view = ShowAssignment(shown, kDef, kMacros);
    return BuildAssignment(view, shown, kDef, kMacros);
  };
  for (size_t i = 0; i < kKeyTable.size(); ++i) {
    const KeyTableRow& row = kKeyTable[i];
    const uint8_t value =
        i < kModifierRows ? ModifierBitsOfOption(ModifierOptionOfRow(static_cast<int>(i))) : row.code1;
    EXPECT_EQ(round_trip(A(row.kind, row.code1, row.code2)), A(row.kind, value, row.code2)) << row.caption;
  }
  for (std::span<const CodeTableRow> table :
       {std::span<const CodeTableRow>(kMouseButtonTable), std::span<const CodeTableRow>(kDpiFunctionTable),
        std::span<const CodeTableRow>(kSystemKeyTable), std::span<const CodeTableRow>(kMediaKeyTable),
        std::span<const CodeTableRow>(kShortcutTable)}) {
    for (const CodeTableRow& row : table) {
      EXPECT_EQ(round_trip(A(row.kind, row.code1, row.code2)), A(row.kind, row.code1, row.code2)) << row.caption;
    }
  }
  for (int b3 = 0; b3 < 256; ++b3) {
    for (int b4 = 0; b4 < 256; ++b4) {
      for (uint8_t kind : {kKindSwing, kKindWheel, kKindRapidFire}) {
        const KeyHalf a = A(kind, static_cast<uint8_t>(b3), static_cast<uint8_t>(b4));
        ASSERT_EQ(round_trip(a), a) << int{kind} << " " << b3 << " " << b4;
      }
    }
  }
  for (uint8_t n = 0; n < kMacros; ++n) {
    for (uint8_t mode = 0; mode < 4; ++mode) EXPECT_EQ(round_trip(A(0x70, n, mode)), A(0x70, n, mode));
    EXPECT_EQ(round_trip(A(0x71, n, 200)), A(0x71, n, 200));
    EXPECT_EQ(round_trip(A(0x72, n, 0)), A(0x72, n, 0));
  }
}

TEST(KeyAssignment, EdgeCasesOfShowing) {
  KeyHalf a = kDef;
  EXPECT_EQ(ShowAssignment(a, kDef, kMacros).category, kCategoryDefault);
  EXPECT_EQ(BuildAssignment({.category = kCategoryDefault}, A(0x10, 1, 0), kDef, kMacros), kDef);

  // A wheel burst of 3 downwards.
  a = A(0x12, 0x25, 0xFD);
  KeyEditorView view = ShowAssignment(a, kDef, kMacros);
  EXPECT_EQ(view, (KeyEditorView{.category = kCategoryWheel, .direction = 1, .count = 3, .delay = 2, .speed = 5}));

  // A Ctrl shortcut is shown as the key with the Ctrl option.
  a = BuildAssignment({.category = kCategoryShortcut, .row = 4}, kDef, kDef, kMacros);
  EXPECT_EQ(a, A(0x20, 0x01, 0x06));
  view = ShowAssignment(a, kDef, kMacros);
  EXPECT_EQ(view.category, kCategoryKey);
  EXPECT_EQ(view.modifier_option, 1);
  EXPECT_EQ(CaptionOfRow(view.key_row), "keyboard_key_C");

  // A modifier on its own shows no key (no consumer row with high byte 0 either).
  a = A(0x20, 0x40, 0);
  view = ShowAssignment(a, kDef, kMacros);
  EXPECT_EQ(view.modifier_option, 3);
  EXPECT_EQ(view.key_row, -1);

  // A usage without a row: nothing shown, and the operands are cleared.
  a = A(0x20, 0, 0xF0);
  view = ShowAssignment(a, kDef, kMacros);
  EXPECT_EQ(view, (KeyEditorView{.category = kCategoryKey}));
  EXPECT_EQ(a, A(0x20, 0, 0));

  a = A(0x70, kMacros, 1);
  view = ShowAssignment(a, kDef, kMacros);
  EXPECT_EQ(view.macro, -1);
  EXPECT_EQ(view.macro_mode, -1);
  a = A(0x71, kMacros, 5);
  EXPECT_FALSE(ShowAssignment(a, kDef, kMacros).repeat_visible);
  a = A(0xD0, 0xA2, 1);
  EXPECT_EQ(ShowAssignment(a, kDef, kMacros).category, kCategoryNone);
}

TEST(KeyAssignment, NothingSelectedKeepsTheCurrentAssignment) {
  const KeyHalf current = A(0x13, 2, 0);
  for (const KeyEditorView& view :
       {KeyEditorView{}, KeyEditorView{.category = kCategoryMedia}, KeyEditorView{.category = kCategorySwing},
        KeyEditorView{.category = kCategoryWheel}, KeyEditorView{.category = kCategoryMacro, .macro_mode = 1},
        KeyEditorView{.category = kCategoryMacro, .macro = kMacros, .macro_mode = 1},
        KeyEditorView{.category = kCategoryMacro, .macro = 0}, KeyEditorView{.category = kCategoryShoot}}) {
    EXPECT_EQ(BuildAssignment(view, current, kDef, kMacros), current) << view.category;
  }
}

TEST(KeyAssignment, CapturingKeys) {
  KeyEditorView view{.category = kCategoryKey};
  KeyHalf current = A(0x20, 0, 0);
  // Right Alt: the Alt option, stored as the left Alt bit once built.
  ASSERT_TRUE(CaptureKey(0x38, true, view, current));
  EXPECT_EQ(view.modifier_option, 3);
  EXPECT_EQ(view.key_row, -1);
  EXPECT_EQ(BuildAssignment(view, current, kDef, kMacros), A(0x20, 0x04, 0));
  // A key then takes the chosen modifier along.
  ASSERT_TRUE(CaptureKey(0x2E, false, view, current));
  EXPECT_EQ(current, A(0x20, 0x04, 0x06));
  EXPECT_EQ(BuildAssignment(view, current, kDef, kMacros), current);
  // Unknown codes change nothing.
  const KeyEditorView before = view;
  EXPECT_FALSE(CaptureKey(0x78, false, view, current));
  EXPECT_EQ(view, before);
  EXPECT_EQ(current, A(0x20, 0x04, 0x06));
  // Without a modifier option, a key selects option 0.
  view = {.category = kCategoryKey};
  ASSERT_TRUE(CaptureKey(0x1C, true, view, current));
  EXPECT_EQ(view.modifier_option, 0);
  EXPECT_EQ(current, A(0x20, 0, 0x58));
}

TEST(KeyAssignment, WireForms) {
  const KeyRecord entry{A(0x70, 2, 1), kDef};
  EXPECT_EQ(KeyEntryBytes(entry), (std::array<uint8_t, 12>{0x07, 0x01, 0x70, 2, 1, 0, 0x07, 0x01, 0x20, 0, 0x04, 0}));
}

using Parts = std::vector<CaptionPart>;
const std::vector<std::string> kNames = {"Combo", "Reload"};
std::optional<Parts> CaptionOn(device::DeviceKind kind, uint8_t type, uint8_t b3, uint8_t b4) {
  return AssignmentCaption(A(type, b3, b4), kind, kNames);
}

TEST(AssignmentCaptions, ByKindAndDevice) {
  using device::DeviceKind;
  const DeviceKind kb = DeviceKind::kKeyboard;
  EXPECT_EQ(CaptionOn(kb, 0x20, 0x01, 0x06), (Parts{{"keyboard_key_LCtrl"}, {"keyboard_key_C"}}));
  EXPECT_EQ(CaptionOn(kb, 0x20, 0x00, 0x06), (Parts{{"keyboard_key_C"}}));
  EXPECT_EQ(CaptionOn(kb, 0x00, 0x00, 0x00), (Parts{{"close_text"}}));
  EXPECT_EQ(CaptionOn(kb, 0x20, 0x00, 0xF0), std::nullopt) << "a zero modifier byte matches no key row";
  EXPECT_EQ(CaptionOn(kb, 0x30, 0xB6, 0x00), (Parts{{"media_prev"}}));
  EXPECT_EQ(CaptionOn(kb, 0x71, 1, 9), (Parts{{"Reload", false}}));
  EXPECT_EQ(CaptionOn(kb, 0x70, 2, 0), std::nullopt);
  EXPECT_EQ(CaptionOn(kb, 0x22, 0, 8), (Parts{{"custem_open"}}));
  EXPECT_EQ(CaptionOn(kb, 0x22, 0, 9), std::nullopt);
  EXPECT_EQ(CaptionOn(kb, 0x12, 0x11, 0xFD), (Parts{{"mouse_key_down_Swing"}}));
  EXPECT_EQ(CaptionOn(kb, 0xA0, 2, 0), (Parts{{"mouse_key_smart_key"}}));
  EXPECT_EQ(CaptionOn(kb, 0xA0, 0x1B, 0), (Parts{{"keyboard_key_GM"}}));
  EXPECT_EQ(CaptionOn(kb, 0xB0, 0, 0), std::nullopt);
  EXPECT_EQ(CaptionOn(kb, 0x99, 0, 0), (Parts{{"关闭", false}}));
  // Shoot sequences and macro keys belong to one device kind each.
  for (const DeviceKind mouse : {DeviceKind::kMouse, DeviceKind::kWirelessMouse}) {
    EXPECT_EQ(CaptionOn(mouse, 0x72, 2, 0), (Parts{{"gun_3_txt"}}));
    EXPECT_EQ(CaptionOn(mouse, 0xD0, 0xA2, 3), (Parts{{"关闭", false}}));
  }
  EXPECT_EQ(CaptionOn(kb, 0x72, 2, 0), (Parts{{"关闭", false}}));
  EXPECT_EQ(CaptionOn(kb, 0xD0, 0xA2, 3), (Parts{{"keyboard_key_M3"}}));
  EXPECT_EQ(CaptionOn(kb, 0xD0, 0xA2, 9), std::nullopt);

  EXPECT_EQ(KeyNameCaption(0x30, 0xB6, 0x00), "keyboard_key_Media Prev Track");
  EXPECT_EQ(KeyNameCaption(0x20, 0x00, 0x00), "");
}

QSet<QString> LanguageIds(const char* file) {
  QSet<QString> ids;
  QFile f(QStringLiteral(ZRV31_SOURCE_DIR "/skin/") + QString::fromLatin1(file));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file;
  QXmlStreamReader xml(&f);
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"Text") {
      ids.insert(xml.attributes().value(QStringLiteral("id")).toString());
    }
  }
  return ids;
}

// A misspelt caption key shows as the raw key, so every one the captions give must be translated.
TEST(AssignmentCaptions, EveryCaptionKeyHasItsTexts) {
  QSet<QString> keys;
  for (const KeyTableRow& row : kKeyTable) keys.insert(QString::fromUtf8(row.caption));
  for (int type = 0; type < 256; ++type) {
    for (int b3 = 0; b3 < 256; ++b3) {
      for (int b4 : {0, 1, 2, 5, 6, 8, 0x80}) {
        for (const auto kind : {device::DeviceKind::kKeyboard, device::DeviceKind::kMouse}) {
          const auto parts =
              CaptionOn(kind, static_cast<uint8_t>(type), static_cast<uint8_t>(b3), static_cast<uint8_t>(b4));
          for (const CaptionPart& part : parts.value_or(Parts{})) {
            if (part.translate) keys.insert(QString::fromStdString(part.text));
          }
        }
      }
    }
  }
  for (std::span<const CodeTableRow> table :
       {std::span<const CodeTableRow>(kMediaKeyTable), std::span<const CodeTableRow>(kSystemKeyTable),
        std::span<const CodeTableRow>(kShortcutTable)}) {
    for (const CodeTableRow& row : table) keys.insert(QString::fromUtf8(row.caption));
  }
  keys.insert(QStringLiteral("Key_Set"));
  for (const char* file : {"lan_en.xml", "lan_cn.xml"}) {
    const QSet<QString> ids = LanguageIds(file);
    QStringList missing;
    for (const QString& key : keys) {
      if (!ids.contains(key)) missing << key;
    }
    EXPECT_TRUE(missing.isEmpty()) << file << " lacks " << missing.join(", ").toStdString();
  }
}

}  // namespace
}  // namespace zrv::config
