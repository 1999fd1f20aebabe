#pragma once
// Helpers of the configuration tests: temporary folders, file contents, documents.

#include <json/json.h>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <string>

namespace zrv::config::test {

// The whole content of a file; empty when it cannot be read.
QByteArray FileBytes(const QString& path);
// Writes raw bytes (no layout), creating the file.
void PutFile(const QString& path, const QByteArray& bytes);
// The bytes that our JSON writer produces for `document`.
QByteArray JsonBytes(const Json::Value& document);
// Parses a JSON text literal (test input written by hand); fails the test when it does not parse.
Json::Value Doc(const std::string& text);

}  // namespace zrv::config::test
