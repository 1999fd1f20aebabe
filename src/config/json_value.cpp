#include "config/json_value.h"

#include <cmath>

namespace zrv::config {
namespace {

const Json::Value& Null() {
  static const Json::Value null;
  return null;
}

}  // namespace

const Json::Value& Member(const Json::Value& object, const char* name) {
  if (!object.isObject()) return Null();
  const Json::Value* found = object.find(name, name + std::char_traits<char>::length(name));
  return found != nullptr ? *found : Null();
}

const Json::Value& Element(const Json::Value& array, Json::ArrayIndex index) {
  if (!array.isArray() || index >= array.size()) return Null();
  return array[index];
}

int64_t ReadInt(const Json::Value& value) {
  switch (value.type()) {
    case Json::intValue: return value.asInt64();
    case Json::uintValue:
      // Beyond the signed range only the low bits matter to the callers.
      return static_cast<int64_t>(value.asUInt64());
    case Json::realValue: {
      const double real = value.asDouble();
      if (!std::isfinite(real) || real <= -9.2e18 || real >= 9.2e18) return 0;
      return static_cast<int64_t>(real);
    }
    case Json::booleanValue: return value.asBool() ? 1 : 0;
    default: return 0;
  }
}

uint8_t MemberByte(const Json::Value& object, const char* name) {
  return static_cast<uint8_t>(ReadInt(Member(object, name)));
}

uint16_t MemberWord(const Json::Value& object, const char* name) {
  return static_cast<uint16_t>(ReadInt(Member(object, name)));
}

int32_t MemberInt32(const Json::Value& object, const char* name) {
  return static_cast<int32_t>(ReadInt(Member(object, name)));
}

bool ReadFlag(const Json::Value& value) {
  switch (value.type()) {
    case Json::intValue:
    case Json::uintValue:
    case Json::realValue:
    case Json::booleanValue: return value.asBool();
    default: return false;
  }
}

std::string ReadText(const Json::Value& value) { return value.isString() ? value.asString() : std::string(); }

Json::Value& EnsureObject(Json::Value& value) {
  if (!value.isObject()) value = Json::Value(Json::objectValue);
  return value;
}

Json::Value& EnsureArray(Json::Value& value) {
  if (!value.isArray()) value = Json::Value(Json::arrayValue);
  return value;
}

Json::Value& MemberForWrite(Json::Value& object, const char* name) { return EnsureObject(object)[name]; }

Json::Value& ElementForWrite(Json::Value& array, Json::ArrayIndex index) { return EnsureArray(array)[index]; }

}  // namespace zrv::config
