// The skin builder: layout attributes become widget state, custom classes and templates resolve,
// broken files fail with file and line.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ui/ui.h"
#include "ui_test_util.h"

namespace zrv::ui {
namespace {

using testing::RecordingWindow;
using testing::UseTestSkin;

class BuilderTest : public ::testing::Test {
 protected:
  void SetUp() override { UseTestSkin(); }
};

TEST_F(BuilderTest, AttributesBecomeWidgetState) {
  RecordingWindow w(QStringLiteral("XML_TEST"));
  ASSERT_TRUE(w.Create(nullptr, QString())) << w.LastError().ToString().toStdString();
  EXPECT_EQ(w.GetInitSize(), QSize(400, 300));
  EXPECT_EQ(w.size(), QSize(400, 300));
  EXPECT_EQ(w.minimumSize(), QSize(200, 150));

  auto* fixed = w.FindControl<Label>("fixed_label");
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->GetText(), "plain text");
  EXPECT_EQ(fixed->text(), "plain text");
  EXPECT_EQ(fixed->GetFixedWidth(), 100);
  EXPECT_EQ(fixed->font().pixelSize(), 20);  // font 2 of the table
  EXPECT_TRUE(fixed->font().bold());
  EXPECT_EQ(fixed->property("skinclass").toString(), "Label");

  auto* idLabel = w.FindControl<Label>("id_label");
  ASSERT_NE(idLabel, nullptr);
  EXPECT_TRUE(idLabel->IsResourceText());
  EXPECT_EQ(idLabel->GetTextId(), "label_hello");
  EXPECT_EQ(idLabel->font().pixelSize(), 12);  // the default font, inherited

  auto* styled = w.FindControl<Label>("styled_label");
  EXPECT_EQ(styled->GetTextColor(), 0xFFFF0000u);
  EXPECT_EQ(styled->GetUserData(), "from-style");
  EXPECT_EQ(styled->GetStyleName(), "warn_style");
  EXPECT_EQ(styled->property("style").toString(), "warn_style");
  EXPECT_EQ(styled->GetPadding(), QMargins(5, 0, 5, 0));
  auto* global = w.FindControl<Label>("global_styled");
  EXPECT_EQ(global->GetTextColor(), 0xFF112233u);  // a style of styles.xml
  EXPECT_EQ(global->font().pixelSize(), 20);

  auto* opt0 = w.FindControl<Option>("opt_0");
  auto* opt1 = w.FindControl<Option>("opt_1");
  EXPECT_TRUE(opt0->IsSelected());
  EXPECT_FALSE(opt1->IsSelected());
  EXPECT_EQ(opt1->GetGroup(), "grp");
  EXPECT_EQ(opt1->GetBindTabLayoutName(), "pages");
  EXPECT_EQ(opt1->GetBindTabIndex(), 1);

