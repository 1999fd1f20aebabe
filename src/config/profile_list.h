#pragma once
// The profile list of one device, kept in the device's data folder:
//   "ProfileList.ini"   the list (a JSON document despite its name):
//                       {"profilelist": [{"profileUUID", "profileislink": 0, "profilelinkmame": "",
//                       "profilename"}, ...], "profileselect": position}; the array order is the
//                       order the profile bar shows
//   <identifier>.Json   one profile per entry: {"Device": [settings], "profileUUID", "profilename"}
// and the read-only template of the device kind, from which every new profile and every reset
// starts.
//
// Every operation here is free of widgets: the profile bar (controls/device_profile.h) mirrors the
// list in its drop-down and calls these, and a device model without a page (the keyboard when it
// reloads after the device changed its profile, tests, a command-line front end) calls them
// directly. Files on disk are authoritative: each operation reads "ProfileList.ini" again before
// it changes anything, and the in-memory entries follow what was written.
//
// Writes go through json_file (atomic replacement). An operation that cannot write its files
// reports kTextSaveFailed and leaves the files as they were before it: a new profile file is
// written before the list names it and removed again when the list cannot be written; a deleted
// profile's file goes only after the list no longer names it.
//
// Identifiers are the local creation time as a stamp (stamp.h); two profiles made within one
// millisecond get stamps one millisecond apart, never the same one.
//
// Use from a device model:
//   config::ProfileList list(data_folder, template_path, kind);
//   list.InitProfiles();                                  // creates "profile1" on first start
//   QString id = list.SelectedId();                       // the profile to load
//   ...
//   list.ResetProfile(list.PositionOf(id));               // back to the template (0x0402)

#include <json/json.h>

#include <QDateTime>
#include <QString>

#include <functional>
#include <vector>

#include "device/device_tables.h"

namespace zrv::config {

// Shown when the last profile would be deleted.
inline constexpr const char* kTextLastProfile = "message_text_11";

struct ProfileEntry {
  QString name;  // "profilename": unique in the list regardless of letter case
  QString id;    // "profileUUID": the identifier, base name of the profile file; never changes
  friend bool operator==(const ProfileEntry&, const ProfileEntry&) = default;
};

// The outcome of an operation on the list.
struct ProfileOutcome {
  bool ok = false;    // the change is on disk (or nothing had to change)
  QString message;    // text id to show the user (empty: nothing to tell)
  int position = -1;  // the entry concerned: the one added, selected, reset, or the new selection
                      // after a delete
  QString name;       // that entry's name
  QString id;         // that entry's identifier
};

// The results of RenameProfile, as the profile bar returns them.
enum RenameResultCode : int {
  kRenameNameUsed = 0,  // another profile carries the name (letter case ignored)
  kRenameDone = 1,
  kRenameLeadingSpace = 2,  // the name begins with a space
  kRenameAmpersand = 3,     // the name holds "&"
  kRenameSaveFailed = 4,    // a file could not be written; nothing changed
};

class ProfileList {
 public:
  static constexpr int kMaxProfiles = 50;  // NewProfile (and ExportProfile) refuse from here on
  // The longest name the name field takes ("maxchar" of "device_profile_name_edit"), counted as
  // it counts: in UTF-16 code units. Names that copy and import make are kept within it, or
  // selecting such a profile and saving would rename it to the field's cut.
  static constexpr int kMaxNameLength = 32;
  static constexpr const char* kListFileName = "ProfileList.ini";
  static constexpr const char* kProfileSuffix = ".Json";

  using Clock = std::function<QDateTime()>;

  // `data_folder`: the device's user data folder (with or without a trailing separator);
  // `template_path`: the device kind's profile template; `clock` gives the local time for
  // identifiers (the system clock when empty).
  ProfileList(QString data_folder = {}, QString template_path = {},
              device::DeviceKind device_kind = device::DeviceKind::kNone, Clock clock = {});

  // A headset's reset keeps its own equaliser curves.
  void SetDeviceKind(device::DeviceKind kind) { kind_ = kind; }
  device::DeviceKind DeviceKind() const { return kind_; }
  void SetPaths(const QString& data_folder, const QString& template_path);
  const QString& DataFolder() const { return folder_; }
  const QString& TemplatePath() const { return template_path_; }
  void SetClock(Clock clock);

  QString ListPath() const;
  // Data folder + identifier + ".Json"; empty for an identifier that is no plain file name (a
  // hand-edited list must not make the list read, write or delete files elsewhere).
  QString ProfilePath(const QString& id) const;
  // Whether `id` can name a file of the data folder: not empty, no folder part, no "." or "..".
  static bool IsPlainId(const QString& id);

