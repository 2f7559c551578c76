// The document layer against the behaviour its users rely on; the same suite runs over
// libxml2 (Linux) and MSXML (Windows build).
#include <gtest/gtest.h>

#include "xml/xml_objects.h"
#include "xml_test_platform.h"
#include "xml_test_util.h"

namespace quenlor::xml {
namespace {

using test::ErrorOf;

const std::string kSafecall = "Exception in safecall method";

std::vector<std::string> Names(const NodesPtr& nodes) {
  std::vector<std::string> names;
  for (int i = 0; i < nodes->Count(); ++i) names.push_back(nodes->GetNode(i)->Name());
  return names;
}

DocumentPtr Parse(std::string_view text) {
  auto document = CreateDocument();
  document->SetXml(text);
  return document;
}

using Strings = std::vector<std::string>;

TEST(XmlDocument, ParsedTextWithLineBreaksIsWrittenOneElementPerLine) {
  auto document = Parse("<a>\n  <b/>\n  <c x=\"1\">t &amp; &lt;u&gt;</c>\n</a>");
  EXPECT_EQ(document->GetXml(), "<a>\r\n\t<b/>\r\n\t<c x=\"1\">t &amp; &lt;u&gt;</c>\r\n</a>\r\n");
  // The white space between tags is not content.
  EXPECT_EQ(document->GetRoot()->Nodes()->Count(), 2);
  EXPECT_EQ(document->GetRoot()->GetText(), "t & <u>");
}

TEST(XmlDocument, BuiltDocumentHasNoWhiteSpaceOfItsOwn) {
  auto document = CreateDocument();
  auto root = document->ForceRoot("typelibs");
  auto entry = root->Nodes()->Add("typelib");
  entry->Values()->WriteString("id", "{X}");
  entry->ForceNode("name");
  const std::string xml = document->GetXml();
  if (test::UnderWine()) {
    // Wine's MSXML lays out every document it writes, built ones included; Windows does not.
    EXPECT_NE(xml.find("<id>{X}</id>"), std::string::npos) << xml;
  } else {
    EXPECT_EQ(xml, "<typelibs><typelib><id>{X}</id><name/></typelib></typelibs>\r\n");
  }
  EXPECT_EQ(root->GetXml().rfind("<typelibs>", 0), 0u);
}

TEST(XmlDocument, TextThatDoesNotParseLeavesAnEmptyDocument) {
  auto document = Parse("<a><b/></a>");
  ASSERT_NE(document->GetRoot(), nullptr);
  for (std::string_view bad : {"<a><b></a>", "", "plain text", "<a/><b/>", "<a x='1' x='2'/>", "<!DOCTYPE a SYSTEM \"/etc/passwd\"><a>&x;</a>"}) {
    document->SetXml(bad);
    EXPECT_EQ(document->GetRoot(), nullptr) << bad;
    EXPECT_EQ(document->GetXml(), "") << bad;
    EXPECT_EQ(document->Nodes()->Count(), 0) << bad;
  }
}

TEST(XmlDocument, TextKeepsEveryCharacterAndEscapesMarkup) {
  const std::string value = "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC <&> \"quoted\" 'single' \xF0\x9F\x98\x80";
  auto document = CreateDocument();
  auto root = document->ForceRoot("r");
  root->SetText(value);
  root->Attributes()->Values()->WriteString("v", value);
  const std::string xml = document->GetXml();
  EXPECT_EQ(xml.find("<&>"), std::string::npos);
  EXPECT_NE(xml.find("&lt;&amp;&gt;"), std::string::npos) << xml;
  auto copy = Parse(xml);
  ASSERT_NE(copy->GetRoot(), nullptr) << xml;
  EXPECT_EQ(copy->GetRoot()->GetText(), value);
  EXPECT_EQ(copy->GetRoot()->FindAttribute("v")->GetText(), value);
}

TEST(XmlDocument, NodesIncludeDeclarationAndInstructions) {
  auto document = Parse("<?xml version=\"1.0\"?><?pi data?><!--c--><a/>");
  EXPECT_EQ(Names(document->Nodes()), (Strings{"xml", "pi", "#comment", "a"}));
  ASSERT_NE(document->GetRoot(), nullptr);
  EXPECT_EQ(document->GetRoot()->Name(), "a");
}

TEST(XmlDocument, RootIsTheLastTopLevelNodeWhenItIsAnElement) {
  auto document = Parse("<a/><!--after-->");
  EXPECT_EQ(document->GetRoot(), nullptr);
  document = Parse("<a><b/></a>");
  auto nodes = document->Nodes();
  nodes->Delete(0);
  EXPECT_EQ(document->GetRoot(), nullptr);
  EXPECT_EQ(nodes->Count(), 0);
}

TEST(XmlDocument, ForceRootKeepsSameNameAndReplacesOtherNames) {
  auto document = CreateDocument();
  auto root = document->ForceRoot("typelibs");
  root->Nodes()->Add("typelib");
  auto again = document->ForceRoot("typelibs");
  EXPECT_EQ(again->Nodes()->Count(), 1);
  auto other = document->ForceRoot("Typelibs");  // names compare with case
  EXPECT_EQ(other->Name(), "Typelibs");
  EXPECT_EQ(other->Nodes()->Count(), 0);
  EXPECT_EQ(document->Nodes()->Count(), 1);
  // The dropped root stays usable through the wrapper that still holds it.
  EXPECT_EQ(root->Nodes()->Count(), 1);
  EXPECT_EQ(root->Parent(), nullptr);
}

TEST(XmlDocument, SetRootRemovesTheLastElementAndAppendsTheNode) {
  auto document = Parse("<?pi x?><a/>");
  auto b = document->CreateNode("b");
  document->SetRoot(b);
  EXPECT_EQ(Names(document->Nodes()), (Strings{"pi", "b"}));
  document->SetRoot(nullptr);
  EXPECT_EQ(Names(document->Nodes()), (Strings{"pi"}));
  EXPECT_EQ(b->Name(), "b");
}

TEST(XmlDocument, SetInstructionPutsTheDeclarationFirst) {
  auto empty = CreateDocument();
  empty->SetInstruction("xml-stylesheet", "type=\"text/xsl\" href=\"a.xsl\"");
  EXPECT_EQ(Names(empty->Nodes()), (Strings{"xml", "xml-stylesheet"}));

  auto document = Parse("<root/>");
  document->SetInstruction("app", "one");
  document->SetInstruction("app", "two");
  EXPECT_EQ(Names(document->Nodes()), (Strings{"xml", "app", "root"}));
  EXPECT_EQ(document->Nodes()->GetNode(1)->GetText(), "two");
  EXPECT_EQ(document->Nodes()->GetNode(0)->GetText(), "version=\"1.0\" encoding=\"ISO-8859-1\"");
  EXPECT_EQ(document->GetRoot()->Name(), "root");
  // A declaration already first stays as it is.
  auto declared = Parse("<?xml version=\"1.0\"?><root/>");
  declared->SetInstruction("app", "x");
  EXPECT_EQ(Names(declared->Nodes()), (Strings{"xml", "app", "root"}));
  EXPECT_EQ(declared->Nodes()->GetNode(0)->GetText(), "version=\"1.0\"");
}

TEST(XmlDocument, StyleSheetInstruction) {
  auto document = Parse("<root/>");
  EXPECT_EQ(document->GetStyleSheet(), "");
  document->SetStyleSheet("view.xsl");
  EXPECT_EQ(Names(document->Nodes()), (Strings{"xml-stylesheet", "root"}));
  EXPECT_EQ(document->GetStyleSheet(), "view.xsl");
  document->SetStyleSheet("other.xsl");
  EXPECT_EQ(document->Nodes()->Count(), 2);
  EXPECT_EQ(document->GetStyleSheet(), "other.xsl");
  EXPECT_EQ(Parse("<?xml-stylesheet type=\"text/xsl\" href=\"open?><r/>")->GetStyleSheet(), "");
  EXPECT_EQ(Parse("<?xml-stylesheet href=\"x\"?><r/>")->GetStyleSheet(), "");  // no blank before href
  EXPECT_EQ(Parse("<?xml-stylesheet a=\"\" href=\"x\"?><?xml-stylesheet a=\"\" href=\"y\"?><r/>")->GetStyleSheet(), "x");
  auto empty = CreateDocument();
  empty->SetStyleSheet("e.xsl");
  EXPECT_EQ(Names(empty->Nodes()), (Strings{"xml-stylesheet"}));
}

}  // namespace
}  // namespace quenlor::xml
