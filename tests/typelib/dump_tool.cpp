// typelib_dump FILE [builtin|platform]: the dump without the rest of the command line, for
// the cross-build comparison scripts and the oracle.
#include <cstdio>
#include <string>

#include "typelib/access.h"
#include "typelib/dump.h"

int main(int argc, char** argv) {
  using namespace quenlor::typelib;
  if (argc < 2) {
    std::fprintf(stderr, "usage: typelib_dump FILE [builtin|platform]\n");
    return 2;
  }
  ReaderKind reader = DefaultReader();
  if (argc > 2) reader = std::string(argv[2]) == "platform" ? ReaderKind::Platform : ReaderKind::Builtin;
  std::shared_ptr<ITypeLibAccess> lib;
  const HResult hr = LoadTypeLibrary(argv[1], reader, lib);
  if (hr != kOk) {
    std::printf("cannot load %s: %s\n", argv[1], HResultText(hr).c_str());
    return 1;
  }
  const std::string text = DumpTypeLibrary(*lib);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}
