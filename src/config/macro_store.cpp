#include "config/macro_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <new>
#include <utility>

#include "config/config_text_ids.h"
#include "config/json_fields.h"
#include "config/json_file.h"
#include "config/json_value.h"
#include "config/own_files.h"
#include "config/stamp.h"

namespace zrv::config {
namespace {

// The index: "MacroInfo", a list of entries.
constexpr const char* kIndexListMember = "MacroInfo";
constexpr JsonField<MacroEntry> kNameField = TextField<&MacroEntry::name>("MacroName");
constexpr JsonField<MacroEntry> kStampField = TextField<&MacroEntry::stamp>("Guid");
constexpr JsonField<MacroEntry> kEntryFields[] = {kNameField, kStampField};

// A ".mac" file: the fields of its entry beside "Events" and "Version".
constexpr const char* kEventsMember = "Events";
constexpr const char* kVersionMember = "Version";

std::vector<MacroEntry> EntriesOf(const Json::Value& document) {
  std::vector<MacroEntry> entries;
  const Json::Value& info = Member(document, kIndexListMember);
  if (!info.isArray()) return entries;
  entries.reserve(info.size());
  for (Json::ArrayIndex i = 0; i < info.size(); ++i) entries.push_back(ReadRecord<MacroEntry>(info[i], kEntryFields));
  return entries;
}

Json::Value MacroFileDocument(const MacroEntry& macro, Json::Value events) {
  Json::Value document(Json::objectValue);
  document[kEventsMember] = std::move(events);
  WriteFields<MacroEntry>(document, kEntryFields, macro);
  document[kVersionMember] = MacroStore::kMacroFileVersion;
  return document;
}

bool SameName(const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) == 0; }

MacroChange Refused(const char* text_id) { return {false, QString(), QString::fromLatin1(text_id)}; }

RenameResult RenameRefused(const char* text_id) { return {RenameOutcome::kRefused, QString::fromLatin1(text_id)}; }

}  // namespace

MacroStore::MacroStore(QString folder, Clock clock) : folder_(std::move(folder)), clock_(std::move(clock)) {
  if (!clock_) clock_ = [] { return QDateTime::currentDateTime(); };
}

QString MacroStore::IndexPath() const { return QDir(folder_).filePath(QStringLiteral("macro.config")); }

QString MacroStore::OrvexIndexPath() const { return QDir(folder_).filePath(QStringLiteral("orvex_macro.config")); }

QString MacroStore::MacroFilePath(const QString& stamp) const {
  if (stamp.isEmpty() || stamp.contains(QLatin1Char('/')) || stamp.contains(QLatin1Char('\\')) ||
      stamp.contains(QChar(0))) {
    return QString();
  }
  return QDir(folder_).filePath(stamp + QStringLiteral(".mac"));
}

std::vector<MacroEntry> MacroStore::ReadMacroIndex(const QString& path) { return EntriesOf(ReadJsonFile(path)); }

const std::vector<MacroEntry>& MacroStore::LoadMacroList() {
  ReadIndexDocument();
  return macros_;
}

QStringList MacroStore::LoadMacroNames() {
  QStringList names;
  for (const MacroEntry& entry : LoadMacroList()) names.append(entry.name);
  return names;
}

std::vector<MacroEntry> MacroStore::LoadOrvexMacroList() const { return ReadMacroIndex(OrvexIndexPath()); }

Json::Value MacroStore::ReadIndexDocument() {
  Json::Value document = ReadJsonFile(IndexPath());
  macros_ = EntriesOf(document);
  RepairSharedStamps(document);
  return document;
}

