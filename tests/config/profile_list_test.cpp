#include "config/profile_list.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>

#include "config/config_text_ids.h"
#include "config/json_file.h"
#include "config/test_support.h"

namespace zrv::config {
namespace {

using test::Doc;
using test::FileBytes;
using test::JsonBytes;
using test::PutFile;

constexpr const char* kTemplate = R"({
  "Device": [ { "LightInfo": { "Light": 4, "SelectItem": 2 },
                "CustomEQNameInfo": [ { "Name": "factory" } ],
                "CustomEQHzValueInfo": [ [ { "value": 0 } ] ] } ],
  "profileUUID": "",
  "profilename": ""
})";

// A data folder and a template in a temporary folder; the clock stands still unless a test moves
// it, so identifiers are known in advance.
class Profiles : public ::testing::Test {
 protected:
  Profiles() : now_(QDate(2022, 3, 14), QTime(9, 26, 53, 589)) {
    QDir(dir_.path()).mkpath("data");
    PutFile(TemplatePath(), JsonBytes(Doc(kTemplate)));
    list_ = ProfileList(Data(""), TemplatePath(), device::DeviceKind::kKeyboard, [this] { return now_; });
  }

  QString Data(const QString& name) const { return dir_.filePath("data/" + name); }
  QString TemplatePath() const { return dir_.filePath("keyboard.Json"); }
  QString ListFile() const { return Data("ProfileList.ini"); }
  QByteArray ListBytes() const { return FileBytes(ListFile()); }
  // A list of profiles named `names`, with identifiers "id0", "id1", ... and their files.
  void PutList(const QStringList& names, int select = 0) {
    Json::Value list(Json::objectValue);
    for (int i = 0; i < names.size(); ++i) {
      Json::Value entry(Json::objectValue);
      entry["profilename"] = names[i].toStdString();
      entry["profileUUID"] = "id" + std::to_string(i);
      entry["profileislink"] = 0;
      entry["profilelinkmame"] = "";
      list["profilelist"].append(entry);
      Json::Value profile = Doc(R"({"Device":[{"LightInfo":{"Light":1}}]})");
      profile["profilename"] = names[i].toStdString();
      profile["profileUUID"] = "id" + std::to_string(i);
      PutFile(Data(QString("id%1.Json").arg(i)), JsonBytes(profile));
    }
    list["profileselect"] = select;
    PutFile(ListFile(), JsonBytes(list));
  }
  QStringList Names() {
    QStringList names;
    for (const ProfileEntry& entry : list_.Load()) names << entry.name;
    return names;
  }
  QStringList DataFiles() const { return QDir(Data("")).entryList(QDir::Files, QDir::Name); }

  QTemporaryDir dir_;
  QDateTime now_;
  ProfileList list_;
};

TEST_F(Profiles, FirstStartWritesTheListAndATemplateCopyExactly) {
  const ProfileOutcome init = list_.InitProfiles();
  ASSERT_TRUE(init.ok);
  EXPECT_EQ(init.position, 0);
  EXPECT_EQ(init.id, "2022_03_14_09_26_53_589");
  EXPECT_EQ(ListBytes(),
            "{\r\n"
            "   \"profilelist\" : [\r\n"
            "      {\r\n"
            "         \"profileUUID\" : \"2022_03_14_09_26_53_589\",\r\n"
            "         \"profileislink\" : 0,\r\n"
            "         \"profilelinkmame\" : \"\",\r\n"
            "         \"profilename\" : \"profile1\"\r\n"
            "      }\r\n"
            "   ],\r\n"
            "   \"profileselect\" : 0\r\n"
            "}\r\n");
  Json::Value expected = Doc(kTemplate);
  expected["profilename"] = "profile1";
  expected["profileUUID"] = "2022_03_14_09_26_53_589";
  EXPECT_EQ(FileBytes(Data("2022_03_14_09_26_53_589.Json")), JsonBytes(expected));
  EXPECT_EQ(list_.SelectedId(), "2022_03_14_09_26_53_589");

  // A second start finds the list and changes nothing.
  const QByteArray before = ListBytes();
  EXPECT_EQ(list_.InitProfiles().id, "2022_03_14_09_26_53_589");
  EXPECT_EQ(ListBytes(), before);
  EXPECT_EQ(DataFiles().size(), 2);
}

