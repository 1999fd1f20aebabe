#include "config/assignment_captions.h"

#include <array>

#include "config/key_table.h"

namespace zrv::config {
namespace {

using Caption = std::optional<std::vector<CaptionPart>>;

// What the pages show for a kind they have no caption of (0xD0 on a mouse, 0x72 on a keyboard,
// anything unknown). Shown as it stands in every language.
constexpr const char* kOffLiteral = "关闭";

Caption Key(const char* caption) { return std::vector<CaptionPart>{{caption, true}}; }
Caption Literal(std::string text) { return std::vector<CaptionPart>{{std::move(text), false}}; }

template <size_t N>
Caption FromTable(const std::array<CodeTableRow, N>& table, const KeyHalf& a, bool compare_second) {
  for (const CodeTableRow& row : table) {
    if (row.code1 == a.value && (!compare_second || row.code2 == a.extra)) return Key(row.caption);
  }
  return std::nullopt;
}

Caption KeyCaption(const KeyHalf& a) {
  const int row = FindCodeRow(a.value, a.extra);
  if (row >= 0) return Key(kKeyTable[static_cast<size_t>(row)].caption);
  if (a.value == 0 && a.extra == 0) return Key("close_text");
  // A modifier with a key: the modifier's row and the key's row, joined. A zero operand stands
  // for "no modifier" or "no key" and matches nothing, or every key row (whose first code byte is
  // 0) or every modifier row (whose second is) would join in.
  std::vector<CaptionPart> parts;
  for (const KeyTableRow& row : kKeyTable) {
    if (row.kind != a.type) continue;
    if ((a.value != 0 && row.code1 == a.value) || (a.extra != 0 && row.code2 == a.extra)) {
      parts.push_back({row.caption, true});
    }
  }
  if (parts.empty()) return std::nullopt;
  return parts;
}

Caption FunctionCaption(const KeyHalf& a) {
  if (a.type == kKindFunction && a.value == 2) return Key("mouse_key_smart_key");
  if (a.type == kKindFunction && a.value == 0) return Key("close_text");
  const int row = FindKindCodeRow(a.type, a.value, a.extra);
  if (row < 0) return std::nullopt;
  return Key(kKeyTable[static_cast<size_t>(row)].caption);
}

}  // namespace

std::optional<std::vector<CaptionPart>> AssignmentCaption(const KeyHalf& assignment, device::DeviceKind kind,
                                                          const std::vector<std::string>& macro_names) {
  const KeyHalf& a = assignment;
  const bool mouse = device::IsMouse(kind);
  switch (a.type) {
    case kKindDefault:
    case kKindKey: return KeyCaption(a);
    case kKindMouseButton: return FromTable(kMouseButtonTable, a, false);
    case kKindSwing: return Key((a.extra & 0x80) != 0 ? "mouse_key_right_Swing" : "mouse_key_left_Swing");
    case kKindWheel: return Key((a.extra & 0x80) != 0 ? "mouse_key_down_Swing" : "mouse_key_up_Swing");
    case kKindDpi: return FromTable(kDpiFunctionTable, a, false);
    case kKindRapidFire: return Key("mouse_key_fire_key");
    case 0x16: return Key("mouse_key_DPI_shift");
    case 0x22: {
      static constexpr std::array<const char*, 9> kShortcuts = {"custem_cut",  "custem_copy",       "custem_paste",
                                                                "custem_undo", "custem_select_all", "custem_find",
                                                                "custem_new",  "custem_save",       "custem_open"};
      if (a.value != 0 || a.extra >= kShortcuts.size()) return std::nullopt;
      return Key(kShortcuts[a.extra]);
    }
    case 0x23:
      if (a.value != 0 || a.extra != 0) return std::nullopt;
      return Key("show_window");
    case kKindMedia: return FromTable(kMediaKeyTable, a, true);
    case kKindSystem: return FromTable(kSystemKeyTable, a, true);
    case kKindMacro:
    case kKindMacroRepeat:
      if (a.value >= macro_names.size()) return std::nullopt;
      return Literal(macro_names[a.value]);
    case kKindShoot:
      if (!mouse) return Literal(kOffLiteral);
      if (a.value > 3) return std::nullopt;
      return Key(std::array{"gun_1_txt", "gun_2_txt", "gun_3_txt", "gun_4_txt"}[a.value]);
    case kKindFunction: return FunctionCaption(a);
    case kKindMacroKey:
      if (mouse) return Literal(kOffLiteral);
      return FunctionCaption(a);
    case 0x15:
    case 0x21:
    case 0x50:
    case 0x60:
    case kKindShortcut:
    case 0xC0: return std::nullopt;
    default: return Literal(kOffLiteral);
  }
}

std::string KeyNameCaption(uint8_t kind, uint8_t code1, uint8_t code2) {
  const int row = FindKindCodeRow(kind, code1, code2);
  return row < 0 ? std::string() : std::string(kKeyTable[static_cast<size_t>(row)].caption);
}

}  // namespace zrv::config