void MacroStore::RepairSharedStamps(Json::Value& document) {
  const Json::Value read = document;
  const std::vector<MacroEntry> entries = macros_;
  std::vector<QString> made;
  bool failed = false;
  for (size_t i = 0; i < macros_.size() && !failed; ++i) {
    const QString shared = MacroFilePath(macros_[i].stamp);
    if (shared.isEmpty()) continue;  // names no file, so shares none
    bool repeated = false;
    for (size_t j = 0; j < i && !repeated; ++j) repeated = macros_[j].stamp == macros_[i].stamp;
    if (!repeated) continue;
    const QString stamp = NewStamp();
    QByteArray events;
    if (ReadFileBytes(shared, kMaxJsonFileBytes, &events)) {
      // Both keep the events they shared.
      const QString file = MacroFilePath(stamp);
      failed = !WriteFileBytes(file, events);
      if (failed) break;
      made.push_back(file);
    }
    macros_[i].stamp = stamp;
    WriteField(document[kIndexListMember][static_cast<Json::ArrayIndex>(i)], kStampField, macros_[i]);
  }
  if (macros_ == entries) return;
  if (!failed && WriteJsonFile(IndexPath(), document)) return;
  for (const QString& file : made) QFile::remove(file);
  document = read;
  macros_ = entries;
}

bool MacroStore::NameTaken(const QString& name) const {
  for (const MacroEntry& entry : macros_) {
    if (SameName(entry.name, name)) return true;
  }
  return false;
}

QString MacroStore::NewMacroName() const {
  for (int n = 1;; ++n) {
    QString candidate = QStringLiteral("macro_%1").arg(n);
    if (!NameTaken(candidate)) return candidate;
  }
}

QString MacroStore::ImportedMacroName(const QString& path) const {
  const QString base = QFileInfo(path).completeBaseName();
  if (base.isEmpty()) return NewMacroName();  // a file named ".mac" gives no name of its own
  if (!NameTaken(base)) return base;
  for (int n = 2;; ++n) {
    QString candidate = QString::number(n);
    if (!NameTaken(candidate)) return candidate;
  }
}

QString MacroStore::NewStamp() const {
  return MakeUniqueStamp(clock_(), [this](const QString& stamp) {
    for (const MacroEntry& entry : macros_) {
      if (entry.stamp == stamp) return true;
    }
    return QFileInfo::exists(MacroFilePath(stamp));
  });
}

bool MacroStore::AppendMacro(Json::Value& document, const QString& name, const QString& stamp) {
  Json::Value entry(Json::objectValue);
  WriteFields<MacroEntry>(entry, kEntryFields, MacroEntry{name, stamp});
  EnsureArray(MemberForWrite(document, kIndexListMember)).append(std::move(entry));
  if (!WriteJsonFile(IndexPath(), document)) return false;
  macros_.push_back({name, stamp});
  return true;
}

MacroChange MacroStore::CreateMacro() {
  Json::Value document = ReadIndexDocument();
  if (static_cast<int>(macros_.size()) >= kMaxMacros) return Refused(kTextListFull);
  const QString name = NewMacroName();
  if (!AppendMacro(document, name, NewStamp())) return Refused(kTextSaveFailed);
  return {true, name, QString()};
}

MacroChange MacroStore::ImportMacro(const QString& path) {
  Json::Value document = ReadIndexDocument();
  if (static_cast<int>(macros_.size()) >= kMaxMacros) return Refused(kTextListFull);
  QByteArray content;
  if (!ReadFileBytes(path, kMaxJsonFileBytes, &content) || !ParseJson(content).isObject()) {
    return Refused(kTextMacroFileInvalid);
  }
  const QString name = ImportedMacroName(path);
  const QString stamp = NewStamp();
  const QString file = MacroFilePath(stamp);
  if (!WriteFileBytes(file, content)) return Refused(kTextSaveFailed);
  if (!AppendMacro(document, name, stamp)) {
    QFile::remove(file);
    return Refused(kTextSaveFailed);
  }
  return {true, name, QString()};
}