  auto* btn = w.FindControl<Button>("btn");
  EXPECT_FALSE(btn->IsEnabled());
  EXPECT_EQ(btn->GetTag(), 7);  // from the Default of Button
  EXPECT_EQ(btn->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(btn->GetCustomAttribute("lightimage"), "img/light.svg");
  EXPECT_FALSE(w.FindControl("hidden_btn")->IsVisible());

  auto* pages = w.FindControl<TabLayout>("pages");
  EXPECT_EQ(pages->GetCurSel(), 1);
  EXPECT_FALSE(w.FindControl("page_0")->IsVisible());
  EXPECT_TRUE(w.FindControl("slider")->IsVisible());
  auto* slider = w.FindControl<Slider>("slider");
  EXPECT_EQ(slider->GetMinValue(), 10);
  EXPECT_EQ(slider->GetMaxValue(), 50);
  EXPECT_EQ(slider->GetValue(), 20);
  auto* progress = w.FindControl<Progress>("progress");
  EXPECT_EQ(progress->GetMaxValue(), 200);
  EXPECT_EQ(progress->GetValue(), 150);

  auto* edit = w.FindControl<Edit>("edit");
  EXPECT_EQ(edit->GetMaxChar(), 4);
  EXPECT_TRUE(edit->IsNumberOnly());
  EXPECT_EQ(edit->GetText(), "12");

  auto* combo = w.FindControl<Combo>("combo");
  ASSERT_EQ(combo->GetCount(), 3);
  EXPECT_EQ(combo->GetCurSel(), 1);
  EXPECT_EQ(combo->GetItemUserData(2), "c");
  EXPECT_FALSE(combo->IsItemVisible(2));
  EXPECT_FALSE(combo->SelectItem(2));  // hidden items cannot be chosen
  EXPECT_EQ(combo->GetItemTextId(0), "item_a");
  EXPECT_EQ(combo->FindItemByUserData("b"), 1);

  auto* palette = w.FindControl<ColorPalette>("palette");
  EXPECT_EQ(palette->GetSelectColor(), 0xFF123456u);

  auto* list = w.FindControl<List>("list");
  ASSERT_EQ(list->GetCount(), 3);
  EXPECT_EQ(list->GetCurSel(), 1);
  ASSERT_NE(list->GetHeader(), nullptr);
  EXPECT_EQ(list->GetHeader()->GetCount(), 2);
  auto* row0 = dynamic_cast<ListTextElement*>(list->GetItemAt(0));
  ASSERT_NE(row0, nullptr);
  EXPECT_EQ(row0->GetText(1), "b");
  EXPECT_EQ(row0->GetUserData(), "u0");
  EXPECT_EQ(row0->GetFixedHeight(), 20);  // the list's item height
  // A control inside a row is found within the row.
  EXPECT_NE(FindSubControlByName(list->GetItemAt(2), "row_edit"), nullptr);

  auto* box = w.FindControl("float_box");
  EXPECT_TRUE(box->IsFloat());
  EXPECT_EQ(box->GetFloatPos(), QRect(10, 5, 20, 20));
}

TEST_F(BuilderTest, LayoutPlacesChildrenByFixedSizesPaddingAndFloat) {
  RecordingWindow w(QStringLiteral("XML_TEST"));
  ASSERT_TRUE(w.Create(nullptr, QString()));
  w.show();
  QCoreApplication::processEvents();
  // root: inset 10, child padding 5; row 40 high. Positions in window coordinates.
  EXPECT_EQ(w.FindControl("fixed_label")->GetPos(), QRect(10, 10, 100, 40));
  // The two other labels share 380 - 100 - (5 + 5 padding of the styled one) = 270.
  EXPECT_EQ(w.FindControl("id_label")->GetPos(), QRect(110, 10, 135, 40));
  EXPECT_EQ(w.FindControl("styled_label")->GetPos(), QRect(250, 10, 135, 40));
  // Second row starts after 40 + 5.
  EXPECT_EQ(w.FindControl("opt_0")->GetPos().y(), 55);
  // A hidden child takes no space: four visible controls share 380.
  EXPECT_EQ(w.FindControl("opt_0")->Widget()->width(), 95);
  // Float: pos relative to the parent.
  EXPECT_EQ(w.FindControl("float_box")->Widget()->geometry(), QRect(10, 5, 20, 20));
}

TEST_F(BuilderTest, ZoomScalesSizesPositionsAndFonts) {
  RecordingWindow w(QStringLiteral("XML_TEST"));
  ASSERT_TRUE(w.Create(nullptr, QString()));
  w.show();
  w.SetZoom(1.5);
  QCoreApplication::processEvents();
  EXPECT_EQ(w.size(), QSize(600, 450));
  EXPECT_EQ(w.minimumSize(), QSize(300, 225));
  EXPECT_EQ(w.FindControl("fixed_label")->GetPos(), QRect(15, 15, 150, 60));
  EXPECT_EQ(w.FindControl("fixed_label")->Widget()->font().pixelSize(), 30);
  EXPECT_EQ(w.FindControl("id_label")->Widget()->font().pixelSize(), 18);
  EXPECT_EQ(w.FindControl("float_box")->Widget()->geometry(), QRect(15, 8, 30, 30));
  EXPECT_EQ(w.GetDPI(), 144);
  // And back.
  w.SetDPI(96);
  QCoreApplication::processEvents();
  EXPECT_EQ(w.size(), QSize(400, 300));
  EXPECT_EQ(w.FindControl("fixed_label")->GetPos(), QRect(10, 10, 100, 40));
}

class LightButton : public Button {
 public:
  QString GetClass() const override { return QStringLiteral("DeviceKeyButton"); }
  void SetAttribute(const QString& name, const QString& value) override {
    if (name == u"lightimage")
      lightImage = value;
    else
      Button::SetAttribute(name, value);
  }
  void DoInit() override { ++inits; }
  QString lightImage;
  int inits = 0;
};

class Page : public HorizontalLayout {
 public:
  QString GetClass() const override { return QStringLiteral("TestPage"); }
  void DoInit() override { childAtInit = FindSubControlByName(this, "inner") != nullptr; }
  bool childAtInit = false;
};

TEST_F(BuilderTest, CustomClassesComeFromTheRegistryAndTheWindowCallback) {
  RegistControl<LightButton>(QStringLiteral("CDeviceKeyButtonUI"));
  RecordingWindow w;
  ASSERT_TRUE(w.Create(nullptr, QString()));
  w.createControl = [&](const QString& name) -> Control* {
    if (name.compare(u"TestPage", Qt::CaseInsensitive) == 0) return new Page;
    if (name == u"ItemTemplate") {
      DialogBuilder b;
      return b.Create(QStringLiteral("XML\\sub\\item.xml"), &w, nullptr, false);
    }
    return nullptr;
  };
  auto* parent = w.FindControl<Container>("root");
  DialogBuilder builder;
  Control* c =
      builder.CreateFromText(QStringLiteral("<HorizontalLayout name='holder'>"
                                            "  <DeviceKeyButton name='key_3' lightimage='img/light.svg' text='K'/>"
                                            "  <testpage name='page'><Label name='inner'/></testpage>"
                                            "  <ItemTemplate name='item_1' height='25'/>"
                                            "</HorizontalLayout>"),
                             QStringLiteral("inline.xml"), &w, parent);
  ASSERT_NE(c, nullptr) << builder.Error().ToString().toStdString();
  auto* key = w.FindControl<LightButton>("key_3");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->lightImage, "img/light.svg");
  EXPECT_EQ(key->GetText(), "K");
  EXPECT_EQ(key->inits, 1);
  auto* page = w.FindControl<Page>("page");
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(page->childAtInit);  // DoInit runs once the subtree exists
  // The template's root takes the element's attributes; its children are found within it.
  Control* item = w.FindControl("item_1");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->GetFixedHeight(), 25);
  EXPECT_NE(FindSubControlByName(item, "device_select"), nullptr);
  ControlFactory::Instance().Unregister(QStringLiteral("CDeviceKeyButtonUI"));
}

