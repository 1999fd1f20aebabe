#pragma once
// The macros of one device, kept in its user data folder:
//   "macro.config"        the ordered list {"MacroInfo": [{"MacroName", "Guid"}, ...]}; the position
//                         in the list is the macro number that key assignments use
//   <Guid>.mac            the events of one macro {"Events", "Guid", "MacroName", "Version": 64}
//   "orvex_macro.config"  the list that the mouse pad and the headset show (read only)
//
// Files on disk are authoritative: every changing operation reads "macro.config" again first and
// changes the in-memory list only after the new file has been written. All operations run on the
// UI thread.
//
// Reading the list repairs a hand-edited one in which two entries share a stamp: the later entry
// gets a stamp of its own and a copy of the shared ".mac" file, and the repaired list is written,
// so that deleting or saving one macro never takes or changes the other's events.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

#include "config/macro_event.h"
#include "config/macro_image.h"

namespace zrv::config {

struct MacroEntry {
  QString name;   // unique in the list regardless of letter case
  QString stamp;  // "Guid": identifier and base name of the ".mac" file; never changes
  friend bool operator==(const MacroEntry&, const MacroEntry&) = default;
};

// The outcome of create, import and export.
struct MacroChange {
  bool ok = false;
  QString name;     // the macro's name when ok
  QString refusal;  // the text id to show when refused (empty: nothing to tell the user)
};

enum class RenameOutcome { kRenamed, kUnchanged, kRefused };
struct RenameResult {
  RenameOutcome outcome = RenameOutcome::kUnchanged;
  QString refusal;  // the text id when refused
};

class MacroStore {
 public:
  static constexpr int kMaxMacros = 50;
  // The most events the editor records into one macro (events inserted by hand may go beyond).
  static constexpr int kMaxEvents = 4000;
  static constexpr int kMacroFileVersion = 64;

  using Clock = std::function<QDateTime()>;
  // `folder` is the device's user data folder; `clock` gives the local time for stamps (the system
  // clock when empty).
  explicit MacroStore(QString folder, Clock clock = {});

  const QString& Folder() const { return folder_; }
  QString IndexPath() const;
  QString OrvexIndexPath() const;
  // Folder + stamp + ".mac"; empty for a stamp that is no plain file name (a hand-edited list
  // must not make the store read or delete files elsewhere).
  QString MacroFilePath(const QString& stamp) const;

  // Reads "macro.config" (a missing or broken file is an empty list; shared stamps are repaired,
  // see above) and keeps the list.
  const std::vector<MacroEntry>& LoadMacroList();
  const std::vector<MacroEntry>& Macros() const { return macros_; }
  QStringList LoadMacroNames();
  // The list of "orvex_macro.config" (mouse pad and headset).
  std::vector<MacroEntry> LoadOrvexMacroList() const;
  static std::vector<MacroEntry> ReadMacroIndex(const QString& path);

  // Appends a macro named "macro_N" (the smallest N whose name is free) with a new stamp; no
  // ".mac" file is written yet. Refused with "message_text_30" when 50 macros exist.
  MacroChange CreateMacro();
  // Appends a macro named after the file (then "2", "3", ... when that name is taken) and copies
  // the file unchanged into its ".mac" file. Refused with "message_text_30" when 50 macros exist,
  // and with kTextMacroFileInvalid when the file cannot be read, is larger than kMaxJsonFileBytes
  // or holds no JSON object.
  MacroChange ImportMacro(const QString& path);
  // Copies macro `number`'s ".mac" file unchanged to `path` (a macro never saved is exported as
  // an empty one). Refused with "message_text_30" while the list holds 50 macros, and with
  // kTextExportOwnFile when `path` is one of the device's own files (own_files.h).
  MacroChange ExportMacro(int number, const QString& path);
  // Renames macro `number`. Refused when the text begins with a space ("message_text_25"), is
  // empty or blank ("message_text_5_1") or holds "&" ("message_text_5_3"); unchanged when it equals
  // a name of the list regardless of case (its own included). The ".mac" file is not touched.
  RenameResult RenameMacro(int number, const QString& text);
  // Removes macro `number` from the list (later macros move down) and deletes its ".mac" file.
  // Renumber the key assignments first (macro_assignments.h). False when nothing changed.
  bool DeleteMacro(int number);

  // The events of the macro with `stamp`; empty when the file or "Events" is missing.
  std::vector<MacroEvent> LoadMacroEvents(const QString& stamp) const;
  // Writes macro `number`'s ".mac" file with its current name and stamp.
  bool SaveMacroEvents(int number, const std::vector<MacroEvent>& events);

  // The image of all macros for a memory of `capacity` × 128 bytes (see macro_image.h). With no
  // macros the result is 0 with an empty image: the caller sends nothing, not even Begin.
  MacroImage BuildMacroImage(uint8_t capacity);

 private:
  Json::Value ReadIndexDocument();
  // Gives every entry whose stamp an earlier entry carries a new stamp and a copy of the shared
  // file, and writes the index; on a failed write everything stays as it was read.
  void RepairSharedStamps(Json::Value& document);
  bool NameTaken(const QString& name) const;
  QString NewMacroName() const;
  QString ImportedMacroName(const QString& path) const;
  QString NewStamp() const;
  // Appends {name, stamp} to the index document and writes it; on success to the list as well.
  bool AppendMacro(Json::Value& document, const QString& name, const QString& stamp);

  QString folder_;
  Clock clock_;
  std::vector<MacroEntry> macros_;
};

}  // namespace zrv::config
