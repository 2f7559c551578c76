// The catalogue walk over hand-written registries, and the order of the catalogue list.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/catalogue/catalogue.h"
#include "app/catalogue/catalogue_sort.h"
#include "base/error.h"
#include "platform/registry_text.h"

namespace quenlor::catalogue {
namespace {

using ::testing::ElementsAre;

struct Entry {
  std::string id, name, regpath, filepath;
  bool operator==(const Entry&) const = default;
};

void PrintTo(const Entry& e, std::ostream* os) { *os << e.id << "|" << e.name << "|" << e.regpath << "|" << e.filepath; }

// Every entry's four child elements, checked to be exactly id, name, regpath, filepath.
std::vector<Entry> Entries(const xml::DocumentPtr& document) {
  const auto root = document->GetRoot();
  EXPECT_EQ(root->Name(), "typelibs");
  std::vector<Entry> entries;
  const auto nodes = root->Nodes();
  for (int i = 0; i < nodes->Count(); ++i) {
    const auto node = nodes->GetNode(i);
    EXPECT_EQ(node->Name(), "typelib");
    const auto fields = node->Nodes();
    EXPECT_EQ(fields->Count(), 4);
    if (fields->Count() != 4) continue;
    const char* names[] = {"id", "name", "regpath", "filepath"};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(fields->GetNode(k)->Name(), names[k]);
    entries.push_back({fields->GetNode(0)->GetText(), fields->GetNode(1)->GetText(), fields->GetNode(2)->GetText(),
                       fields->GetNode(3)->GetText()});
  }
  return entries;
}

xml::DocumentPtr Walk(std::string_view system_reg) {
  platform::RegistryHivesBuilder hives;
  platform::ParseWineHive(system_reg, "system.reg", hives.machine);
  auto reader = platform::MakeClassesRootReader(std::make_shared<const platform::RegistryHives>(hives.Finish()));
  return WalkCatalogue(*reader);
}

TEST(WalkCatalogue, EntriesPerVersionLocaleAndWin32File) {
  const auto document = Walk(R"(WINE REGISTRY Version 2
[Software\\Classes\\Typelib\\{BBBBBBBB-0000-0000-0000-000000000002}\\1.0] 1
@="Second library"
[Software\\Classes\\Typelib\\{BBBBBBBB-0000-0000-0000-000000000002}\\1.0\\0\\win64] 1
@="C:\\windows\\system32\\second64.tlb"
[Software\\Classes\\Typelib\\{aaaaaaaa-0000-0000-0000-000000000001}\\2.0] 1
@="First library v2"
[Software\\Classes\\Typelib\\{aaaaaaaa-0000-0000-0000-000000000001}\\2.0\\0\\win32] 1
@=str(2):"%SystemRoot%\\system32\\first2.tlb"
[Software\\Classes\\Typelib\\{aaaaaaaa-0000-0000-0000-000000000001}\\2.0\\409\\win32] 1
@="\"C:\\Program Files\\First\\first2-en.tlb\""
[Software\\Classes\\Typelib\\{aaaaaaaa-0000-0000-0000-000000000001}\\2.0\\FLAGS] 1
@="0"
[Software\\Classes\\Typelib\\{aaaaaaaa-0000-0000-0000-000000000001}\\2.0\\HELPDIR] 1
@="C:\\help"
[Software\\Classes\\Typelib\\{aaaaaaaa-0000-0000-0000-000000000001}\\1.0] 1
@="First library"
[Software\\Classes\\Typelib\\{aaaaaaaa-0000-0000-0000-000000000001}\\1.0\\0\\win32] 1
@="C:\\first1.tlb"
[Software\\Classes\\Typelib\\{aaaaaaaa-0000-0000-0000-000000000001}\\1.0\\0\\win64] 1
@="C:\\first1-64.tlb"
[Software\\Classes\\Typelib\\{CCCCCCCC-0000-0000-0000-000000000003}\\3.1] 1
[Software\\Classes\\Typelib\\{CCCCCCCC-0000-0000-0000-000000000003}\\3.1\\0\\win32] 1
@="C:\\third.tlb\0ignored"
[Software\\Classes\\Typelib\\{CCCCCCCC-0000-0000-0000-000000000003}\\3.1\\7\\win32] 1
)");
  const std::string a = "{aaaaaaaa-0000-0000-0000-000000000001}";
  const std::string c = "{CCCCCCCC-0000-0000-0000-000000000003}";
  EXPECT_THAT(Entries(document),
              ElementsAre(Entry{a, "First library", "\\TypeLib\\" + a + "\\1.0\\0\\win32", "C:\\first1.tlb"},
                          Entry{a, "First library v2", "\\TypeLib\\" + a + "\\2.0\\0\\win32",
                                "%SystemRoot%\\system32\\first2.tlb"},
                          Entry{a, "First library v2", "\\TypeLib\\" + a + "\\2.0\\409\\win32",
                                "\"C:\\Program Files\\First\\first2-en.tlb\""},
                          Entry{c, "", "\\TypeLib\\" + c + "\\3.1\\0\\win32", "C:\\third.tlb"},
                          Entry{c, "", "\\TypeLib\\" + c + "\\3.1\\7\\win32", ""}));
}

TEST(WalkCatalogue, NoTypeLibKeyGivesAnEmptyCatalogue) {
  const auto document = Walk("WINE REGISTRY Version 2\n[Software\\\\Classes\\\\.txt] 1\n@=\"txtfile\"\n");
  EXPECT_EQ(document->GetRoot()->Name(), "typelibs");
  EXPECT_EQ(document->GetRoot()->Nodes()->Count(), 0);
}

TEST(WalkCatalogue, NonTextDefaultValueStopsTheWalk) {
  for (const char* version_value : {"dword:00000001", "hex:01", "str(7):\"a\\0\""}) {
    const std::string hive = std::string("WINE REGISTRY Version 2\n[Software\\\\Classes\\\\TypeLib\\\\{X}\\\\1.0] 1\n@=") +
                             version_value + "\n[Software\\\\Classes\\\\TypeLib\\\\{X}\\\\1.0\\\\0\\\\win32] 1\n";
    try {
      Walk(hive);
      ADD_FAILURE() << version_value;
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), "Invalid data type for ''");
    }
  }
  EXPECT_THROW(Walk("WINE REGISTRY Version 2\n[Software\\\\Classes\\\\TypeLib\\\\{X}\\\\1.0\\\\0\\\\win32] 1\n@=hex(2):\n"
                    "[Software\\\\Classes\\\\TypeLib\\\\{Y}\\\\1.0\\\\0\\\\win32] 1\n@=dword:1\n"),
               Error);
}