TEST_F(BuilderTest, TemplatesAndIncludesExpandToTheSubtreeOfAnotherFile) {
  ControlFactory::Instance().RegistTemplate(QStringLiteral("PageTemplate"), QStringLiteral("XML\\sub\\page.xml"));
  RecordingWindow w;
  ASSERT_TRUE(w.Create(nullptr, QString()));
  auto* parent = w.FindControl<Container>("root");
  DialogBuilder builder;
  Control* c = builder.CreateFromText(
      QStringLiteral("<VerticalLayout name='outer'>"
                     "  <PageTemplate name='renamed' width='70'><Label name='extra'/></PageTemplate>"
                     "  <Include source='XML/sub/item.xml' count='3'/>"
                     "</VerticalLayout>"),
      QStringLiteral("inline.xml"), &w, parent);
  ASSERT_NE(c, nullptr) << builder.Error().ToString().toStdString();
  auto* outer = dynamic_cast<Container*>(c);
  ASSERT_EQ(outer->GetCount(), 4);
  auto* page = dynamic_cast<Container*>(outer->GetItemAt(0));
  EXPECT_EQ(page->GetName(), "renamed");
  EXPECT_EQ(page->GetFixedWidth(), 70);
  EXPECT_EQ(page->GetCount(), 2);  // the template's label and the element's child
  // Three copies: each has its own option, all in one group of the window.
  auto* third = outer->GetItemAt(3);
  auto* option = FindSubControlByName<Option>(third, "device_select");
  ASSERT_NE(option, nullptr);
  option->Selected(true);
  EXPECT_TRUE(option->IsSelected());
  FindSubControlByName<Option>(outer->GetItemAt(1), "device_select")->Selected(true);
  EXPECT_FALSE(option->IsSelected());
  ControlFactory::Instance().Unregister(QStringLiteral("PageTemplate"));
}

