// Display layout, replace-all, file saving and loading, and XPath literals.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/file.h"
#include "xml/xml_objects.h"
#include "xml_test_platform.h"
#include "xml_test_util.h"

namespace quenlor::xml {
namespace {

std::string ReadText(const std::string& path) {
  auto bytes = ReadWholeFile(path);
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("(unreadable)");
}

TEST(FormatXml, OneTagPerLineTwoBlanksPerLevel) {
  EXPECT_EQ(FormatXml("<a><b/><c/></a>"), "<a>\r\n  <b/>\r\n  <c/>\r\n</a>\r\n");
  EXPECT_EQ(FormatXml("<a>\r\n<b/>\n<c/></a>"), FormatXml("<a><b/><c/></a>"));
  EXPECT_EQ(FormatXml("<r><x k=\"&lt;&gt;\">1 &gt; 0</x><y><z></z></y></r>"),
            "<r>\r\n  <x k=\"&lt;&gt;\">1 &gt; 0</x>\r\n  <y>\r\n    <z/>\r\n  </y>\r\n</r>\r\n");
  EXPECT_EQ(FormatXml("<a><b></a>"), "");
  EXPECT_EQ(FormatXml(""), "");
}

TEST(FormatXml, LaysOutWhatTheLayerWrites) {
  auto document = CreateDocument();
  auto root = document->ForceRoot("typelibs");
  for (int i = 0; i < 2; ++i) {
    auto entry = root->Nodes()->Add("typelib");
    entry->Values()->WriteString("id", "{" + std::to_string(i) + "}");
    entry->Values()->WriteString("name", "");
  }
  EXPECT_EQ(FormatXml(document->GetXml()),
            "<typelibs>\r\n"
            "  <typelib>\r\n    <id>{0}</id>\r\n    <name/>\r\n  </typelib>\r\n"
            "  <typelib>\r\n    <id>{1}</id>\r\n    <name/>\r\n  </typelib>\r\n"
            "</typelibs>\r\n");
}

TEST(ReplaceText, HorspoolReplaceAll) {
  EXPECT_EQ(ReplaceText("aaa", "aa", "b", true), "ba");
  EXPECT_EQ(ReplaceText("abab", "ab", "", true), "");
  EXPECT_EQ(ReplaceText("xaBy", "AB", "x", false), "xxy");
  EXPECT_EQ(ReplaceText("xaBy", "AB", "x", true), "xaBy");
  EXPECT_EQ(ReplaceText("", "a", "b", true), "");
  EXPECT_EQ(ReplaceText("abc", "", "x", true), "abc");
  EXPECT_EQ(ReplaceText("a", "abc", "x", true), "a");
  EXPECT_EQ(ReplaceText("><><", "><", ">\r\n<", false), ">\r\n<>\r\n<");
  EXPECT_EQ(ReplaceText("aaaa", "a", "aa", true), "aaaaaaaa") << "a replacement is not searched again";
  // Only ASCII letters fold: the bytes of other characters compare as they are.
  EXPECT_EQ(ReplaceText("\xC3\xA4 \xC3\x84", "\xC3\xA4", "x", false), "x \xC3\x84");
  const std::string long_text(10000, 'q');
  EXPECT_EQ(ReplaceText(long_text + "needle" + long_text, "NEEDLE", "pin", false), long_text + "pin" + long_text);
}

TEST(XPathLiteral, StandsForAnyValue) {
  EXPECT_EQ(XPathLiteral("plain"), "\"plain\"");
  EXPECT_EQ(XPathLiteral("it's"), "\"it's\"");
  EXPECT_EQ(XPathLiteral("say \"x\""), "'say \"x\"'");
  EXPECT_EQ(XPathLiteral("a\"b'c"), "concat(\"a\", '\"', \"b'c\")");
  auto root = CreateDocument()->ForceRoot("r");
  for (std::string name : {"plain", "it's", "\"q\"", "a\"b'c", "\"'", "'\"'\"", ""}) {
    auto item = root->Nodes()->Add("item");
    item->Attributes()->Values()->WriteString("name", name);
    auto found = root->FindNodes("item[@name=" + XPathLiteral(name) + "]");
    ASSERT_EQ(found->Count(), 1) << name;
    EXPECT_EQ(found->GetNode(0)->FindAttribute("name")->GetText(), name);
    root->Nodes()->Remove(item);
  }
}

TEST(XmlFiles, SaveWritesUtf8TextWholeAndLoadReadsItBack) {
  const std::string folder = test::TempFolder("files");
  const std::string path = folder + "/doc.xml";
  auto document = CreateDocument();
  document->SetInstruction("app", "x");
  auto root = document->ForceRoot("r");
  root->Values()->WriteString("name", "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC");
  document->SaveToFile(path);
  const std::string text = ReadText(path);
  EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << text;
  EXPECT_NE(text.find("Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC"), std::string::npos) << text;
  auto loaded = CreateDocument();
  loaded->LoadFromFile(path);
  ASSERT_NE(loaded->GetRoot(), nullptr);
  EXPECT_EQ(loaded->GetRoot()->Values()->ReadString("name", "", false), "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC");
  EXPECT_EQ(loaded->Nodes()->Count(), 3);

  // A document without declaration gets one; a file that cannot be written is left alone.
  auto plain = CreateDocument();
  plain->ForceRoot("p");
  plain->SaveToFile(path);
  EXPECT_EQ(ReadText(path).rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u);
  EXPECT_NE(test::ErrorOf([&] { plain->SaveToFile(folder + "/missing/doc.xml"); }), "(none)");
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::u8path(folder + "/missing")));

  // Loading a file that is missing or does not parse leaves the document empty.
  loaded->LoadFromFile(folder + "/none.xml");
  EXPECT_EQ(loaded->GetRoot(), nullptr);
  std::ofstream(std::filesystem::u8path(folder + "/bad.xml")) << "<a><b></a>";
  plain->LoadFromFile(folder + "/bad.xml");
  EXPECT_EQ(plain->GetXml(), "");
  // A file in another encoding is read by its declaration.
  std::ofstream(std::filesystem::u8path(folder + "/latin.xml"), std::ios::binary)
      << "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE4</a>";
  plain->LoadFromFile(folder + "/latin.xml");
  ASSERT_NE(plain->GetRoot(), nullptr);
  EXPECT_EQ(plain->GetRoot()->GetText(), "\xC3\xA4");
}

}  // namespace
}  // namespace quenlor::xml
