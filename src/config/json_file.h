#pragma once
// Every JSON file of the system is read and written here, so that all of them share one layout.
//
// Reading takes the whole file and parses it with JsonCpp (comments tolerated, not kept). A file
// that is missing, empty, unreadable, larger than kMaxJsonFileBytes or not valid JSON is a null
// document; callers treat that as "no data" and replace the file on their next save.
//
// Writing produces the layout of JsonCpp's StyledWriter (members in byte order of their names,
// three-space indentation, short scalar arrays on one line up to the right margin of 74) with CR LF
// line ends and strings as raw UTF-8 (the installed StyledWriter would escape non-ASCII text as
// \uXXXX, which our files do not). The file is replaced atomically: a crash or a full disk leaves
// either the old or the new file, never a mix, and every failure is reported to the caller.

#include <json/json.h>

#include <QByteArray>
#include <QString>

#include <string>

namespace zrv::config {

// Profiles, macros and lighting files are a few hundred kilobytes at most; anything far beyond
// that is not ours and is not read into memory.
inline constexpr qint64 kMaxJsonFileBytes = 16 * 1024 * 1024;

// Parses a document; null when the text is not valid JSON.
Json::Value ParseJson(const QByteArray& text);

// Reads and parses a whole file; null as described above.
Json::Value ReadJsonFile(const QString& path);

// Reads a whole file of at most `limit` bytes. False when the file cannot be opened or read or is
// larger than the limit (also for endless special files).
bool ReadFileBytes(const QString& path, qint64 limit, QByteArray* bytes);

// The bytes of a document in our layout.
std::string FormatJson(const Json::Value& document);

// Writes a document in our layout; false when the file could not be written completely.
bool WriteJsonFile(const QString& path, const Json::Value& document);

// Replaces a file with the given bytes atomically; false on any failure (the old file then stays).
bool WriteFileBytes(const QString& path, const QByteArray& bytes);

}  // namespace zrv::config
