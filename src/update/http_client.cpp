#include "update/http_client.h"

#include "platform/debug_output.h"
#include "update/curl_transfer.h"
#include "update/partial_file.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>

namespace zrv::update {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kProgressInterval = std::chrono::milliseconds(50);  // at most 20 reports a second

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return (x >= 'a' && x <= 'z' ? x - 'a' + 'A' : x) == (y >= 'a' && y <= 'z' ? y - 'a' + 'A' : y);
         });
}

struct HeaderList {
  curl_slist* list = nullptr;
  ~HeaderList() { curl_slist_free_all(list); }
  void Add(const std::string& line) { list = curl_slist_append(list, line.c_str()); }
};

// The answer of a request, kept inside the caller's buffer.
struct ResponseSink {
  std::span<char> buffer;
  size_t size = 0;
  bool overflow = false;

  static size_t Write(char* data, size_t, size_t count, void* self) {
    auto* sink = static_cast<ResponseSink*>(self);
    if (count > sink->buffer.size() - sink->size) {
      sink->overflow = true;
      return CURL_WRITEFUNC_ERROR;
    }
    if (count > 0) std::memcpy(sink->buffer.data() + sink->size, data, count);
    sink->size += count;
    return count;
  }
};

struct DownloadSink {
  CurlTransfer* transfer;
  PartialFile* file;
  const ProgressCallback* progress;
  std::int64_t limit;
  std::int64_t total = 0;
  std::int64_t received = 0;
  bool started = false;
  int failure = 0;  // CURLE_... of a failure found here
  Clock::time_point last_report{};

  static size_t Write(char* data, size_t, size_t count, void* self) {
    auto* sink = static_cast<DownloadSink*>(self);
    if (!sink->started) {
      sink->started = true;
      curl_off_t length = -1;
      curl_easy_getinfo(sink->transfer->easy(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
      sink->total = length > 0 ? length : 0;
    }
    std::int64_t ceiling = sink->total > 0 ? std::min(sink->total, sink->limit) : sink->limit;
    if (static_cast<std::int64_t>(count) > ceiling - sink->received) {
      sink->failure = CURLE_FILESIZE_EXCEEDED;
      return CURL_WRITEFUNC_ERROR;
    }
    if (!sink->file->Write(data, count)) {
      sink->failure = CURLE_WRITE_ERROR;
      return CURL_WRITEFUNC_ERROR;
    }
    sink->received += static_cast<std::int64_t>(count);
    Clock::time_point now = Clock::now();
    if (*sink->progress &&
        (sink->received == static_cast<std::int64_t>(count) || now - sink->last_report >= kProgressInterval)) {
      sink->last_report = now;
      (*sink->progress)(sink->total, sink->received);
    }
    return count;
  }
};

}  // namespace

HttpClient::HttpClient(HttpSettings settings, TransferStop* stop) : settings_(std::move(settings)), stop_(stop) {}

void HttpClient::ResetSettings() {
  settings_ = DefaultHttpSettings();
  last_error_ = 0;
  last_error_text_.clear();
}

void HttpClient::Fail(int code, std::string text) {
  last_error_ = code;
  last_error_text_ = std::move(text);
  platform::DebugPrintf("HTTP: %s", last_error_text_.c_str());
}

int HttpClient::Request(std::string_view method, std::string_view url, std::span<const char> body,
                        std::span<char> response) {
  last_error_ = 0;
  last_error_text_.clear();
  if (url.empty()) {
    Fail(CURLE_URL_MALFORMAT, "empty address");
    return -1;
  }
  bool post = EqualsNoCase(method, "POST");
  if (!post && !EqualsNoCase(method, "GET")) {
    Fail(CURLE_BAD_FUNCTION_ARGUMENT, "method " + std::string(method));
    return -1;
  }
  CurlTransfer transfer(settings_, stop_);
  if (!transfer.valid()) {
    Fail(CURLE_FAILED_INIT, "no curl handle");
    return -1;
  }
  if (!transfer.Prepare(std::string(url))) {
    Fail(CURLE_UNSUPPORTED_PROTOCOL, "not an http(s) address: " + std::string(url));
    return -1;
  }
  CURL* easy = transfer.easy();
  HeaderList headers;
  headers.Add("Content-Length: " + std::to_string(post ? body.size() : 0));
  headers.Add("Content-Type: application/x-www-form-urlencoded");
  headers.Add("Accept: application/prs.Orvex.v1+json");
  headers.Add("Expect:");  // no 100-continue round trip
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.list);
  if (post) {
    curl_easy_setopt(easy, CURLOPT_POST, 1L);
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS, body.empty() ? "" : body.data());
  } else {
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
  }
  ResponseSink sink{response};
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &ResponseSink::Write);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &sink);

  CURLcode result = transfer.Perform();
  if (result == CURLE_OK) return static_cast<int>(sink.size);

  Fail(sink.overflow ? CURLE_FILESIZE_EXCEEDED : result,
       sink.overflow ? "answer larger than " + std::to_string(response.size()) + " bytes" : transfer.ErrorText(result));
  if (!response.empty() && !transfer.RequestSent()) {
    // The text and two zero bytes, cut to the buffer.
    char text[kNoLinkServer.size() + 2] = {};
    std::memcpy(text, kNoLinkServer.data(), kNoLinkServer.size());
    std::memcpy(response.data(), text, std::min(response.size(), sizeof text));
  } else if (!response.empty()) {
    response[0] = '\0';
  }
  return 0;
}

DownloadResult HttpClient::Download(std::string_view url, const std::filesystem::path& target,
                                    const ProgressCallback& progress) {
  last_error_ = 0;
  last_error_text_.clear();
  CurlTransfer transfer(settings_, stop_);
  if (!transfer.valid() || url.empty() || !transfer.Prepare(std::string(url))) {
    Fail(CURLE_URL_MALFORMAT, "cannot download " + std::string(url));
    return DownloadResult::kFailed;
  }
  PartialFile file(target);
  if (!file.ok()) {
    Fail(CURLE_WRITE_ERROR, "cannot write in " + target.parent_path().string() + ": " + std::strerror(file.error()));
    return DownloadResult::kFailed;
  }
  CURL* easy = transfer.easy();
  curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(easy, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, 256L * 1024);
  // Refuses an announced size beyond the limit before any byte is written.
  curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(settings_.max_download_bytes));
  DownloadSink sink{&transfer, &file, &progress, settings_.max_download_bytes};
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &DownloadSink::Write);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &sink);

  CURLcode result = transfer.Perform();
  long code = transfer.ResponseCode();
  if (result == CURLE_OK && (code < 200 || code > 299)) result = CURLE_HTTP_RETURNED_ERROR;
  if (result == CURLE_OK && sink.total > 0 && sink.received != sink.total) result = CURLE_PARTIAL_FILE;
  if (result != CURLE_OK) {
    Fail(sink.failure != 0 ? sink.failure : result,
         (sink.failure != 0 ? std::string(curl_easy_strerror(static_cast<CURLcode>(sink.failure)))
                            : transfer.ErrorText(result)) +
             " (" + std::to_string(sink.received) + " of " + std::to_string(sink.total) + " bytes of " +
             std::string(url) + ")");
    return result == CURLE_ABORTED_BY_CALLBACK ? DownloadResult::kStopped : DownloadResult::kFailed;
  }
  if (!file.Commit()) {
    Fail(CURLE_WRITE_ERROR, "cannot place " + target.string() + ": " + std::strerror(file.error()));
    return DownloadResult::kFailed;
  }
  if (progress) progress(sink.total, sink.received);
  return DownloadResult::kComplete;
}

}  // namespace zrv::update
