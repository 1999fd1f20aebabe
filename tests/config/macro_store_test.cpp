#include "config/macro_store.h"

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

// A store in a temporary folder whose clock stands still unless a test moves it.
class Macros : public ::testing::Test {
 protected:
  Macros() : now_(QDate(2021, 8, 9), QTime(14, 3, 7, 45)), store_(dir_.path(), [this] { return now_; }) {}

  QString Path(const QString& name) const { return QDir(dir_.path()).filePath(name); }
  QString Outside(const QString& name) const { return elsewhere_.filePath(name); }
  void PutIndex(const std::string& json) { PutFile(Path("macro.config"), JsonBytes(Doc(json))); }
  QStringList Names() { return store_.LoadMacroNames(); }

  QTemporaryDir dir_;
  QTemporaryDir elsewhere_;
  QDateTime now_;
  MacroStore store_;
};

TEST_F(Macros, TheFirstMacroIsMacro1AndItsIndexIsWrittenExactly) {
  EXPECT_TRUE(store_.LoadMacroList().empty());
  const MacroChange created = store_.CreateMacro();
  ASSERT_TRUE(created.ok);
  EXPECT_EQ(created.name, "macro_1");
  EXPECT_EQ(FileBytes(Path("macro.config")),
            "{\r\n"
            "   \"MacroInfo\" : [\r\n"
            "      {\r\n"
            "         \"Guid\" : \"2021_08_09_14_03_07_045\",\r\n"
            "         \"MacroName\" : \"macro_1\"\r\n"
            "      }\r\n"
            "   ]\r\n"
            "}\r\n");
  EXPECT_FALSE(QFile::exists(Path("2021_08_09_14_03_07_045.mac"))) << "a new macro has no events yet";
  EXPECT_TRUE(store_.LoadMacroEvents("2021_08_09_14_03_07_045").empty());
}

TEST_F(Macros, NewNamesSkipTakenOnesRegardlessOfCase) {
  PutIndex(R"({"MacroInfo":[{"MacroName":"Macro_1","Guid":"a"},{"MacroName":"macro_2","Guid":"b"}]})");
  EXPECT_EQ(store_.CreateMacro().name, "macro_3");
  PutIndex(R"({"MacroInfo":[{"MacroName":"MACRO_2","Guid":"a"}]})");
  EXPECT_EQ(store_.CreateMacro().name, "macro_1");
  EXPECT_EQ(Names(), (QStringList{"MACRO_2", "macro_1"}));
}

TEST_F(Macros, StampsStayUniqueWithinOneMillisecond) {
  const QString first = store_.CreateMacro().name;
  const QString second = store_.CreateMacro().name;
  const QString third = store_.CreateMacro().name;
  EXPECT_EQ((QStringList{first, second, third}), (QStringList{"macro_1", "macro_2", "macro_3"}));
  std::vector<QString> stamps;
  for (const MacroEntry& entry : store_.LoadMacroList()) stamps.push_back(entry.stamp);
  EXPECT_EQ(stamps,
            (std::vector<QString>{"2021_08_09_14_03_07_045", "2021_08_09_14_03_07_046", "2021_08_09_14_03_07_047"}));
  // A stamp whose ".mac" file still lies in the folder is not reused either.
  PutFile(Path("2021_08_09_14_03_07_048.mac"), "{}");
  store_.CreateMacro();
  EXPECT_EQ(store_.Macros().back().stamp, "2021_08_09_14_03_07_049");
}