TEST_F(Profiles, AListWithoutEntriesIsReplacedByProfile1) {
  for (const QByteArray& broken : {QByteArray("not json"), QByteArray(""), QByteArray("{\"profilelist\":[]}"),
                                   QByteArray("[1,2]"), QByteArray("{\"profilelist\":7}")}) {
    PutFile(ListFile(), broken);
    const ProfileOutcome init = list_.InitProfiles();
    ASSERT_TRUE(init.ok) << broken.constData();
    EXPECT_EQ(Names(), QStringList{"profile1"}) << broken.constData();
    EXPECT_EQ(list_.RecordedSelection(), 0);
    now_ = now_.addSecs(1);
  }
}

TEST_F(Profiles, WithoutATemplateNewProfilesHoldOnlyTheirNames) {
  QFile::remove(TemplatePath());
  ASSERT_TRUE(list_.InitProfiles().ok);
  EXPECT_EQ(FileBytes(Data(list_.SelectedId() + ".Json")),
            "{\r\n   \"profileUUID\" : \"2022_03_14_09_26_53_589\",\r\n   \"profilename\" : \"profile1\"\r\n}\r\n");
}

TEST_F(Profiles, ARecordedSelectionThatNamesNoEntrySelectsTheFirst) {
  PutList({"a", "b"}, 5);
  EXPECT_EQ(list_.InitProfiles().position, 0);
  PutList({"a", "b"}, -3);
  EXPECT_EQ(list_.InitProfiles().id, "id0");
  PutList({"a", "b"}, 1);
  EXPECT_EQ(list_.InitProfiles().id, "id1");
}

TEST_F(Profiles, NewProfilesTakeTheSmallestFreeNumberRegardlessOfCase) {
  PutList({"profile1", "Profile3"});
  ProfileOutcome created = list_.NewProfile();
  ASSERT_TRUE(created.ok);
  EXPECT_EQ(created.name, "profile2");
  EXPECT_EQ(created.position, 2);
  PutList({"profile1", "PROFILE2"});
  EXPECT_EQ(list_.NewProfile().name, "profile3");
}

TEST_F(Profiles, ANewProfileIsRecordedAsSelectedAndMadeFromTheTemplate) {
  PutList({"Game", "Work"}, 0);
  const ProfileOutcome created = list_.NewProfile();
  ASSERT_TRUE(created.ok);
  list_.Load();
  EXPECT_EQ(list_.RecordedSelection(), 2);
  EXPECT_EQ(list_.Entries().back(), (ProfileEntry{"profile1", "2022_03_14_09_26_53_589"}));
  const Json::Value file = ReadJsonFile(Data("2022_03_14_09_26_53_589.Json"));
  EXPECT_EQ(file["Device"], Doc(kTemplate)["Device"]);
  EXPECT_EQ(file["profilename"].asString(), "profile1");
}

TEST_F(Profiles, IdentifiersStayUniqueWithinOneMillisecond) {
  ASSERT_TRUE(list_.InitProfiles().ok);
  EXPECT_EQ(list_.NewProfile().id, "2022_03_14_09_26_53_590");
  EXPECT_EQ(list_.CopyProfile(0).id, "2022_03_14_09_26_53_591");
  // A file that still lies in the folder keeps its identifier taken.
  PutFile(Data("2022_03_14_09_26_53_592.Json"), "{}");
  EXPECT_EQ(list_.NewProfile().id, "2022_03_14_09_26_53_593");
  // The stamp rolls over into the next second in the same format.
  now_ = QDateTime(QDate(2022, 12, 31), QTime(23, 59, 59, 999));
  EXPECT_EQ(list_.NewProfile().id, "2022_12_31_23_59_59_999");
  EXPECT_EQ(list_.NewProfile().id, "2023_01_01_00_00_00_000");
}

