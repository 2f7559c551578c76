// typelib_timing FILE [REPEATS] [builtin|platform|both]: loads and walks FILE through each
// reader REPEATS times and prints the median load and walk times, so the built-in reader
// and the platform's can be measured in one run (under Wine in the Windows build).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "typelib/access.h"
#include "typelib/dump.h"
#include "walk.h"

namespace {

using namespace quenlor::typelib;
using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

bool Measure(const char* label, const std::string& path, ReaderKind reader, int repeats) {
  std::vector<double> load_ms, walk_ms;
  testing::WalkCount count;
  for (int r = 0; r < repeats; ++r) {
    const auto t0 = Clock::now();
    std::shared_ptr<ITypeLibAccess> lib;
    const HResult hr = LoadTypeLibrary(path, reader, lib);
    const auto t1 = Clock::now();
    if (hr != kOk) {
      std::printf("%s: cannot load %s: %s\n", label, path.c_str(), HResultText(hr).c_str());
      return false;
    }
    count = testing::WalkLibrary(*lib);
    lib.reset();
    const auto t2 = Clock::now();
    load_ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    walk_ms.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
  }
  std::printf("%-8s load %8.3f ms  walk %8.3f ms  total %8.3f ms  (median of %d; %zu types, %zu funcs, %zu vars, %zu refs)\n",
              label, Median(load_ms), Median(walk_ms), Median(load_ms) + Median(walk_ms), repeats, count.types,
              count.funcs, count.vars, count.refs);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: typelib_timing FILE [REPEATS] [builtin|platform|both]\n");
    return 2;
  }
  const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 11;
  const std::string which = argc > 3 ? argv[3] : "both";
  bool ok = true;
  if (which != "platform") ok &= Measure("builtin", argv[1], ReaderKind::Builtin, repeats);
  if (which != "builtin") ok &= Measure("platform", argv[1], ReaderKind::Platform, repeats);
  return ok ? 0 : 1;
}
