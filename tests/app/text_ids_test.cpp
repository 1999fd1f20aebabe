// Every text id that a layout, a menu or the code uses exists in every shipped language file.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "ui/language.h"
#include "ui/text_ids.h"

namespace zrv::app {
namespace {

const QString kSource = QStringLiteral(ZRV31_SOURCE_DIR);

QStringList ShippedLanguageFiles() { return QDir(kSource + "/skin").entryList({"lan_*.xml"}, QDir::Files, QDir::Name); }

// Ids the code keeps as string constants rather than passing them to the lookup helpers: every
// message id literal ("message_text_..."), wherever it stands, and every constant named kText... of
// the configuration layer (which hands its outcomes to the message box by such constants).
QSet<QString> ConstantIds() {
  static const QRegularExpression kMessage(QStringLiteral(R"re("(message_text_[A-Za-z0-9_]+)")re"));
  static const QRegularExpression kConstant(QStringLiteral(R"re(\bkText\w*\s*=\s*u?8?"([^"\\]+)")re"));
  QSet<QString> ids;
  QDirIterator it(kSource + "/src", {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    QFile file(it.next());
    if (!file.open(QIODevice::ReadOnly)) continue;
    const QString text = QString::fromUtf8(file.readAll());
    for (auto matches = kMessage.globalMatch(text); matches.hasNext();) ids.insert(matches.next().captured(1));
    // Elsewhere kText... may name other texts (the notification "textchanged" of an edit).
    if (!it.filePath().contains(QLatin1String("/src/config/"))) continue;
    for (auto matches = kConstant.globalMatch(text); matches.hasNext();) ids.insert(matches.next().captured(1));
  }
  return ids;
}

QSet<QString> UsedIds() {
  QStringList errors;
  QSet<QString> ids = ui::CollectTextIds(kSource + "/skin", &errors);
  EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  ids.unite(ui::CollectCodeTextIds({kSource + "/src"}));
  ids.unite(ConstantIds());
  // The settings window lists the languages by these ids.
  QFile config(kSource + "/DefaultData/Language.config");
  EXPECT_TRUE(config.open(QIODevice::ReadOnly));
  for (const QJsonValue& language : QJsonDocument::fromJson(config.readAll()).object().value("Language").toArray()) {
    ids.insert(language.toObject().value("Language_text").toString());
  }
  return ids;
}

TEST(TextIds, BothLanguagesAreShipped) { EXPECT_EQ(ShippedLanguageFiles(), QStringList({"lan_cn.xml", "lan_en.xml"})); }

TEST(TextIds, IdsKeptAsConstantsAreCollected) {
  const QSet<QString> ids = ConstantIds();
  // The configuration layer's, and one that only a control of the profile bar names.
  for (const char* id :
       {"message_text_macro_file_invalid", "message_text_save_failed", "message_text_11", "message_text_5_3"}) {
    EXPECT_TRUE(ids.contains(QString::fromLatin1(id))) << id;
  }
}

TEST(TextIds, EveryUsedIdExistsInEveryLanguageFile) {
  QSet<QString> used = UsedIds();
  // The ids the message boxes of the device pages will use, shipped ahead of those pages.
  for (const char* id :
       {"message_text_2", "message_text_4", "message_text_5", "message_text_5_1", "message_text_5_3", "message_text_6",
        "message_text_7", "message_text_11", "message_text_16", "message_text_22", "message_text_25", "message_text_26",
        "message_text_27", "message_text_28", "message_text_29", "message_text_30"}) {
    used.insert(QString::fromLatin1(id));
  }
  ASSERT_GT(used.size(), 30);
  for (const QString& file : ShippedLanguageFiles()) {
    ui::LanguageTranslator language;
    ASSERT_TRUE(language.LoadFile(kSource + "/skin/" + file)) << language.Error().ToString().toStdString();
    QStringList missing;
    for (const QString& id : used) {
      if (!language.Contains(id) || language.Text(id).trimmed().isEmpty()) missing << id;
    }
    missing.sort();
    EXPECT_TRUE(missing.isEmpty()) << file.toStdString() << " lacks: " << missing.join(", ").toStdString();
  }
}

TEST(TextIds, LanguageFilesHoldTheSameIds) {
  QStringList files = ShippedLanguageFiles();
  ASSERT_FALSE(files.isEmpty());
  ui::LanguageTranslator first;
  ASSERT_TRUE(first.LoadFile(kSource + "/skin/" + files[0]));
  const QStringList ids = first.Texts().keys();
  for (const QString& file : files.mid(1)) {
    ui::LanguageTranslator other;
    ASSERT_TRUE(other.LoadFile(kSource + "/skin/" + file));
    QSet<QString> a(ids.begin(), ids.end());
    QStringList other_ids = other.Texts().keys();
    QSet<QString> b(other_ids.begin(), other_ids.end());
    EXPECT_EQ(a, b) << files[0].toStdString() << " and " << file.toStdString() << " differ";
  }
}

TEST(TextIds, TheFormatTextHasExactlyOneNumberPlaceholder) {
  for (const QString& file : ShippedLanguageFiles()) {
    ui::LanguageTranslator language;
    ASSERT_TRUE(language.LoadFile(kSource + "/skin/" + file));
    EXPECT_EQ(language.Text("message_text_16").count("%d"), 1) << file.toStdString();
    EXPECT_EQ(language.Text("message_text_16").count('%'), 1) << file.toStdString();
  }
}

TEST(TextIds, LanguageListNamesShippedFilesAndKnownIds) {
  QFile config(kSource + "/DefaultData/Language.config");
  ASSERT_TRUE(config.open(QIODevice::ReadOnly));
  QJsonParseError error;
  QJsonDocument document = QJsonDocument::fromJson(config.readAll(), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
  QJsonArray languages = document.object().value("Language").toArray();
  ASSERT_EQ(languages.size(), ShippedLanguageFiles().size());
  QSet<int> identifiers;
  for (const QJsonValue& value : languages) {
    QJsonObject language = value.toObject();
    const QString file = language.value("Language_file").toString();
    EXPECT_TRUE(QFile::exists(kSource + "/skin/" + file)) << file.toStdString();
    EXPECT_FALSE(language.value("Language_name").toString().isEmpty());
    identifiers.insert(language.value("Language_ID").toInt());
    ui::LanguageTranslator translator;
    ASSERT_TRUE(translator.LoadFile(kSource + "/skin/" + file));
    EXPECT_TRUE(translator.Contains(language.value("Language_text").toString())) << file.toStdString();
  }
  EXPECT_EQ(identifiers.size(), languages.size()) << "identifiers must be unique";
}

}  // namespace
}  // namespace zrv::app