TEST_F(Macros, FiftyMacrosRefuseCreateImportAndExport) {
  std::string list = R"({"MacroInfo":[)";
  for (int i = 0; i < 50; ++i) {
    list += std::string(i ? "," : "") + R"({"MacroName":"m)" + std::to_string(i) + R"(","Guid":"g)" +
            std::to_string(i) + "\"}";
  }
  PutIndex(list + "]}");
  PutFile(Path("in.mac"), R"({"Events":[]})");
  const QByteArray before = FileBytes(Path("macro.config"));
  for (const MacroChange& refused :
       {store_.CreateMacro(), store_.ImportMacro(Path("in.mac")), store_.ExportMacro(0, Path("out.mac"))}) {
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.refusal, "message_text_30");
  }
  EXPECT_EQ(FileBytes(Path("macro.config")), before);
  EXPECT_FALSE(QFile::exists(Path("out.mac")));
  EXPECT_EQ(QDir(dir_.path()).entryList({"*.mac"}), QStringList{"in.mac"}) << "nothing copied";
}

TEST_F(Macros, ImportedMacrosAreNamedAfterTheFileThenNumbered) {
  const QByteArray content =
      "{ \"Events\" : [ { \"Action\" : \"down\", \"Button\" : 4, \"Delay\" : \"12\", \"Type\" : 10 } ],"
      " \"Guid\" : \"theirs\", \"MacroName\" : \"x\", \"Version\" : 64 }";
  PutFile(Path("combo.mac"), content);
  const MacroChange first = store_.ImportMacro(Path("combo.mac"));
  const MacroChange second = store_.ImportMacro(Path("combo.mac"));
  PutIndex(R"({"MacroInfo":[{"MacroName":"COMBO","Guid":"a"},{"MacroName":"2","Guid":"b"}]})");
  const MacroChange third = store_.ImportMacro(Path("combo.mac"));
  EXPECT_EQ(first.name, "combo");
  EXPECT_EQ(second.name, "2");
  EXPECT_EQ(third.name, "3");
  const MacroEntry& imported = store_.Macros().back();
  EXPECT_EQ(FileBytes(store_.MacroFilePath(imported.stamp)), content) << "copied unchanged";
  EXPECT_EQ(store_.LoadMacroEvents(imported.stamp), (std::vector<MacroEvent>{{"down", 4, 12, 10}}));
  PutFile(Path(".mac"), "{}");
  PutIndex(R"({"MacroInfo":[]})");
  EXPECT_EQ(store_.ImportMacro(Path(".mac")).name, "macro_1") << "a file without a base name";
}

TEST_F(Macros, HostileImportsAreRefusedWithoutACopy) {
  PutFile(Path("text.mac"), "this is not a macro");
  PutFile(Path("array.mac"), "[1,2,3]");
  PutFile(Path("big.mac"), "{}");
  QFile big(Path("big.mac"));
  ASSERT_TRUE(big.resize(kMaxJsonFileBytes + 1));
  for (const char* name : {"text.mac", "array.mac", "big.mac", "missing.mac"}) {
    const MacroChange refused = store_.ImportMacro(Path(name));
    EXPECT_FALSE(refused.ok) << name;
    EXPECT_EQ(refused.refusal, kTextMacroFileInvalid) << name;
  }
  EXPECT_TRUE(store_.LoadMacroList().empty());
  EXPECT_FALSE(QFile::exists(Path("macro.config")));

  PutFile(Path("bare.mac"), R"({"Guid":"x"})");
  const MacroChange bare = store_.ImportMacro(Path("bare.mac"));
  ASSERT_TRUE(bare.ok) << "a JSON object without events is an empty macro";
  EXPECT_TRUE(store_.LoadMacroEvents(store_.Macros().back().stamp).empty());
  PutFile(Path("odd.mac"), R"({"Events":[5,{"Action":7,"Button":"x","Delay":[1],"Type":{}},{"Type":2.9,"Delay":-5}]})");
  ASSERT_TRUE(store_.ImportMacro(Path("odd.mac")).ok);
  EXPECT_EQ(store_.LoadMacroEvents(store_.Macros().back().stamp), (std::vector<MacroEvent>{{}, {}, {"", 0, 0, 2}}))
      << "members of the wrong type read as 0";
}

