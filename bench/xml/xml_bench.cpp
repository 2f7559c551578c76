#include <benchmark/benchmark.h>

#include "xml_workload.h"

namespace quenlor::xml::bench {
namespace {

void BM_Build(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(BuildDocument());
}
BENCHMARK(BM_Build)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Query(benchmark::State& state) {
  static auto document = BuildDocument();
  for (auto _ : state) benchmark::DoNotOptimize(Query(document));
}
BENCHMARK(BM_Query)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_GetXml(benchmark::State& state) {
  static auto document = BuildDocument();
  for (auto _ : state) benchmark::DoNotOptimize(document->GetXml());
  state.SetBytesProcessed(static_cast<int64_t>(document->GetXml().size()));
}
BENCHMARK(BM_GetXml)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_FormatXml(benchmark::State& state) {
  static const std::string text = BuildDocument()->GetXml();
  for (auto _ : state) benchmark::DoNotOptimize(FormatXml(text));
}
BENCHMARK(BM_FormatXml)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace quenlor::xml::bench

BENCHMARK_MAIN();
