// Menus from XML files: the chosen item reaches the window as a menu command.

#include <gtest/gtest.h>

#include <QAction>
#include <QTemporaryDir>
#include <QTest>

#include "ui/ui.h"
#include "ui_test_util.h"

namespace zrv::ui {
namespace {

using testing::RecordingWindow;

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::UseTestSkin();
    ASSERT_TRUE(LoadLanguage(QStringLiteral("lan_en.xml")));
    ASSERT_TRUE(w.Create(nullptr, QString()));
  }
  RecordingWindow w;
};

QAction* FindAction(QMenu* menu, const char* name) { return menu->findChild<QAction*>(QString::fromLatin1(name)); }

TEST_F(MenuTest, ChosenItemsReachTheWindowWithNameAndData) {
  Menu menu;
  ASSERT_TRUE(menu.Load(QStringLiteral("XML\\Menus\\macro_action_menu.xml"), &w))
      << menu.Error().ToString().toStdString();
  QAction* edit = FindAction(menu.GetMenu(), "macro_action_edit");
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->text(), "Edit");  // a text id, translated
  edit->trigger();
  ASSERT_EQ(w.menuCommands.size(), 1u);
  EXPECT_EQ(w.menuCommands[0].name, "macro_action_edit");
  EXPECT_EQ(w.menuCommands[0].userData, "edit-data");
  EXPECT_EQ(w.menuCommands[0].text, "Edit");

  // Items of a submenu; a checkable item reports its new state.
  QAction* left = FindAction(menu.GetMenu(), "left_click");
  QAction* right = FindAction(menu.GetMenu(), "right_click");
  ASSERT_NE(left, nullptr);
  ASSERT_NE(right, nullptr);
  EXPECT_NE(left->parent(), menu.GetMenu());
  left->trigger();
  right->trigger();
  ASSERT_EQ(w.menuCommands.size(), 3u);
  EXPECT_EQ(w.menuCommands[1].name, "left_click");
  EXPECT_TRUE(w.menuCommands[2].checked);
  EXPECT_FALSE(FindAction(menu.GetMenu(), "hidden_item")->isVisible());
  // The item holding the submenu is not an item of its own.
  EXPECT_EQ(FindAction(menu.GetMenu(), "mouse"), nullptr);
}

TEST_F(MenuTest, OpensAlignedAtThePointAndOneAtATime) {
  const QSize size(100, 50);
  const QPoint p(400, 300);
  EXPECT_EQ(Menu::AlignedPosition(p, size, kMenuAlignLeft | kMenuAlignTop), QPoint(400, 300));
  EXPECT_EQ(Menu::AlignedPosition(p, size, kMenuAlignRight | kMenuAlignBottom), QPoint(300, 250));
  EXPECT_EQ(Menu::AlignedPosition(p, size, kMenuAlignLeft | kMenuAlignBottom), QPoint(400, 250));
  EXPECT_EQ(Menu::AlignedPosition(p, size, kMenuAlignTop | kMenuAlignRight), QPoint(300, 300));

  Menu menu;
  ASSERT_TRUE(menu.Init(QStringLiteral("menu.xml"), &w, QPoint(200, 200)));
  EXPECT_TRUE(menu.IsOpen());
  QPointer<QMenu> first = menu.GetMenu();
  ASSERT_TRUE(menu.Load(QStringLiteral("menu.xml"), &w));  // replaces the open one
  EXPECT_TRUE(first.isNull());
  menu.Close();
  EXPECT_FALSE(menu.IsOpen());
}

TEST_F(MenuTest, BrokenMenuFilesFailWithTheLine) {
  QTemporaryDir dir;
  QFile f(dir.filePath("bad_menu.xml"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("<Menu>\n  <MenuElement name='a'/>\n  <Item name='b'/>\n</Menu>\n");
  f.close();
  Menu menu;
  EXPECT_FALSE(menu.Load(dir.filePath("bad_menu.xml"), &w));
  EXPECT_EQ(menu.Error().line, 3);
  EXPECT_EQ(menu.GetMenu(), nullptr);
  EXPECT_FALSE(menu.Load(QStringLiteral("no_menu.xml"), &w));
}

}  // namespace
}  // namespace zrv::ui
