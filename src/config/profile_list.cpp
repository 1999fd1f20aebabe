#include "config/profile_list.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <climits>
#include <utility>

#include "config/config_text_ids.h"
#include "config/json_fields.h"
#include "config/json_file.h"
#include "config/json_value.h"
#include "config/own_files.h"
#include "config/profile_members.h"
#include "config/stamp.h"

namespace zrv::config {
namespace {

constexpr const char* kListMember = "profilelist";
constexpr const char* kSelectMember = "profileselect";
// Name and identifier: the members of a list entry, and of the profile file as well.
constexpr JsonField<ProfileEntry> kNameField = TextField<&ProfileEntry::name>("profilename");
constexpr JsonField<ProfileEntry> kIdField = TextField<&ProfileEntry::id>("profileUUID");
constexpr JsonField<ProfileEntry> kEntryFields[] = {kNameField, kIdField};

// The headset's own equaliser curves, which a reset keeps.
constexpr const char* kKeptHeadsetMembers[] = {kCustomEqNamesMember, kCustomEqCurvesMember};

std::vector<ProfileEntry> EntriesOf(const Json::Value& document) {
  std::vector<ProfileEntry> entries;
  const Json::Value& list = Member(document, kListMember);
  if (!list.isArray()) return entries;
  entries.reserve(list.size());
  for (Json::ArrayIndex i = 0; i < list.size(); ++i) entries.push_back(ReadRecord<ProfileEntry>(list[i], kEntryFields));
  return entries;
}

int SelectionOf(const Json::Value& document) {
  return static_cast<int>(std::clamp<int64_t>(ReadInt(Member(document, kSelectMember)), -1, INT_MAX));
}

Json::Value ListEntry(const QString& name, const QString& id) {
  Json::Value entry(Json::objectValue);
  WriteFields<ProfileEntry>(entry, kEntryFields, ProfileEntry{name, id});
  // Placeholders of profile links: always written, never read.
  entry["profileislink"] = 0;
  entry["profilelinkmame"] = "";
  return entry;
}

void SetNames(Json::Value& profile, const QString& name, const QString& id) {
  WriteFields<ProfileEntry>(profile, kEntryFields, ProfileEntry{name, id});
}

bool HasNames(const Json::Value& profile) {
  return profile.isObject() && profile.isMember(kNameField.name) && profile.isMember(kIdField.name);
}

}  // namespace

ProfileList::ProfileList(QString data_folder, QString template_path, device::DeviceKind device_kind, Clock clock)
    : folder_(std::move(data_folder)), template_path_(std::move(template_path)), kind_(device_kind) {
  SetClock(std::move(clock));
}

void ProfileList::SetPaths(const QString& data_folder, const QString& template_path) {
  folder_ = data_folder;
  template_path_ = template_path;
}

void ProfileList::SetClock(Clock clock) {
  clock_ = clock ? std::move(clock) : [] { return QDateTime::currentDateTime(); };
}

QString ProfileList::ListPath() const {
  if (folder_.isEmpty()) return QString();
  return QDir(folder_).filePath(QString::fromLatin1(kListFileName));
}

bool ProfileList::IsPlainId(const QString& id) {
  return !id.isEmpty() && id != u"." && id != u".." && !id.contains(QLatin1Char('/')) &&
         !id.contains(QLatin1Char('\\')) && !id.contains(QChar(0));
}

QString ProfileList::ProfilePath(const QString& id) const {
  if (folder_.isEmpty() || !IsPlainId(id)) return QString();
  return QDir(folder_).filePath(id + QLatin1String(kProfileSuffix));
}

Json::Value ProfileList::ReadListDocument() {
  Json::Value document = ReadJsonFile(ListPath());
  entries_ = EntriesOf(document);
  recorded_selection_ = SelectionOf(document);
  return document;
}

const std::vector<ProfileEntry>& ProfileList::Load() {
  ReadListDocument();
  return entries_;
}

int ProfileList::ValidSelection() const {
  if (entries_.empty()) return -1;
  return recorded_selection_ >= 0 && recorded_selection_ < Count() ? recorded_selection_ : 0;
}

QString ProfileList::SelectedId() const {
  const int position = ValidSelection();
  return position < 0 ? QString() : entries_[static_cast<size_t>(position)].id;
}

int ProfileList::PositionOf(const QString& id) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].id == id) return static_cast<int>(i);
  }
  return -1;
}