// A reader whose keys vanish between being listed and being opened: the walk then lists and
// reads the key it still has open, the registry reader's documented behaviour.
class VanishingReader final : public platform::IRegistryReader {
 public:
  bool OpenKey(std::string_view path) override {
    opened.emplace_back(path);
    if (path == "\\TypeLib") {
      at = "typelib";
      return true;
    }
    if (path == "win32") return at == "version";
    if (path == "\\TypeLib\\{GONE}") return false;
    at = path.find("\\1.0") != std::string_view::npos ? "version" : "other";
    return true;
  }
  std::vector<std::string> GetKeyNames() override {
    if (at == "typelib") return {"{GONE}"};
    return {};
  }
  std::string ReadDefaultString() override { return at; }
  std::string at;
  std::vector<std::string> opened;
};

TEST(WalkCatalogue, KeysThatCannotBeOpenedAreNotChecked) {
  VanishingReader reader;
  const auto document = WalkCatalogue(reader);
  // {GONE} failed to open, so its "versions" were the sub-keys of TypeLib itself.
  EXPECT_THAT(reader.opened, ElementsAre("\\TypeLib", "\\TypeLib\\{GONE}", "\\TypeLib\\{GONE}\\{GONE}"));
  EXPECT_EQ(document->GetRoot()->Nodes()->Count(), 0);
}

TEST(CatalogueSort, UpperCaseFieldOrder) {
  EXPECT_EQ(CompareItems("abc|1|x", "ABC|2|y", 0), 0);
  EXPECT_EQ(CompareItems("b|{0a}|x", "a|{0B}|y", 1), -1);  // hex digits without regard to case
  EXPECT_EQ(CompareItems("ab|x|y", "abc|x|y", 0), -1);
  EXPECT_EQ(CompareItems("abc|x|y", "ab|x|y", 0), 1);
  EXPECT_EQ(CompareItems("|x|y", "a|x|y", 0), -1);  // no name sorts first
  EXPECT_EQ(CompareItems("_|x|y", "z|x|y", 0), 1);   // "_" is above the upper-case letters
  EXPECT_EQ(CompareItems("\xC3\xA9|x|y", "z|x|y", 0), 1);  // other bytes compare as they are
  EXPECT_EQ(CompareItems("a|x|C:\\b", "z|x|c:\\A", 2), 1);

  std::vector<std::string> items{"b|2|p", "A|3|q", "|1|r", "a|0|s"};
  SortItems(items, kSortByName);
  EXPECT_THAT(items, ElementsAre("|1|r", "A|3|q", "a|0|s", "b|2|p"));  // equal keys keep their order
  SortItems(items, kSortById);
  EXPECT_THAT(items, ElementsAre("a|0|s", "|1|r", "b|2|p", "A|3|q"));
  SortItems(items, kSortNone);
  EXPECT_THAT(items, ElementsAre("a|0|s", "|1|r", "b|2|p", "A|3|q"));

  // The same order as indexes, for items whose fields are kept apart.
  const std::vector<std::string> unsorted{"b|2|p", "A|3|q", "|1|r", "a|0|s"};
  EXPECT_THAT(SortOrder(unsorted, kSortByName), ElementsAre(2u, 1u, 3u, 0u));
  EXPECT_THAT(SortOrder(unsorted, kSortById), ElementsAre(3u, 2u, 0u, 1u));
  EXPECT_THAT(SortOrder(unsorted, kSortNone), ElementsAre(0u, 1u, 2u, 3u));
}

}  // namespace
}  // namespace quenlor::catalogue