TEST_F(Profiles, TheFiftiethNewProfileIsMadeTheFiftyFirstIsNot) {
  QStringList names;
  for (int i = 0; i < 49; ++i) names << QString("p%1").arg(i);
  PutList(names);
  EXPECT_TRUE(list_.ExportProfile(0, dir_.filePath("out.json")).ok) << "export stops at 50, not before";
  const ProfileOutcome fiftieth = list_.NewProfile();
  ASSERT_TRUE(fiftieth.ok);
  EXPECT_EQ(fiftieth.position, 49);
  now_ = now_.addSecs(1);
  EXPECT_EQ(list_.NewProfile().message, kTextListFull);
  EXPECT_EQ(list_.ExportProfile(0, dir_.filePath("out2.json")).message, kTextListFull);
  EXPECT_EQ(list_.Count(), 50);
}

TEST_F(Profiles, FiftyProfilesRefuseNewAndExportButNotCopyOrImport) {
  QStringList names;
  for (int i = 0; i < 50; ++i) names << QString("p%1").arg(i);
  PutList(names);
  const QByteArray before = ListBytes();

  ProfileOutcome refused = list_.NewProfile();
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.message, kTextListFull);
  refused = list_.ExportProfile(0, dir_.filePath("out.json"));
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.message, kTextListFull);
  EXPECT_FALSE(QFile::exists(dir_.filePath("out.json")));
  EXPECT_EQ(ListBytes(), before);

  EXPECT_TRUE(list_.CopyProfile(0).ok);
  EXPECT_EQ(list_.Count(), 51);
  PutFile(dir_.filePath("Game.json"), R"({"profilename":"x","profileUUID":"y"})");
  EXPECT_TRUE(list_.ImportProfile(dir_.filePath("Game.json")).ok);
  EXPECT_EQ(list_.Count(), 52);
}

TEST_F(Profiles, DeleteSelectsThePreviousEntryAndRemovesTheFile) {
  PutList({"a", "b", "c"}, 0);
  ProfileOutcome deleted = list_.DeleteProfile(0);
  ASSERT_TRUE(deleted.ok);
  EXPECT_EQ(deleted.position, 0);
  EXPECT_EQ(deleted.name, "b");
  EXPECT_EQ(Names(), (QStringList{"b", "c"}));
  EXPECT_EQ(list_.RecordedSelection(), 0);
  EXPECT_FALSE(QFile::exists(Data("id0.Json")));

  PutList({"a", "b", "c"}, 2);
  deleted = list_.DeleteProfile(2);
  EXPECT_EQ(deleted.position, 1);
  EXPECT_EQ(deleted.id, "id1");
  list_.Load();
  EXPECT_EQ(list_.RecordedSelection(), 1);
  EXPECT_FALSE(QFile::exists(Data("id2.Json")));
  EXPECT_TRUE(QFile::exists(Data("id1.Json")));
}

TEST_F(Profiles, TheLastProfileCannotBeDeleted) {
  PutList({"only"});
  const QByteArray before = ListBytes();
  const ProfileOutcome refused = list_.DeleteProfile(0);
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.message, kTextLastProfile);
  EXPECT_EQ(ListBytes(), before);
  EXPECT_TRUE(QFile::exists(Data("id0.Json")));
  EXPECT_FALSE(list_.DeleteProfile(-1).ok);
}

