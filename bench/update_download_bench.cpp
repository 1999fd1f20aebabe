// A 50 MB download over HTTPS from a server on 127.0.0.1: the update service's client against the
// curl program fetching the same file into the same folder, side by side. The client must reach at
// least half of curl's throughput while reporting progress (at most 20 reports a second).

#include "../tests/update/local_https_server.h"
#include "update/http_client.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;
using zrv::update::testing::LocalHttpsServer;

constexpr std::int64_t kFileBytes = 50 << 20;

struct Setup {
  std::unique_ptr<LocalHttpsServer> server;
  std::string error;
  fs::path target;
};

Setup& Shared() {
  static Setup setup = [] {
    Setup s;
    s.server = std::make_unique<LocalHttpsServer>(ZRV31_SOURCE_DIR "/tests/update/https_server.py");
    s.error = s.server->Start();
    if (s.error.empty()) {
      std::string bytes(kFileBytes, '\0');
      for (std::int64_t i = 0; i < kFileBytes; ++i) bytes[i] = static_cast<char>(i * 131 + (i >> 12));
      s.server->SetFile("big.bin", bytes);
      s.target = s.server->dir() / "download.bin";
    }
    return s;
  }();
  return setup;
}

void BM_ClientDownload(benchmark::State& state) {
  Setup& setup = Shared();
  if (!setup.error.empty()) return state.SkipWithError(setup.error.c_str());
  zrv::update::HttpSettings settings;
  settings.extra_ca_file = setup.server->ca_file().string();
  zrv::update::HttpClient client(settings);
  std::int64_t reports = 0;
  auto progress = [&](std::int64_t, std::int64_t) { ++reports; };
  for (auto _ : state) {
    if (client.Download(setup.server->Url("/files/big.bin"), setup.target, progress) !=
        zrv::update::DownloadResult::kComplete) {
      return state.SkipWithError(client.LastErrorText().c_str());
    }
  }
  state.SetBytesProcessed(state.iterations() * kFileBytes);
  state.counters["reports_per_s"] = benchmark::Counter(static_cast<double>(reports), benchmark::Counter::kIsRate);
}

void BM_CurlProgram(benchmark::State& state) {
  Setup& setup = Shared();
  if (!setup.error.empty()) return state.SkipWithError(setup.error.c_str());
  const std::string command = "curl -sS --fail --cacert '" + setup.server->ca_file().string() + "' -o '" +
                              setup.target.string() + "' '" + setup.server->Url("/files/big.bin") + "'";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) return state.SkipWithError("curl failed");
  }
  state.SetBytesProcessed(state.iterations() * kFileBytes);
}

BENCHMARK(BM_ClientDownload)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_CurlProgram)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
