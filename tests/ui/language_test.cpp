// Texts by id: language files, re-translation of text-id controls on every switch, the text-id
// collectors.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ui/ui.h"
#include "ui_test_util.h"

namespace zrv::ui {
namespace {

using testing::RecordingWindow;

void WriteFile(const QString& path, const QByteArray& text) {
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text);
}

class LanguageTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::UseTestSkin(); }
};

TEST_F(LanguageTest, SwitchingLanguageRetranslatesTextIdControlsOnly) {
  RecordingWindow w(QStringLiteral("XML_TEST"));
  ASSERT_TRUE(w.Create(nullptr, QString()));
  ASSERT_TRUE(LoadLanguage(QStringLiteral("lan_en.xml")));
  auto* idLabel = w.FindControl<Label>("id_label");
  auto* plain = w.FindControl<Label>("fixed_label");
  auto* combo = w.FindControl<Combo>("combo");
  EXPECT_EQ(idLabel->text(), "Hello");
  EXPECT_EQ(idLabel->GetText(), "Hello");
  EXPECT_EQ(idLabel->toolTip(), "A greeting");
  EXPECT_EQ(combo->GetItemText(0), "First item");
  EXPECT_EQ(combo->GetItemText(1), "item b");
  EXPECT_EQ(w.windowTitle(), "Test window");

  ASSERT_TRUE(LoadLanguage(QStringLiteral("lan_cn.xml")));
  EXPECT_EQ(idLabel->text(), QString::fromUtf8("你好"));
  EXPECT_EQ(idLabel->toolTip(), QString::fromUtf8("问候"));
  EXPECT_EQ(combo->GetItemText(0), QString::fromUtf8("第一项"));
  EXPECT_EQ(w.windowTitle(), QString::fromUtf8("测试窗口"));
  EXPECT_EQ(plain->text(), "plain text");  // plain text is never looked up
  EXPECT_EQ(idLabel->GetTextId(), "label_hello");

  // A control that gets an id later shows the current language at once, and follows switches.
  auto* later = new Label;
  w.FindControl<Container>("root")->Add(later);
  later->SetTextId(QStringLiteral("label_hello"));
  EXPECT_EQ(later->text(), QString::fromUtf8("你好"));
  combo->Add({QStringLiteral("item_a"), QStringLiteral("x"), true});
  ASSERT_TRUE(LoadLanguage(QStringLiteral("lan_en.xml")));
  EXPECT_EQ(later->text(), "Hello");
  EXPECT_EQ(combo->GetItemText(combo->GetCount() - 1), "First item");
}

TEST_F(LanguageTest, PlaceholdersAndToolTipsFollowTheLanguage) {
  Edit edit;
  edit.SetTipValue(QStringLiteral("label_hello"));
  edit.SetResourceTipValue(true);
  Label label;
  label.SetToolTip(QStringLiteral("tip_hello"));
  label.SetResourceToolTip(true);
  ASSERT_TRUE(LoadLanguage(QStringLiteral("lan_cn.xml")));
  EXPECT_EQ(edit.placeholderText(), QString::fromUtf8("你好"));
  EXPECT_EQ(label.toolTip(), QString::fromUtf8("问候"));
  ASSERT_TRUE(LoadLanguage(QStringLiteral("lan_en.xml")));
  EXPECT_EQ(edit.placeholderText(), "Hello");
  EXPECT_EQ(label.toolTip(), "A greeting");
}

TEST_F(LanguageTest, TextByIdForCode) {
  ASSERT_TRUE(LoadLanguage(QStringLiteral("lan_en.xml")));
  EXPECT_EQ(TextById(QStringLiteral("two_lines")), "one\ntwo");
  EXPECT_EQ(TextById(QStringLiteral("no_such_id")), "no_such_id");  // visible, never blank
  EXPECT_TRUE(CurrentLanguageFile().endsWith("lan_en.xml"));
  // Marking a label as resource text after setting its text reads the translation back.
  Label probe;
  probe.SetText(QStringLiteral("label_hello"));
  probe.SetResourceText(true);
  EXPECT_EQ(probe.GetText(), "Hello");
}