TEST_F(Profiles, CopiesAreNamedCopyThenCopyCopyAndKeepTheSettings) {
  PutList({"Game"});
  PutFile(Data("id0.Json"), JsonBytes(Doc(R"({"Device":[{"Mine":1}],"extra":"kept","profilename":"Game",
                                               "profileUUID":"id0"})")));
  ProfileOutcome copy = list_.CopyProfile(0);
  ASSERT_TRUE(copy.ok);
  EXPECT_EQ(copy.name, "Game copy");
  EXPECT_EQ(list_.CopyProfile(0).name, "Game copy copy");
  EXPECT_EQ(Names(), (QStringList{"Game", "Game copy", "Game copy copy"}));
  EXPECT_EQ(list_.RecordedSelection(), 0) << "a copy is not selected";
  EXPECT_EQ(FileBytes(Data(copy.id + ".Json")),
            JsonBytes(Doc(R"({"Device":[{"Mine":1}],"extra":"kept","profilename":"Game copy",
                              "profileUUID":"2022_03_14_09_26_53_589"})")));
}

TEST_F(Profiles, ImportsAreNamedAfterTheFileAndKeepTheDocument) {
  PutList({"game"});
  const QString file = dir_.filePath("Game.json");
  PutFile(file, R"({"Device":[{"Own":3}],"more":[1,2],"profilename":"ignored","profileUUID":"ignored"})");
  ProfileOutcome imported = list_.ImportProfile(file);
  ASSERT_TRUE(imported.ok);
  EXPECT_EQ(imported.name, "Game(1)");
  EXPECT_EQ(list_.ImportProfile(file).name, "Game(1)(2)");
  EXPECT_EQ(Names(), (QStringList{"game", "Game(1)", "Game(1)(2)"}));
  EXPECT_EQ(ReadJsonFile(Data(imported.id + ".Json")),
            Doc(R"json({"Device":[{"Own":3}],"more":[1,2],"profilename":"Game(1)",
                        "profileUUID":"2022_03_14_09_26_53_589"})json"));
  EXPECT_EQ(list_.RecordedSelection(), 0);
}

TEST_F(Profiles, AnImportedNameIsOneTheUserCouldHaveGiven) {
  PutList({"Tom _ Jerry"});
  const QString file = dir_.filePath("  Tom & Jerry.json");
  PutFile(file, R"({"profilename":"x","profileUUID":"y"})");
  // No "&" and no leading space, which a rename refuses and the name field could not save again.
  EXPECT_EQ(list_.ImportProfile(file).name, "Tom _ Jerry(1)");
  const QString blank = dir_.filePath("   .json");
  PutFile(blank, R"({"profilename":"x","profileUUID":"y"})");
  EXPECT_EQ(list_.ImportProfile(blank).name, "profile");
  for (const ProfileEntry& entry : list_.Entries()) {
    EXPECT_FALSE(entry.name.contains('&'));
    EXPECT_FALSE(entry.name.startsWith(' '));
  }
}

TEST_F(Profiles, HostileImportsAreIgnoredWithoutAMessage) {
  PutList({"a"});
  const QByteArray before = ListBytes();
  const QStringList files_before = DataFiles();
  const QString file = dir_.filePath("hostile.json");
  for (const QByteArray& content :
       {QByteArray("not json at all"), QByteArray(""), QByteArray("{\"profilename\":\"x\"}"),
        QByteArray("{\"profileUUID\":\"x\"}"), QByteArray("[{\"profilename\":1,\"profileUUID\":2}]"),
        QByteArray(100000, '['), QByteArray("\xff\xfe\x00garbage", 10)}) {
    PutFile(file, content);
    EXPECT_FALSE(ProfileList::IsImportableProfile(file)) << content.left(40).constData();
    const ProfileOutcome ignored = list_.ImportProfile(file);
    EXPECT_FALSE(ignored.ok);
    EXPECT_TRUE(ignored.message.isEmpty());
  }
  EXPECT_FALSE(list_.ImportProfile(dir_.filePath("missing.json")).ok);
  EXPECT_EQ(ListBytes(), before);
  EXPECT_EQ(DataFiles(), files_before);
}

TEST_F(Profiles, AnImportLargerThanAnyProfileIsNotRead) {
  PutList({"a"});
  QFile huge(dir_.filePath("huge.json"));
  ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
  huge.write(R"({"profilename":"x","profileUUID":"y","pad":")");
  huge.write(QByteArray(kMaxJsonFileBytes, 'x'));
  huge.write("\"}");
  huge.close();
  EXPECT_FALSE(ProfileList::IsImportableProfile(huge.fileName()));
  EXPECT_FALSE(list_.ImportProfile(huge.fileName()).ok);
  EXPECT_EQ(Names(), QStringList{"a"});
}

TEST_F(Profiles, RenameRefusalsChangeNoFile) {
  PutList({"Game", "Work"});
  const QByteArray list_before = ListBytes();
  const QByteArray file_before = FileBytes(Data("id0.Json"));
  EXPECT_EQ(list_.RenameProfile(0, " Game2"), kRenameLeadingSpace);
  EXPECT_EQ(list_.RenameProfile(0, "A&B"), kRenameAmpersand);
  EXPECT_EQ(list_.RenameProfile(0, " A&B"), kRenameAmpersand) << "the ampersand is checked first";
  EXPECT_EQ(list_.RenameProfile(0, "work"), kRenameNameUsed);
  EXPECT_EQ(list_.RenameProfile(7, "Other"), kRenameNameUsed);
  EXPECT_EQ(ListBytes(), list_before);
  EXPECT_EQ(FileBytes(Data("id0.Json")), file_before);
}

TEST_F(Profiles, RenameChangesListAndFileAndAllowsOwnNameInOtherCase) {
  PutList({"Game", "Work"});
  EXPECT_EQ(list_.RenameProfile(0, "GAME"), kRenameDone);
  EXPECT_EQ(Names(), (QStringList{"GAME", "Work"}));
  EXPECT_EQ(list_.RenameProfile(1, "Spiel \xC3\xBC"), kRenameDone);
  EXPECT_TRUE(ListBytes().contains("\"profilename\" : \"Spiel \xC3\xBC\"")) << "raw UTF-8, not escaped";
  const Json::Value file = ReadJsonFile(Data("id1.Json"));
  EXPECT_EQ(file["profilename"].asString(), "Spiel \xC3\xBC");
  EXPECT_EQ(file["profileUUID"].asString(), "id1") << "the identifier never changes";
  EXPECT_EQ(file["Device"], Doc(R"([{"LightInfo":{"Light":1}}])"));
}

TEST_F(Profiles, SelectRecordsThePositionAndNamesTheIdentifier) {
  PutList({"a", "b", "c"});
  const ProfileOutcome selected = list_.SelectProfile(2);
  ASSERT_TRUE(selected.ok);
  EXPECT_EQ(selected.id, "id2");
  list_.Load();
  EXPECT_EQ(list_.RecordedSelection(), 2);
  EXPECT_FALSE(list_.SelectProfile(3).ok);
  EXPECT_FALSE(list_.SelectProfile(-1).ok);
  list_.Load();
  EXPECT_EQ(list_.RecordedSelection(), 2);
}

TEST_F(Profiles, ResetKeepsOnlyNameAndIdentifierOfAKeyboardProfile) {
  PutList({"Game"});
  PutFile(Data("id0.Json"), JsonBytes(Doc(R"({"Device":[{"LightInfo":{"Light":0},"CustomEQNameInfo":[{"Name":"mine"}]}],
                                               "profilename":"Game","profileUUID":"id0","extra":1})")));
  ASSERT_TRUE(list_.ResetProfile(0).ok);
  Json::Value expected = Doc(kTemplate);
  expected["profilename"] = "Game";
  expected["profileUUID"] = "id0";
  EXPECT_EQ(FileBytes(Data("id0.Json")), JsonBytes(expected));
}

TEST_F(Profiles, ResetOfAHeadsetProfileKeepsItsEqualiserPresets) {
  list_.SetDeviceKind(device::DeviceKind::kHeadset);
  PutList({"Music"});
  PutFile(Data("id0.Json"), JsonBytes(Doc(R"({"Device":[{"LightInfo":{"Light":0},
                                       "CustomEQNameInfo":[{"Name":"mine"},{"Name":"bass"}],
                                       "CustomEQHzValueInfo":[[{"value":5}],[{"value":-3}]],
                                       "SystemSetStages":{"EqType":13}}],
                            "profilename":"Music","profileUUID":"id0"})")));
  ASSERT_TRUE(list_.ResetProfile(0).ok);
  Json::Value expected = Doc(kTemplate);
  expected["profilename"] = "Music";
  expected["profileUUID"] = "id0";
  expected["Device"][0]["CustomEQNameInfo"] = Doc(R"([{"Name":"mine"},{"Name":"bass"}])");
  expected["Device"][0]["CustomEQHzValueInfo"] = Doc(R"([[{"value":5}],[{"value":-3}]])");
  EXPECT_EQ(FileBytes(Data("id0.Json")), JsonBytes(expected));
}

TEST_F(Profiles, ExportWritesTheProfileAndAMissingOneAsTheTemplate) {
  PutList({"Game", "Gone"});
  ASSERT_TRUE(list_.ExportProfile(0, dir_.filePath("out.json")).ok);
  EXPECT_EQ(FileBytes(dir_.filePath("out.json")), FileBytes(Data("id0.Json")));
  QFile::remove(Data("id1.Json"));
  ASSERT_TRUE(list_.ExportProfile(1, dir_.filePath("gone.json")).ok);
  Json::Value expected = Doc(kTemplate);
  expected["profilename"] = "Gone";
  expected["profileUUID"] = "id1";
  EXPECT_EQ(ReadJsonFile(dir_.filePath("gone.json")), expected);
  EXPECT_TRUE(ProfileList::IsImportableProfile(dir_.filePath("gone.json")));
  const ProfileOutcome failed = list_.ExportProfile(0, dir_.filePath("no/such/folder/out.json"));
  EXPECT_FALSE(failed.ok);
  EXPECT_EQ(failed.message, kTextSaveFailed);
}

TEST_F(Profiles, ExportNeverReplacesAFileOfTheDevice) {
  PutList({"Game", "Work"});
  PutFile(Data("macro.config"), R"({"MacroInfo":[{"MacroName":"m","Guid":"g"}]})");
  PutFile(Data("g.mac"), R"({"Events":[]})");
  QTemporaryDir elsewhere;
  QFile::link(Data("id1.Json"), elsewhere.filePath("link.json"));
  const QStringList files = DataFiles();
  QMap<QString, QByteArray> before;
  for (const QString& name : files) before[name] = FileBytes(Data(name));
  for (const QString& target : {ListFile(), Data("macro.config"), Data("g.mac"), Data("id1.Json"), Data("id0.Json"),
                                Data("new.json"), Data("new.mac"), elsewhere.filePath("link.json")}) {
    const ProfileOutcome refused = list_.ExportProfile(0, target);
    EXPECT_FALSE(refused.ok) << qPrintable(target);
    EXPECT_EQ(refused.message, kTextExportOwnFile) << qPrintable(target);
  }
  EXPECT_EQ(DataFiles(), files);
  for (const QString& name : files) EXPECT_EQ(FileBytes(Data(name)), before[name]) << qPrintable(name);
  EXPECT_TRUE(list_.ExportProfile(0, elsewhere.filePath("ProfileList.ini")).ok) << "the same name elsewhere";
  EXPECT_TRUE(list_.ExportProfile(0, Data("notes.txt")).ok) << "a new file of another kind harms nothing";
}

TEST_F(Profiles, CopiedAndImportedNamesFitTheNameFieldAndStayUnique) {
  const QString long_name = QString(32, 'L');
  PutList({long_name});
  QStringList made;
  for (int i = 0; i < 9; ++i) {
    now_ = now_.addSecs(1);
    made << list_.CopyProfile(0).name;
  }
  EXPECT_EQ(made[0], QString(27, 'L') + " copy");
  EXPECT_EQ(made[1], QString(22, 'L') + " copy copy");
  EXPECT_EQ(made[5], "LL copy copy copy copy copy copy");
  EXPECT_EQ(made[6], QString(25, 'L') + " copy 2") << "numbered once more copies leave no room";
  EXPECT_EQ(made[8], QString(25, 'L') + " copy 4");

  // A file name of 20 emoji: 40 UTF-16 units, never cut inside a pair; then with counters.
  const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");
  const QString file = dir_.filePath(smile.repeated(20) + ".json");
  PutFile(file, R"({"profilename":"x","profileUUID":"y"})");
  for (int i = 0; i < 12; ++i) {
    now_ = now_.addSecs(1);
    made << list_.ImportProfile(file).name;
  }
  EXPECT_EQ(made[9], smile.repeated(16));
  EXPECT_EQ(made[10], smile.repeated(14) + "(1)") << "the pair that would be cut goes whole";
  EXPECT_EQ(made[19], "(1)(2)(3)(4)(5)(6)(7)(8)(9)(10)") << "no room left for a whole pair";
  EXPECT_EQ(made[20], smile.repeated(14) + "(11)");

  // A letter with a combining accent stays whole.
  const QString accented = QString(31, 'a') + QString::fromUtf8("e\xCC\x81") + "z";
  const QString accent_file = dir_.filePath(accented + ".json");
  PutFile(accent_file, R"({"profilename":"x","profileUUID":"y"})");
  now_ = now_.addSecs(1);
  made << list_.ImportProfile(accent_file).name;
  EXPECT_EQ(made.last(), QString(31, 'a'));

  QSet<QString> unique;
  for (const ProfileEntry& entry : list_.Load()) {
    EXPECT_LE(entry.name.size(), ProfileList::kMaxNameLength) << qPrintable(entry.name);
    EXPECT_FALSE(entry.name.back().isHighSurrogate()) << qPrintable(entry.name);
    EXPECT_EQ(QString::fromUtf8(entry.name.toUtf8()), entry.name) << "whole characters on disk";
    unique.insert(entry.name.toLower());
  }
  EXPECT_EQ(unique.size(), list_.Count());
}

TEST_F(Profiles, IdentifiersThatAreNoPlainFileNamesTouchNoFileElsewhere) {
  PutFile(dir_.filePath("outside.Json"), "{\"keep\":1}");
  PutFile(ListFile(), R"({"profilelist":[{"profilename":"a","profileUUID":"../outside"},
                                          {"profilename":"b","profileUUID":"id1"}],"profileselect":0})");
  EXPECT_TRUE(list_.ProfilePath("../outside").isEmpty());
  EXPECT_TRUE(list_.DeleteProfile(0).ok);
  EXPECT_EQ(FileBytes(dir_.filePath("outside.Json")), "{\"keep\":1}");
}

