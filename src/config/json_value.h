#pragma once
// Safe access to documents that come from files. JsonCpp throws when a value is used as a type it
// does not have (asInt() of a string, operator[] of a number); files are hand-edited, imported or
// damaged, so every member read here that has an unexpected type reads as missing, and writers
// replace a member of the wrong type instead of failing on it.

#include <json/json.h>

#include <cstdint>
#include <string>

namespace zrv::config {

// The member `name` of `object`; a null value when `object` is no object or lacks the member.
const Json::Value& Member(const Json::Value& object, const char* name);

// Element `index` of `array`; a null value when `array` is no array or is shorter.
const Json::Value& Element(const Json::Value& array, Json::ArrayIndex index);

// A number as an integer: integers as they are, reals cut toward zero, true as 1; everything else
// (null, text, containers, reals beyond the 64-bit range) as 0. Callers cut it to their width.
int64_t ReadInt(const Json::Value& value);

// Member `name` of `object` read with ReadInt and cut to the low 8, 16 or 32 bits.
uint8_t MemberByte(const Json::Value& object, const char* name);
uint16_t MemberWord(const Json::Value& object, const char* name);
int32_t MemberInt32(const Json::Value& object, const char* name);

// A flag: any non-zero number or true.
bool ReadFlag(const Json::Value& value);

// A text; empty when the value is no string.
std::string ReadText(const Json::Value& value);

// `value` made an object (or an array) if it is not one already, for writing into it.
Json::Value& EnsureObject(Json::Value& value);
Json::Value& EnsureArray(Json::Value& value);

// The member `name` of `object` (made an object first), created as null when missing.
Json::Value& MemberForWrite(Json::Value& object, const char* name);

// Element `index` of `array` (made an array first); missing elements up to it are added as null.
Json::Value& ElementForWrite(Json::Value& array, Json::ArrayIndex index);

}  // namespace zrv::config