int ProfileList::FindName(const QString& name, int except) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (static_cast<int>(i) == except) continue;
    if (QString::compare(entries_[i].name, name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  }
  return -1;
}

QString ProfileList::CutName(const QString& name, int length) {
  if (name.size() <= length) return name;
  if (length <= 0) return QString();
  QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, name);
  characters.setPosition(length);
  const qsizetype end = characters.isAtBoundary() ? length : characters.toPreviousBoundary();
  return name.left(std::max<qsizetype>(end, 0));
}

QString ProfileList::FreeName(const QString& base, const std::function<QString(int)>& suffix) const {
  for (int k = 0;; ++k) {
    const QString end = suffix(k);
    QString name = CutName(base, kMaxNameLength - static_cast<int>(end.size())) + end;
    if (FindName(name) < 0) return name;
  }
}

ProfileOutcome ProfileList::Failed(const char* text_id) {
  ProfileOutcome outcome;
  if (text_id != nullptr) outcome.message = QString::fromLatin1(text_id);
  return outcome;
}

QString ProfileList::NewId() const {
  return MakeUniqueStamp(clock_(), [this](const QString& stamp) {
    return PositionOf(stamp) >= 0 || QFileInfo::exists(ProfilePath(stamp));
  });
}

Json::Value ProfileList::TemplateProfile(const QString& name, const QString& id) const {
  // A template that cannot be read gives a profile of name and identifier only; loading it later
  // fills its settings from the template, if there is one by then.
  Json::Value profile = ReadJsonFile(template_path_);
  SetNames(profile, name, id);
  return profile;
}

bool ProfileList::WriteList(const Json::Value& list) { return WriteJsonFile(ListPath(), list); }

ProfileOutcome ProfileList::AppendProfile(Json::Value& list, const QString& name, const QString& id,
                                          const Json::Value& profile, bool select) {
  const QString file = ProfilePath(id);
  if (!WriteJsonFile(file, profile)) return Failed(kTextSaveFailed);
  Json::Value& array = EnsureArray(MemberForWrite(list, kListMember));
  array.append(ListEntry(name, id));
  const int position = static_cast<int>(array.size()) - 1;
  if (select) list[kSelectMember] = position;
  if (!WriteList(list)) {
    // Without a list entry the file would be an orphan that nothing ever shows or deletes.
    QFile::remove(file);
    return Failed(kTextSaveFailed);
  }
  entries_ = EntriesOf(list);
  recorded_selection_ = SelectionOf(list);
  return {true, QString(), position, name, id};
}

ProfileOutcome ProfileList::InitProfiles() {
  Json::Value list = ReadListDocument();
  if (entries_.empty()) {
    EnsureObject(list);
    list[kListMember] = Json::Value(Json::arrayValue);
    list[kSelectMember] = 0;
    const QString name = QStringLiteral("profile1");
    const QString id = NewId();
    ProfileOutcome created = AppendProfile(list, name, id, TemplateProfile(name, id), true);
    if (!created.ok) return created;
  } else if (ProfileOutcome repaired = RepairIdentifiers(list); !repaired.ok) {
    return repaired;
  }
  const int position = ValidSelection();
  const ProfileEntry& entry = entries_[static_cast<size_t>(position)];
  return {true, QString(), position, entry.name, entry.id};
}

