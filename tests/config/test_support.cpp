#include "config/test_support.h"

#include <gtest/gtest.h>

#include <QFile>

#include "config/json_file.h"

namespace zrv::config::test {

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray();
  return file.readAll();
}

void PutFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
  ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray JsonBytes(const Json::Value& document) {
  const std::string text = FormatJson(document);
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

Json::Value Doc(const std::string& text) {
  Json::Value value = ParseJson(QByteArray::fromStdString(text));
  EXPECT_FALSE(value.isNull()) << "test document does not parse: " << text;
  return value;
}

}  // namespace zrv::config::test
