// The library build without a window: what reaches the two text boxes, and in which order,
// for plain, quoted, expanded and over-long paths and for files that do not load.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "app/build/library_build.h"

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
  Build(path, view);
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

}  // namespace
}  // namespace quenlor::app
