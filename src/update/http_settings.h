#pragma once
// Settings of one HTTP operation. Every client carries its own copy, so threads that issue requests
// at the same time never reset each other's time-outs.

#include <chrono>
#include <cstdint>
#include <string>

namespace zrv::update {

struct HttpSettings {
  std::string user_agent = "WinHTTP Client/1.0";
  // Name resolution has no limit of its own; it counts toward the connect time-out.
  std::chrono::milliseconds connect_timeout{60000};
  // A transfer fails when no byte moves for this long: while the request is still being sent,
  // and while the answer is awaited or received.
  std::chrono::milliseconds send_timeout{30000};
  std::chrono::milliseconds receive_timeout{30000};
  // A download larger than this fails, whether its size was announced or not.
  std::int64_t max_download_bytes = std::int64_t{4} << 30;
  int max_redirects = 5;
  // A CA certificate (PEM) trusted in addition to the system's store: $ZRV31_CA_FILE by default.
  std::string extra_ca_file;
};

// The defaults above with extra_ca_file taken from the environment.
HttpSettings DefaultHttpSettings();

}  // namespace zrv::update
