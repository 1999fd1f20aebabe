#include "update/curl_transfer.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>

namespace zrv::update {
namespace {

using Clock = std::chrono::steady_clock;

void GlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool StartsWithNoCase(const std::string& text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

bool IsDirectory(const char* path) {
  struct stat info {};
  return path != nullptr && stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

HttpSettings DefaultHttpSettings() {
  HttpSettings settings;
  if (const char* ca = std::getenv("ZRV31_CA_FILE"); ca != nullptr) settings.extra_ca_file = ca;
  return settings;
}

CurlTransfer::CurlTransfer(const HttpSettings& settings, TransferStop* stop) : settings_(settings), stop_(stop) {
  GlobalInit();
  easy_ = curl_easy_init();
  multi_ = curl_multi_init();
}

CurlTransfer::~CurlTransfer() {
  if (multi_ != nullptr) curl_multi_cleanup(multi_);
  if (easy_ != nullptr) curl_easy_cleanup(easy_);
}

bool CurlTransfer::Prepare(const std::string& url) {
  https_ = StartsWithNoCase(url, "https://");
  if (!https_ && !StartsWithNoCase(url, "http://")) return false;
  curl_easy_setopt(easy_, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(easy_, CURLOPT_MAXREDIRS, static_cast<long>(settings_.max_redirects));
  // An answer that came over https may only send us on over https.
  curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, https_ ? "https" : "http,https");
  // Our own Content-Length header goes along on a redirect, so the method and body must too.
  curl_easy_setopt(easy_, CURLOPT_POSTREDIR, static_cast<long>(CURL_REDIR_POST_ALL));
  curl_easy_setopt(easy_, CURLOPT_USERAGENT, settings_.user_agent.c_str());
  curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(settings_.connect_timeout.count()));
  curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!settings_.extra_ca_file.empty()) {
    // CAINFO replaces the default bundle; the system's hashed folder keeps the system's CAs in.
    char* system_path = nullptr;
    curl_easy_getinfo(easy_, CURLINFO_CAPATH, &system_path);
    const char* path = IsDirectory(system_path) ? system_path : "/etc/ssl/certs";
    curl_easy_setopt(easy_, CURLOPT_CAINFO, settings_.extra_ca_file.c_str());
    if (IsDirectory(path)) curl_easy_setopt(easy_, CURLOPT_CAPATH, path);
  }
  curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy_, CURLOPT_ERRORBUFFER, error_);
  curl_easy_setopt(easy_, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(easy_, CURLOPT_XFERINFOFUNCTION, &CurlTransfer::OnProgress);
  curl_easy_setopt(easy_, CURLOPT_XFERINFODATA, this);
  return true;
}

int CurlTransfer::OnProgress(void* self, curl_off_t, curl_off_t dlnow, curl_off_t ultotal, curl_off_t ulnow) {
  auto* transfer = static_cast<CurlTransfer*>(self);
  if (dlnow != transfer->seen_down_ || ulnow != transfer->seen_up_) transfer->moved_ = true;
  transfer->seen_down_ = dlnow;
  transfer->seen_up_ = ulnow;
  transfer->uploading_ = ultotal > 0 && ulnow < ultotal;
  return 0;
}

bool CurlTransfer::Connected() const {
  curl_off_t time = 0;
  curl_easy_getinfo(easy_, https_ ? CURLINFO_APPCONNECT_TIME_T : CURLINFO_CONNECT_TIME_T, &time);
  return time > 0;
}

CURLcode CurlTransfer::Perform() {
  error_[0] = '\0';
  if (stop_ != nullptr) stop_->Attach(multi_);
  struct Detach {
    TransferStop* stop;
    CURLM* multi;
    ~Detach() {
      if (stop != nullptr) stop->Detach(multi);
    }
  } detach{stop_, multi_};
  if (stop_ != nullptr && stop_->Stopped()) return CURLE_ABORTED_BY_CALLBACK;
  if (curl_multi_add_handle(multi_, easy_) != CURLM_OK) return CURLE_FAILED_INIT;

  CURLcode result = CURLE_OK;
  bool connected = false;
  Clock::time_point last_activity = Clock::now();
  for (;;) {
    int running = 0;
    if (curl_multi_perform(multi_, &running) != CURLM_OK) {
      result = CURLE_FAILED_INIT;
      break;
    }
    if (running == 0) {
      int left = 0;
      result = CURLE_RECV_ERROR;
      while (CURLMsg* message = curl_multi_info_read(multi_, &left)) {
        if (message->msg == CURLMSG_DONE) result = message->data.result;
      }
      break;
    }
    if (stop_ != nullptr && stop_->Stopped()) {
      result = CURLE_ABORTED_BY_CALLBACK;
      break;
    }
    Clock::time_point now = Clock::now();
    // Until the connection stands, curl's connect time-out governs.
    if (!connected && Connected()) {
      connected = true;
      last_activity = now;
    }
    if (moved_) {
      moved_ = false;
      last_activity = now;
    }
    std::chrono::milliseconds wait{1000};
    if (connected) {
      auto limit = uploading_ ? settings_.send_timeout : settings_.receive_timeout;
      auto idle = std::chrono::duration_cast<std::chrono::milliseconds>(now - last_activity);
      if (idle >= limit) {
        result = CURLE_OPERATION_TIMEDOUT;
        snprintf(error_, sizeof error_, "no data for %lld ms", static_cast<long long>(idle.count()));
        break;
      }
      wait = std::min(wait, limit - idle);
    }
    // Returns early on network activity, on curl's own timers and on TransferStop::Stop().
    curl_multi_poll(multi_, nullptr, 0, static_cast<int>(std::max<long long>(wait.count(), 1)), nullptr);
  }
  curl_multi_remove_handle(multi_, easy_);
  return result;
}

bool CurlTransfer::RequestSent() const {
  long size = 0;
  curl_easy_getinfo(easy_, CURLINFO_REQUEST_SIZE, &size);
  return size > 0;
}

long CurlTransfer::ResponseCode() const {
  long code = 0;
  curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &code);
  return code;
}

std::string CurlTransfer::ErrorText(CURLcode code) const {
  std::string text = curl_easy_strerror(code);
  if (error_[0] != '\0') text += std::string(": ") + error_;
  return text;
}

}  // namespace zrv::update
