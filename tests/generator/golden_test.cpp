// Golden import units: the fixture libraries and a few real-world ones, described by this
// build's reader and generated, must match the reviewed units in golden/ byte for byte.
// QUENLOR_UPDATE_GOLDEN=1 rewrites the golden files instead (review the diff).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "base/file.h"
#include "generator/import_unit.h"
#include "description/type_lib_scan.h"

namespace quenlor::generator {
namespace {

namespace fs = std::filesystem;

struct GoldenCase {
  std::string name;  // golden/<name>.pas
  std::string path;  // the library
};

std::ostream& operator<<(std::ostream& out, const GoldenCase& c) { return out << c.name; }

std::vector<GoldenCase> Cases() {
  std::vector<GoldenCase> cases;
  for (const char* fixture : {"qkinds", "qtypes", "qparams", "qnames", "qimports"}) {
    cases.push_back({fixture, std::string(QUENLOR_FIXTURES_DIR) + "/" + fixture + "-win64.tlb"});
  }
  const std::string corpus = QUENLOR_CORPUS_DIR;
  cases.push_back({"corpus-stdole2", corpus + "/windows10/stdole2.tlb"});
  cases.push_back({"corpus-scrrun", corpus + "/vb6/scrrun.dll"});
  cases.push_back({"corpus-msado28", corpus + "/vb6/msado28.tlb"});
  cases.push_back({"corpus-shelllnk", corpus + "/vb6/SHELLLNK.TLB"});
  cases.push_back({"corpus-wshom", corpus + "/vb6/wshom.ocx"});
  return cases;
}

std::string ReadText(const fs::path& path) {
  const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path.string());
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

class GoldenUnit : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenUnit, MatchesTheReviewedUnit) {
  const GoldenCase& c = GetParam();
  // The built-in reader finds stdole2 (IUnknown, IDispatch) through the Wine prefix's
  // registry; without it every base interface from there would read as unnamed.
  if (const char* prefix = std::getenv("WINEPREFIX");
      prefix && !fs::exists(fs::path(prefix) / "drive_c/windows/system32/stdole2.tlb")) {
    GTEST_SKIP() << "no Wine prefix at " << prefix << " (scripts/wine-run.sh makes it)";
  }
  // References into other libraries (qimports into qkinds) resolve beside the library.
  const fs::path previous = fs::current_path();
  fs::current_path(fs::path(c.path).parent_path());
  // The built-in reader on both builds: the generator is under test here, and Wine's
  // LoadTypeLibEx leaves some references unresolved that the reader resolves (an alias in
  // qtypes, FILETIME in the SLTG library), which would make the two builds' units differ.
  const xml::DocumentPtr description = description::LoadTypeLibDescription(c.path, typelib::ReaderKind::Builtin);
  fs::current_path(previous);
  ASSERT_TRUE(description) << c.path << " does not load";
  // The reader of the Windows build leaves two references unresolved ("cannot convert")
  // that the Linux build resolves: qtypes' QLongPointer parameter and SHELLLNK's FILETIME
  // fields. That is the reader's difference, not the generator's; the rest must agree.
  if (QUENLOR_WINDOWS_BUILD && (c.name == "qtypes" || c.name == "corpus-shelllnk")) {
    GTEST_SKIP() << "the Windows build's reader describes " << c.name << " differently";
  }
  const std::string unit = BuildImportUnit(description);

  const fs::path golden = fs::path(QUENLOR_SOURCE_DIR) / "tests/generator/golden" / (c.name + ".pas");
  if (const char* update = std::getenv("QUENLOR_UPDATE_GOLDEN"); update && *update == '1') {
    WriteFileAtomically(golden.string(), unit);
    GTEST_SKIP() << "rewrote " << golden;
  }
  const std::string expected = ReadText(golden);
  ASSERT_FALSE(expected.empty()) << golden << " is missing; run with QUENLOR_UPDATE_GOLDEN=1";
  if (unit == expected) return;
  // Point at the first differing line rather than dumping two whole units.
  std::size_t line = 1, at = 0;
  while (at < unit.size() && at < expected.size() && unit[at] == expected[at]) line += unit[at++] == '\n';
  const auto excerpt = [&](const std::string& text) {
    const std::size_t begin = text.rfind('\n', at == 0 ? 0 : at - 1);
    const std::size_t start = begin == std::string::npos ? 0 : begin + 1;
    return text.substr(start, text.find('\n', at) - start);
  };
  FAIL() << c.name << " differs from its golden unit at line " << line << ":\n  generated: " << excerpt(unit)
         << "\n  golden:    " << excerpt(expected);
}

INSTANTIATE_TEST_SUITE_P(Libraries, GoldenUnit, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<GoldenCase>& param_info) {
                           std::string name = param_info.param.name;
                           for (char& ch : name) {
                             if (ch == '-') ch = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace quenlor::generator
