// BuildCatalogue end to end on Linux: a prefix's hive files in, typelibs.xml out.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/catalogue/catalogue.h"
#include "base/error.h"

namespace quenlor::catalogue {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class BuildCatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("quenlor-catalogue-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "prefix");
    if (const char* old = std::getenv("XDG_DATA_HOME")) old_xdg_ = old;
    setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
  }
  void TearDown() override {
    if (old_xdg_) setenv("XDG_DATA_HOME", old_xdg_->c_str(), 1);
    else unsetenv("XDG_DATA_HOME");
    fs::remove_all(root_);
  }
  void WriteHive(std::string_view text) { std::ofstream(root_ / "prefix" / "system.reg", std::ios::binary) << text; }
  platform::RegistrySource Source() const { return {(root_ / "prefix").string()}; }
  fs::path File() const { return root_ / "data" / "velmora" / "typelibs.xml"; }

  fs::path root_;
  std::optional<std::string> old_xdg_;
};

TEST_F(BuildCatalogueTest, PrefixWithoutTypeLibSavesAnEmptyCatalogue) {
  WriteHive("WINE REGISTRY Version 2\n[Software\\\\Classes\\\\.txt] 1\n@=\"txtfile\"\n");
  EXPECT_EQ(CatalogueFile(), File().string());
  fs::remove_all(root_ / "data");
  const auto document = BuildCatalogue(Source());
  EXPECT_EQ(document->GetRoot()->Nodes()->Count(), 0);
  ASSERT_TRUE(fs::exists(File()));  // the velmora folder was made for it
  const std::string saved = ReadText(File());
  EXPECT_NE(saved.find("<typelibs"), std::string::npos) << saved;
  EXPECT_EQ(saved.find("<typelib>"), std::string::npos) << saved;
}

TEST_F(BuildCatalogueTest, EveryBuildRewritesTheFileAndAFailureLeavesItAlone) {
  WriteHive(R"(WINE REGISTRY Version 2
[Software\\Classes\\TypeLib\\{X}\\1.0] 1
@="Lib & <Co>"
[Software\\Classes\\TypeLib\\{X}\\1.0\\0\\win32] 1
@="C:\\x.tlb"
)");
  fs::create_directories(File().parent_path());
  std::ofstream(File()) << "edited by hand";
  BuildCatalogue(Source());
  const std::string saved = ReadText(File());
  EXPECT_NE(saved.find("<name>Lib &amp; &lt;Co&gt;</name>"), std::string::npos) << saved;
  EXPECT_NE(saved.find("<regpath>\\TypeLib\\{X}\\1.0\\0\\win32</regpath>"), std::string::npos) << saved;

  WriteHive("WINE REGISTRY Version 2\n[Software\\\\Classes\\\\TypeLib\\\\{X}\\\\1.0] 1\n@=dword:00000001\n");
  try {
    BuildCatalogue(Source());
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for ''");
  }
  EXPECT_EQ(ReadText(File()), saved);

  WriteHive("WINE REGISTRY Version 2\n[Software\\\\Classes\\\\TypeLib\n");
  try {
    BuildCatalogue(Source());
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), (root_ / "prefix" / "system.reg").string() + ":2: unterminated key name");
  }
  EXPECT_EQ(ReadText(File()), saved);
}

}  // namespace
}  // namespace quenlor::catalogue
