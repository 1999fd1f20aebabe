#include "config/macro_event.h"

#include <limits>

#include "config/json_fields.h"
#include "config/json_value.h"

namespace zrv::config {
namespace {

uint32_t LeadingNumber(const std::string& text) {
  uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > std::numeric_limits<uint32_t>::max()) return std::numeric_limits<uint32_t>::max();
  }
  return static_cast<uint32_t>(value);
}

// "Delay" is written as decimal text and read leniently (ReadMacroDelay).
constexpr JsonField<MacroEvent> kDelayField{
    "Delay", [](const Json::Value& value, MacroEvent& event) { event.delay = ReadMacroDelay(value); },
    [](const MacroEvent& event) { return Json::Value(std::to_string(event.delay)); }};

constexpr JsonField<MacroEvent> kEventFields[] = {
    TextField<&MacroEvent::action>("Action"),
    NumberField<&MacroEvent::button>("Button"),
    kDelayField,
    NumberField<&MacroEvent::type>("Type"),
};

}  // namespace

uint32_t ReadMacroDelay(const Json::Value& delay) {
  constexpr uint32_t kMax = std::numeric_limits<uint32_t>::max();
  switch (delay.type()) {
    case Json::stringValue: return LeadingNumber(delay.asString());
    case Json::intValue: {
      const int64_t number = delay.asInt64();
      return number < 0 ? 0 : (number > kMax ? kMax : static_cast<uint32_t>(number));
    }
    case Json::uintValue: {
      const uint64_t number = delay.asUInt64();
      return number > kMax ? kMax : static_cast<uint32_t>(number);
    }
    case Json::realValue: {
      const double number = delay.asDouble();
      if (!(number >= 0)) return 0;  // also NaN
      return number >= static_cast<double>(kMax) ? kMax : static_cast<uint32_t>(number);
    }
    default: return 0;
  }
}

MacroEvent MacroEventFromJson(const Json::Value& element) { return ReadRecord<MacroEvent>(element, kEventFields); }

Json::Value MacroEventToJson(const MacroEvent& event) {
  Json::Value element(Json::objectValue);
  WriteFields<MacroEvent>(element, kEventFields, event);
  return element;
}

std::array<uint8_t, 4> EncodeMacroEvent(const MacroEvent& event) {
  const auto type = static_cast<uint8_t>(event.type);
  return {static_cast<uint8_t>(event.delay & 0xFF), static_cast<uint8_t>((event.delay >> 8) & 0xFF),
          static_cast<uint8_t>(event.IsDown() ? (type | 0x80) : type), static_cast<uint8_t>(event.button)};
}

}  // namespace zrv::config