ProfileOutcome ProfileList::RepairIdentifiers(Json::Value& list) {
  std::vector<QString> made;
  const auto undo = [&made] {
    for (const QString& file : made) QFile::remove(file);
    return Failed(kTextSaveFailed);
  };
  Json::Value& array = list[kListMember];
  for (size_t i = 0; i < entries_.size(); ++i) {
    ProfileEntry& entry = entries_[i];
    const bool plain = IsPlainId(entry.id);
    if (plain && PositionOf(entry.id) == static_cast<int>(i)) continue;
    const QString id = NewId();
    // A shared file is copied, so both entries keep the settings they had; a file outside the
    // folder is never read.
    Json::Value profile = plain ? ReadJsonFile(ProfilePath(entry.id)) : Json::Value();
    if (!profile.isObject()) profile = TemplateProfile(entry.name, id);
    SetNames(profile, entry.name, id);
    const QString file = ProfilePath(id);
    if (!WriteJsonFile(file, profile)) return undo();
    made.push_back(file);
    Json::Value& element = array[static_cast<Json::ArrayIndex>(i)];
    if (element.isObject()) {
      WriteField(element, kIdField, ProfileEntry{QString(), id});
    } else {
      element = ListEntry(entry.name, id);
    }
    entry.id = id;
  }
  if (!made.empty() && !WriteList(list)) {
    entries_ = EntriesOf(ReadJsonFile(ListPath()));
    return undo();
  }
  return {true, QString(), -1, QString(), QString()};
}

ProfileOutcome ProfileList::SelectProfile(int position) {
  Json::Value list = ReadListDocument();
  if (position < 0 || position >= Count()) return Failed(nullptr);
  const ProfileEntry entry = entries_[static_cast<size_t>(position)];
  EnsureObject(list)[kSelectMember] = position;
  ProfileOutcome outcome{true, QString(), position, entry.name, entry.id};
  if (!WriteList(list)) {
    // The profile is still the one to use now; only the choice will not survive a restart.
    outcome.ok = false;
    outcome.message = QString::fromLatin1(kTextSaveFailed);
    return outcome;
  }
  recorded_selection_ = position;
  return outcome;
}

ProfileOutcome ProfileList::NewProfile() {
  Json::Value list = ReadListDocument();
  if (Count() >= kMaxProfiles) return Failed(kTextListFull);
  QString name;
  for (int n = 1;; ++n) {
    name = QStringLiteral("profile%1").arg(n);
    if (FindName(name) < 0) break;
  }
  const QString id = NewId();
  return AppendProfile(list, name, id, TemplateProfile(name, id), true);
}

ProfileOutcome ProfileList::CopyProfile(int position) {
  Json::Value list = ReadListDocument();
  if (position < 0 || position >= Count()) return Failed(nullptr);
  const ProfileEntry source = entries_[static_cast<size_t>(position)];
  // "Game copy", "Game copy copy", ...; once the copies would leave no room for the name,
  // "Game copy 2", "Game copy 3", ...
  const QString name = FreeName(source.name, [](int k) {
    const QString copy = QStringLiteral(" copy");
    const int copies = k + 1;
    if (copies * copy.size() < kMaxNameLength) return copy.repeated(copies);
    return copy + QStringLiteral(" %1").arg(copies - 5);
  });
  const QString id = NewId();
  Json::Value profile = ReadJsonFile(ProfilePath(source.id));
  SetNames(profile, name, id);
  return AppendProfile(list, name, id, profile, false);
}

ProfileOutcome ProfileList::DeleteProfile(int position) {
  Json::Value list = ReadListDocument();
  if (position < 0 || position >= Count()) return Failed(nullptr);
  if (Count() < 2) return Failed(kTextLastProfile);
  const int selection = position > 0 ? position - 1 : 0;
  const QString removed_file = ProfilePath(entries_[static_cast<size_t>(position)].id);
  list[kListMember].removeIndex(static_cast<Json::ArrayIndex>(position), nullptr);
  list[kSelectMember] = selection;
  // The list first: should it fail, the profile stays whole and listed.
  if (!WriteList(list)) return Failed(kTextSaveFailed);
  const QString removed_id = entries_[static_cast<size_t>(position)].id;
  entries_ = EntriesOf(list);
  // A hand-edited list may name one file twice; it stays while an entry names it.
  if (!removed_file.isEmpty() && PositionOf(removed_id) < 0) QFile::remove(removed_file);
  recorded_selection_ = selection;
  const ProfileEntry& entry = entries_[static_cast<size_t>(selection)];
  return {true, QString(), selection, entry.name, entry.id};
}

