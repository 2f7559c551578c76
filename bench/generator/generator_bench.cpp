// Generating the import unit of Wine's mshtml.tlb (about 1,700 types) from its description,
// and end to end from the file; and a synthetic description of N interfaces, N records and
// N aliases, to show how generation time grows with the size of a library.
// QUENLOR_BENCH_TLB names another file.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "generator/import_unit.h"
#include "description/type_lib_scan.h"

namespace {

using namespace quenlor;

std::string LibraryPath() {
  const char* path = std::getenv("QUENLOR_BENCH_TLB");
  return path ? path : "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/mshtml.tlb";
}

// Generation writes into the description, so every round starts from a fresh copy.
xml::DocumentPtr CopyOf(const std::string& text) {
  xml::DocumentPtr document = xml::CreateDocument();
  document->SetXml(text);
  return document;
}

void GenerateFrom(benchmark::State& state, const std::string& text) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    xml::DocumentPtr description = CopyOf(text);
    state.ResumeTiming();
    const std::string unit = generator::BuildImportUnit(description);
    bytes = unit.size();
    benchmark::DoNotOptimize(unit.data());
  }
  state.counters["unit_bytes"] = static_cast<double>(bytes);
}

void BM_GenerateMshtml(benchmark::State& state) {
  const xml::DocumentPtr description = description::LoadTypeLibDescription(LibraryPath(), typelib::ReaderKind::Builtin);
  if (!description) {
    state.SkipWithError("the library does not load");
    return;
  }
  GenerateFrom(state, description->GetXml());
}

// What `quenlor unit FILE` does, less writing the text out.
void BM_UnitEndToEndMshtml(benchmark::State& state) {
  const std::string path = LibraryPath();
  for (auto _ : state) {
    const xml::DocumentPtr description = description::LoadTypeLibDescription(path, typelib::ReaderKind::Builtin);
    if (!description) {
      state.SkipWithError("the library does not load");
      return;
    }
    const std::string unit = generator::BuildImportUnit(description);
    benchmark::DoNotOptimize(unit.data());
  }
}

// N interfaces (each deriving from the next, two methods), N records (each with a field
// by value of the next record and a field by reference to another record) and N aliases
// of records: every pointer target, every ordering step and every path query scales.
std::string SyntheticDescription(int n) {
  std::string aliases, records, interfaces;
  for (int i = 0; i < n; ++i) {
    const std::string k = std::to_string(i);
    const std::string next = std::to_string((i + 1) % n);
    const std::string other = std::to_string((i * 7 + 3) % n);
    aliases += "<alias name=\"A" + k + "\" type=\"R" + other + "\"/>";
    records += "<record name=\"R" + k + "\"><items><item name=\"v\" type=\"Longint\"/><item name=\"n\" type=\"R" +
               next + "\"/><item name=\"p\" type=\"R" + other + "\" ref=\"true\"/></items></record>";
    interfaces += "<interface name=\"I" + k + "\" inherits=\"I" + next + "\"><guid>{G" + k + "}</guid><methods>" +
                  "<method name=\"Get\" call=\"stdcall\"><params><param><ref>ptr,out,retval</ref><name>v</name>"
                  "<type>R" + k + "</type></param></params><result>HResult</result></method>"
                  "<method name=\"Put\" call=\"stdcall\"><params><param><ref>in</ref><name>v</name>"
                  "<type>WideString</type></param></params><result>HResult</result></method></methods></interface>";
  }
  return "<typelib name=\"Synthetic\"><aliases>" + aliases + "</aliases><records>" + records + "</records><interfaces>" +
         interfaces + "</interfaces></typelib>";
}

void BM_GenerateSynthetic(benchmark::State& state) {
  GenerateFrom(state, SyntheticDescription(static_cast<int>(state.range(0))));
  state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_GenerateMshtml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnitEndToEndMshtml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateSynthetic)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
