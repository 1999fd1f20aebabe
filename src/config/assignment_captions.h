#pragma once
// The caption of a key's assignment, as the device pages show it (the keyboard's key tool tips and
// key-set marks, the mouse's key-information list).

#include <optional>
#include <string>
#include <vector>

#include "config/profile_records.h"
#include "device/device_tables.h"

namespace zrv::config {

// A part of a caption: a language key to translate, or a text shown as it stands (macro names,
// the literal of unknown kinds).
struct CaptionPart {
  std::string text;
  bool translate = true;
  friend bool operator==(const CaptionPart&, const CaptionPart&) = default;
};

// The parts, shown joined by "+", of the caption of `assignment` on a device of `kind` whose
// macros are `macro_names` (in macro order); nullopt when the assignment has no caption (the key
// keeps the caption it had).
std::optional<std::vector<CaptionPart>> AssignmentCaption(const KeyHalf& assignment, device::DeviceKind kind,
                                                          const std::vector<std::string>& macro_names);

// The caption key of a keyboard key's own name: the kKeyTable row of its factory code (kind and
// both code bytes); empty when none.
std::string KeyNameCaption(uint8_t kind, uint8_t code1, uint8_t code2);

}  // namespace zrv::config
