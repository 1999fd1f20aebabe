#pragma once
// Language text ids of the messages that the configuration files can give the user. The caller
// shows them in the message box; the texts live in the skin's language files.

namespace zrv::config {

inline constexpr const char* kTextListFull = "message_text_30";        // 50 entries already
inline constexpr const char* kTextNameEmpty = "message_text_5_1";      // empty or blank name
inline constexpr const char* kTextNameAmpersand = "message_text_5_3";  // name holds "&"
inline constexpr const char* kTextNameLeadingSpace = "message_text_25";
inline constexpr const char* kTextMacroInUse = "message_text_2";       // confirm deleting a used macro
inline constexpr const char* kTextMacrosTooLarge = "message_text_16";  // holds %d: the overflow count
// A file could not be written (disk full, no permission); nothing was changed.
inline constexpr const char* kTextSaveFailed = "message_text_save_failed";
// An imported or exported macro file could not be read or is no macro file.
inline constexpr const char* kTextMacroFileInvalid = "message_text_macro_file_invalid";
// An export would replace one of the device's own files in its data folder; nothing was written.
inline constexpr const char* kTextExportOwnFile = "message_text_export_own_file";

}  // namespace zrv::config
