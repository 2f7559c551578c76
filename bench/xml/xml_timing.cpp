// Plain timing of the benchmark's workload, for builds without Google Benchmark (the Windows
// build under Wine): each step runs a number of times and its median is printed.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "cpu_clock.h"
#include "xml_workload.h"

using namespace quenlor::xml;

namespace {

struct Times {
  double cpu;
  double wall;
};

Times Median(int runs, const std::function<void()>& step) {
  std::vector<double> cpu, wall;
  for (int i = 0; i < runs; ++i) {
    const double cpu_start = CpuMilliseconds();
    const auto start = std::chrono::steady_clock::now();
    step();
    wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    cpu.push_back(CpuMilliseconds() - cpu_start);
  }
  std::sort(cpu.begin(), cpu.end());
  std::sort(wall.begin(), wall.end());
  return {cpu[cpu.size() / 2], wall[wall.size() / 2]};
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const int entries = argc > 2 ? std::max(1, std::atoi(argv[2])) : bench::kEntries;
  DocumentPtr document;
  const Times build = Median(runs, [&] { document = bench::BuildDocument(entries); });
  int found = 0;
  const Times query = Median(runs, [&] { found = bench::Query(document); });
  std::string text;
  const Times xml = Median(runs, [&] { text = document->GetXml(); });
  std::string formatted;
  const Times format = Median(runs, [&] { formatted = FormatXml(text); });
  std::printf("elements %d, runs %d, found %d, xml %zu bytes, display %zu bytes\n", entries * 2, runs, found,
              text.size(), formatted.size());
  std::printf("median CPU ms:  build %.1f  query %.1f  GetXml %.1f  FormatXml %.1f\n", build.cpu, query.cpu, xml.cpu,
              format.cpu);
  std::printf("median wall ms: build %.1f  query %.1f  GetXml %.1f  FormatXml %.1f\n", build.wall, query.wall,
              xml.wall, format.wall);
  return 0;
}
