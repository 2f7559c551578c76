// The library build without a window: what reaches the two text boxes, and in which order,
// for plain, quoted, expanded and over-long paths and for files that do not load; and every
// library the project's prefix registers and every corpus file through it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/library_build/library_build.h"
#include "app/catalogue/catalogue.h"
#include "platform/registry.h"
#include "typelib/reader_choice.h"

int quenlor_test_setenv(const char* name, const char* value);

namespace quenlor::app {
namespace {

// Both text boxes, and the order in which they were filled.
class RecordingView : public IBuildView {
 public:
  void ShowDescription(const std::string& text) override { calls.emplace_back("xml", text); }
  void ShowUnit(const std::string& text) override { calls.emplace_back("unit", text); }
  std::vector<std::pair<std::string, std::string>> calls;
};

std::string CorpusFolder() { return QUENLOR_TEST_PATH_PREFIX QUENLOR_CORPUS_DIR "/vb6"; }

RecordingView BuildOf(const std::string& path) {
  RecordingView view;
  Build(path, view, typelib::DefaultReader());
  return view;
}

void SetVariable(const char* name, const std::string& value) {
  // The platform expands from the process environment; so does the portable build.
  ASSERT_EQ(quenlor_test_setenv(name, value.c_str()), 0);
}

TEST(LibraryBuildTest, DescriptionComesFirstThenTheUnit) {
  const RecordingView view = BuildOf(CorpusFolder() + "/scrrun.dll");
  ASSERT_EQ(view.calls.size(), 2u);
  EXPECT_EQ(view.calls[0].first, "xml");
  EXPECT_EQ(view.calls[0].second.rfind("<typelib", 0), 0u) << view.calls[0].second.substr(0, 60);
  EXPECT_NE(view.calls[0].second.find("\r\n"), std::string::npos);
  EXPECT_EQ(view.calls[1].first, "unit");
  EXPECT_EQ(view.calls[1].second.rfind("unit Scripting_TLB;\r\n", 0), 0u) << view.calls[1].second.substr(0, 60);
  EXPECT_EQ(view.calls[1].second.substr(view.calls[1].second.size() - 6), "end.\r\n");
}

TEST(LibraryBuildTest, FilesThatDoNotLoadShowInvalidTypelibInBothBoxes) {
  for (const std::string& path : {CorpusFolder() + "/no-such-file.tlb", std::string(QUENLOR_TEST_PATH_PREFIX QUENLOR_CORPUS_DIR "/negative/empty.tlb"),
                                  std::string(QUENLOR_TEST_PATH_PREFIX QUENLOR_CORPUS_DIR "/negative/comdlg32.dll"), std::string(),
                                  std::string("\"\"")}) {
    const RecordingView view = BuildOf(path);
    ASSERT_EQ(view.calls.size(), 2u) << path;
    EXPECT_EQ(view.calls[0], (std::pair<std::string, std::string>("unit", "invalid typelib"))) << path;
    EXPECT_EQ(view.calls[1], (std::pair<std::string, std::string>("xml", "invalid typelib"))) << path;
  }
}

TEST(LibraryBuildTest, QuotedExpandedAndOverlongPathsLoadAsThePlainPath) {
  const RecordingView plain = BuildOf(CorpusFolder() + "/scrrun.dll");
  ASSERT_EQ(plain.calls.size(), 2u);
  ASSERT_NE(plain.calls[1].second, "invalid typelib");

  EXPECT_EQ(BuildOf("\"" + CorpusFolder() + "/scrrun.dll\"").calls, plain.calls);
  EXPECT_EQ(BuildOf("\"" + CorpusFolder() + "\"/\"scrrun.dll\"").calls, plain.calls);

  SetVariable("QUENLOR_BUILD_TEST_DIR", CorpusFolder());
  EXPECT_EQ(BuildOf("%QUENLOR_BUILD_TEST_DIR%/scrrun.dll").calls, plain.calls);

  // Past the 260 characters that a fixed expansion buffer holds: the build must still see
  // the whole path rather than a cut or an empty one.
  std::string padded = CorpusFolder();
  while (padded.size() < 300) padded += "/.";
  SetVariable("QUENLOR_BUILD_TEST_LONG", padded);
  const std::string overlong = "%QUENLOR_BUILD_TEST_LONG%/scrrun.dll";
  EXPECT_EQ(BuildOf(overlong).calls, plain.calls);

  // An unknown reference stays as it is, and so names no file.
  EXPECT_EQ(BuildOf("%QUENLOR_BUILD_TEST_UNSET%/scrrun.dll").calls[0].second, "invalid typelib");
}

// What the window's list holds: the file path of every catalogue entry.
std::vector<std::string> RegisteredLibraryPaths() {
  const xml::DocumentPtr catalogue = catalogue::WalkCatalogue(*platform::OpenClassesRoot());
  std::vector<std::string> paths;
  const xml::NodesPtr entries = catalogue->GetRoot()->Nodes();
  for (int i = 0, count = entries->Count(); i < count; ++i)
    paths.push_back(entries->GetNode(i)->Values()->ReadString("filepath", "", false));
  return paths;
}

std::vector<std::string> CorpusFiles() {
  std::vector<std::string> files;
  std::error_code ec;
  for (std::filesystem::recursive_directory_iterator it(QUENLOR_TEST_PATH_PREFIX QUENLOR_CORPUS_DIR, ec), end;
       !ec && it != end; it.increment(ec))
    if (it->is_regular_file(ec)) files.push_back(it->path().string());
  std::sort(files.begin(), files.end());
  return files;
}

// Each build either fills both boxes with a description and a unit, or both with "invalid
// typelib"; a reader that faults ends this test's process, which ctest reports. ADODB
// (Wine's msado15.dll) is the library whose platform walk faults under Wine.
TEST(LibraryBuildSweep, EveryRegisteredLibraryAndCorpusFileBuildsOrIsInvalid) {
  const std::vector<std::string> registered = RegisteredLibraryPaths();
  const std::vector<std::string> corpus = CorpusFiles();
  // The project's prefix registers Wine's own 42 libraries; the corpus has some thirty files.
  ASSERT_GE(registered.size(), 40u);
  ASSERT_GE(corpus.size(), 30u);
  int built = 0, invalid = 0;
  bool ado_built = false;
  for (const std::vector<std::string>* list : {&registered, &corpus}) {
    for (const std::string& path : *list) {
      SCOPED_TRACE(path);
      const RecordingView view = BuildOf(path);
      ASSERT_EQ(view.calls.size(), 2u);
      if (view.calls[0].second == kInvalidTypeLib) {
        EXPECT_EQ(view.calls[1].second, kInvalidTypeLib);
        ++invalid;
        continue;
      }
      EXPECT_EQ(view.calls[0].first, "xml");
      EXPECT_EQ(view.calls[0].second.rfind("<typelib", 0), 0u) << view.calls[0].second.substr(0, 60);
      EXPECT_EQ(view.calls[1].second.rfind("unit ", 0), 0u) << view.calls[1].second.substr(0, 60);
      ++built;
      if (path.find("msado15.dll") != std::string::npos)
        ado_built = view.calls[1].second.rfind("unit ADODB_TLB;\r\n", 0) == 0;
    }
  }
  EXPECT_TRUE(ado_built);
  // Every registered library loads; of the corpus, the negative files and the README do not.
  EXPECT_GE(built, static_cast<int>(registered.size()) + 25) << invalid << " did not load";
}

}  // namespace
}  // namespace quenlor::app
