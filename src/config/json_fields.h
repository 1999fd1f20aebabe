#pragma once
// One table per record type names each JSON member once and the field that holds it; reading and
// writing both go through that table, so a member name cannot differ between the two.
//
// Reading follows json_value.h: a number is cut to the field's width, a missing member or one of
// the wrong type reads as 0 (or empty). Writing replaces each member of the table and leaves the
// other members of the object as they are.

#include <json/json.h>

#include <QString>

#include <cstdint>
#include <span>
#include <string>
#include <type_traits>

#include "config/json_value.h"

namespace zrv::config {

template <class Record>
struct JsonField {
  const char* name;
  void (*read)(const Json::Value& value, Record& record);
  Json::Value (*write)(const Record& record);
};

namespace json_fields_detail {

template <class T>
struct MemberOf;
template <class Record, class T>
struct MemberOf<T Record::*> {
  using RecordType = Record;
  using FieldType = T;
};
template <auto Field>
using RecordOf = typename MemberOf<decltype(Field)>::RecordType;
template <auto Field>
using FieldOf = typename MemberOf<decltype(Field)>::FieldType;

}  // namespace json_fields_detail

// A number field (8, 16 or 32 bits), written as a JSON integer.
template <auto Field>
constexpr JsonField<json_fields_detail::RecordOf<Field>> NumberField(const char* name) {
  using Record = json_fields_detail::RecordOf<Field>;
  using T = json_fields_detail::FieldOf<Field>;
  static_assert(std::is_integral_v<T> && sizeof(T) <= sizeof(int32_t), "a number field is at most 32 bits");
  return {name, [](const Json::Value& value, Record& record) { record.*Field = static_cast<T>(ReadInt(value)); },
          [](const Record& record) { return Json::Value(static_cast<Json::Int>(record.*Field)); }};
}

// A flag field: read as 1 for any non-zero number or true, written as 0 or 1.
template <auto Field>
constexpr JsonField<json_fields_detail::RecordOf<Field>> FlagField(const char* name) {
  using Record = json_fields_detail::RecordOf<Field>;
  using T = json_fields_detail::FieldOf<Field>;
  return {name,
          [](const Json::Value& value, Record& record) { record.*Field = static_cast<T>(ReadFlag(value) ? 1 : 0); },
          [](const Record& record) { return Json::Value(record.*Field != 0 ? 1 : 0); }};
}

// A text field (std::string or QString, UTF-8 in the file).
template <auto Field>
constexpr JsonField<json_fields_detail::RecordOf<Field>> TextField(const char* name) {
  using Record = json_fields_detail::RecordOf<Field>;
  using T = json_fields_detail::FieldOf<Field>;
  if constexpr (std::is_same_v<T, QString>) {
    return {name,
            [](const Json::Value& value, Record& record) { record.*Field = QString::fromStdString(ReadText(value)); },
            [](const Record& record) { return Json::Value((record.*Field).toStdString()); }};
  } else {
    static_assert(std::is_same_v<T, std::string>, "a text field is a std::string or a QString");
    return {name, [](const Json::Value& value, Record& record) { record.*Field = ReadText(value); },
            [](const Record& record) { return Json::Value(record.*Field); }};
  }
}

// Reads every field of the table from `object` (no object reads as all missing).
template <class Record>
void ReadFields(const Json::Value& object, std::span<const JsonField<Record>> fields, Record& record) {
  for (const JsonField<Record>& field : fields) field.read(Member(object, field.name), record);
}

template <class Record>
Record ReadRecord(const Json::Value& object, std::span<const JsonField<Record>> fields) {
  Record record{};
  ReadFields(object, fields, record);
  return record;
}

// Writes one field into `object` (made an object first).
template <class Record>
void WriteField(Json::Value& object, const JsonField<Record>& field, const Record& record) {
  MemberForWrite(object, field.name) = field.write(record);
}

// Writes every field of the table into `object` (made an object first).
template <class Record>
void WriteFields(Json::Value& object, std::span<const JsonField<Record>> fields, const Record& record) {
  for (const JsonField<Record>& field : fields) WriteField(object, field, record);
}

}  // namespace zrv::config
