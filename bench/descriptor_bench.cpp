// Parsing the real report descriptors of the test data, and decoding an input report with every
// input capability of each: the work an interface open and a notification read do.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "device/hid_descriptor.h"

namespace {

using namespace zrv::device;

// The "name" and "descriptor_hex" members of every interface in the data file, in file order.
// Both are plain strings; a scan for the keys is enough for this file.
std::vector<std::pair<std::string, std::vector<uint8_t>>> LoadDescriptors() {
  const auto path = std::filesystem::path(__FILE__).parent_path().parent_path() / "tests/data/hid/windows-caps.json";
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  const std::string json = text.str();
  auto string_after = [&json](const std::string& key, size_t& pos) {
    pos = json.find("\"" + key + "\"", pos);
    if (pos == std::string::npos) return std::string();
    const size_t open = json.find('"', json.find(':', pos) + 1);
    const size_t close = json.find('"', open + 1);
    pos = close;
    return json.substr(open + 1, close - open - 1);
  };
  std::vector<std::pair<std::string, std::vector<uint8_t>>> descriptors;
  size_t pos = 0;
  while (true) {
    std::string name = string_after("name", pos);
    if (pos == std::string::npos) break;
    const std::string hex = string_after("descriptor_hex", pos);
    if (pos == std::string::npos) break;
    std::vector<uint8_t> bytes;
    std::string error;
    if (!ParseHexBytes(hex, bytes, error)) continue;
    descriptors.emplace_back(std::move(name), std::move(bytes));
  }
  if (descriptors.empty()) std::fprintf(stderr, "descriptor_bench: no descriptors in %s\n", path.c_str());
  return descriptors;
}

void BM_ParseDescriptor(benchmark::State& state, const std::vector<uint8_t>& bytes) {
  HidReportDescriptor descriptor;
  std::string error;
  for (auto _ : state) {
    const bool ok = ParseReportDescriptor(bytes, descriptor, error);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(descriptor.collections.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

// Decodes one input report per capability, with bytes that set several buttons and values.
void BM_DecodeInputReport(benchmark::State& state, const std::vector<uint8_t>& bytes) {
  HidReportDescriptor descriptor;
  std::string error;
  if (!ParseReportDescriptor(bytes, descriptor, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  std::vector<std::pair<const HidCapability*, std::vector<uint8_t>>> work;
  for (const HidCollectionInfo& info : descriptor.collections) {
    for (const auto* caps : {&info.button_caps[0], &info.value_caps[0]}) {
      for (const HidCapability& cap : *caps) {
        std::vector<uint8_t> report(info.ReportLength(HidReportType::kInput, cap.report_id), 0x25);
        report[0] = cap.report_id;
        work.emplace_back(&cap, std::move(report));
      }
    }
  }
  std::vector<uint16_t> usages;
  usages.reserve(64);
  for (auto _ : state) {
    for (const auto& [cap, report] : work) {
      if (cap->is_button) {
        usages.clear();
        benchmark::DoNotOptimize(GetButtonUsages(*cap, report, usages));
      } else {
        int32_t scaled = 0;
        benchmark::DoNotOptimize(GetScaledUsageValue(*cap, cap->usage_min, report, scaled));
        benchmark::DoNotOptimize(scaled);
      }
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(work.size()));
}

[[maybe_unused]] const auto kRegistered = [] {
  static const auto descriptors = LoadDescriptors();
  for (const auto& [name, bytes] : descriptors) {
    benchmark::RegisterBenchmark(("BM_ParseDescriptor/" + name).c_str(), BM_ParseDescriptor, bytes);
  }
  for (const auto& [name, bytes] : descriptors) {
    benchmark::RegisterBenchmark(("BM_DecodeInputReport/" + name).c_str(), BM_DecodeInputReport, bytes);
  }
  return descriptors.size();
}();

}  // namespace

BENCHMARK_MAIN();
