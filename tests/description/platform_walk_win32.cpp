// The reference the description benchmark is held against: how long the platform's
// LoadTypeLibEx and a full walk of what the description reads take for one file (by
// default Wine's mshtml.tlb), median of several runs. Windows build; run under Wine with
//   scripts/wine-run.sh build/windows/tests/description/description_platform_walk.exe [FILE] [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <windows.h>

#include "typelib/access.h"

namespace {

using namespace quenlor::typelib;

// The machine may be shared: CPU time of this process is the figure that compares.
double CpuMilliseconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto ticks = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

std::size_t Walk(ITypeLibAccess& lib) {
  std::size_t seen = 0;
  Documentation doc;
  lib.GetDocumentation(-1, doc);
  for (unsigned index = 0, count = lib.GetTypeInfoCount(); index < count; ++index) {
    std::shared_ptr<ITypeInfoAccess> info;
    if (Failed(lib.GetTypeInfo(index, info))) continue;
    TypeAttr attr;
    if (Failed(info->GetTypeAttr(attr))) continue;
    info->GetDocumentation(kMemberIdNil, doc);
    for (unsigned i = 0; i < attr.c_impl_types; ++i) {
      HRefType href = 0;
      std::shared_ptr<ITypeInfoAccess> base;
      if (Succeeded(info->GetRefTypeOfImplType(i, href)) && Succeeded(info->GetRefTypeInfo(href, base)))
        base->GetDocumentation(kMemberIdNil, doc);
    }
    for (unsigned i = 0; i < attr.c_funcs; ++i) {
      FuncDesc func;
      if (Failed(info->GetFuncDesc(i, func))) continue;
      std::vector<std::string> names;
      info->GetNames(func.memid, static_cast<unsigned>(func.c_params) + 2, names);
      info->GetDocumentation(func.memid, doc);
      for (const auto& param : func.params) {
        const TypeDesc* desc = &param.tdesc;
        while (desc->pointee) desc = desc->pointee.get();
        std::shared_ptr<ITypeInfoAccess> referenced;
        if (desc->vt == 29 && Succeeded(info->GetRefTypeInfo(desc->hreftype, referenced)))
          referenced->GetDocumentation(kMemberIdNil, doc);
      }
      seen += names.size();
    }
    for (unsigned i = 0; i < attr.c_vars; ++i) {
      VarDesc var;
      if (Succeeded(info->GetVarDesc(i, var))) info->GetDocumentation(var.memid, doc);
      ++seen;
    }
  }
  return seen;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : "Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\mshtml.tlb";
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
  for (const ReaderKind reader : {ReaderKind::Platform, ReaderKind::Builtin}) {
    std::vector<double> ms;
    std::vector<double> cpu;
    std::size_t seen = 0;
    for (int run = 0; run < runs; ++run) {
      const auto start = std::chrono::steady_clock::now();
      const double cpu_start = CpuMilliseconds();
      std::shared_ptr<ITypeLibAccess> lib;
      if (LoadTypeLibrary(path, reader, lib) != kOk) {
        std::printf("%s: does not load\n", path.c_str());
        return 1;
      }
      seen = Walk(*lib);
      lib.reset();
      cpu.push_back(CpuMilliseconds() - cpu_start);
      ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("%-8s load + walk: median %.1f ms wall, %.1f ms CPU (%d runs, %zu names and variables)\n",
                reader == ReaderKind::Platform ? "platform" : "built-in", ms[ms.size() / 2], cpu[cpu.size() / 2], runs,
                seen);
  }
  return 0;
}