TEST_F(Macros, ExportCopiesTheFileAndAnUnsavedMacroExportsEmpty) {
  store_.CreateMacro();
  ASSERT_TRUE(store_.SaveMacroEvents(0, {{"up", 4, 300, 1}}));
  const MacroEntry macro = store_.Macros()[0];
  ASSERT_TRUE(store_.ExportMacro(0, Outside("out.mac")).ok);
  EXPECT_EQ(FileBytes(Outside("out.mac")), FileBytes(store_.MacroFilePath(macro.stamp)));

  now_ = now_.addSecs(1);
  store_.CreateMacro();
  ASSERT_TRUE(store_.ExportMacro(1, Outside("empty.mac")).ok);
  EXPECT_EQ(ReadJsonFile(Outside("empty.mac")),
            Doc(R"({"Events":[],"Guid":"2021_08_09_14_03_08_045","MacroName":"macro_2","Version":64})"));
  EXPECT_FALSE(store_.ExportMacro(5, Outside("none.mac")).ok);
  const MacroChange failed = store_.ExportMacro(0, Outside("no/folder/out.mac"));
  EXPECT_FALSE(failed.ok);
  EXPECT_EQ(failed.refusal, kTextSaveFailed);
}

TEST_F(Macros, ExportNeverReplacesAFileOfTheDevice) {
  store_.CreateMacro();
  now_ = now_.addSecs(1);
  store_.CreateMacro();
  ASSERT_TRUE(store_.SaveMacroEvents(0, {{"up", 4, 300, 1}}));
  ASSERT_TRUE(store_.SaveMacroEvents(1, {{"down", 5, 0, 10}, {"up", 5, 0, 10}}));
  PutFile(Path("ProfileList.ini"), R"({"profilelist":[]})");
  QFile::link(Path("macro.config"), Outside("link.mac"));
  QMap<QString, QByteArray> before;
  for (const QString& name : QDir(dir_.path()).entryList(QDir::Files)) before[name] = FileBytes(Path(name));
  const QString other = store_.MacroFilePath(store_.Macros()[1].stamp);
  for (const QString& target : {Path("macro.config"), other, Path("ProfileList.ini"), Path("new.MAC"),
                                Path("2022_01_01_00_00_00_000.Json"), Outside("link.mac")}) {
    const MacroChange refused = store_.ExportMacro(0, target);
    EXPECT_FALSE(refused.ok) << qPrintable(target);
    EXPECT_EQ(refused.refusal, kTextExportOwnFile) << qPrintable(target);
  }
  QMap<QString, QByteArray> after;
  for (const QString& name : QDir(dir_.path()).entryList(QDir::Files)) after[name] = FileBytes(Path(name));
  EXPECT_EQ(after, before) << "nothing written";
  EXPECT_TRUE(store_.ExportMacro(0, Outside("macro.config")).ok) << "the same name elsewhere is the user's";
}

TEST_F(Macros, EntriesSharingAStampAreGivenStampsOfTheirOwnWhenRead) {
  PutIndex(R"({"MacroInfo":[{"MacroName":"Jump","Guid":"s"},{"MacroName":"Run","Guid":"s"},
                            {"MacroName":"Walk","Guid":"t"},{"MacroName":"Duck","Guid":"s"}]})");
  const QByteArray shared = R"({"Events":[{"Action":"down","Button":4,"Delay":"5","Type":10}]})";
  PutFile(Path("s.mac"), shared);
  const std::vector<MacroEntry>& macros = store_.LoadMacroList();
  ASSERT_EQ(macros.size(), 4u);
  EXPECT_EQ(macros[0].stamp, "s") << "the first keeps its stamp";
  EXPECT_EQ(macros[2].stamp, "t");
  QSet<QString> stamps;
  for (const MacroEntry& macro : macros) stamps.insert(macro.stamp);
  EXPECT_EQ(stamps.size(), 4);
  EXPECT_EQ(FileBytes(store_.MacroFilePath(macros[1].stamp)), shared) << "each keeps the events it had";
  EXPECT_EQ(FileBytes(store_.MacroFilePath(macros[3].stamp)), shared);
  EXPECT_EQ(MacroStore::ReadMacroIndex(Path("macro.config")), macros) << "the repair is written";
  EXPECT_EQ(store_.LoadMacroNames(), (QStringList{"Jump", "Run", "Walk", "Duck"}));

  // Deleting one of them leaves the others their events.
  ASSERT_TRUE(store_.DeleteMacro(0));
  EXPECT_FALSE(QFile::exists(Path("s.mac")));
  EXPECT_EQ(store_.LoadMacroEvents(store_.Macros()[0].stamp).size(), 1u);
  EXPECT_EQ(store_.LoadMacroEvents(store_.Macros()[2].stamp).size(), 1u);
}