TEST_F(Profiles, HandEditedIdentifiersAreRepairedAtStartSoNoEntryLosesOrEscapesItsFile) {
  PutList({"a", "b"});
  PutFile(dir_.filePath("outside.Json"), "{\"keep\":1}");
  // b shares a's file, c points out of the folder, d has no identifier, e is no object at all.
  PutFile(ListFile(), R"({"profilelist":[{"profilename":"a","profileUUID":"id0"},
                                          {"profilename":"b","profileUUID":"id0","profileislink":0},
                                          {"profilename":"c","profileUUID":"../outside"},
                                          {"profilename":"d"}, 5],"profileselect":2})");
  const ProfileOutcome init = list_.InitProfiles();
  ASSERT_TRUE(init.ok);
  ASSERT_EQ(list_.Count(), 5);
  QSet<QString> ids;
  for (const ProfileEntry& entry : list_.Entries()) {
    EXPECT_FALSE(list_.ProfilePath(entry.id).isEmpty()) << entry.id.toStdString();
    EXPECT_TRUE(QFile::exists(list_.ProfilePath(entry.id))) << entry.id.toStdString();
    ids.insert(entry.id);
  }
  EXPECT_EQ(ids.size(), 5) << "every entry has a file of its own";
  EXPECT_EQ(list_.Entries()[0].id, "id0");
  EXPECT_EQ(init.id, list_.Entries()[2].id) << "the selected entry is handed out with its new identifier";
  EXPECT_EQ(Names(), (QStringList{"a", "b", "c", "d", ""})) << "the repair was written";
  const Json::Value copy = ReadJsonFile(list_.ProfilePath(list_.Entries()[1].id));
  EXPECT_EQ(copy["Device"], ReadJsonFile(Data("id0.Json"))["Device"]) << "b keeps the settings it shared";
  EXPECT_EQ(copy["profilename"].asString(), "b");

  EXPECT_TRUE(list_.DeleteProfile(0).ok);
  EXPECT_TRUE(QFile::exists(list_.ProfilePath(list_.Entries()[0].id)));
  EXPECT_EQ(FileBytes(dir_.filePath("outside.Json")), "{\"keep\":1}");
}

