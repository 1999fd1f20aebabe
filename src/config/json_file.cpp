#include "config/json_file.h"

#include <QFile>
#include <QSaveFile>

#include <exception>
#include <memory>
#include <utility>
#include <vector>

#include "platform/debug_output.h"

namespace zrv::config {
namespace {

// The layout of JsonCpp's StyledWriter, step for step, except that strings are written as raw
// UTF-8. Comments are not written: the reader does not keep them.
class StyledLayout {
 public:
  std::string Write(const Json::Value& root) {
    document_.clear();
    indent_.clear();
    child_values_.clear();
    add_child_values_ = false;
    WriteValue(root);
    document_ += '\n';
    return std::move(document_);
  }

 private:
  static constexpr unsigned kRightMargin = 74;
  static constexpr size_t kIndentSize = 3;

  void WriteValue(const Json::Value& value) {
    switch (value.type()) {
      case Json::nullValue: Push("null"); break;
      case Json::intValue: Push(Json::valueToString(value.asLargestInt())); break;
      case Json::uintValue: Push(Json::valueToString(value.asLargestUInt())); break;
      case Json::realValue: Push(Json::valueToString(value.asDouble())); break;
      case Json::stringValue: {
        const char* begin = nullptr;
        const char* end = nullptr;
        Push(value.getString(&begin, &end) ? Quoted(begin, end) : std::string());
        break;
      }
      case Json::booleanValue: Push(Json::valueToString(value.asBool())); break;
      case Json::arrayValue: WriteArray(value); break;
      case Json::objectValue: WriteObject(value); break;
    }
  }

  void WriteObject(const Json::Value& value) {
    if (value.empty()) {
      Push("{}");
      return;
    }
    WriteWithIndent("{");
    Indent();
    bool first = true;
    for (auto it = value.begin(); it != value.end(); ++it) {
      if (!first) document_ += ',';
      first = false;
      const char* name_end = nullptr;
      const char* name = it.memberName(&name_end);
      WriteWithIndent(Quoted(name, name_end));
      document_ += " : ";
      WriteValue(*it);
    }
    Unindent();
    WriteWithIndent("}");
  }

  void WriteArray(const Json::Value& value) {
    const Json::ArrayIndex size = value.size();
    if (size == 0) {
      Push("[]");
      return;
    }
    if (IsMultilineArray(value)) {
      WriteWithIndent("[");
      Indent();
      // Filled only when every element is a scalar (or empty): then nothing below refills it.
      const std::vector<std::string> child_values = std::move(child_values_);
      child_values_.clear();
      for (Json::ArrayIndex index = 0; index < size; ++index) {
        if (!child_values.empty()) {
          WriteWithIndent(child_values[index]);
        } else {
          WriteIndent();
          WriteValue(value[index]);
        }
        if (index + 1 < size) document_ += ',';
      }
      Unindent();
      WriteWithIndent("]");
    } else {
      document_ += "[ ";
      for (Json::ArrayIndex index = 0; index < size; ++index) {
        if (index > 0) document_ += ", ";
        document_ += child_values_[index];
      }
      document_ += " ]";
    }
  }

  // An array goes on one line when it is short, holds no non-empty container and its one-line form
  // stays inside the right margin; the one-line forms of the elements are kept in child_values_.
  bool IsMultilineArray(const Json::Value& value) {
    const Json::ArrayIndex size = value.size();
    bool multiline = size * 3 >= kRightMargin;
    child_values_.clear();
    for (Json::ArrayIndex index = 0; index < size && !multiline; ++index) {
      const Json::Value& child = value[index];
      multiline = (child.isArray() || child.isObject()) && !child.empty();
    }
    if (!multiline) {
      child_values_.reserve(size);
      add_child_values_ = true;
      Json::ArrayIndex line_length = 4 + (size - 1) * 2;  // "[ " + ", " between + " ]"
      for (Json::ArrayIndex index = 0; index < size; ++index) {
        WriteValue(value[index]);
        line_length += static_cast<Json::ArrayIndex>(child_values_[index].length());
      }
      add_child_values_ = false;
      multiline = line_length >= kRightMargin;
    }
    return multiline;
  }

  void Push(std::string text) {
    if (add_child_values_) {
      child_values_.push_back(std::move(text));
    } else {
      document_ += text;
    }
  }