  // Reads "ProfileList.ini" (a missing or broken file is an empty list) and keeps its entries and
  // its "profileselect".
  const std::vector<ProfileEntry>& Load();
  const std::vector<ProfileEntry>& Entries() const { return entries_; }
  int Count() const { return static_cast<int>(entries_.size()); }
  // "profileselect" as last read or written; it may name no entry in a hand-edited list.
  int RecordedSelection() const { return recorded_selection_; }
  // The recorded selection when it names an entry, else 0 (-1 with no entries).
  int ValidSelection() const;
  QString SelectedId() const;
  // Position of the entry with this identifier, -1 when none.
  int PositionOf(const QString& id) const;
  // Position of the first entry named `name` regardless of letter case, other than `except`.
  int FindName(const QString& name, int except = -1) const;

  // Loads the list; when it has no entry (missing, empty, broken, or an empty "profilelist")
  // writes a new list with the single profile "profile1", selected, and its file made from the
  // template. An entry of a hand-edited list whose identifier is no plain file name, or repeats an
  // earlier entry's, gets a new identifier and a file of its own (a copy of the shared file, or
  // the template), so that no profile is read or written outside the data folder and deleting
  // one entry never takes another's file. The outcome names the entry to select: the recorded
  // one, or 0 when the recorded position names no entry.
  ProfileOutcome InitProfiles();
  // Records `position` as "profileselect". The outcome carries that entry's identifier.
  ProfileOutcome SelectProfile(int position);
  // Appends "profile<n>" (the smallest n from 1 whose name is free) made from the template and
  // records it as "profileselect" (it becomes active at the next start or when selected).
  // Refused with "message_text_30" when the list holds 50 or more.
  ProfileOutcome NewProfile();
  // Appends a copy of the profile at `position` named "<name> copy" (" copy" again while taken;
  // see FreeName for names that would grow too long). "profileselect" stays; no limit check.
  ProfileOutcome CopyProfile(int position);
  // Removes the entry at `position` and its file; "profileselect" becomes the previous position
  // (0 when the first goes), which the outcome names. Refused with "message_text_11" when it is
  // the last profile.
  ProfileOutcome DeleteProfile(int position);
  // Renames the entry at `position` (list and profile file). A name that another entry carries
  // (letter case ignored) is refused; the entry's own name in other letter case is allowed. An
  // empty name is not refused here (the rename flow refuses it).
  RenameResultCode RenameProfile(int position, const QString& name);
  // Appends the profile of the file at `path` named after the file (without folder and
  // extension, "&" made "_", leading spaces dropped; "(1)", "(2)", ... appended while taken; see
  // FreeName for long names) with a new identifier; the document keeps every member but
  // "profilename" and "profileUUID". A file that is not a profile (see IsImportableProfile) is
  // ignored: not ok, no message. "profileselect" stays; no limit check.
  ProfileOutcome ImportProfile(const QString& path);
  // Writes the profile at `position` to `path`. Refused with "message_text_30" when the list
  // holds 50 or more, and with kTextExportOwnFile when `path` is one of the device's own files
  // (own_files.h). A profile whose file is missing or broken is exported as loading it would
  // make it: its name and identifier with the template's settings.
  ProfileOutcome ExportProfile(int position, const QString& path);
  // Replaces the profile at `position` with the template, keeping its name and identifier; a
  // headset profile also keeps its custom equaliser names and curves.
  ProfileOutcome ResetProfile(int position);

  // Whether the file at `path` can be imported: at most kMaxJsonFileBytes, a JSON object with the
  // members "profilename" and "profileUUID".
  static bool IsImportableProfile(const QString& path);

  // `name` cut to at most `length` UTF-16 code units at a character boundary: a surrogate pair or
  // a letter with its combining marks is kept whole or dropped whole.
  static QString CutName(const QString& name, int length);

 private:
  Json::Value ReadListDocument();
  // The identifier repair of InitProfiles; writes the list when it changed anything.
  ProfileOutcome RepairIdentifiers(Json::Value& list);
  QString NewId() const;
  // The first name `base` + suffix(k), k = 0, 1, 2, ..., that no entry carries, `base` cut so
  // that the name fits kMaxNameLength.
  QString FreeName(const QString& base, const std::function<QString(int)>& suffix) const;
  Json::Value TemplateProfile(const QString& name, const QString& id) const;
  // Writes `profile` as the file of {name, id}, then the list with the entry appended; removes
  // the file again when the list cannot be written.
  ProfileOutcome AppendProfile(Json::Value& list, const QString& name, const QString& id, const Json::Value& profile,
                               bool select);
  bool WriteList(const Json::Value& list);
  static ProfileOutcome Failed(const char* text_id);

  QString folder_;
  QString template_path_;
  device::DeviceKind kind_ = device::DeviceKind::kNone;
  Clock clock_;
  std::vector<ProfileEntry> entries_;
  int recorded_selection_ = -1;
};

}  // namespace zrv::config
