// The Windows adapters against the platform itself: the registry reader over keys made for
// the test, ExpandEnvironmentStrings against the portable expansion's cases, the data folder.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/error.h"
#include "expand_cases.h"
#include "platform/folders.h"
#include "platform/paths.h"
#include "platform/registry.h"

namespace quenlor::platform {
namespace {

using ::testing::ElementsAre;

constexpr const wchar_t* kTestKey = L"QuenlorRegistryTest";

void SetDefault(const std::wstring& path, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, (std::wstring(kTestKey) + path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  if (data) RegSetValueExW(key, nullptr, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
}

class Win32Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kTestKey);
    const wchar_t text[] = L"first\0second";
    SetDefault(L"\\b", REG_SZ, text, sizeof text);
    SetDefault(L"\\_x", REG_EXPAND_SZ, L"%SystemRoot%\\x", 30);
    const DWORD number = 42;
    SetDefault(L"\\A", REG_DWORD, &number, sizeof number);
    SetDefault(L"\\A\\win32", 0, nullptr, 0);
  }
  void TearDown() override { RegDeleteTreeW(HKEY_CLASSES_ROOT, kTestKey); }
};

TEST_F(Win32Registry, SameSemanticsAsThePrefixReader) {
  auto reader = OpenClassesRoot();
  EXPECT_TRUE(reader->GetKeyNames().empty());
  ASSERT_TRUE(reader->OpenKey("\\quenlorregistrytest"));
  EXPECT_THAT(reader->GetKeyNames(), ElementsAre("_x", "A", "b"));
  ASSERT_TRUE(reader->OpenKey("B"));
  EXPECT_EQ(reader->ReadDefaultString(), "first");
  EXPECT_FALSE(reader->OpenKey("missing"));
  EXPECT_EQ(reader->ReadDefaultString(), "first");
  ASSERT_TRUE(reader->OpenKey("\\QuenlorRegistryTest\\_x"));
  EXPECT_EQ(reader->ReadDefaultString(), "%SystemRoot%\\x");
  ASSERT_TRUE(reader->OpenKey("\\QuenlorRegistryTest\\A"));
  try {
    reader->ReadDefaultString();
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for ''");
  }
  ASSERT_TRUE(reader->OpenKey("win32"));
  EXPECT_EQ(reader->ReadDefaultString(), "");
  EXPECT_FALSE(RegistrySourceSupported());
}

TEST(Win32Paths, ExpansionMatchesThePortableRules) {
  SetEnvironmentVariableW(L"QA", L"alpha");
  SetEnvironmentVariableW(L"QB", L"beta");
  SetEnvironmentVariableW(L"QU", nullptr);
  for (const auto& c : testing::kExpandCases) {
    EXPECT_EQ(CleanLibraryPath(c.input), c.expected) << c.input;
  }
  EXPECT_EQ(CleanLibraryPath("\"%QA%\\x.tlb\""), "alpha\\x.tlb");
}

TEST(Win32Paths, LongExpansionIsKeptWhole) {
  const std::wstring long_value(300, L'd');
  SetEnvironmentVariableW(L"QLONG", long_value.c_str());
  const std::string expected = "C:\\" + std::string(300, 'd') + "\\x.tlb";
  EXPECT_EQ(CleanLibraryPath("C:\\%QLONG%\\x.tlb"), expected);
  // Exactly 259 characters still fit the first buffer.
  SetEnvironmentVariableW(L"QLONG", std::wstring(259 - 4, L'e').c_str());
  EXPECT_EQ(CleanLibraryPath("%QLONG%.tlb"), std::string(255, 'e') + ".tlb");
}

TEST(Win32Folders, AppDataVelmora) {
  const std::string file = UserDataFile("velmora", "typelibs.xml");
  EXPECT_TRUE(file.ends_with("\\velmora\\typelibs.xml")) << file;
  EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::u8path(UserDataFolder("velmora", false))));
}

}  // namespace
}  // namespace quenlor::platform
