#include "update/update_check.h"

#include "config/json_file.h"
#include "config/json_value.h"
#include "platform/debug_output.h"
#include "platform/qt/settings_store.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace zrv::update {
namespace {

bool IsHttpAddress(std::string_view text) { return text.starts_with("https://") || text.starts_with("http://"); }

// Form encoding of a value; the identifiers of our table pass unchanged.
std::string FormEncode(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (unsigned char c : text) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
        c == '.' || c == '~') {
      encoded += static_cast<char>(c);
    } else {
      encoded += '%';
      encoded += kHex[c >> 4];
      encoded += kHex[c & 15];
    }
  }
  return encoded;
}

std::string Format(const char* format, int value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// A string member, or "" when missing; false when it has another type.
bool TextMember(const Json::Value& root, const char* name, std::string* text) {
  const Json::Value& value = root[name];
  if (value.isNull()) return true;
  if (!value.isString()) return false;
  *text = value.asString();
  return true;
}

UpdateInfo NotAnAnswer(std::string_view why) {
  platform::DebugPrintf("update answer refused: %.*s", static_cast<int>(why.size()), why.data());
  return UpdateInfo{};
}

}  // namespace

std::string UpdateServerAddress(const platform::SettingsStore& store) {
  std::string base;
  if (const char* env = std::getenv("ZRV31_UPDATE_URL"); env != nullptr && *env != '\0') {
    base = env;
  } else if (auto setting = store.ReadText(QStringLiteral("UpdateServer"))) {
    base = setting->trimmed().toStdString();
  }
  while (!base.empty() && base.back() == '/') base.pop_back();
  return IsHttpAddress(base) ? base : std::string();
}

std::string UpdateRequestBody(std::string_view app_key, int current_version, bool hexadecimal) {
  std::string body =
      "app_key=" + FormEncode(app_key) + Format(hexadecimal ? "&version=%x" : "&version=%d", current_version);
  body += '\0';  // the service has always received the terminating zero
  return body;
}

UpdateInfo ParseUpdateAnswer(std::string_view answer, int current_version, bool hexadecimal) {
  const Json::Value root = config::ParseJson(QByteArray(answer.data(), static_cast<qsizetype>(answer.size())));
  if (!root.isObject()) return NotAnAnswer("not a JSON object");
  UpdateInfo info;
  std::string version;
  if (!TextMember(root, "path", &info.path) || !TextMember(root, "name", &info.name) ||
      !TextMember(root, "version_name", &info.version_name)) {
    return NotAnAnswer("a text member is no text");
  }
  const Json::Value& version_value = root["version"];
  if (version_value.isString() || version_value.isIntegral()) {
    version = version_value.asString();
  } else {
    return NotAnAnswer("no version");
  }
  const Json::Value& device_id = root["device_id"];
  if (!device_id.isNull() && !(device_id.isIntegral() && device_id.isInt()))
    return NotAnAnswer("device_id is no number");
  info.device_id = device_id.isNull() ? 0 : device_id.asInt();

  std::uint32_t number = 0;
  auto [end, error] = std::from_chars(version.data(), version.data() + version.size(), number, hexadecimal ? 16 : 10);
  if (version.empty() || error != std::errc() || end != version.data() + version.size()) {
    return NotAnAnswer("version \"" + version + "\" is no number");
  }
  info.new_version_text = hexadecimal ? "V" + version : info.version_name;
  info.current_version_text = Format(hexadecimal ? "V%04x" : "V%d", current_version);
  info.status = static_cast<std::int32_t>(number) > current_version ? kStatusNewer : kStatusUpToDate;
  return info;
}

UpdateInfo CheckForUpdate(HttpClient& client, std::string_view base, std::string_view app_key, int current_version,
                          bool hexadecimal) {
  UpdateInfo info;
  if (base.empty()) {
    info.name = kNoLinkServer;
    return info;
  }
  std::string body = UpdateRequestBody(app_key, current_version, hexadecimal);
  std::vector<char> answer(kUpdateAnswerBytes);
  int size = client.Request("POST", std::string(base) + "/api/updates", body, answer);
  if (size <= 0) {
    info.name.assign(answer.data(), strnlen(answer.data(), answer.size()));
    return info;
  }
  return ParseUpdateAnswer(std::string_view(answer.data(), static_cast<size_t>(size)), current_version, hexadecimal);
}

}  // namespace zrv::update
