#include "config/json_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <random>

#include "config/test_support.h"

namespace zrv::config {
namespace {

using test::Doc;
using test::FileBytes;
using test::JsonBytes;
using test::PutFile;

// The installed StyledWriter: the reference for the layout.
std::string StyledWriterBytes(const Json::Value& document) { return Json::StyledWriter().write(document); }

std::string WithCrLf(const std::string& text) {
  std::string result;
  for (const char c : text) {
    if (c == '\n') result += '\r';
    result += c;
  }
  return result;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// StyledWriter's output with its \uXXXX escapes of non-ASCII text turned back into UTF-8: what our
// layout must be for valid UTF-8 text.
std::string Unescaped(const std::string& styled) {
  std::string out;
  bool in_string = false;
  for (size_t i = 0; i < styled.size(); ++i) {
    const char c = styled[i];
    if (!in_string) {
      if (c == '"') in_string = true;
      out += c;
      continue;
    }
    if (c == '"') {
      in_string = false;
      out += c;
    } else if (c == '\\' && styled[i + 1] == 'u') {
      uint32_t cp = std::stoul(styled.substr(i + 2, 4), nullptr, 16);
      size_t used = 6;
      if (cp >= 0xD800 && cp < 0xDC00 && styled.compare(i + 6, 2, "\\u") == 0) {
        const uint32_t low = std::stoul(styled.substr(i + 8, 4), nullptr, 16);
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        used = 12;
      }
      if (cp < 0x80) {
        out.append(styled, i, 6);
      } else {
        AppendUtf8(out, cp);
      }
      i += used - 1;
    } else if (c == '\\') {
      out += c;
      out += styled[++i];
    } else {
      out += c;
    }
  }
  return out;
}

TEST(JsonLayout, ExactBytesOfASmallProfile) {
  Json::Value document;
  document["profilename"] = "Spiel \xC3\xBC\x62\x65r alles";
  document["profileUUID"] = "2022_03_14_09_26_53_589";
  document["\xC3\x84nderung"] = 1;  // a member name with a non-ASCII letter
  Json::Value settings;
  settings["Light"] = 24;
  settings["List"].append(1);
  settings["List"].append(-2);
  settings["Empty"] = Json::Value(Json::arrayValue);
  settings["None"] = Json::Value(Json::objectValue);
  document["Device"].append(settings);
  const QByteArray expected =
      "{\r\n"
      "   \"Device\" : [\r\n"
      "      {\r\n"
      "         \"Empty\" : [],\r\n"
      "         \"Light\" : 24,\r\n"
      "         \"List\" : [ 1, -2 ],\r\n"
      "         \"None\" : {}\r\n"
      "      }\r\n"
      "   ],\r\n"
      "   \"profileUUID\" : \"2022_03_14_09_26_53_589\",\r\n"
      "   \"profilename\" : \"Spiel \xC3\xBC\x62\x65r alles\",\r\n"
      "   \"\xC3\x84nderung\" : 1\r\n"
      "}\r\n";
  EXPECT_EQ(JsonBytes(document), expected) << "members in byte order: the UTF-8 name sorts after ASCII";
}

TEST(JsonLayout, NonAsciiTextIsRawUtf8WhereTheLibraryWouldEscapeIt) {
  Json::Value document;
  document["\xE9\x85\x8D\xE7\xBD\xAE"] = "\xE5\xAE\x8F \xF0\x9F\x8E\xAE \xC3\xA9";  // CJK, an emoji, é
  document["Names"].append("\xC3\x9F\xC3\xB6");
  document["Names"].append("plain");
  const std::string styled = StyledWriterBytes(document);
  ASSERT_NE(styled.find("\\u"), std::string::npos) << "the installed writer escapes non-ASCII text";
  EXPECT_EQ(FormatJson(document), WithCrLf(Unescaped(styled)));
  EXPECT_EQ(FormatJson(document).find("\\u"), std::string::npos);
}

TEST(JsonLayout, EscapesMatchTheLibrary) {
  Json::Value document;
  using namespace std::string_literals;
  document["text"] = "quote\" back\\ slash/ tab\t nl\n cr\r bell\x07 del\x7F nul\0x"s;
  document["ctl\x01name"] = true;
  EXPECT_EQ(FormatJson(document), WithCrLf(StyledWriterBytes(document)));
}

TEST(JsonLayout, LineBreaksOfArraysFollowTheRightMargin) {
  Json::Value document;
  for (int n : {1, 24, 25, 26}) {  // 25 elements and more never fit on one line
    Json::Value list(Json::arrayValue);
    for (int i = 0; i < n; ++i) list.append(i);
    document["ints" + std::to_string(n)] = list;
  }
  Json::Value near_margin(Json::arrayValue);  // one-line form of 73 and of 74 characters
  near_margin.append(std::string(63, 'a'));
  document["len73"] = near_margin;
  near_margin[0] = std::string(64, 'a');
  document["len74"] = near_margin;
  Json::Value nested(Json::arrayValue);
  nested.append(Json::Value(Json::arrayValue));
  nested.append(Json::Value(Json::objectValue));
  nested.append(Json::Value());
  document["empties"] = nested;
  Json::Value deep(Json::arrayValue);
  deep.append(nested);
  deep.append(document["ints26"]);
  deep.append(Doc(R"({"a":[1,2],"b":{"c":[]}})"));
  document["deep"] = deep;
  document["reals"] = Doc("[1.5, -0.25, 1e300, 0.1, 3.0]");
  document["bigs"] = Doc("[9223372036854775807, -9223372036854775808, 18446744073709551615]");
  EXPECT_EQ(FormatJson(document), WithCrLf(StyledWriterBytes(document)));
}

// Random documents of every shape, compared with the library writer byte for byte.
Json::Value RandomValue(std::mt19937& random, int depth) {
  std::uniform_int_distribution<int> kind(0, depth > 3 ? 5 : 8);
  switch (kind(random)) {
    case 0: return Json::Value();
    case 1: return Json::Value(static_cast<int>(random() % 2000) - 1000);
    case 2: return Json::Value(random() % 2 == 0);
    case 3: return Json::Value(static_cast<double>(random() % 100000) / 64.0);
    case 4: return Json::Value(std::string(random() % 30, static_cast<char>('a' + random() % 26)));
    case 5: return Json::Value(static_cast<Json::UInt64>(random()) << 20);
    case 6:
    case 7: {
      Json::Value list(Json::arrayValue);
      const int n = static_cast<int>(random() % (random() % 4 == 0 ? 40 : 6));
      for (int i = 0; i < n; ++i) list.append(RandomValue(random, depth + 1));
      return list;
    }
    default: {
      Json::Value object(Json::objectValue);
      const int n = static_cast<int>(random() % 6);
      for (int i = 0; i < n; ++i) object["k" + std::to_string(random() % 50)] = RandomValue(random, depth + 1);
      return object;
    }
  }
}

TEST(JsonLayout, RandomDocumentsMatchTheLibrary) {
  std::mt19937 random(31);
  for (int round = 0; round < 400; ++round) {
    const Json::Value document = RandomValue(random, 0);
    ASSERT_EQ(FormatJson(document), WithCrLf(StyledWriterBytes(document))) << "round " << round;
  }
}

TEST(JsonRead, MissingEmptyBrokenAndOversizedFilesAreNull) {
  QTemporaryDir dir;
  EXPECT_TRUE(ReadJsonFile(dir.filePath("missing.json")).isNull());
  EXPECT_TRUE(ReadJsonFile(QString()).isNull());
  EXPECT_TRUE(ReadJsonFile(dir.path()).isNull()) << "a folder";
  PutFile(dir.filePath("empty.json"), "");
  EXPECT_TRUE(ReadJsonFile(dir.filePath("empty.json")).isNull());
  PutFile(dir.filePath("broken.json"), "{\"Device\": [ {\"Light\": 3 }");
  EXPECT_TRUE(ReadJsonFile(dir.filePath("broken.json")).isNull());
  PutFile(dir.filePath("binary.json"), QByteArray("\x00\xFF\xFE{", 4));
  EXPECT_TRUE(ReadJsonFile(dir.filePath("binary.json")).isNull());
  PutFile(dir.filePath("deep.json"), QByteArray(100000, '['));
  EXPECT_TRUE(ReadJsonFile(dir.filePath("deep.json")).isNull()) << "nesting beyond the reader's limit";
  PutFile(dir.filePath("big.json"), "{}");
  QFile big(dir.filePath("big.json"));
  ASSERT_TRUE(big.resize(kMaxJsonFileBytes + 1));  // sparse: quick to make
  EXPECT_TRUE(ReadJsonFile(dir.filePath("big.json")).isNull());
  QByteArray bytes;
  EXPECT_FALSE(ReadFileBytes("/dev/zero", 1000, &bytes)) << "endless special files stop at the limit";
}

TEST(JsonRead, CommentsAndAByteOrderMarkAreTolerated) {
  QTemporaryDir dir;
  PutFile(dir.filePath("c.json"),
          "\xEF\xBB\xBF// written by hand\r\n{ /* the name */ \"profilename\" : \"a\", \"n\" : 2 // two\r\n}\r\n");
  const Json::Value document = ReadJsonFile(dir.filePath("c.json"));
  EXPECT_EQ(document["profilename"].asString(), "a");
  EXPECT_EQ(document["n"].asInt(), 2);
  EXPECT_EQ(FormatJson(document), "{\r\n   \"n\" : 2,\r\n   \"profilename\" : \"a\"\r\n}\r\n")
      << "comments are not kept";
}

TEST(JsonWrite, WritesTheLayoutAndReadsItBack) {
  QTemporaryDir dir;
  const QString path = dir.filePath("doc.json");
  const Json::Value document = Doc(R"({"b":[1,2,3],"a":{"x":"\u00fc"}})");
  ASSERT_TRUE(WriteJsonFile(path, document));
  EXPECT_EQ(FileBytes(path),
            "{\r\n   \"a\" : {\r\n      \"x\" : \"\xC3\xBC\"\r\n   },\r\n   \"b\" : [ 1, 2, 3 ]\r\n}\r\n");
  EXPECT_EQ(ReadJsonFile(path), document);
}

TEST(JsonWrite, FailuresAreReportedAndLeaveTheOldFile) {
  QTemporaryDir dir;
  const Json::Value document = Doc(R"({"a":1})");
  EXPECT_FALSE(WriteJsonFile(dir.filePath("no/such/folder/doc.json"), document));
  EXPECT_FALSE(WriteJsonFile(QString(), document));
  EXPECT_FALSE(WriteJsonFile(dir.path(), document)) << "a folder is no file";
  PutFile(dir.filePath("plain"), "old");
  EXPECT_FALSE(WriteJsonFile(dir.filePath("plain/doc.json"), document)) << "a file where a folder should be";
  EXPECT_EQ(FileBytes(dir.filePath("plain")), "old");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"plain"}) << "no temporary left";
}

}  // namespace
}  // namespace zrv::config
