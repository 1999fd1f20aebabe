#pragma once
// The HTTP client of the update service: a request that returns the whole answer in the caller's
// buffer and a download that streams a file to disk. Both block the calling thread (an update
// thread, never the UI thread) for at most the time-outs of their settings, or until the client's
// TransferStop is signalled.
//
// Each thread keeps its own client; a client is not shared between threads.

#include "update/http_settings.h"
#include "update/transfer_stop.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace zrv::update {

// The answer text of a request that reached no server.
inline constexpr std::string_view kNoLinkServer = "NO_LINK_SERVER";

// Download progress: total is the size the answer announced, 0 when it announced none. Called on
// the downloading thread at most 20 times a second; the call for the completed file always comes.
using ProgressCallback = std::function<void(std::int64_t total, std::int64_t received)>;

enum class DownloadResult { kComplete, kFailed, kStopped };

class HttpClient {
 public:
  explicit HttpClient(HttpSettings settings = DefaultHttpSettings(), TransferStop* stop = nullptr);

  // Back to the default settings; the last error becomes 0.
  void ResetSettings();
  HttpSettings& settings() { return settings_; }

  // The curl result of the last failed step (CURLE_...), 0 when the last operation succeeded.
  int LastError() const { return last_error_; }
  const std::string& LastErrorText() const { return last_error_text_; }

  // Sends a GET or POST (method compared without regard to case) with a form-encoded body and
  // writes the answer body, whatever the HTTP status, into `response`. Returns the number of bytes
  // written; -1 for an empty address, another method or an address that is not http(s). When
  // nothing could be sent (no connection, certificate refused, ...) the buffer begins with
  // "NO_LINK_SERVER" and two zero bytes (as far as it holds them) and the result is 0. An answer that
  // failed afterwards (stall, cut off, larger than the buffer) also gives 0, with a zero first byte.
  int Request(std::string_view method, std::string_view url, std::span<const char> body, std::span<char> response);

  // Downloads `url` into `target`. The data goes to a temporary file in the target's folder that
  // replaces `target` only when the download is complete (all of the announced size, when one was
  // announced); otherwise nothing is left behind and an existing `target` stays as it was. HTTP
  // errors (4xx, 5xx) fail.
  DownloadResult Download(std::string_view url, const std::filesystem::path& target, const ProgressCallback& progress);

 private:
  void Fail(int code, std::string text);

  HttpSettings settings_;
  TransferStop* stop_;
  int last_error_ = 0;
  std::string last_error_text_;
};

}  // namespace zrv::update