TEST_F(Profiles, DeleteKeepsAFileThatAnotherEntryStillNames) {
  PutFile(ListFile(), R"({"profilelist":[{"profilename":"a","profileUUID":"id0"},
                                          {"profilename":"b","profileUUID":"id0"}],"profileselect":0})");
  PutFile(Data("id0.Json"), "{}");
  EXPECT_TRUE(list_.DeleteProfile(1).ok);
  EXPECT_TRUE(QFile::exists(Data("id0.Json")));
}

// Write failures. Running as root ignores permissions, so the disk is made "full" instead
// (test::FileSizeLimit), or a folder stands where the file should go.
using test::FileSizeLimit;

class ProfileWriteFailures : public Profiles {
 protected:
  void BlockFile(const QString& name) { ASSERT_TRUE(QDir(Data("")).mkpath(name)); }
  // Everything on disk, to compare before and after a failed operation.
  QMap<QString, QByteArray> Snapshot() const {
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(Data("")).entryList(QDir::Files | QDir::Hidden))
      files[name] = FileBytes(Data(name));
    return files;
  }
};

TEST_F(ProfileWriteFailures, AFirstStartThatCannotWriteTheListLeavesNoProfileFile) {
  BlockFile("ProfileList.ini");
  const ProfileOutcome init = list_.InitProfiles();
  EXPECT_FALSE(init.ok);
  EXPECT_EQ(init.message, kTextSaveFailed);
  EXPECT_TRUE(DataFiles().isEmpty());
}