TEST_F(LanguageTest, BrokenLanguageFilesAreRefusedAndTheLanguageStays) {
  ASSERT_TRUE(LoadLanguage(QStringLiteral("lan_en.xml")));
  QTemporaryDir dir;
  WriteFile(dir.filePath("dup.xml"), "<Language>\n<Text id='a'>1</Text>\n<Text id='a'>2</Text>\n</Language>\n");
  WriteFile(dir.filePath("bad.xml"), "<Language>\n<Text id='a'>1</Txt>\n</Language>\n");
  WriteFile(dir.filePath("wrong.xml"), "<Texts/>\n");
  LanguageTranslator t;
  EXPECT_FALSE(t.LoadFile(dir.filePath("dup.xml")));
  EXPECT_EQ(t.Error().line, 3);
  EXPECT_FALSE(t.LoadFile(dir.filePath("bad.xml")));
  EXPECT_EQ(t.Error().line, 2);
  EXPECT_FALSE(t.LoadFile(dir.filePath("wrong.xml")));
  EXPECT_FALSE(t.LoadFile(dir.filePath("missing.xml")));

  EXPECT_FALSE(LoadLanguage(dir.filePath("dup.xml")));
  EXPECT_FALSE(LoadLanguage(QStringLiteral("lan_xx.xml")));
  EXPECT_EQ(TextById(QStringLiteral("label_hello")), "Hello");
}

TEST_F(LanguageTest, TheTranslatorServesQt) {
  LanguageTranslator t;
  ASSERT_TRUE(t.LoadFile(testing::SkinDir() + "/lan_en.xml"));
  EXPECT_EQ(t.LanguageName(), "English");
  EXPECT_EQ(t.translate("any", "label_hello", nullptr, -1), "Hello");
  EXPECT_TRUE(t.translate("any", "unknown", nullptr, -1).isEmpty());  // Qt then keeps the source
  EXPECT_FALSE(t.isEmpty());
}

TEST_F(LanguageTest, CollectorsFindTheIdsOfLayoutsMenusAndCode) {
  QStringList errors;
  const QSet<QString> ids = CollectTextIds(testing::SkinDir(), &errors);
  EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
  for (const char* id :
       {"label_hello", "tip_hello", "item_a", "title_text", "menu_edit", "menu_settings", "menu_exit"}) {
    EXPECT_TRUE(ids.contains(QString::fromLatin1(id))) << id;
  }
  EXPECT_FALSE(ids.contains("plain text"));
  EXPECT_FALSE(ids.contains("item b"));
  EXPECT_FALSE(ids.contains("two_lines"));  // only in a language file

  // The check the shipped skin gets: every id exists in every language file.
  for (const char* file : {"lan_en.xml", "lan_cn.xml"}) {
    LanguageTranslator t;
    ASSERT_TRUE(t.LoadFile(testing::SkinDir() + "/" + file));
    for (const QString& id : ids) EXPECT_TRUE(t.Contains(id)) << file << ": " << id.toStdString();
  }

  QTemporaryDir dir;
  WriteFile(dir.filePath("skin/a.xml"),
            "<Window>\n<Style name='s' value=\"text='style_id' resourcetext='true'\"/>\n"
            "<List><ListTextElement text='col_a|col_b' resourcetext='true'/>"
            "<Edit tipvalue='tip_id' resourcetipvalue='true' text='typed'/></List></Window>\n");
  WriteFile(dir.filePath("skin/broken.xml"), "<Window>\n<Label>\n</Window>\n");
  errors.clear();
  const QSet<QString> more = CollectTextIds(dir.filePath("skin"), &errors);
  EXPECT_EQ(more, QSet<QString>({"style_id", "col_a", "col_b", "tip_id"}));
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors[0].contains("broken.xml:3"));

  WriteFile(dir.filePath("src/a.cpp"),
            "ShowMessage(TextById(\"message_text_30\"));\n"
            "const char* k = TextId(\"message_text_16\");\n"
            "label->SetTextId(QStringLiteral(\"kb_device_name_text\"));\n"
            "label->SetText(\"not an id\");\n");
  EXPECT_EQ(CollectCodeTextIds({dir.filePath("src")}),
            QSet<QString>({"message_text_30", "message_text_16", "kb_device_name_text"}));
}

}  // namespace
}  // namespace zrv::ui
