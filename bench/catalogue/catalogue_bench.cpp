// The catalogue's costs on a generated prefix of 10,000 libraries: reading the hive files,
// walking them into the document, and the whole build with the save.
// The prefix comes from make_prefix.sh; QUENLOR_BENCH_PREFIX names an existing one.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/catalogue/catalogue.h"
#include "app/catalogue/catalogue_sort.h"
#include "platform/large_memory.h"
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

// The hive file's bytes as the reader gets them (mapped on Linux), against copying them into
// fresh memory as it did before: the copy's first touch of every page was the larger cost.
void BM_ReadHiveBytes(benchmark::State& state) {
  const std::filesystem::path system = Prefix() + "/system.reg";
  const auto size = static_cast<std::size_t>(std::filesystem::file_size(system));
  for (auto _ : state) {
    auto bytes = quenlor::platform::ReadFileBytes(system, size);
    benchmark::DoNotOptimize(bytes->View().back());
  }
}
BENCHMARK(BM_ReadHiveBytes)->Unit(benchmark::kMillisecond);

void BM_CopyHiveBytes(benchmark::State& state) {
  const std::filesystem::path system = Prefix() + "/system.reg";
  const auto size = static_cast<std::size_t>(std::filesystem::file_size(system));
  for (auto _ : state) {
    auto bytes = quenlor::platform::ReadFileBytes(system, size);
    auto copy = quenlor::platform::AllocateLargeMemory(size);
    std::memcpy(copy.get(), bytes->View().data(), size);
    benchmark::DoNotOptimize(copy.get()[size - 1]);
  }
}
BENCHMARK(BM_CopyHiveBytes)->Unit(benchmark::kMillisecond);

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

// The list's 40,000 lines of a 10,000-library catalogue in registry order, sorted by name.
void BM_SortItems(benchmark::State& state) {
  std::vector<std::string> items;
  for (int i = 0; i < 40000; ++i) {
    const int library = (i / 4 * 7919) % 10000;
    items.push_back("Generated Library " + std::to_string(library) + " " + std::to_string(i % 4) +
                    ".0 Type Library|{" + std::to_string(100000000 + library) + "-0000-0000-0000-000000000000}|" +
                    "C:\\windows\\system32\\gen" + std::to_string(library) + ".tlb");
  }
  for (auto _ : state) {
    std::vector<std::string> copy = items;
    quenlor::catalogue::SortItems(copy, quenlor::catalogue::kSortByName);
    benchmark::DoNotOptimize(copy.data());
  }
}
BENCHMARK(BM_SortItems)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
