#pragma once
// One event of a macro: its form in a ".mac" file and its 4-byte form on the device.

#include <json/json.h>

#include <array>
#include <cstdint>
#include <string>

namespace zrv::config {

// Event kinds that the editor creates; other kinds found in a file are kept and sent unchanged.
inline constexpr int kMacroEventMouseButton = 1;
inline constexpr int kMacroEventMoveX = 4;  // "down" moves left, "up" right
inline constexpr int kMacroEventMoveY = 5;  // "down" moves up, "up" down
inline constexpr int kMacroEventModifier = 9;
inline constexpr int kMacroEventKey = 10;

struct MacroEvent {
  std::string action;  // "Action": "down", or "up" (any other text counts as "up")
  int32_t button = 0;  // "Button": key usage, button bit, modifier bit or distance
  uint32_t delay = 0;  // "Delay": milliseconds after the event (may exceed 65535 in a hand-made file)
  int32_t type = 0;    // "Type": the event kind

  bool IsDown() const { return action == "down"; }
  friend bool operator==(const MacroEvent&, const MacroEvent&) = default;
};

// The leading decimal number of a "Delay" text ("300", "300ms" -> 300; "", "x", "-5" -> 0); a
// JSON number reads the same way. Values beyond 32 bits read as 0xFFFFFFFF.
uint32_t ReadMacroDelay(const Json::Value& delay);

// An element of "Events"; members that are missing or of another type read as 0 (or empty).
MacroEvent MacroEventFromJson(const Json::Value& element);
// The element, with "Delay" as decimal text.
Json::Value MacroEventToJson(const MacroEvent& event);

// Bytes 0-1 the delay's low 16 bits (low byte first), byte 2 the type with bit 7 set for "down",
// byte 3 the button.
std::array<uint8_t, 4> EncodeMacroEvent(const MacroEvent& event);

}  // namespace zrv::config