// Errors: each names the file and the line; nothing is left half-built.
TEST_F(BuilderTest, BrokenLayoutsFailWithFileAndLine) {
  QTemporaryDir dir;
  auto write = [&](const QString& name, const QByteArray& text) {
    QDir().mkpath(QFileInfo(dir.filePath(name)).path());
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(text);
  };
  write("broken.xml", "<VerticalLayout>\n  <Label text='a'>\n</VerticalLayout>\n");
  write("unknown.xml", "<VerticalLayout>\n\n  <NoSuchControl/>\n</VerticalLayout>\n");
  write("badvalue.xml", "<VerticalLayout>\n  <Label width='wide'/>\n</VerticalLayout>\n");
  write("self.xml", "<VerticalLayout>\n  <Include source='self.xml'/>\n</VerticalLayout>\n");
  write("missing_include.xml", "<VerticalLayout>\n  <Include source='gone.xml'/>\n</VerticalLayout>\n");
  write("leaf.xml", "<VerticalLayout>\n  <Label>\n    <Label/>\n  </Label>\n</VerticalLayout>\n");
  write("badimage_ok.xml", "<Label bkimage=\"file='x.png' nonsense='1'\"/>\n");
  Resources::Instance().SetResourcePath(dir.path());

  struct Case {
    const char* file;
    int line;
    const char* words;
  } cases[] = {
      {"broken.xml", 3, ""},  // the reader's own message
      {"unknown.xml", 3, "NoSuchControl"},
      {"badvalue.xml", 2, "width"},
      {"self.xml", 1, "includes itself"},
      {"missing_include.xml", 0, "gone.xml"},
      {"leaf.xml", 3, "cannot hold"},
      {"nothing_here.xml", 0, "cannot open"},
  };
  VerticalLayout holder;
  for (const Case& c : cases) {
    DialogBuilder builder;
    Control* root = builder.Create(QString::fromLatin1(c.file), nullptr, &holder);
    EXPECT_EQ(root, nullptr) << c.file;
    const SkinError& e = builder.Error();
    EXPECT_TRUE(e.IsError()) << c.file;
    EXPECT_TRUE(e.file.contains(c.file) || e.message.contains(c.file)) << e.ToString().toStdString();
    EXPECT_EQ(e.line, c.line) << e.ToString().toStdString();
    EXPECT_TRUE(e.ToString().contains(QString::fromLatin1(c.words))) << e.ToString().toStdString();
    EXPECT_EQ(holder.GetCount(), 0) << c.file;  // nothing half-built stays
  }
  // An image string is checked when it is drawn, not when it is set.
  DialogBuilder builder;
  Control* label = builder.Create(QStringLiteral("badimage_ok.xml"));
  ASSERT_NE(label, nullptr);
  delete label->Widget();
}

TEST_F(BuilderTest, WindowCreateFailsWithTheLayoutError) {
  RecordingWindow w(QStringLiteral("XML_MISSING"));
  EXPECT_FALSE(w.Create(nullptr, QString()));
  EXPECT_TRUE(w.LastError().ToString().contains("no_such_file.xml"));
  EXPECT_EQ(w.GetRoot(), nullptr);
}

TEST_F(BuilderTest, NamesFromCodeMayUseBackslashesAndAnyCase) {
  DialogBuilder builder;
  Control* a = builder.Create(QStringLiteral("XML\\sub\\page.xml"));
  ASSERT_NE(a, nullptr) << builder.Error().ToString().toStdString();
  EXPECT_EQ(a->GetName(), "page_root");
  Control* b = builder.Create(QStringLiteral("xml\\SUB\\Page.XML"));
  ASSERT_NE(b, nullptr) << builder.Error().ToString().toStdString();
  delete a->Widget();
  delete b->Widget();
}

TEST_F(BuilderTest, ResourceIndexErrorsKeepTheOldIndex) {
  QTemporaryDir dir;
  QFile f(dir.filePath("res.xml"));
  f.open(QIODevice::WriteOnly);
  f.write("<Res>\n<Layout id='A' file='a.xml'/>\n<Layout id='A' file='b.xml'/>\n</Res>\n");
  f.close();
  Resources::Instance().SetResourcePath(dir.path());
  EXPECT_FALSE(Resources::Instance().LoadResourceIndex());
  EXPECT_EQ(Resources::Instance().Error().line, 3);
  EXPECT_TRUE(Resources::Instance().Error().message.contains("twice"));
}

TEST(LookupTest, SplitNameNumber) {
  EXPECT_EQ(SplitNameNumber("DPI_slider_3").prefix, "DPI_slider_");
  EXPECT_EQ(SplitNameNumber("DPI_slider_3").number, 3);
  EXPECT_EQ(SplitNameNumber("key_x").number, 0);
  EXPECT_EQ(SplitNameNumber("closebtn").prefix, "");
  EXPECT_EQ(SplitNameNumber("a_").number, 0);
}

}  // namespace
}  // namespace zrv::ui
