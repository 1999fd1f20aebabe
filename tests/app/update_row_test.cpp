// The update list's row: its status table and the row built from the skin's template.
#include <gtest/gtest.h>

#include <QWidget>

#include "app/set_wnd.h"
#include "app/update_info_list_item.h"
#include "controls/circle_progress.h"
#include "ui/button.h"
#include "ui/dialog_builder.h"
#include "ui/language.h"
#include "ui/list.h"
#include "ui/lookup.h"

namespace zrv::app {
namespace {

TEST(UpdateRowStatus, TheTableOfStatuses) {
  // Only these may be checked by the user: an update offered, or a failure to try again.
  for (int status = 0; status <= 8; ++status) {
    EXPECT_EQ(RowStatusLookOf(status).check_enabled, status == 1 || status == 2 || status == 8) << status;
    EXPECT_EQ(RowStatusLookOf(status).progress, status == 4 || status == 6) << status;
    EXPECT_EQ(RowStatusLookOf(status).done_mark, status == 5) << status;
  }
  EXPECT_EQ(RowStatusLookOf(0).disabled_text_color, 0xFF666666u);
  EXPECT_EQ(RowStatusLookOf(7).text_color, 0xFFFFFFFFu);
  EXPECT_EQ(RowStatusLookOf(8).text_color, 0xFF0099FFu);
  EXPECT_EQ(RowStatusLookOf(1).disabled_text_color, 0xFF0078C8u);
  EXPECT_STREQ(RowStatusLookOf(3).text_id, "DownloadWaitText");
  EXPECT_STREQ(RowStatusLookOf(42).text_id, "LessUpdateText") << "unknown statuses look like 0";
}

class UpdateRowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ui::LoadLanguage("lan_en.xml"));
    ui::DialogBuilder builder;
    list_ = dynamic_cast<ui::List*>(builder.CreateFromText("<List name='l'/>", "test"));
    ASSERT_NE(list_, nullptr);
    row_ = dynamic_cast<CUpdateInfoListItemUI*>(
        builder.Create(QString::fromLatin1(CUpdateInfoListItemUI::kTemplate), nullptr, list_));
    ASSERT_NE(row_, nullptr) << builder.Error().ToString().toStdString();
  }
  void TearDown() override { delete list_->Widget(); }
  ui::Control* Part(const char* name) { return ui::FindSubControlByName(row_, QString::fromLatin1(name)); }

  ui::List* list_ = nullptr;
  CUpdateInfoListItemUI* row_ = nullptr;
};

TEST_F(UpdateRowTest, EachStatusShowsItsTextProgressAndMark) {
  EXPECT_EQ(row_->GetClass(), "UpdateInfoListItemUI");
  EXPECT_EQ(row_->GetFixedHeight(), 50);
  row_->SetStatus(update::kStatusDownloading);
  EXPECT_EQ(Part("update_status_text")->GetText(), ui::TextById("DownloadIngText"));
  EXPECT_TRUE(Part("update_status_ing")->IsVisible());
  EXPECT_TRUE(Part("update_progress_value")->IsVisible());
  EXPECT_EQ(row_->ProgressText(), "0%");
  EXPECT_FALSE(Part("update_status_ok")->IsVisible());
  row_->SetProgress(40);
  EXPECT_EQ(row_->ProgressText(), "40%");
  auto* ring = dynamic_cast<controls::CCircleProgressUI*>(Part("update_status_ing"));
  ASSERT_NE(ring, nullptr);
  EXPECT_EQ(ring->GetValue(), 40);
  row_->SetStatus(update::kStatusDownloading);
  EXPECT_EQ(row_->ProgressText(), "40%") << "the same status again changes nothing";
  row_->SetStatus(update::kStatusInstalling);
  EXPECT_EQ(row_->ProgressText(), "0%") << "showing the progress starts it at 0";
  row_->SetProgressBytes(3 * 1024 * 1024 / 2);
  EXPECT_EQ(row_->ProgressText(), "1.5 MB") << "a download of unknown size counts bytes";

  row_->SetStatus(update::kStatusDownloaded);
  EXPECT_FALSE(Part("update_status_ing")->IsVisible());
  EXPECT_TRUE(Part("update_status_ok")->IsVisible());
  EXPECT_FALSE(row_->IsCheckEnabled());
  row_->SetStatus(update::kStatusFailed);
  EXPECT_TRUE(row_->IsCheckEnabled());
  EXPECT_EQ(row_->Check()->GetTextColor(), 0xFF0099FFu);
}

TEST_F(UpdateRowTest, TheNewVersionIsHiddenWhileEmpty) {
  row_->SetNewVersion("V0124");
  EXPECT_TRUE(Part("updateRev")->IsVisible());
  row_->SetNewVersion(QString());
  EXPECT_FALSE(Part("updateRev")->IsVisible());
}

}  // namespace
}  // namespace zrv::app
