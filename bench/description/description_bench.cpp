// Wine's mshtml.tlb (about 1,700 types) described end to end, and the same path cut after
// each stage, so the stage that dominates shows. QUENLOR_BENCH_TLB names another file.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "description/type_lib_scan.h"

namespace {

using namespace quenlor;

std::string LibraryPath() {
  const char* path = std::getenv("QUENLOR_BENCH_TLB");
  return path ? path : "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/mshtml.tlb";
}

void BM_Load(benchmark::State& state) {
  const std::string path = LibraryPath();
  for (auto _ : state) {
    std::shared_ptr<typelib::ITypeLibAccess> lib;
    if (typelib::LoadTypeLibrary(path, typelib::ReaderKind::Builtin, lib) != typelib::kOk) {
      state.SkipWithError("the library does not load");
      return;
    }
    benchmark::DoNotOptimize(lib);
  }
}

void BM_LoadScan(benchmark::State& state) {
  const std::string path = LibraryPath();
  for (auto _ : state) {
    xml::DocumentPtr document = description::LoadTypeLibDescription(path, typelib::ReaderKind::Builtin);
    if (!document) {
      state.SkipWithError("the library does not load");
      return;
    }
    benchmark::DoNotOptimize(document);
  }
}

void BM_LoadScanGetXml(benchmark::State& state) {
  const std::string path = LibraryPath();
  for (auto _ : state) {
    xml::DocumentPtr document = description::LoadTypeLibDescription(path, typelib::ReaderKind::Builtin);
    if (!document) {
      state.SkipWithError("the library does not load");
      return;
    }
    std::string text = document->GetXml();
    benchmark::DoNotOptimize(text);
  }
}

void BM_Describe(benchmark::State& state) {
  const std::string path = LibraryPath();
  std::size_t bytes = 0;
  for (auto _ : state) {
    xml::DocumentPtr document = description::LoadTypeLibDescription(path, typelib::ReaderKind::Builtin);
    if (!document) {
      state.SkipWithError("the library does not load");
      return;
    }
    std::string text = xml::FormatXml(document->GetXml());
    bytes = text.size();
    benchmark::DoNotOptimize(text);
  }
  state.counters["xml_bytes"] = static_cast<double>(bytes);
}

BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadScanGetXml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Describe)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
