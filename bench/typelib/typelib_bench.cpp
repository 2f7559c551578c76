// Loading and walking everything of Wine's mshtml.tlb (393 types, about 23,600 functions)
// with the built-in reader.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "typelib/access.h"
#include "walk.h"

namespace {

const char* kMshtml = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/mshtml.tlb";

void BM_LoadMshtml(benchmark::State& state) {
  for (auto _ : state) {
    std::shared_ptr<quenlor::typelib::ITypeLibAccess> lib;
    if (quenlor::typelib::LoadTypeLibrary(kMshtml, quenlor::typelib::ReaderKind::Builtin, lib) != quenlor::typelib::kOk) {
      state.SkipWithError("mshtml.tlb does not load");
      return;
    }
    benchmark::DoNotOptimize(lib);
  }
}

void BM_LoadAndWalkMshtml(benchmark::State& state) {
  quenlor::typelib::testing::WalkCount count;
  for (auto _ : state) {
    std::shared_ptr<quenlor::typelib::ITypeLibAccess> lib;
    if (quenlor::typelib::LoadTypeLibrary(kMshtml, quenlor::typelib::ReaderKind::Builtin, lib) != quenlor::typelib::kOk) {
      state.SkipWithError("mshtml.tlb does not load");
      return;
    }
    count = quenlor::typelib::testing::WalkLibrary(*lib);
  }
  state.counters["types"] = static_cast<double>(count.types);
  state.counters["funcs"] = static_cast<double>(count.funcs);
}

BENCHMARK(BM_LoadMshtml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndWalkMshtml)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