MacroChange MacroStore::ExportMacro(int number, const QString& path) {
  ReadIndexDocument();
  if (static_cast<int>(macros_.size()) >= kMaxMacros) return Refused(kTextListFull);
  if (number < 0 || number >= static_cast<int>(macros_.size())) return {};
  if (IsDeviceOwnFile(folder_, path)) return Refused(kTextExportOwnFile);
  const MacroEntry& macro = macros_[static_cast<size_t>(number)];
  const QString file = MacroFilePath(macro.stamp);
  QByteArray content;
  if (file.isEmpty() || !QFileInfo::exists(file)) {
    // Never saved: the macro has no events yet, and an empty macro file says just that.
    const std::string text = FormatJson(MacroFileDocument(macro, Json::Value(Json::arrayValue)));
    content = QByteArray(text.data(), static_cast<qsizetype>(text.size()));
  } else if (!ReadFileBytes(file, kMaxJsonFileBytes, &content)) {
    return Refused(kTextMacroFileInvalid);
  }
  if (!WriteFileBytes(path, content)) return Refused(kTextSaveFailed);
  return {true, macro.name, QString()};
}

RenameResult MacroStore::RenameMacro(int number, const QString& text) {
  Json::Value document = ReadIndexDocument();
  if (number < 0 || number >= static_cast<int>(macros_.size())) return {};
  if (text.startsWith(QLatin1Char(' '))) return RenameRefused(kTextNameLeadingSpace);
  if (text.trimmed().isEmpty()) return RenameRefused(kTextNameEmpty);
  if (text.contains(QLatin1Char('&'))) return RenameRefused(kTextNameAmpersand);
  if (NameTaken(text)) return {};
  Json::Value& entry =
      ElementForWrite(MemberForWrite(document, kIndexListMember), static_cast<Json::ArrayIndex>(number));
  WriteField(entry, kNameField, MacroEntry{text, QString()});
  if (!WriteJsonFile(IndexPath(), document)) return RenameRefused(kTextSaveFailed);
  macros_[static_cast<size_t>(number)].name = text;
  return {RenameOutcome::kRenamed, QString()};
}

bool MacroStore::DeleteMacro(int number) {
  Json::Value document = ReadIndexDocument();
  if (number < 0 || number >= static_cast<int>(macros_.size())) return false;
  Json::Value removed;
  document[kIndexListMember].removeIndex(static_cast<Json::ArrayIndex>(number), &removed);
  // The list first: should it fail, the macro stays whole rather than losing its events.
  if (!WriteJsonFile(IndexPath(), document)) return false;
  const QString stamp = macros_[static_cast<size_t>(number)].stamp;
  macros_.erase(macros_.begin() + number);
  // A list whose repair could not be written may still share the file with another entry.
  bool shared = false;
  for (const MacroEntry& entry : macros_) shared = shared || entry.stamp == stamp;
  const QString file = MacroFilePath(stamp);
  if (!file.isEmpty() && !shared) QFile::remove(file);
  return true;
}

std::vector<MacroEvent> MacroStore::LoadMacroEvents(const QString& stamp) const {
  std::vector<MacroEvent> events;
  const QString file = MacroFilePath(stamp);
  if (file.isEmpty()) return events;
  const Json::Value document = ReadJsonFile(file);
  const Json::Value& list = Member(document, kEventsMember);
  if (!list.isArray()) return events;
  events.reserve(list.size());
  for (Json::ArrayIndex i = 0; i < list.size(); ++i) events.push_back(MacroEventFromJson(list[i]));
  return events;
}

bool MacroStore::SaveMacroEvents(int number, const std::vector<MacroEvent>& events) {
  ReadIndexDocument();
  if (number < 0 || number >= static_cast<int>(macros_.size())) return false;
  const MacroEntry& macro = macros_[static_cast<size_t>(number)];
  const QString file = MacroFilePath(macro.stamp);
  if (file.isEmpty()) return false;
  Json::Value list(Json::arrayValue);
  for (const MacroEvent& event : events) list.append(MacroEventToJson(event));
  return WriteJsonFile(file, MacroFileDocument(macro, std::move(list)));
}

MacroImage MacroStore::BuildMacroImage(uint8_t capacity) {
  LoadMacroList();
  if (macros_.empty()) return {};
  try {
    std::vector<std::vector<MacroEvent>> macros;
    macros.reserve(macros_.size());
    for (const MacroEntry& entry : macros_) macros.push_back(LoadMacroEvents(entry.stamp));
    return config::BuildMacroImage(macros, capacity);
  } catch (const std::bad_alloc&) {
    return {-1, {}};
  }
}

}  // namespace zrv::config
