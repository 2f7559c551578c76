// Path cleaning: quotes, environment references, and (Linux) the prefix's drives; folders.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "base/file.h"
#include "base/text.h"
#include "expand_cases.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "platform/posix/wine_prefix.h"

namespace quenlor::platform {
namespace {

namespace fs = std::filesystem;

class TempFolder {
 public:
  TempFolder() {
    path_ = fs::temp_directory_path() / ("quenlor-paths-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
    fs::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  static inline int counter_ = 0;
  fs::path path_;
};

void WriteFile(const fs::path& p, std::string_view text) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << text;
}

class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) setenv(name, value, 1);
    else unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_) setenv(name_, old_->c_str(), 1);
    else unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(Expand, PlatformRules) {
  const std::map<std::string, std::string> vars{{"QA", "alpha"}, {"QB", "beta"}};
  for (const auto& c : testing::kExpandCases) {
    const auto out = ExpandReferences(c.input, [&](std::string_view name) -> std::optional<std::string> {
      auto it = vars.find(AsciiUpper(name));
      if (it == vars.end()) return std::nullopt;
      return it->second;
    });
    EXPECT_EQ(out, c.expected) << c.input;
  }
  EXPECT_EQ(RemoveQuotes("\"C:\\a b\\x.tlb\""), "C:\\a b\\x.tlb");
}

// A prefix laid out as Wine makes it: drive letters as symbolic links, mixed-case folders.
class PrefixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    prefix_ = PathToUtf8(folder_.path());
    fs::create_directories(folder_.path() / "dosdevices");
    fs::create_directory_symlink("../drive_c", folder_.path() / "dosdevices" / "c:");
    WriteFile(folder_.path() / "drive_c" / "windows" / "System32" / "StdOle2.tlb", "x");
    WriteFile(folder_.path() / "drive_c" / "Program Files" / "Lib" / "lib.dll", "x");
    WriteFile(folder_.path() / "system.reg", R"(WINE REGISTRY Version 2
[Software\\Microsoft\\Windows\\CurrentVersion] 1
"ProgramFilesDir"="C:\\Program Files"
[System\\CurrentControlSet\\Control\\Session Manager\\Environment] 1
"QuenlorTools"=str(2):"%ProgramFiles%\\Lib"
"TEMP"=str(2):"%SystemRoot%\\temp"
)");
    WriteFile(folder_.path() / "user.reg", R"(WINE REGISTRY Version 2
[Environment] 1
"TEMP"="C:\\users\\me\\Temp"
)");
  }
  std::string Under(std::string_view rest) const { return PathToUtf8(fs::canonical(folder_.path() / "drive_c")) + std::string(rest); }

  TempFolder folder_;
  std::string prefix_;
};

TEST_F(PrefixTest, MapsDrivesWithoutRegardToCase) {
  EXPECT_EQ(MapWindowsPath("C:\\WINDOWS\\system32\\stdole2.TLB", prefix_), Under("/windows/System32/StdOle2.tlb"));
  EXPECT_EQ(MapWindowsPath("c:/windows/./Fonts/../system32/stdole2.tlb", prefix_), Under("/windows/System32/StdOle2.tlb"));
  // A missing file keeps its remaining components as written, so loading it fails clearly.
  EXPECT_EQ(MapWindowsPath("C:\\windows\\SYSTEM32\\none\\x.tlb", prefix_), Under("/windows/System32/none/x.tlb"));
  // A resource number after a file stays attached with a backslash.
  EXPECT_EQ(MapWindowsPath("C:\\windows\\system32\\stdole2.tlb\\3", prefix_), Under("/windows/System32/StdOle2.tlb\\3"));
  EXPECT_EQ(MapWindowsPath("\\\\?\\C:\\windows", prefix_), Under("/windows"));
  EXPECT_EQ(MapWindowsPath("D:\\x.tlb", prefix_), "D:\\x.tlb");
  EXPECT_EQ(MapWindowsPath("stdole2.tlb", prefix_), "stdole2.tlb");
  EXPECT_EQ(MapWindowsPath("\\\\server\\share\\x.tlb", prefix_), "\\\\server\\share\\x.tlb");
}

TEST_F(PrefixTest, CleansWithThePrefixEnvironmentFirst) {
  const RegistrySource source{prefix_};
  ScopedEnv process("QUENLOR_PROCESS_VAR", "C:\\windows");
  ScopedEnv shadowed("SystemRoot", "/not/used");
  EXPECT_EQ(CleanLibraryPath("\"%SystemRoot%\\system32\\stdole2.tlb\"", source), Under("/windows/System32/StdOle2.tlb"));
  EXPECT_EQ(CleanLibraryPath("%QuenlorTools%\\LIB.DLL", source), Under("/Program Files/Lib/lib.dll"));
  EXPECT_EQ(CleanLibraryPath("%QUENLOR_PROCESS_VAR%\\system32\\stdole2.tlb", source), Under("/windows/System32/StdOle2.tlb"));
  EXPECT_EQ(CleanLibraryPath("%NoSuchVariable%\\x.tlb", source), "%NoSuchVariable%\\x.tlb");
  const auto env = PrefixEnvironment(*LoadSourceHives(source));
  EXPECT_EQ(env.at("TEMP"), "C:\\users\\me\\Temp");  // the user's value wins
  EXPECT_EQ(env.at("WINDIR"), "C:\\windows");
  EXPECT_EQ(env.at("COMMONPROGRAMFILES"), "C:\\Program Files\\Common Files");
}

TEST(Folders, XdgDataHomeOrLocalShare) {
  TempFolder home;
  {
    ScopedEnv xdg("XDG_DATA_HOME", PathToUtf8(home.path() / "data").c_str());
    EXPECT_EQ(UserDataFile("velmora", "typelibs.xml"), PathToUtf8(home.path() / "data" / "velmora" / "typelibs.xml"));
    EXPECT_TRUE(fs::is_directory(home.path() / "data" / "velmora"));
  }
  ScopedEnv relative("XDG_DATA_HOME", "relative/ignored");
  ScopedEnv home_var("HOME", PathToUtf8(home.path()).c_str());
  EXPECT_EQ(UserDataFolder("velmora", false), PathToUtf8(home.path() / ".local" / "share" / "velmora"));
  EXPECT_FALSE(fs::exists(home.path() / ".local"));
}

}  // namespace
}  // namespace quenlor::platform