  void WriteIndent() {
    if (!document_.empty()) {
      const char last = document_.back();
      if (last == ' ') return;  // already indented (after "name" : )
      if (last != '\n') document_ += '\n';
    }
    document_ += indent_;
  }

  void WriteWithIndent(const std::string& text) {
    WriteIndent();
    document_ += text;
  }

  void Indent() { indent_.append(kIndentSize, ' '); }
  void Unindent() { indent_.resize(indent_.size() - kIndentSize); }

  // The escapes of JsonCpp; every byte from 0x20 up, UTF-8 sequences included, stays as it is.
  static std::string Quoted(const char* begin, const char* end) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string result;
    result.reserve(static_cast<size_t>(end - begin) + 2);
    result += '"';
    for (const char* c = begin; c != end; ++c) {
      switch (*c) {
        case '"': result += "\\\""; break;
        case '\\': result += "\\\\"; break;
        case '\b': result += "\\b"; break;
        case '\f': result += "\\f"; break;
        case '\n': result += "\\n"; break;
        case '\r': result += "\\r"; break;
        case '\t': result += "\\t"; break;
        default: {
          const auto byte = static_cast<unsigned char>(*c);
          if (byte < 0x20) {
            result += "\\u00";
            result += kHex[byte >> 4];
            result += kHex[byte & 0x0F];
          } else {
            result += *c;
          }
        }
      }
    }
    result += '"';
    return result;
  }

  std::string document_;
  std::string indent_;
  std::vector<std::string> child_values_;
  bool add_child_values_ = false;
};

}  // namespace

Json::Value ParseJson(const QByteArray& text) {
  Json::CharReaderBuilder builder;
  builder["collectComments"] = false;  // comments are allowed (the default) but not kept
  const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value root;
  std::string errors;
  try {
    if (!reader->parse(text.constData(), text.constData() + text.size(), &root, &errors)) return Json::Value();
  } catch (const std::exception&) {
    // JsonCpp throws for nesting beyond its stack limit; such a file is as broken as any other.
    return Json::Value();
  }
  return root;
}

bool ReadFileBytes(const QString& path, qint64 limit, QByteArray* bytes) {
  bytes->clear();
  QFile file(path);
  if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) return false;
  // Read in pieces rather than trusting the size: special files report 0 and may never end.
  constexpr qint64 kChunk = 64 * 1024;
  QByteArray data;
  for (;;) {
    const QByteArray chunk = file.read(kChunk);
    if (chunk.isEmpty()) break;
    data += chunk;
    if (data.size() > limit) {
      platform::DebugPrintf("JSON: %s is larger than %lld bytes; not read", qPrintable(path),
                            static_cast<long long>(limit));
      return false;
    }
  }
  if (file.error() != QFileDevice::NoError) return false;
  *bytes = std::move(data);
  return true;
}

Json::Value ReadJsonFile(const QString& path) {
  QByteArray text;
  if (!ReadFileBytes(path, kMaxJsonFileBytes, &text)) return Json::Value();
  return ParseJson(text);
}

std::string FormatJson(const Json::Value& document) {
  const std::string styled = StyledLayout().Write(document);
  // Strings never hold a raw line feed (it is escaped), so every one is a line end.
  std::string result;
  result.reserve(styled.size() + styled.size() / 8);
  for (const char c : styled) {
    if (c == '\n') result += '\r';
    result += c;
  }
  return result;
}

bool WriteFileBytes(const QString& path, const QByteArray& bytes) {
  if (path.isEmpty()) return false;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    platform::DebugPrintf("JSON: cannot write %s: %s", qPrintable(path), qPrintable(file.errorString()));
    return false;
  }
  // The write goes to QSaveFile's buffer; a short write on flushing it (disk full, file size limit)
  // shows only in flush(): commit() would rename the truncated file into place regardless.
  if (file.write(bytes) != bytes.size() || !file.flush()) {
    platform::DebugPrintf("JSON: writing %s failed: %s", qPrintable(path), qPrintable(file.errorString()));
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) {
    platform::DebugPrintf("JSON: saving %s failed: %s", qPrintable(path), qPrintable(file.errorString()));
    return false;
  }
  return true;
}

bool WriteJsonFile(const QString& path, const Json::Value& document) {
  const std::string text = FormatJson(document);
  return WriteFileBytes(path, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace zrv::config
