#pragma once
// One HTTP transfer: a curl easy handle driven through a multi handle of its own, so that the wait
// for the network can be cut short by a TransferStop and by our own stall time-outs (curl's easy
// interface can only be interrupted from its callbacks, at most once a second).
//
// The options every request of the update service shares are set here: http and https only,
// certificates and host names always verified, redirects followed but never from https to http,
// proxies from the environment as curl reads them (http_proxy, https_proxy, no_proxy).

#include "update/http_settings.h"
#include "update/transfer_stop.h"

#include <curl/curl.h>

#include <chrono>
#include <string>

namespace zrv::update {

class CurlTransfer {
 public:
  CurlTransfer(const HttpSettings& settings, TransferStop* stop);
  ~CurlTransfer();
  CurlTransfer(const CurlTransfer&) = delete;
  CurlTransfer& operator=(const CurlTransfer&) = delete;

  // False when curl could not give us its handles.
  bool valid() const { return easy_ != nullptr && multi_ != nullptr; }
  CURL* easy() const { return easy_; }

  // Sets the address and the shared options. False when the address is not http or https.
  bool Prepare(const std::string& url);

  // Runs the transfer to its end. CURLE_OPERATION_TIMEDOUT after a stall, CURLE_ABORTED_BY_CALLBACK
  // after a stop, else curl's own result.
  CURLcode Perform();

  // Whether any request reached the server (false: no connection, refused certificate, ...).
  bool RequestSent() const;
  long ResponseCode() const;
  std::string ErrorText(CURLcode code) const;

 private:
  static int OnProgress(void* self, curl_off_t dltotal, curl_off_t dlnow, curl_off_t ultotal, curl_off_t ulnow);
  bool Connected() const;

  HttpSettings settings_;
  TransferStop* stop_;
  CURL* easy_ = nullptr;
  CURLM* multi_ = nullptr;
  bool https_ = false;
  char error_[CURL_ERROR_SIZE] = {};
  // Written by OnProgress, read by Perform, both on the calling thread.
  curl_off_t seen_down_ = 0;
  curl_off_t seen_up_ = 0;
  bool moved_ = false;
  bool uploading_ = false;
};

}  // namespace zrv::update
