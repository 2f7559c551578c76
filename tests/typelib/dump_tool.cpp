// typelib_dump FILE [builtin|platform] [OUT]: the dump without the rest of the command line,
// for the scripts that make golden files under Wine. OUT is written in binary, so both
// builds produce the same bytes.
#include <cstdio>
#include <string>

#include "base/file.h"
#include "typelib/access.h"
#include "typelib/dump.h"

int main(int argc, char** argv) {
  using namespace quenlor::typelib;
  if (argc < 2) {
    std::fprintf(stderr, "usage: typelib_dump FILE [builtin|platform] [OUT]\n");
    return 2;
  }
  ReaderKind reader = DefaultReader();
  if (argc > 2) reader = std::string(argv[2]) == "platform" ? ReaderKind::Platform : ReaderKind::Builtin;
  std::shared_ptr<ITypeLibAccess> lib;
  const HResult hr = LoadTypeLibrary(argv[1], reader, lib);
  std::string text = hr == kOk ? DumpTypeLibrary(*lib) : "cannot load: " + HResultText(hr) + "\n";
  if (argc > 3) {
    quenlor::WriteFileAtomically(argv[3], text);
  } else {
    std::fwrite(text.data(), 1, text.size(), stdout);
  }
  return hr == kOk ? 0 : 1;
}