TEST_F(Macros, DeleteKeepsAFileThatAnotherEntryStillNames) {
  // The repair cannot copy the shared file (the disk is "full" for it), so both entries still
  // name it when one is deleted.
  PutIndex(R"({"MacroInfo":[{"MacroName":"a","Guid":"s"},{"MacroName":"b","Guid":"s"}]})");
  PutFile(Path("s.mac"), R"({"Events":[],"pad":")" + QByteArray(2000, 'x') + R"("})");
  test::FileSizeLimit full(1000);
  ASSERT_TRUE(store_.DeleteMacro(1));
  EXPECT_EQ(store_.Macros(), (std::vector<MacroEntry>{{"a", "s"}}));
  EXPECT_TRUE(QFile::exists(Path("s.mac")));
}

TEST_F(Macros, RenameRefusalsAndUnchangedNames) {
  PutIndex(R"({"MacroInfo":[{"MacroName":"Jump","Guid":"a"},{"MacroName":"Run","Guid":"b"}]})");
  const QByteArray before = FileBytes(Path("macro.config"));
  struct Case {
    QString text;
    RenameOutcome outcome;
    QString refusal;
  };
  for (const Case& c :
       {Case{" Jump2", RenameOutcome::kRefused, "message_text_25"},
        Case{"", RenameOutcome::kRefused, "message_text_5_1"}, Case{"\t ", RenameOutcome::kRefused, "message_text_5_1"},
        Case{"A&B", RenameOutcome::kRefused, "message_text_5_3"}, Case{"JUMP", RenameOutcome::kUnchanged, ""},
        Case{"run", RenameOutcome::kUnchanged, ""}}) {
    const RenameResult result = store_.RenameMacro(0, c.text);
    EXPECT_EQ(result.outcome, c.outcome) << qPrintable(c.text);
    EXPECT_EQ(result.refusal, c.refusal) << qPrintable(c.text);
  }
  EXPECT_EQ(FileBytes(Path("macro.config")), before) << "nothing changed on disk";

  PutFile(Path("a.mac"), R"({"Events":[],"MacroName":"Jump"})");
  EXPECT_EQ(store_.RenameMacro(0, QString::fromUtf8("Spr\xC3\xBCng")).outcome, RenameOutcome::kRenamed);
  EXPECT_EQ(Names(), (QStringList{QString::fromUtf8("Spr\xC3\xBCng"), "Run"}));
  EXPECT_EQ(store_.Macros()[0].stamp, "a") << "the stamp never changes";
  EXPECT_EQ(FileBytes(Path("a.mac")), R"({"Events":[],"MacroName":"Jump"})") << "the .mac file is not touched";
  EXPECT_TRUE(FileBytes(Path("macro.config")).contains("Spr\xC3\xBCng")) << "raw UTF-8 on disk";
}

TEST_F(Macros, DeleteRemovesTheEntryAndItsFile) {
  for (int i = 0; i < 3; ++i) store_.CreateMacro();
  const std::vector<MacroEntry> before = store_.Macros();
  ASSERT_TRUE(store_.SaveMacroEvents(1, {{"down", 5, 0, 10}}));
  ASSERT_TRUE(QFile::exists(store_.MacroFilePath(before[1].stamp)));
  ASSERT_TRUE(store_.DeleteMacro(1));
  EXPECT_FALSE(QFile::exists(store_.MacroFilePath(before[1].stamp)));
  EXPECT_EQ(store_.LoadMacroList(), (std::vector<MacroEntry>{before[0], before[2]}));
  EXPECT_FALSE(store_.DeleteMacro(2));
  EXPECT_FALSE(store_.DeleteMacro(-1));
}