TEST_F(ProfileWriteFailures, AProfileFileThatCannotBeWrittenAddsNoEntry) {
  PutList({"a"});
  const auto before = Snapshot();
  FileSizeLimit full(100);  // the template copy is larger, the list would fit
  const ProfileOutcome created = list_.NewProfile();
  EXPECT_FALSE(created.ok);
  EXPECT_EQ(created.message, kTextSaveFailed);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(ProfileWriteFailures, AListThatCannotBeWrittenLeavesNoOrphanProfileFile) {
  PutList({"a", "b", "c"});
  QFile::remove(TemplatePath());  // new profile files hold only their names: they fit, the list does not
  PutFile(dir_.filePath("Game.json"), R"({"profilename":"x","profileUUID":"y"})");
  PutFile(Data("id0.Json"), "{}");
  const auto before = Snapshot();
  FileSizeLimit full(300);
  for (const ProfileOutcome& failed :
       {list_.NewProfile(), list_.CopyProfile(0), list_.ImportProfile(dir_.filePath("Game.json"))}) {
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.message, kTextSaveFailed);
  }
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(list_.Count(), 3);
}

TEST_F(ProfileWriteFailures, ARenameWhoseProfileFileCannotBeWrittenRestoresTheList) {
  PutList({"Game"});
  PutFile(Data("id0.Json"), JsonBytes(Doc(R"({"Device":[{"pad":")" + std::string(2000, 'x') + R"("}]})")));
  const auto before = Snapshot();
  FileSizeLimit full(1000);  // the list fits, the profile file does not
  EXPECT_EQ(list_.RenameProfile(0, "Other"), kRenameSaveFailed);
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(list_.Entries().front().name, "Game");
}

