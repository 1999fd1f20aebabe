#include "config/key_assignment.h"

#include <span>

#include "config/key_table.h"

namespace zrv::config {
namespace {

constexpr int kGunCount = 4;
constexpr int kLastPlaybackMode = 3;  // modes 0-3 are kind 0x70's; item 4 is the repeat

// The row of `table` whose bytes 3 and 4 are the assignment's; -1 when none.
int FindRow(std::span<const CodeTableRow> table, const KeyHalf& a) {
  for (size_t i = 0; i < table.size(); ++i) {
    if (table[i].code1 == a.value && table[i].code2 == a.extra) return static_cast<int>(i);
  }
  return -1;
}

// The code table behind a category of one drop-down row; empty for the other categories.
std::span<const CodeTableRow> TableOfCategory(int category) {
  switch (category) {
    case kCategoryMouseButton: return kMouseButtonTable;
    case kCategoryDpi: return kDpiFunctionTable;
    case kCategoryMedia: return kMediaKeyTable;
    case kCategorySystem: return kSystemKeyTable;
    case kCategoryShortcut: return kShortcutTable;
    default: return {};
  }
}

// The key row whose usage is `usage`. Only rows of keyboard keys count: the consumer rows after
// them carry a usage's high byte as second code byte, and a modifier on its own (usage 0) would
// otherwise show as one of them.
int FindUsageRow(uint8_t usage) {
  if (usage == 0) return -1;
  for (size_t i = kModifierRows; i < kKeyTable.size(); ++i) {
    if (kKeyTable[i].kind == kKindKey && kKeyTable[i].code2 == usage) return static_cast<int>(i);
  }
  return -1;
}

bool IsKeyRow(int row) {
  return row >= static_cast<int>(kModifierRows) && row < static_cast<int>(kKeyTable.size()) &&
         kKeyTable[static_cast<size_t>(row)].kind == kKindKey;
}

// Delay and speed share byte 3 of swings and wheel bursts.
uint8_t DelaySpeedByte(const KeyEditorView& view) {
  return static_cast<uint8_t>(((view.delay & 0x0F) << 4) | (view.speed & 0x0F));
}
void ShowDelaySpeed(uint8_t byte, KeyEditorView& view) {
  view.delay = byte >> 4;
  view.speed = byte & 0x0F;
}

void ShowKeyKind(KeyHalf& current, KeyEditorView& view) {
  const uint8_t modifiers = current.value;
  if (modifiers == 0) {
    view.category = kCategoryKey;
    const int row = FindCodeRow(0, current.extra);
    if (row >= 0) {
      view.modifier_option = 0;
      view.key_row = row;
    } else {
      // A usage the table does not know: the editor shows no key, and stores none.
      current.value = 0;
      current.extra = 0;
    }
    return;
  }
  if (modifiers > 128) {
    view.category = kCategoryShortcut;
    view.row = FindRow(kShortcutTable, current);
    return;
  }
  view.category = kCategoryKey;
  view.modifier_option = 0;
  for (size_t i = 0; i < kModifierRows; ++i) {
    if (kKeyTable[i].code1 == modifiers) {
      view.modifier_option = ModifierOptionOfRow(static_cast<int>(i));
      break;
    }
  }
  view.key_row = FindUsageRow(current.extra);
}

}  // namespace

KeyEditorView ShowAssignment(KeyHalf& current, const KeyHalf& def, int macro_count) {
  KeyEditorView view;
  if (IsDefaultAssignment(current, def)) {
    view.category = kCategoryDefault;
    return view;
  }
  switch (current.type) {
    case kKindDefault: view.category = kCategoryDefault; break;
    case kKindMouseButton:
      view.category = kCategoryMouseButton;
      view.row = FindRow(kMouseButtonTable, current);
      break;
    case kKindSwing:
      view.category = kCategorySwing;
      ShowDelaySpeed(current.value, view);
      view.direction = (current.extra & 0x80) != 0 ? 1 : 0;
      view.count = current.extra & 0x7F;
      break;
    case kKindWheel:
      view.category = kCategoryWheel;
      ShowDelaySpeed(current.value, view);
      // Direction 1 holds the count negated as an 8-bit value.
      if ((current.extra & 0x80) != 0) {
        view.direction = 1;
        view.count = 128 - (current.extra & 0x7F);
      } else {
        view.direction = 0;
        view.count = current.extra;
      }
      break;
    case kKindDpi:
      view.category = kCategoryDpi;
      view.row = FindRow(kDpiFunctionTable, current);
      break;
    case kKindRapidFire:
      view.category = kCategoryRapidFire;
      view.interval = current.value;
      view.clicks = current.extra;
      break;
    case kKindKey: ShowKeyKind(current, view); break;
    case kKindMedia:
      view.category = kCategoryMedia;
      view.row = FindRow(kMediaKeyTable, current);
      break;
    case kKindSystem:
      view.category = kCategorySystem;
      view.row = FindRow(kSystemKeyTable, current);
      break;
    case kKindMacro:
      view.category = kCategoryMacro;
      // A mode beyond 0-3 selects none, so that saving cannot turn the macro into a repeat.
      if (current.value < macro_count && current.extra <= kLastPlaybackMode) {
        view.macro = current.value;
        view.macro_mode = current.extra;
      }
      break;
    case kKindMacroRepeat:
      view.category = kCategoryMacro;
      view.macro = current.value < macro_count ? current.value : -1;
      view.macro_mode = kMacroModeRepeat;
      view.repeat = current.extra;
      view.repeat_visible = view.macro >= 0;
      break;
    case kKindShoot:
      view.category = kCategoryShoot;
      view.gun = current.value < kGunCount ? current.value : -1;
      break;
    case kKindShortcut: view.category = kCategoryShortcut; break;
    default: break;
  }
  return view;
}

KeyHalf BuildAssignment(const KeyEditorView& view, const KeyHalf& current, const KeyHalf& def, int macro_count) {
  const auto with = [&current](uint8_t kind, uint8_t value, uint8_t extra) {
    return KeyHalf{current.key, kind, value, extra};
  };
  switch (view.category) {
    case kCategoryMouseButton:
    case kCategoryDpi:
    case kCategoryMedia:
    case kCategorySystem:
    case kCategoryShortcut: {
      const std::span<const CodeTableRow> table = TableOfCategory(view.category);
      if (view.row < 0 || static_cast<size_t>(view.row) >= table.size()) return current;
      const CodeTableRow& row = table[static_cast<size_t>(view.row)];
      return with(row.kind, row.code1, row.code2);
    }
    case kCategorySwing:
      if (view.direction != 0 && view.direction != 1) return current;
      return with(kKindSwing, DelaySpeedByte(view),
                  static_cast<uint8_t>((view.count & 0x7F) | (view.direction == 1 ? 0x80 : 0)));
    case kCategoryWheel:
      // Like the swing, a wheel burst without a direction has nothing to store.
      if (view.direction != 0 && view.direction != 1) return current;
      return with(kKindWheel, DelaySpeedByte(view),
                  view.direction == 0 ? static_cast<uint8_t>(view.count & 0x7F)
                                      : static_cast<uint8_t>((128 - view.count) | 0x80));
    case kCategoryRapidFire:
      return with(kKindRapidFire, static_cast<uint8_t>(view.interval), static_cast<uint8_t>(view.clicks));
    case kCategoryKey:
      return with(kKindKey, ModifierBitsOfOption(view.modifier_option),
                  IsKeyRow(view.key_row) ? kKeyTable[static_cast<size_t>(view.key_row)].code2 : 0);
    case kCategoryMacro:
      // Byte 3 holds the macro number, so a macro beyond 255 cannot be assigned.
      if (view.macro < 0 || view.macro >= macro_count || view.macro > 0xFF) return current;
      if (view.macro_mode == kMacroModeRepeat) {
        return with(kKindMacroRepeat, static_cast<uint8_t>(view.macro), static_cast<uint8_t>(view.repeat));
      }
      if (view.macro_mode >= 0 && view.macro_mode <= kLastPlaybackMode) {
        return with(kKindMacro, static_cast<uint8_t>(view.macro), static_cast<uint8_t>(view.macro_mode));
      }
      return current;
    case kCategoryShoot:
      if (view.gun < 0 || view.gun >= kGunCount) return current;
      return with(kKindShoot, static_cast<uint8_t>(view.gun), 0);
    case kCategoryNone:
      // No function item selected: nothing to build from.
      return current;
    default:
      // Category 0, or one beyond the editor's.
      return with(def.type, def.value, def.extra);
  }
}

bool CaptureKey(uint8_t scan, bool extended, KeyEditorView& view, KeyHalf& current) {
  const int row = FindScanCodeRow(scan, extended);
  if (row < 0 || kKeyTable[static_cast<size_t>(row)].kind != kKindKey) return false;
  const KeyTableRow& key = kKeyTable[static_cast<size_t>(row)];
  if (row < static_cast<int>(kModifierRows)) {
    // A modifier on its own: the option names it, and no key goes with it (yet).
    view.modifier_option = ModifierOptionOfRow(row);
    view.key_row = -1;
    current.type = kKindKey;
    current.value = key.code1;
    current.extra = 0;
    return true;
  }
  if (view.modifier_option < 0) view.modifier_option = 0;
  view.key_row = row;
  current.type = kKindKey;
  current.value = ModifierBitsOfOption(view.modifier_option);
  current.extra = key.code2;
  return true;
}

std::array<uint8_t, 6> AssignmentBytes(const KeyHalf& assignment) {
  return {static_cast<uint8_t>(assignment.key & 0xFF),
          static_cast<uint8_t>(assignment.key >> 8),
          assignment.type,
          assignment.value,
          assignment.extra,
          0};
}

std::array<uint8_t, 12> KeyEntryBytes(const KeyRecord& entry) {
  std::array<uint8_t, 12> bytes{};
  const std::array<uint8_t, 6> current = AssignmentBytes(entry.assignment);
  const std::array<uint8_t, 6> def = AssignmentBytes(entry.default_assignment);
  for (size_t i = 0; i < 6; ++i) {
    bytes[i] = current[i];
    bytes[i + 6] = def[i];
  }
  return bytes;
}

}  // namespace zrv::config