TEST_F(Macros, StampsThatAreNoPlainFileNamesTouchNothingOutside) {
  QTemporaryDir outside;
  const QString victim = QDir(outside.path()).filePath("victim.mac");
  PutFile(victim, R"({"Events":[{"Action":"down","Button":1,"Delay":"5","Type":1}]})");
  const std::string guid = (outside.path() + "/victim").toStdString();
  PutIndex(R"({"MacroInfo":[{"MacroName":"evil","Guid":")" + guid + R"("}]})");
  EXPECT_TRUE(store_.MacroFilePath(QString::fromStdString(guid)).isEmpty());
  EXPECT_TRUE(store_.LoadMacroEvents(QString::fromStdString(guid)).empty());
  EXPECT_FALSE(store_.SaveMacroEvents(0, {}));
  EXPECT_TRUE(store_.DeleteMacro(0));
  EXPECT_TRUE(QFile::exists(victim));
}

TEST_F(Macros, EventsAreSavedWithDelayTextAndReadBackByItsLeadingNumber) {
  store_.CreateMacro();
  store_.RenameMacro(0, "Burst");
  ASSERT_TRUE(store_.SaveMacroEvents(0, {{"down", 4, 300, 1}, {"up", 4, 65535, 1}}));
  EXPECT_EQ(FileBytes(store_.MacroFilePath(store_.Macros()[0].stamp)),
            "{\r\n"
            "   \"Events\" : [\r\n"
            "      {\r\n"
            "         \"Action\" : \"down\",\r\n"
            "         \"Button\" : 4,\r\n"
            "         \"Delay\" : \"300\",\r\n"
            "         \"Type\" : 1\r\n"
            "      },\r\n"
            "      {\r\n"
            "         \"Action\" : \"up\",\r\n"
            "         \"Button\" : 4,\r\n"
            "         \"Delay\" : \"65535\",\r\n"
            "         \"Type\" : 1\r\n"
            "      }\r\n"
            "   ],\r\n"
            "   \"Guid\" : \"2021_08_09_14_03_07_045\",\r\n"
            "   \"MacroName\" : \"Burst\",\r\n"
            "   \"Version\" : 64\r\n"
            "}\r\n");
  EXPECT_FALSE(store_.SaveMacroEvents(1, {}));

  EXPECT_EQ(ReadMacroDelay(Json::Value("300")), 300u);
  EXPECT_EQ(ReadMacroDelay(Json::Value("120ms")), 120u);
  EXPECT_EQ(ReadMacroDelay(Json::Value("70000")), 70000u) << "kept; cut to 16 bits only on the device";
  EXPECT_EQ(ReadMacroDelay(Json::Value("")), 0u);
  EXPECT_EQ(ReadMacroDelay(Json::Value("abc")), 0u);
  EXPECT_EQ(ReadMacroDelay(Json::Value(" 5")), 0u);
  EXPECT_EQ(ReadMacroDelay(Json::Value("99999999999999999999")), 0xFFFFFFFFu);
  EXPECT_EQ(ReadMacroDelay(Json::Value(250)), 250u) << "a JSON integer reads the same";
  EXPECT_EQ(ReadMacroDelay(Json::Value(-3)), 0u);
  EXPECT_EQ(ReadMacroDelay(Json::Value(12.75)), 12u);
  EXPECT_EQ(ReadMacroDelay(Json::Value(Json::UInt64(1) << 40)), 0xFFFFFFFFu);
  EXPECT_EQ(ReadMacroDelay(Json::Value()), 0u);
}

