#pragma once
// A real HTTPS server on 127.0.0.1 for the update tests and the download benchmark: a CA and a
// server certificate for the address 127.0.0.1 are made with openssl in a fresh temporary folder,
// then https_server.py serves that folder (see the script for its routes). A second CA that signed
// nothing stands for "a CA we trust that is not the server's".

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

extern char** environ;

namespace zrv::update::testing {

class LocalHttpsServer {
 public:
  explicit LocalHttpsServer(std::filesystem::path script) : script_(std::move(script)) {}
  ~LocalHttpsServer() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    std::error_code error;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, error);
  }
  LocalHttpsServer(const LocalHttpsServer&) = delete;
  LocalHttpsServer& operator=(const LocalHttpsServer&) = delete;

  // Empty on success, else what failed.
  std::string Start() {
    // The test talks to 127.0.0.1 directly, whatever proxy the environment names.
    setenv("no_proxy", "127.0.0.1,localhost", 1);
    std::string pattern = (std::filesystem::temp_directory_path() / "zrv-https-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return "no temporary folder";
    dir_ = pattern;
    std::filesystem::create_directories(dir_ / "answers");
    std::filesystem::create_directories(dir_ / "files");
    std::ofstream(dir_ / "server.ext") << "subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\n"
                                          "extendedKeyUsage=serverAuth\n";
    const std::string d = "'" + dir_.string() + "/";
    const std::string key = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";
    for (const std::string& command : {
             "openssl req -x509" + key + " -keyout " + d + "ca.key' -out " + d +
                 "ca.pem' -days 2 -subj '/CN=ZRV test CA'",
             "openssl req -x509" + key + " -keyout " + d + "other.key' -out " + d +
                 "other.pem' -days 2 -subj '/CN=ZRV other CA'",
             "openssl req" + key + " -keyout " + d + "server.key' -out " + d + "server.csr' -subj '/CN=127.0.0.1'",
             "openssl x509 -req -in " + d + "server.csr' -CA " + d + "ca.pem' -CAkey " + d +
                 "ca.key' -CAcreateserial -out " + d + "server.pem' -days 2 -extfile " + d + "server.ext'",
         }) {
      if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) return "failed: " + command;
    }
    int out[2];
    if (pipe(out) != 0) return "no pipe";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string script = script_.string(), folder = dir_.string(), cert = (dir_ / "server.pem").string(),
                key_file = (dir_ / "server.key").string();
    // The system's Python (what scripts/deps.sh installs) starts faster than a version manager's shim.
    std::string python = access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
    char* argv[] = {python.data(), script.data(), folder.data(), cert.data(), key_file.data(), nullptr};
    int spawned = posix_spawnp(&pid_, python.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
      close(out[0]);
      pid_ = 0;
      return "python3 not started";
    }
    std::string line;
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
    close(out[0]);
    port_ = std::atoi(line.c_str());
    return port_ > 0 ? std::string() : "the server did not start";
  }

  std::string Url(std::string_view path) const {
    return "https://127.0.0.1:" + std::to_string(port_) + std::string(path);
  }
  const std::filesystem::path& dir() const { return dir_; }
  std::filesystem::path ca_file() const { return dir_ / "ca.pem"; }
  std::filesystem::path other_ca_file() const { return dir_ / "other.pem"; }
  int port() const { return port_; }

  // The answer the update route gives for an application key.
  void SetAnswer(const std::string& app_key, std::string_view body) const {
    std::ofstream(dir_ / "answers" / app_key, std::ios::binary) << body;
  }
  void SetFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir_ / "files" / name, std::ios::binary) << bytes;
  }
  std::string LastRequest() const {
    std::ifstream file(dir_ / "last_request", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }

 private:
  std::filesystem::path script_;
  std::filesystem::path dir_;
  pid_t pid_ = 0;
  int port_ = 0;
};

}  // namespace zrv::update::testing