TEST_F(ProfileWriteFailures, DeleteSelectResetAndRenameReportAFailedWrite) {
  PutList({"Game", "Work"});
  const auto before = Snapshot();
  FileSizeLimit full(50);
  const ProfileOutcome selected = list_.SelectProfile(1);
  EXPECT_FALSE(selected.ok);
  EXPECT_EQ(selected.message, kTextSaveFailed);
  EXPECT_EQ(selected.id, "id1") << "the profile is still the one to use now";
  EXPECT_EQ(list_.DeleteProfile(1).message, kTextSaveFailed);
  EXPECT_EQ(list_.ResetProfile(1).message, kTextSaveFailed);
  EXPECT_EQ(list_.RenameProfile(1, "Other"), kRenameSaveFailed);
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(list_.Count(), 2);
}

TEST_F(ProfileWriteFailures, AReadOnlyFolderChangesNothing) {
  PutList({"Game", "Work"});
  const auto before = Snapshot();
  QFile::setPermissions(Data(""), QFile::ReadOwner | QFile::ExeOwner);
  QFile probe(Data("probe"));
  if (probe.open(QIODevice::WriteOnly)) {
    probe.close();
    probe.remove();
    QFile::setPermissions(Data(""), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    GTEST_SKIP() << "permissions do not stop this user (root)";
  }
  EXPECT_EQ(list_.NewProfile().message, kTextSaveFailed);
  EXPECT_EQ(list_.CopyProfile(0).message, kTextSaveFailed);
  EXPECT_EQ(list_.DeleteProfile(0).message, kTextSaveFailed);
  EXPECT_EQ(list_.RenameProfile(0, "x"), kRenameSaveFailed);
  EXPECT_EQ(list_.SelectProfile(1).message, kTextSaveFailed);
  QFile::setPermissions(Data(""), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(Snapshot(), before);
}

}  // namespace
}  // namespace zrv::config