RenameResultCode ProfileList::RenameProfile(int position, const QString& name) {
  if (name.contains(QLatin1Char('&'))) return kRenameAmpersand;
  Json::Value list = ReadListDocument();
  if (name.startsWith(QLatin1Char(' '))) return kRenameLeadingSpace;
  if (position < 0 || position >= Count()) return kRenameNameUsed;
  if (FindName(name, position) >= 0) return kRenameNameUsed;
  const Json::Value previous = list;
  WriteField(ElementForWrite(list[kListMember], static_cast<Json::ArrayIndex>(position)), kNameField,
             ProfileEntry{name, QString()});
  if (!WriteList(list)) return kRenameSaveFailed;
  const QString file = ProfilePath(entries_[static_cast<size_t>(position)].id);
  if (!file.isEmpty()) {
    Json::Value profile = ReadJsonFile(file);
    WriteField(profile, kNameField, ProfileEntry{name, QString()});
    if (!WriteJsonFile(file, profile)) {
      // Keep list and file telling the same name.
      WriteList(previous);
      return kRenameSaveFailed;
    }
  }
  entries_[static_cast<size_t>(position)].name = name;
  return kRenameDone;
}

bool ProfileList::IsImportableProfile(const QString& path) {
  const Json::Value document = ReadJsonFile(path);
  return HasNames(document);
}

ProfileOutcome ProfileList::ImportProfile(const QString& path) {
  Json::Value profile = ReadJsonFile(path);
  if (!HasNames(profile)) return Failed(nullptr);
  Json::Value list = ReadListDocument();
  // The file name becomes the profile's name, kept to what a rename accepts: no "&", no leading
  // space (the name field could not save it again, and " Game" would pass for "Game").
  QString name = QFileInfo(path).completeBaseName().replace(QLatin1Char('&'), QLatin1Char('_'));
  while (name.startsWith(QLatin1Char(' '))) name.remove(0, 1);
  if (name.isEmpty()) name = QStringLiteral("profile");  // a file named ".json" gives no name of its own
  // "Game", "Game(1)", "Game(1)(2)", ...; once the counters would leave no room for the name,
  // "Game(11)", "Game(12)", ...
  name = FreeName(name, [](int k) {
    QString counters;
    for (int counter = 1; counter <= k; ++counter) counters += QStringLiteral("(%1)").arg(counter);
    if (counters.size() < kMaxNameLength) return counters;
    return QStringLiteral("(%1)").arg(k);
  });
  const QString id = NewId();
  SetNames(profile, name, id);
  return AppendProfile(list, name, id, profile, false);
}

ProfileOutcome ProfileList::ExportProfile(int position, const QString& path) {
  ReadListDocument();
  if (Count() >= kMaxProfiles) return Failed(kTextListFull);
  if (position < 0 || position >= Count()) return Failed(nullptr);
  if (IsDeviceOwnFile(folder_, path)) return Failed(kTextExportOwnFile);
  const ProfileEntry entry = entries_[static_cast<size_t>(position)];
  Json::Value profile = ReadJsonFile(ProfilePath(entry.id));
  if (!profile.isObject()) profile = TemplateProfile(entry.name, entry.id);
  if (!WriteJsonFile(path, profile)) return Failed(kTextSaveFailed);
  return {true, QString(), position, entry.name, entry.id};
}

ProfileOutcome ProfileList::ResetProfile(int position) {
  ReadListDocument();
  if (position < 0 || position >= Count()) return Failed(nullptr);
  const ProfileEntry entry = entries_[static_cast<size_t>(position)];
  const QString file = ProfilePath(entry.id);
  if (file.isEmpty()) return Failed(kTextSaveFailed);
  Json::Value profile = TemplateProfile(entry.name, entry.id);
  if (kind_ == device::DeviceKind::kHeadset) {
    const Json::Value current = ReadJsonFile(file);
    const Json::Value& settings = Element(Member(current, kDeviceMember), 0);
    for (const char* member : kKeptHeadsetMembers) {
      if (!settings.isObject() || !settings.isMember(member)) continue;
      EnsureObject(ElementForWrite(MemberForWrite(profile, kDeviceMember), 0))[member] = settings[member];
    }
  }
  if (!WriteJsonFile(file, profile)) return Failed(kTextSaveFailed);
  return {true, QString(), position, entry.name, entry.id};
}

}  // namespace zrv::config
