#include "update/http_client.h"

#include "update/server_test.h"

#include <curl/curl.h>

#include <cstring>
#include <string>
#include <vector>

namespace zrv::update::testing {
namespace {

using HttpClientTest = ServerTest;

std::string Text(const std::vector<char>& buffer, int size) { return std::string(buffer.data(), size > 0 ? size : 0); }

TEST_F(HttpClientTest, PostSendsThreeHeaderLinesAndAnyAnswerBodyComesBack) {
  server().SetAnswer("K1", R"({"ok":1})");
  HttpClient client(TrustingSettings());
  std::vector<char> buffer(1024);
  const char body[] = "app_key=K1&version=1";  // with its zero byte
  int size = client.Request("post", server().Url("/api/updates"), std::span(body, sizeof body), buffer);
  EXPECT_EQ(Text(buffer, size), R"({"ok":1})");
  std::string request = server().LastRequest();
  EXPECT_NE(request.find("Content-Length: 21\n"), std::string::npos) << request;
  EXPECT_NE(request.find("\nContent-Type: application/x-www-form-urlencoded\n"), std::string::npos) << request;
  EXPECT_NE(request.find("\nAccept: application/prs.Orvex.v1+json\n"), std::string::npos) << request;
  EXPECT_EQ(request.substr(request.size() - sizeof body), std::string(body, sizeof body));

  // The HTTP status is not looked at: a 404 body is an answer like any other.
  size = client.Request("GET", server().Url("/nothing"), {}, buffer);
  EXPECT_EQ(Text(buffer, size), "<html>not found</html>");
  EXPECT_EQ(client.LastError(), 0);

  EXPECT_EQ(client.Request("PUT", server().Url("/nothing"), {}, buffer), -1);
  EXPECT_EQ(client.Request("GET", "", {}, buffer), -1);
  EXPECT_EQ(client.Request("GET", "ftp://127.0.0.1/", {}, buffer), -1);
}

TEST_F(HttpClientTest, AnswerLargerThanTheBufferFailsWithoutWritingBeyondIt) {
  server().SetAnswer("big", std::string(5000, 'a'));
  HttpClient client(TrustingSettings());
  std::vector<char> buffer(4096 + 16, 'G');
  const char body[] = "app_key=big";
  int size = client.Request("POST", server().Url("/api/updates"), body, std::span(buffer.data(), 4096));
  EXPECT_EQ(size, 0);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(client.LastError(), CURLE_FILESIZE_EXCEEDED);
  EXPECT_EQ(std::string(buffer.end() - 16, buffer.end()), std::string(16, 'G'));
}

TEST_F(HttpClientTest, NoLinkServerWhenNoRequestGotThrough) {
  std::vector<char> buffer(64, 'G');
  auto no_link = [&] { return std::memcmp(buffer.data(), "NO_LINK_SERVER\0\0", 16) == 0; };

  // A certificate from a CA we do not trust.
  HttpSettings other = TrustingSettings();
  other.extra_ca_file = server().other_ca_file().string();
  HttpClient untrusting(other);
  EXPECT_EQ(untrusting.Request("GET", server().Url("/nothing"), {}, buffer), 0);
  EXPECT_TRUE(no_link());
  EXPECT_NE(untrusting.LastError(), 0);

  // A certificate for another host name (it names 127.0.0.1 only).
  HttpClient client(TrustingSettings());
  std::fill(buffer.begin(), buffer.end(), 'G');
  EXPECT_EQ(client.Request("GET", "https://localhost:" + std::to_string(server().port()) + "/nothing", {}, buffer), 0);
  EXPECT_TRUE(no_link());

  std::fill(buffer.begin(), buffer.end(), 'G');
  EXPECT_EQ(client.Request("GET", ClosedAddress() + "/nothing", {}, buffer), 0);
  EXPECT_TRUE(no_link());

  // A buffer too small for the text gets what fits.
  char small[4] = {'G', 'G', 'G', 'G'};
  EXPECT_EQ(client.Request("GET", ClosedAddress(), {}, small), 0);
  EXPECT_EQ(std::string(small, 4), "NO_L");
}

TEST_F(HttpClientTest, StalledAnswerTimesOutAndHttpsNeverRedirectsToHttp) {
  HttpSettings settings = TrustingSettings();
  settings.receive_timeout = std::chrono::milliseconds(300);
  HttpClient client(settings);
  std::vector<char> buffer(64, 'G');
  EXPECT_EQ(client.Request("GET", server().Url("/stall"), {}, buffer), 0);
  EXPECT_EQ(client.LastError(), CURLE_OPERATION_TIMEDOUT);
  EXPECT_EQ(buffer[0], '\0');  // the request was sent: an empty answer, not "no server"

  std::string to_http = "http://127.0.0.1:" + std::to_string(server().port()) + "/nothing";
  EXPECT_EQ(client.Request("GET", server().Url("/redirect?to=" + to_http), {}, buffer), 0);
  EXPECT_EQ(client.LastError(), CURLE_UNSUPPORTED_PROTOCOL);
  EXPECT_EQ(buffer[0], '\0');

  int size = client.Request("GET", server().Url("/redirect?to=/nothing"), {}, buffer);
  EXPECT_EQ(Text(buffer, size), "<html>not found</html>");
}

}  // namespace
}  // namespace zrv::update::testing
