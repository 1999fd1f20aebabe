#pragma once
// A fixture with one HTTPS server for the tests of a suite, and a client that trusts its CA.

#include "update/http_client.h"
#include "update/local_https_server.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace zrv::update::testing {

class ServerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = std::make_unique<LocalHttpsServer>(ZRV31_SOURCE_DIR "/tests/update/https_server.py");
    start_error_ = server_->Start();
  }
  static void TearDownTestSuite() { server_.reset(); }
  void SetUp() override { ASSERT_EQ(start_error_, ""); }

  static const LocalHttpsServer& server() { return *server_; }
  static HttpSettings TrustingSettings() {
    HttpSettings settings;
    settings.extra_ca_file = server_->ca_file().string();
    return settings;
  }

  // A closed port on 127.0.0.1.
  static std::string ClosedAddress() { return "https://127.0.0.1:1"; }

 private:
  static inline std::unique_ptr<LocalHttpsServer> server_;
  static inline std::string start_error_;
};

}  // namespace zrv::update::testing