TEST(MacroEventEncoding, FourBytesPerEvent) {
  using Bytes = std::array<uint8_t, 4>;
  EXPECT_EQ(EncodeMacroEvent({"up", 4, 300, 1}), (Bytes{0x2C, 0x01, 0x01, 0x04}));
  EXPECT_EQ(EncodeMacroEvent({"down", 0x1A, 50, 10}), (Bytes{0x32, 0x00, 0x8A, 0x1A}));
  EXPECT_EQ(EncodeMacroEvent({"DOWN", 1, 0, 1}), (Bytes{0x00, 0x00, 0x01, 0x01})) << "only \"down\" presses";
  EXPECT_EQ(EncodeMacroEvent({"down", 0x1FF, 70000, 0x7F}), (Bytes{0x70, 0x11, 0xFF, 0xFF}))
      << "the delay's low 16 bits, the button's low byte";
}

MacroEvent Event(int i) { return {i % 2 ? "up" : "down", 0x04 + i, static_cast<uint32_t>(10 * i), 10}; }

std::vector<MacroEvent> Events(int count) {
  std::vector<MacroEvent> events;
  for (int i = 0; i < count; ++i) events.push_back(Event(i));
  return events;
}

TEST(MacroImageBytes, OneMacroWithThreeEvents) {
  const MacroImage image = BuildMacroImage({Events(3)}, 1);
  ASSERT_EQ(image.result, 0);
  const std::vector<uint8_t> expected = {0xAA, 0x55, 0x22, 0x00, 0x01, 0x00, 0, 0,    0,
                                         0,    0,    0,    0,    0,    0,    0, 0x12, 0x00,  // block offset 18
                                         0x03, 0x00, 0x00, 0x00,                             // three events
                                         0x00, 0x00, 0x8A, 0x04,                             // 4 down, 0 ms
                                         0x0A, 0x00, 0x0A, 0x05,                             // 5 up, 10 ms
                                         0x14, 0x00, 0x8A, 0x06};                            // 6 down, 20 ms
  EXPECT_EQ(image.bytes, expected);
}

TEST(MacroImageBytes, OffsetsOfSeveralMacrosAndAnEmptyOne) {
  const MacroImage image = BuildMacroImage({Events(2), {}, Events(1)}, 255);
  ASSERT_EQ(image.result, 0);
  const std::vector<uint8_t>& b = image.bytes;
  ASSERT_EQ(b.size(), 16u + 6 * 3 + 4 * 3);
  EXPECT_EQ(b[2], b.size());
  EXPECT_EQ(b[4], 3);
  // The blocks start right after the offset table (16 + 6 = 22) and follow each other.
  EXPECT_EQ((std::vector<uint8_t>(b.begin() + 16, b.begin() + 22)), (std::vector<uint8_t>{22, 0, 34, 0, 38, 0}));
  EXPECT_EQ(b[22], 2);
  EXPECT_EQ((std::vector<uint8_t>(b.begin() + 34, b.begin() + 38)), (std::vector<uint8_t>{0, 0, 0, 0}))
      << "a never-saved macro takes a block with count 0";
  EXPECT_EQ(b[38], 1);
  EXPECT_EQ(b[42 + 2], 0x8A);
}

TEST(MacroImageBytes, TheCapacityRuleGivesTheOverflowCount) {
  EXPECT_EQ(BuildMacroImage({Events(10)}, 0).result, 16) << "62 bytes into no memory: 62 / 4 + 1";
  const MacroImage too_big = BuildMacroImage({Events(31)}, 1);  // 16 + 6 + 124 = 146 bytes
  EXPECT_EQ(too_big.result, (146 - 128) / 4 + 1);
  EXPECT_TRUE(too_big.bytes.empty());
  EXPECT_EQ(BuildMacroImage({Events(14), Events(14)}, 1).result, 4) << "140 bytes into 128: 4";
  EXPECT_EQ(BuildMacroImage({Events(26)}, 1).result, 0) << "126 bytes fit";
  // Both sides of the limit: 16 + 12 + 4 × 25 = 128 bytes fill the memory exactly; one event more
  // does not fit.
  const MacroImage full = BuildMacroImage({Events(12), Events(13)}, 1);
  EXPECT_EQ(full.result, 0);
  EXPECT_EQ(full.bytes.size(), 128u);
  EXPECT_EQ(BuildMacroImage({Events(13), Events(13)}, 1).result, 2) << "132 bytes into 128";
  const MacroImage none = BuildMacroImage({}, 1);
  EXPECT_EQ(none.result, 0);
  EXPECT_TRUE(none.bytes.empty()) << "no macros: nothing to send at all";
}

