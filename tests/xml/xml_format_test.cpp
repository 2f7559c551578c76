// The direct layout of plain XML against the layout through the DOM: equal to the byte, on
// texts the direct route takes, on texts it refuses as ill-formed and on texts it leaves to
// the DOM; and on the descriptions of every real library at hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "description/type_lib_scan.h"
#include "xml/xml_format.h"
#include "xml/xml_objects.h"
#include "xml_test_platform.h"

namespace quenlor::xml {
namespace {

namespace fs = std::filesystem;

// Control characters and line ends made visible, for failure messages.
std::string Shown(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b < 0x20 || b >= 0x7F) {
      static const char* const kHex = "0123456789ABCDEF";
      out += "\\x";
      out += kHex[b >> 4];
      out += kHex[b & 15];
    } else {
      out += c;
    }
  }
  return out;
}

// wine_differs: Wine's MSXML writes these texts its own way (see WineDiffers below), so under
// Wine the DOM route is no reference for them.
void ExpectDirect(const std::vector<std::string>& texts, bool wine_differs = false) {
  for (const std::string& text : texts) {
    const std::optional<std::string> direct = FormatPlainXml(text);
    ASSERT_TRUE(direct.has_value()) << "left to the DOM: " << Shown(text);
    EXPECT_FALSE(direct->empty()) << Shown(text);
    EXPECT_EQ(FormatXml(text), *direct);
    if (!(wine_differs && test::UnderWine())) {
      EXPECT_EQ(Shown(*direct), Shown(FormatXmlThroughDom(text))) << Shown(text);
    }
  }
}

TEST(FormatPlainXml, ElementsAndLayout) {
  ExpectDirect({
      "<a/>",
      "<a></a>",
      "<a> \t\r\n </a>",
      "<a><b/><c></c><d> </d></a>",
      "<a><b><c><d/></c></b><e/></a>",
      "<a>\r\n\t<b/>\r\n\t<c>x</c>\r\n</a>",  // laid out already, as Wine's MSXML writes
      "<a>\n  <b/>\n</a>",
      "\r\n  <a><b/></a>\r\n ",  // blanks around the root
      "<a-1.x _y=\"1\" z.-9 = '2'\t\r\n/>",
      "<a  ><b\n/></a\t>",
      "<ab><abc/><a/></ab>",
  });
}

TEST(FormatPlainXml, TextAndMixedContent) {
  ExpectDirect({
      "<a>x</a>",
      "<a>x<b/>y<c/></a>",
      "<a><b/>y<c/> <d/></a>",       // text after the first child: no layout after all
      "<a><b><c/>t</b><d/></a>",     // the inner element mixed, the outer laid out
      "<a>]]<b/>]</a>",
      "<a>1\r\n2\r3\n4\t5</a>",
      "<a>\n x\n <b/>\n</a>",
      "<a>\"quoted\" 'single'</a>",
      "<a>\x7F \xC2\x80 \xC3\xA4 \xE2\x82\xAC \xEF\xBF\xBD \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF</a>",
  });
}

TEST(FormatPlainXml, ReferencesAndEscapes) {
  ExpectDirect({
      "<a>&lt;&gt;&amp;&apos;&quot;</a>",
      "<a>&#60;&#x3E;&#38;&#0000065;&#x20ac;&#x1F600;&#xD7FF;&#xE000;&#xFFFD;&#x10FFFF;</a>",
      "<a>x&#13;&#10;&#9;y&#13;\n\r&#10;z</a>",
      "<a>x&#32;y</a>",
      "<a>&#65;</a>",
  });
  ExpectDirect({
      "<a v=\"&lt;&gt;&amp;&apos;&quot;'\"/>",
      "<a v='\"&quot;&apos;'/>",
      "<a v=\"&#9;&#10;&#13;&#60;&#x3e;\" w=\" \t\r\n\r\n\rx\ty \"/>",
      "<a v=\"a>b\" w=\"\" x=''/>",
      "<a v=\"\xC3\xA4&#xE4;\xF0\x9F\x98\x80\"/>",
  });
}

TEST(FormatPlainXml, Declaration) {
  ExpectDirect({
      "<?xml version=\"1.0\"?><a/>",
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<a><b/></a>",
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xC3\xA4</a>",
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><a/>",
      "<?xml version=\"1.0\" standalone=\"no\"?><a/>",
  });
}

// Wine's MSXML takes blanks and line breaks off the ends of a text in some cases: a text
// ending in CR LF, and so every text ending in ">" before a tag (the line break put between
// "><"), and references to blanks at the start; inside mixed content it lays out no element;
// it indents no further than 60 levels. The layer's own descriptions hold none of these.
TEST(FormatPlainXml, WineDiffers) {
  ExpectDirect({"<a><b><c/></b>t</a>", "<a>x><b/>y></a>", "<a>\r\n x\r\n <b/>\r\n</a>", "<a>x\r\n</a>",
                "<a>&#13;&#10;&#9;x&#13;\n\r&#10;</a>", "<a>&#32;x</a>"},
               true);
}

