// Descriptions of real libraries (widl fixtures, corpus files) against reviewed golden
// files, and the corpus-wide rule: a file describes completely or does not load at all.
// QUENLOR_UPDATE_GOLDEN=1 rewrites the golden files instead of comparing.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/file.h"
#include "description/type_lib_scan.h"

namespace quenlor::description {
namespace {

namespace fs = std::filesystem;

const fs::path kGoldenDir = fs::path(QUENLOR_SOURCE_DIR) / "tests" / "description" / "golden";
const fs::path kCorpusDir = QUENLOR_CORPUS_DIR;
const fs::path kFixturesDir = fs::path(QUENLOR_BINARY_DIR) / "fixtures";

// The command line's output, with LF line ends so the golden files read well in a diff.
std::string DescriptionText(const fs::path& file) {
  const xml::DocumentPtr document = LoadTypeLibDescription(file.string(), typelib::ReaderKind::Builtin);
  if (!document) return "invalid typelib\n";
  std::string text = xml::FormatXml(document->GetXml());
  std::string lf;
  lf.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lf += text[i];
  return lf;
}

void CheckGolden(const fs::path& file, const std::string& golden_name) {
  const std::string actual = DescriptionText(file);
  const fs::path golden = kGoldenDir / golden_name;
  if (std::getenv("QUENLOR_UPDATE_GOLDEN")) {
    WriteFileAtomically(golden.string(), actual);
    return;
  }
  const auto expected = ReadWholeFile(golden.string());
  ASSERT_TRUE(expected) << "missing " << golden << " (QUENLOR_UPDATE_GOLDEN=1 writes it)";
  EXPECT_EQ(actual, std::string(expected->begin(), expected->end())) << file;
}

class FixtureGolden : public ::testing::TestWithParam<std::string> {};

// The two architectures' builds of a fixture describe identically, but for qtypes, whose
// pointer-sized integers widl writes as 32- or 64-bit types by target.
TEST_P(FixtureGolden, BothArchitecturesMatchTheGolden) {
  // qimports finds qkinds by its bare file name, beside the current directory.
  fs::current_path(kFixturesDir);
  const std::string& name = GetParam();
  CheckGolden(kFixturesDir / (name + "-win64.tlb"), name + ".xml");
  if (name == "qtypes") {
    CheckGolden(kFixturesDir / (name + "-win32.tlb"), name + "-win32.xml");
  } else {
    EXPECT_EQ(DescriptionText(kFixturesDir / (name + "-win32.tlb")), DescriptionText(kFixturesDir / (name + "-win64.tlb")));
  }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureGolden,
                         ::testing::Values("qkinds", "qtypes", "qparams", "qnames", "qimports"));

class CorpusGolden : public ::testing::TestWithParam<std::string> {};

TEST_P(CorpusGolden, MatchesTheGolden) {
  const fs::path file = kCorpusDir / GetParam();
  std::string name = GetParam();
  for (char& c : name)
    if (c == '/') c = '-';
  CheckGolden(file, name + ".xml");
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusGolden,
                         ::testing::Values("legacy/stdole32.tlb", "windows10/stdole2.tlb",
                                           "vb6/scrrun.dll", "vb6/msjro.dll", "vb6/wshom.ocx"),
                         [](const auto& param_info) {
                           std::string name;
                           for (const char c : param_info.param) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

TEST(Corpus, EveryFileDescribesOrFailsToLoad) {
  for (const auto& entry : fs::recursive_directory_iterator(kCorpusDir)) {
    if (!entry.is_regular_file() || entry.path().extension() == ".md") continue;
    const bool negative = entry.path().parent_path().filename() == "negative";
    const xml::DocumentPtr document = LoadTypeLibDescription(entry.path().string(), typelib::ReaderKind::Builtin);
    EXPECT_EQ(document == nullptr, negative) << entry.path();
    if (document) {
      EXPECT_FALSE(xml::FormatXml(document->GetXml()).empty()) << entry.path();
    }
  }
}

// widl leaves the constants of modules out, so real libraries are where they are seen:
// the fax service's library (the corpus's VB6 libraries and the script runtime have none).
TEST(Corpus, ModuleConstantsOfARealLibrary) {
  const xml::DocumentPtr fax =
      LoadTypeLibDescription((kCorpusDir / "vb6" / "fxscomex.dll").string(), typelib::ReaderKind::Builtin);
  ASSERT_TRUE(fax);
  const xml::NodePtr module = fax->GetRoot()->FindNode("modules/module[@name=" + xml::XPathLiteral("FaxConstants") + "]");
  ASSERT_TRUE(module);
  const auto value = [&](const std::string& name) {
    const xml::NodePtr constant = module->FindNode("consts/const[@name=" + xml::XPathLiteral(name) + "]");
    return constant ? constant->Attributes()->Values()->ReadString("value", "", false) : std::string("(missing)");
  };
  EXPECT_EQ(value("lDEFAULT_PREFETCH_SIZE"), "100");
  EXPECT_EQ(value("bstrGROUPNAME_ALLDEVICES"), "'<All Devices>'");
  EXPECT_FALSE(module->FindNode("funcs"));
}

}  // namespace
}  // namespace quenlor::description