TEST_F(Macros, TheStoresImageReadsEveryMacroFile) {
  EXPECT_TRUE(store_.BuildMacroImage(255).bytes.empty()) << "no macro.config";
  PutIndex(R"({"MacroInfo":[]})");
  const MacroImage none = store_.BuildMacroImage(255);
  EXPECT_EQ(none.result, 0);
  EXPECT_TRUE(none.bytes.empty());

  store_.CreateMacro();
  store_.CreateMacro();
  ASSERT_TRUE(store_.SaveMacroEvents(1, {{"up", 4, 300, 1}}));
  const MacroImage image = store_.BuildMacroImage(1);
  ASSERT_EQ(image.result, 0);
  EXPECT_EQ(image.bytes, (std::vector<uint8_t>{0xAA, 0x55, 32, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0,    0,    0,    0,
                                               20,   0,    24, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0x2C, 0x01, 0x01, 0x04}));
  ASSERT_TRUE(store_.SaveMacroEvents(0, Events(30)));
  EXPECT_EQ(store_.BuildMacroImage(1).result, (16 + 12 + 124 - 128) / 4 + 1);
}

TEST_F(Macros, TheOrvexListIsReadOnlyAndSeparate) {
  PutFile(Path("orvex_macro.config"), R"({"MacroInfo":[{"MacroName":"Pad macro","Guid":"p"}]})");
  EXPECT_EQ(store_.LoadOrvexMacroList(), (std::vector<MacroEntry>{{"Pad macro", "p"}}));
  EXPECT_TRUE(store_.LoadMacroList().empty());
  PutFile(Path("orvex_macro.config"), "garbage");
  EXPECT_TRUE(store_.LoadOrvexMacroList().empty());
}

TEST_F(Macros, ABrokenIndexReadsEmptyAndIsReplacedOnTheNextWrite) {
  for (const QByteArray& content : {QByteArray("not json"), QByteArray(R"({"MacroInfo":{"a":1}})"),
                                    QByteArray(R"({"MacroInfo":[5,{"MacroName":7}]})")}) {
    PutFile(Path("macro.config"), content);
    const size_t expected = content.contains("[5") ? 2 : 0;
    EXPECT_EQ(store_.LoadMacroList().size(), expected) << content.constData();
  }
  EXPECT_EQ(store_.Macros()[1], MacroEntry{}) << "entries of the wrong type keep their position";
  PutFile(Path("macro.config"), "not json");
  ASSERT_TRUE(store_.CreateMacro().ok);
  EXPECT_EQ(ReadJsonFile(Path("macro.config")),
            Doc(R"({"MacroInfo":[{"MacroName":"macro_1","Guid":"2021_08_09_14_03_07_045"}]})"));
}

TEST_F(Macros, AFailedIndexWriteChangesNothing) {
  MacroStore nowhere(Path("missing-folder"));
  const MacroChange failed = nowhere.CreateMacro();
  EXPECT_FALSE(failed.ok);
  EXPECT_EQ(failed.refusal, kTextSaveFailed);
  EXPECT_TRUE(nowhere.Macros().empty());
  EXPECT_EQ(nowhere.RenameMacro(0, "x").outcome, RenameOutcome::kUnchanged);
}

}  // namespace
}  // namespace zrv::config
