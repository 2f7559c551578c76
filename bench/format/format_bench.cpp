// FormatXml of the description of Wine's mshtml.tlb (3 MB of XML on one line), the text the
// "XML" tab shows for the largest library at hand, against the same layout made through the
// DOM. QUENLOR_BENCH_TLB names another library.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "description/type_lib_scan.h"
#include "xml/xml_format.h"
#include "xml/xml_objects.h"

namespace {

using namespace quenlor;

const std::string& DescriptionXml() {
  static const std::string text = [] {
    const char* path = std::getenv("QUENLOR_BENCH_TLB");
    const xml::DocumentPtr document = description::LoadTypeLibDescription(
        path ? path : "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/mshtml.tlb", typelib::ReaderKind::Builtin);
    return document ? document->GetXml() : std::string();
  }();
  return text;
}

template <std::string (*Format)(std::string_view)>
void Run(benchmark::State& state) {
  const std::string& text = DescriptionXml();
  if (text.empty()) {
    state.SkipWithError("the library does not load");
    return;
  }
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string formatted = Format(text);
    bytes = formatted.size();
    benchmark::DoNotOptimize(formatted);
  }
  state.counters["xml_bytes"] = static_cast<double>(text.size());
  state.counters["formatted_bytes"] = static_cast<double>(bytes);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

void BM_FormatXml(benchmark::State& state) { Run<xml::FormatXml>(state); }
void BM_FormatXmlThroughDom(benchmark::State& state) { Run<xml::FormatXmlThroughDom>(state); }

BENCHMARK(BM_FormatXml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormatXmlThroughDom)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
