// The catalogue's costs on a generated prefix of 10,000 libraries: reading the hive files,
// walking them into the document, and the whole build with the save.
// The prefix comes from make_prefix.sh; QUENLOR_BENCH_PREFIX names an existing one.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/catalogue/catalogue.h"
#include "platform/registry_files.h"
#include "platform/registry_tree.h"

namespace {

const std::string& Prefix() {
  static const std::string prefix = [] {
    if (const char* given = std::getenv("QUENLOR_BENCH_PREFIX")) return std::string(given);
    const std::string made = (std::filesystem::temp_directory_path() / "quenlor-bench-prefix").string();
    if (!std::filesystem::exists(made + "/system.reg")) {
      const std::string command = std::string(QUENLOR_SOURCE_DIR) + "/bench/catalogue/make_prefix.sh '" + made + "' 10000";
      if (std::system(command.c_str()) != 0) std::abort();
    }
    return made;
  }();
  return prefix;
}

void BM_LoadHives(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(quenlor::platform::LoadRegistryFiles(Prefix()));
}
BENCHMARK(BM_LoadHives)->Unit(benchmark::kMillisecond);

void BM_WalkCatalogue(benchmark::State& state) {
  const auto hives = quenlor::platform::LoadRegistryFiles(Prefix());
  for (auto _ : state) {
    auto reader = quenlor::platform::MakeClassesRootReader(hives);
    benchmark::DoNotOptimize(quenlor::catalogue::WalkCatalogue(*reader));
  }
}
BENCHMARK(BM_WalkCatalogue)->Unit(benchmark::kMillisecond);

void BM_BuildCatalogue(benchmark::State& state) {
  setenv("XDG_DATA_HOME", (std::filesystem::temp_directory_path() / "quenlor-bench-data").c_str(), 1);
  for (auto _ : state) benchmark::DoNotOptimize(quenlor::catalogue::BuildCatalogue({Prefix()}));
}
BENCHMARK(BM_BuildCatalogue)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
