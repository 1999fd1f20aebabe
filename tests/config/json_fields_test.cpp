// The field tables that read and write every record type: what a write leaves in the object,
// what a read makes of it, and that one read after one write gives the record back.

#include "config/json_fields.h"

#include <gtest/gtest.h>

#include <QString>

#include <cstdint>
#include <string>

#include "config/json_file.h"

namespace zrv::config {
namespace {

struct Sample {
  uint8_t byte = 0;
  uint16_t word = 0;
  int32_t number = 0;
  uint8_t flag = 0;
  QString name;
  std::string text;
  friend bool operator==(const Sample&, const Sample&) = default;
};

constexpr JsonField<Sample> kSampleFields[] = {
    NumberField<&Sample::byte>("Byte"), NumberField<&Sample::word>("Word"), NumberField<&Sample::number>("Number"),
    FlagField<&Sample::flag>("Flag"),   TextField<&Sample::name>("Name"),   TextField<&Sample::text>("Text"),
};

TEST(JsonFields, AWrittenRecordReadsBackAndKeepsTheOtherMembers) {
  const Sample sample{200, 60000, -7, 1, QStringLiteral("Spiel \u00e4"), "down"};
  Json::Value object(Json::objectValue);
  object["Other"] = "kept";
  object["Byte"] = "replaced";
  WriteFields<Sample>(object, kSampleFields, sample);
  EXPECT_EQ(ReadRecord<Sample>(object, kSampleFields), sample);
  // Integers as the files have always held them (JSON int, not unsigned), texts as UTF-8.
  EXPECT_EQ(FormatJson(object),
            "{\r\n   \"Byte\" : 200,\r\n   \"Flag\" : 1,\r\n   \"Name\" : \"Spiel \u00e4\",\r\n   \"Number\" : -7,\r\n"
            "   \"Other\" : \"kept\",\r\n   \"Text\" : \"down\",\r\n   \"Word\" : 60000\r\n}\r\n");
  EXPECT_EQ(object["Word"].type(), Json::intValue);
}

TEST(JsonFields, ReadingCutsNumbersAndTakesWrongTypesAsMissing) {
  Json::Value object(Json::objectValue);
  object["Byte"] = 300;     // cut to 8 bits
  object["Word"] = 2.9;     // cut toward zero
  object["Number"] = "12";  // text is no number
  object["Flag"] = 5;       // any non-zero number is set
  object["Name"] = 3;       // no text
  object["Text"] = Json::Value(Json::arrayValue);
  EXPECT_EQ(ReadRecord<Sample>(object, kSampleFields), (Sample{44, 2, 0, 1, QString(), std::string()}));
  EXPECT_EQ(ReadRecord<Sample>(Json::Value(7), kSampleFields), Sample{});

  // A flag is written as 0 or 1 whatever its byte holds; a non-object becomes an object.
  Json::Value written(5);
  Sample flagged;
  flagged.flag = 9;
  WriteField(written, kSampleFields[3], flagged);
  ASSERT_TRUE(written.isObject());
  EXPECT_EQ(written["Flag"], Json::Value(1));
  EXPECT_EQ(written.size(), 1u);
}

}  // namespace
}  // namespace zrv::config
