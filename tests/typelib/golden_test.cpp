// The Linux build's built-in reader delivers what the Windows build's delivers under Wine:
// dumps made there (make_golden.sh) are compared byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "base/file.h"
#include "typelib/access.h"
#include "typelib/dump.h"

namespace quenlor::typelib {
namespace {

struct GoldenCase {
  const char* golden;
  std::string path;
};

std::vector<GoldenCase> Cases() {
  const std::string wine = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/";
  const std::string corpus = std::string(QUENLOR_CORPUS_DIR) + "/";
  return {
      {"wine-stdole2.tlb.dump", wine + "stdole2.tlb"},
      {"wine-hnetcfg.dll-2.dump", wine + "hnetcfg.dll\\2"},
      {"wine-msxml3.dll.dump", wine + "msxml3.dll"},
      {"corpus-scrrun.dll.dump", corpus + "vb6/scrrun.dll"},
      {"corpus-wshom.ocx.dump", corpus + "vb6/wshom.ocx"},
      {"corpus-comdlg32.dll.dump", corpus + "negative/comdlg32.dll"},
  };
}

TEST(TypeLibGolden, LinuxDumpEqualsWindowsDump) {
  for (const auto& c : Cases()) {
    SCOPED_TRACE(c.golden);
    const auto golden = ReadWholeFile(std::string(QUENLOR_GOLDEN_DIR) + "/" + c.golden);
    ASSERT_TRUE(golden) << "missing golden file";
    std::shared_ptr<ITypeLibAccess> lib;
    const HResult hr = LoadTypeLibrary(c.path, ReaderKind::Builtin, lib);
    const std::string text = hr == kOk ? DumpTypeLibrary(*lib) : "cannot load: " + HResultText(hr) + "\n";
    EXPECT_TRUE(text == std::string(golden->begin(), golden->end())) << "dump differs from " << c.golden;
  }
}

}  // namespace
}  // namespace quenlor::typelib
