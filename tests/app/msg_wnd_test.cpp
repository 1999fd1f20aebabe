#include "app/msg_wnd.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <functional>

#include "platform/debug_output.h"
#include "ui/control.h"
#include "ui/language.h"

namespace zrv::app {
namespace {

// Runs `inspect` on the open message box from within its modal loop.
void WhileOpen(std::function<void(CMsgWnd*)> inspect) {
  QTimer::singleShot(0, [inspect] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = dynamic_cast<CMsgWnd*>(widget);
      if (box != nullptr && box->isVisible()) {
        inspect(box);
        return;
      }
    }
    ADD_FAILURE() << "no message box open";
    QCoreApplication::exit(0);  // ends the modal loop so the test does not hang
  });
}

void Click(CMsgWnd* box, const char* name) {
  ui::Control* control = box->FindControl(QString::fromLatin1(name));
  ASSERT_NE(control, nullptr) << name;
  ASSERT_TRUE(control->Widget()->isVisible()) << name;
  QTest::mouseClick(control->Widget(), Qt::LeftButton);
}

class MsgWndTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(ui::LoadLanguage("lan_en.xml")); }
  QWidget parent_;
};

TEST_F(MsgWndTest, OnlyConfirmAnswersOne) {
  WhileOpen([](CMsgWnd* box) { Click(box, "confirm_btn"); });
  EXPECT_EQ(CMsgWnd::MessageBox(&parent_, "", "message_text_22", 96, true, CMsgWnd::kConfirmAndCancel), 1);
  WhileOpen([](CMsgWnd* box) { Click(box, "cancel_btn"); });
  EXPECT_EQ(CMsgWnd::MessageBox(&parent_, "", "message_text_22", 96, true, CMsgWnd::kConfirmAndCancel), 0);
  WhileOpen([](CMsgWnd* box) { Click(box, "closebtn"); });
  EXPECT_EQ(CMsgWnd::MessageBox(&parent_, "", "message_text_22", 96, true, CMsgWnd::kConfirmAndCancel), 0);
  // Escape / the platform closing the box is no confirmation either.
  WhileOpen([](CMsgWnd* box) { box->close(); });
  EXPECT_EQ(CMsgWnd::MessageBox(&parent_, "", "message_text_22", 96, true, CMsgWnd::kConfirmAndCancel), 0);
}

TEST_F(MsgWndTest, ModeZeroOffersConfirmOnly) {
  bool cancel_visible = true;
  WhileOpen([&](CMsgWnd* box) {
    cancel_visible = box->FindControl("cancel_btn")->Widget()->isVisible();
    Click(box, "closebtn");
  });
  EXPECT_EQ(CMsgWnd::MessageBox(&parent_, "", "message_text_30", 96, true, CMsgWnd::kConfirmOnly), 0);
  EXPECT_FALSE(cancel_visible);
}

TEST_F(MsgWndTest, TextAsIdOrPlainAndTheTitle) {
  QString title, text;
  auto read = [&](CMsgWnd* box) {
    title = box->FindControl("MessageTitle")->GetText();
    text = box->FindControl("MessageText")->GetText();
    Click(box, "confirm_btn");
  };
  WhileOpen(read);
  CMsgWnd::MessageBox(&parent_, "", "message_text_11", 96, true, CMsgWnd::kConfirmOnly);
  EXPECT_EQ(title, ui::TextById("msg_title_text")) << "an empty title keeps the layout's own";
  EXPECT_EQ(text, ui::TextById("message_text_11"));
  EXPECT_NE(text, "message_text_11");

  WhileOpen(read);
  CMsgWnd::MessageBox(&parent_, "Profiles", "message_text_11", 96, false, CMsgWnd::kConfirmOnly);
  EXPECT_EQ(title, "Profiles");
  EXPECT_EQ(text, "message_text_11") << "plain text is shown as it is";
}

TEST_F(MsgWndTest, DpiOutsideTheListIsReportedAndShownAt96) {
  platform::DebugCapture capture;
  int dpi = 0;
  QSize size;
  WhileOpen([&](CMsgWnd* box) {
    dpi = box->GetDPI();
    size = box->size();
    Click(box, "confirm_btn");
  });
  CMsgWnd::MessageBox(&parent_, "", "message_text_7", 110, true, CMsgWnd::kConfirmOnly);
  EXPECT_TRUE(capture.Contains("MSG_WND DPI SET ERROR"));
  EXPECT_EQ(dpi, 96);
  const QSize size96 = size;

  capture.Clear();
  WhileOpen([&](CMsgWnd* box) {
    dpi = box->GetDPI();
    size = box->size();
    Click(box, "confirm_btn");
  });
  CMsgWnd::MessageBox(&parent_, "", "message_text_7", 144, true, CMsgWnd::kConfirmOnly);
  EXPECT_FALSE(capture.Contains("MSG_WND DPI SET ERROR"));
  EXPECT_EQ(dpi, 144);
  EXPECT_EQ(size, size96 * 1.5);
}

TEST_F(MsgWndTest, ModalOverItsParentAndGoneAfterwards) {
  bool modal = false;
  QWidget* owner = nullptr;
  WhileOpen([&](CMsgWnd* box) {
    modal = box->IsModal() && box->isModal();
    owner = box->parentWidget();
    Click(box, "confirm_btn");
  });
  CMsgWnd::MessageBox(&parent_, "", "message_text_4", 96, true, CMsgWnd::kConfirmAndCancel);
  EXPECT_TRUE(modal);
  EXPECT_EQ(owner, &parent_);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(parent_.findChildren<CMsgWnd*>().isEmpty()) << "the box deletes itself";
}

TEST(MsgWndDpi, TheListOfDpiValues) {
  for (int dpi : {48, 72, 96, 120, 144, 168, 192}) EXPECT_TRUE(CMsgWnd::IsValidDpi(dpi)) << dpi;
  for (int dpi : {0, -96, 95, 110, 193, 240}) EXPECT_FALSE(CMsgWnd::IsValidDpi(dpi)) << dpi;
}

}  // namespace
}  // namespace zrv::app