// Texts no DOM reads: the empty text, without asking one.
TEST(FormatPlainXml, PlainlyIllFormedGivesTheEmptyText) {
  std::string many;
  for (int i = 0; i < 40; ++i) many += " n" + std::to_string(i) + "='1'";
  for (const std::string& text : std::vector<std::string>{
           "", " \r\n\t", "<a>", "<a><b></a>", "<a></b>", "<a></ab>", "<ab></a>", "<a><b/>", "<a x='1' x='2'/>",
           "<a x='1' y='2' x=\"3\"></a>", "<a" + many + " n7='2'/>", "<a v='<'/>", "<a v=\"x<y\"/>", "<a",
           "<a x", "<a x=", "<a x='1", "<a/", "<a>text", "<a></a", "<a><b></b></c>",
       }) {
    const std::optional<std::string> direct = FormatPlainXml(text);
    ASSERT_TRUE(direct.has_value()) << "left to the DOM: " << Shown(text);
    EXPECT_EQ(*direct, "") << Shown(text);
    EXPECT_EQ(FormatXmlThroughDom(text), "") << Shown(text);
  }
  ExpectDirect({"<a" + many + "/>"});
}

// Everything else goes the DOM's way, whatever that DOM makes of it.
TEST(FormatPlainXml, LeavesTheRestToTheDom) {
  std::string deep;
  for (int i = 0; i < 201; ++i) deep += "<d>";
  for (int i = 0; i < 201; ++i) deep += "</d>";
  for (const std::string& text : std::vector<std::string>{
           "<a><!--c--></a>", "<a><![CDATA[x]]></a>", "<a><?p d?></a>", "<!DOCTYPE a><a/>", "<!--c--><a/>",
           "<a/><!--c-->", "<a/><?p?>", "<?p?><a/>", "<p:a xmlns:p='urn:x'/>", "<a xmlns='urn:x'/>",
           "<a xml:lang='en'/>", "<a XMLx='1'/>", "<p:a/>", "<a p:b='1'/>", "<\xC3\xA4/>", "<a \xC3\xA4='1'/>",
           "<a>&nbsp;</a>", "<a>&#0;</a>", "<a>&#xD800;</a>", "<a>&#xFFFE;</a>", "<a>&#x110000;</a>", "<a>&#X41;</a>",
           "<a>&#;</a>", "<a>&lt</a>", "<a>& </a>", "<a>]]></a>", "<a>x]]>y</a>", "<a>\x01</a>", "<a v='\x1F'/>",
           std::string("<a>\0</a>", 8), "<a>\xC3</a>", "<a>\xE4</a>", "<a>\xC0\xAF</a>", "<a>\xED\xA0\x80</a>",
           "<a>\xEF\xBF\xBE</a>", "<a>\xF5\x80\x80\x80</a>", "\xEF\xBB\xBF<a/>", "<a>&#32;</a>", "<a> &#9; </a>",
           "<a><b/>&#10;</a>", "<a/><b/>", "<a/>x", "x<a/>", " <?xml version=\"1.0\"?><a/>", "<?xml version=\"1.1\"?><a/>",
           "<?xml version='1.0'?><a/>", "<?xml version=\"1.0\" encoding=\"UTF-16\"?><a/>", "<?xml version=\"1.0\" ?><a/>",
           "<?xml-stylesheet href=\"x\"?><a/>", "<1a/>", "<a 1b='1'/>", "<a b='1'c='2'/>", "<a b=1/>", "<a/ >", "</a>",
           "<a></ a>", "<a>< b/></a>", deep,
       }) {
    EXPECT_FALSE(FormatPlainXml(text).has_value()) << Shown(text);
    EXPECT_EQ(FormatXml(text), FormatXmlThroughDom(text)) << Shown(text);
  }
}

// A long text, element and value are taken directly below the DOMs' limits, and given to the
// DOM beyond.
TEST(FormatPlainXml, SizesNearTheLimits) {
  std::string deep;
  for (int i = 0; i < 200; ++i) deep += "<d>";
  for (int i = 0; i < 200; ++i) deep += "</d>";
  ExpectDirect({deep}, true);
  ExpectDirect({"<a>" + std::string(999'999, 'x') + "</a>", "<a v='" + std::string(999'999, 'v') + "'/>",
                "<" + std::string(1000, 'n') + "/>"});
  for (const std::string& text : {"<a>" + std::string(1'000'001, 'x') + "</a>", "<a v='" + std::string(1'000'001, 'v') + "'/>",
                                  "<" + std::string(1001, 'n') + "/>"}) {
    EXPECT_FALSE(FormatPlainXml(text).has_value()) << text.size();
  }
}

// The layout of every description the program can make here, both ways.
TEST(FormatPlainXml, DescriptionsOfRealLibraries) {
  std::vector<fs::path> folders{QUENLOR_CORPUS_DIR};
  // The libraries of the Wine prefix the project's tests run in (mshtml's is the largest).
  const fs::path system = fs::path(QUENLOR_SOURCE_DIR) / "build" / "wineprefix" / "drive_c" / "windows" / "system32";
  std::error_code error;
  if (fs::is_directory(system, error)) folders.push_back(system);
  int described = 0;
  for (const fs::path& folder : folders) {
    for (const auto& entry : fs::recursive_directory_iterator(folder, error)) {
      if (!entry.is_regular_file() || entry.path().extension() == ".md") continue;
      const DocumentPtr document = description::LoadTypeLibDescription(entry.path().string(), typelib::ReaderKind::Builtin);
      if (!document) continue;
      ++described;
      const std::string text = document->GetXml();
      const std::optional<std::string> direct = FormatPlainXml(text);
      ASSERT_TRUE(direct.has_value()) << entry.path();
      EXPECT_TRUE(*direct == FormatXmlThroughDom(text)) << entry.path();
    }
  }
  EXPECT_GE(described, 16);
}

}  // namespace
}  // namespace quenlor::xml
