// The unit's frame, its constants and enumerations, sections and blank lines, the
// identifier rules, and the interface order.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "base/error.h"
#include "generator/import_unit.h"
#include "tests/generator/test_support.h"

namespace quenlor::generator {
namespace {

using testing::Body;
using testing::Description;
using testing::SplitLines;
using testing::UnitBody;
using Lines = std::vector<std::string>;

TEST(BuildImportUnit, EmptyDescriptionIsHeaderAndClosingOnly) {
  EXPECT_EQ(BuildImportUnit(Description(R"(<typelib name="Demo"/>)")),
            "unit Demo_TLB;\r\n\r\n{$TYPEDADDRESS OFF}\r\n{$WARN SYMBOL_PLATFORM OFF}\r\n"
            "{$WRITEABLECONST ON}\r\n{$VARPROPSETTER ON}\r\n\r\ninterface\r\n\r\nuses\r\n"
            "  Windows, ActiveX, Variants;\r\n\r\nimplementation\r\n\r\nend.\r\n");
  // The unit line takes the name as it stands, reserved or not.
  EXPECT_EQ(SplitLines(BuildImportUnit(Description(R"(<typelib name="type"/>)")))[0], "unit type_TLB;");
}

TEST(BuildImportUnit, DescriptionWithoutRootIsRefused) {
  EXPECT_THROW(BuildImportUnit(xml::CreateDocument()), Error);
}

TEST(BuildImportUnit, GuidConstantsShareOneSectionDispinterfacesFirst) {
  EXPECT_EQ(UnitBody(R"(<typelib name="L">
      <coclasses><coclass name="A"><guid>{A}</guid></coclass><coclass name="B"><guid>{B}</guid></coclass></coclasses>
      <interfaces><interface name="I" inherits="IUnknown"><guid>{I}</guid></interface></interfaces>
      <dispinterfaces><dispinterface name="D"><guid>{D}</guid></dispinterface></dispinterfaces>
    </typelib>)"),
            (Lines{"", "const", "  CLSID_A: TGUID = '{A}';", "  CLSID_B: TGUID = '{B}';", "  IID_D: TGUID = '{D}';",
                   "  IID_I: TGUID = '{I}';", "", "type", "  I = interface;", "  D = dispinterface;", "",
                   "  I = interface(IUnknown)", "    ['{I}']", "  end;", "", "  D = dispinterface",
                   "    ['{D}']", "  end;"}));
}

TEST(BuildImportUnit, ModulesAndEnumerationsOpenTheirSections) {
  // A module without constants opens "const", which the unit then leaves out: a section
  // without declarations does not compile. One with constants gets its comment.
  EXPECT_EQ(UnitBody(R"(<typelib name="L"><modules><module name="M"/></modules></typelib>)"), (Lines{}));
  EXPECT_EQ(UnitBody(R"(<typelib name="L"><modules>
      <module name="M"/>
      <module name="end"><consts><const name="to" value="1"/><const name="Big" value="'x'"/></consts></module>
    </modules></typelib>)"),
            (Lines{"", "const", "", "{ end_ }", "  to_ = 1;", "  Big = 'x';"}));
  // Each enumeration: "type", its line, a blank line, "const" and its members; a reserved
  // name is declared with "_". An enumeration without members writes nothing but its
  // separation.
  EXPECT_EQ(UnitBody(R"(<typelib name="L"><enums>
      <enum name="type"><items><item name="begin" value="0"/><item name="B" value="-5"/></items></enum>
      <enum name="Empty"/>
      <enum name="Second"><items><item name="C" value="2"/></items></enum>
    </enums></typelib>)"),
            (Lines{"", "type", "  type_ = TOleEnum;", "", "const", "  begin_ = 0;", "  B = -5;", "", "type", "",
                   "  Second = TOleEnum;", "", "const", "  C = 2;"}));
}

TEST(BuildImportUnit, EnumerationsAndInterfacesAreKnownTypeNames) {
  // A dispinterface property typed by an enumeration (reserved, other case), by an
  // interface, by an enumeration without members and by a record.
  const Lines body = UnitBody(R"(<typelib name="L">
      <enums><enum name="type"><items><item name="A" value="0"/></items></enum><enum name="Bare"/></enums>
      <records><record name="R"/></records>
      <dispinterfaces><dispinterface name="D"><guid>{D}</guid><methods>
        <method name="P1" dispid="1" invoke="get,put"><prop>TYPE</prop><result>HResult</result></method>
        <method name="P2" dispid="2" invoke="get,put"><prop>d</prop><result>HResult</result></method>
        <method name="P3" dispid="3" invoke="get,put"><prop>Bare</prop><result>HResult</result></method>
        <method name="P4" dispid="4" invoke="get,put"><prop>R</prop><result>HResult</result></method>
      </methods></dispinterface></dispinterfaces>
    </typelib>)");
  const Lines expected{"    property P1: TYPE_ dispid 1;", "    property P2: d dispid 2;",
                       "    property P3: {Bare}OleVariant dispid 3;", "    property P4: {R}OleVariant dispid 4;"};
  EXPECT_TRUE(std::search(body.begin(), body.end(), expected.begin(), expected.end()) != body.end())
      << ::testing::PrintToString(body);
}

TEST(BuildImportUnit, OneGeneratorServesManyUnitsWithoutCarryingNames) {
  ImportUnitGenerator generator;
  const std::string first = generator.BuildImportUnit(Description(R"(<typelib name="A">
      <interfaces><interface name="Foo" inherits="IUnknown"><guid>{F}</guid></interface></interfaces>
      <enums><enum name="Bar"><items><item name="X" value="1"/></items></enum></enums></typelib>)"));
  const char* second_text = R"(<typelib name="B"><dispinterfaces><dispinterface name="D"><guid>{D}</guid><methods>
      <method name="F" dispid="1" invoke="func"><result>Foo</result></method>
      <method name="G" dispid="2" invoke="func"><result>Bar</result></method>
    </methods></dispinterface></dispinterfaces></typelib>)";
  const std::string second = generator.BuildImportUnit(Description(second_text));
  EXPECT_EQ(second, BuildImportUnit(Description(second_text)));
  EXPECT_NE(second.find("function F: {Foo}OleVariant; dispid 1;"), std::string::npos);
  EXPECT_NE(second.find("function G: {Bar}OleVariant; dispid 2;"), std::string::npos);
  EXPECT_TRUE(generator.CurrentSection.empty());
  EXPECT_TRUE(generator.InterfaceNames.Names().empty());
  // A failing generation leaves no state behind either.
  EXPECT_THROW(generator.BuildImportUnit(xml::CreateDocument()), Error);
  EXPECT_TRUE(generator.EnumNames.Names().empty());
}

TEST(BuildImportUnit, WhiteSpaceAndCommentsBetweenItemsAreNotItems) {
  const std::string text = R"(<typelib name="L">
  <!-- a comment -->
  <enums>
    <enum name="E">
      <items>
        <item name="A" value="1"/>
        <!-- another -->
      </items>
    </enum>
  </enums>
</typelib>)";
  EXPECT_EQ(UnitBody(text), (Lines{"", "type", "  E = TOleEnum;", "", "const", "  A = 1;"}));
}

TEST(SafeName, OnlyWholeReservedWordsGetAnUnderscore) {
  EXPECT_EQ(SafeName("String"), "String_");
  EXPECT_EQ(SafeName("STRING"), "STRING_");
  EXPECT_EQ(SafeName("string"), "string_");
  EXPECT_EQ(SafeName("xstring"), "xstring");
  EXPECT_EQ(SafeName("Ending"), "Ending");
  EXPECT_EQ(SafeName("Typed"), "Typed");
  EXPECT_EQ(SafeName("xor"), "xor_");  // an operator no identifier may be, like "and"
  EXPECT_EQ(SafeName("div2"), "div2");
  EXPECT_EQ(SafeName("Result"), "Result");
  EXPECT_EQ(SafeName(""), "");
  EXPECT_EQ(SafeName("dispinterface"), "dispinterface_");
  EXPECT_EQ(SafeName("resourcestring"), "resourcestring_");
  EXPECT_EQ(SafeName("automated"), "automated_");
  // Only ASCII letters fold: a dotless capital I is not "i".
  EXPECT_EQ(SafeName("\xC4\xB0N"), "\xC4\xB0N");
  // The table has exactly 72 words.
  int reserved = 0;
  for (const char* word :
       {"and", "array", "as", "asm", "at", "automated", "begin", "case", "class", "const", "constructor",
        "destructor", "dispinterface", "div", "do", "downto", "else", "end", "except", "exports", "file",
        "finalization", "finally", "for", "function", "goto", "if", "implementation", "in", "inherited",
        "initialization", "inline", "interface", "is", "label", "library", "mod", "nil", "not", "object", "of",
        "on", "or", "out", "packed", "private", "procedure", "program", "property", "protected", "public",
        "published", "raise", "record", "repeat", "resourcestring", "set", "shl", "shr", "string", "then",
        "threadvar", "to", "try", "type", "unit", "until", "uses", "var", "while", "with", "xor"}) {
    reserved += IsReservedWord(word) ? 1 : 0;
  }
  EXPECT_EQ(reserved, 72);
  for (const char* word : {"operator", "absolute", "self", "result", "exit", "true", "nil_"}) {
    EXPECT_FALSE(IsReservedWord(word)) << word;
  }
}

// A unit declares thousands of interfaces: the name list must stay exact while its table
// grows, for names that differ only in case or length, and across clearing.
TEST(NameList, LooksUpThousandsOfNamesWithoutRegardToCase) {
  NameList names;
  for (int i = 0; i < 5000; ++i) names.Add("IName" + std::to_string(i));
  names.Add("ina");
  EXPECT_EQ(names.Names().size(), 5001u);
  for (int i = 0; i < 5000; i += 7) {
    EXPECT_TRUE(names.Contains("iname" + std::to_string(i))) << i;
    EXPECT_TRUE(names.Contains("INAME" + std::to_string(i))) << i;
  }
  EXPECT_FALSE(names.Contains("IName5000"));
  EXPECT_FALSE(names.Contains("IName"));
  EXPECT_FALSE(names.Contains("IName12a"));
  EXPECT_TRUE(names.Contains("INA"));
  EXPECT_FALSE(names.Contains("in"));
  EXPECT_FALSE(names.Contains(""));
  names.Add("IName1");  // listed again, found once as before
  EXPECT_EQ(names.Names().size(), 5002u);
  EXPECT_TRUE(names.Contains("iname1"));
  names.Clear();
  EXPECT_TRUE(names.Names().empty());
  EXPECT_FALSE(names.Contains("IName1"));
  names.Add("Again");
  EXPECT_TRUE(names.Contains("AGAIN"));
}

TEST(TypeName, InterfacesEnumerationsKnownTypesAndTheCommentForm) {
  ImportUnitGenerator generator;
  generator.InterfaceNames.Add("Property");
  generator.InterfaceNames.Add("IThing");
  generator.InterfaceNames.Sort();
  generator.EnumNames.Add("Color");
  EXPECT_EQ(generator.TypeName("integer"), "integer");
  EXPECT_EQ(generator.TypeName("Integer"), "Integer");
  EXPECT_EQ(generator.TypeName("INTEGER"), "INTEGER");
  EXPECT_EQ(generator.TypeName("WideString"), "WideString");
  EXPECT_EQ(generator.TypeName("toleenum"), "toleenum");
  EXPECT_EQ(generator.TypeName("Property"), "Property_");
  EXPECT_EQ(generator.TypeName("ithing"), "ithing");
  EXPECT_EQ(generator.TypeName("COLOR"), "COLOR");
  EXPECT_EQ(generator.TypeName("TagPoint"), "{TagPoint}OleVariant");
  EXPECT_EQ(generator.TypeName("set"), "{set_}OleVariant");
  EXPECT_EQ(generator.TypeName("TGUID"), "{TGUID}OleVariant");
  EXPECT_EQ(generator.TypeName(""), "{}OleVariant");
  // Known, but no type a dispinterface can carry.
  EXPECT_EQ(generator.TypeName("PWideChar"), "{PWideChar}OleVariant");
  EXPECT_EQ(generator.TypeName("Decimal"), "{Decimal}OleVariant");
  EXPECT_EQ(generator.TypeName("Pointer"), "{Pointer}OleVariant");
  EXPECT_EQ(generator.DeclaredType("Decimal"), "TDecimal");
  EXPECT_EQ(generator.DeclaredType("Pointer"), "Pointer");
  EXPECT_EQ(generator.DeclaredType("type"), "type_");
  // Not known: only the 25 names of the table are.
  EXPECT_EQ(generator.TypeName("Boolean"), "{Boolean}OleVariant");
}

TEST(Sections, KeywordsOnlyWhenTheSectionChangesAndOneBlankLineBetweenDeclarations) {
  ImportUnitGenerator generator;
  UnitText text{"uses"};
  generator.OpenSection(text, "const");
  generator.OpenSection(text, "const");
  EXPECT_EQ(text, (Lines{"uses", "", "const"}));
  generator.OpenSection(text, "type");
  EXPECT_EQ(text, (Lines{"uses", "", "const", "", "type"}));
  // Same section, last line its keyword: a blank line after it.
  generator.BeginDeclaration(text, "type");
  EXPECT_EQ(text.back(), "");
  generator.BeginDeclaration(text, "type");  // already blank: nothing
  EXPECT_EQ(text.size(), 6u);
  text.push_back("  X = Y;");
  generator.BeginDeclaration(text, "const");  // the section changes: blank and keyword, nothing after
  EXPECT_EQ(text, (Lines{"uses", "", "const", "", "type", "", "  X = Y;", "", "const"}));
  text.emplace_back();
  generator.BeginDeclaration(text, "type");  // a blank last line is not doubled
  EXPECT_EQ(text, (Lines{"uses", "", "const", "", "type", "", "  X = Y;", "", "const", "", "type"}));
  // The keyword comparison is exact.
  generator.OpenSection(text, "Type");
  EXPECT_EQ(text.back(), "Type");
}

// The ordering as written: position, step count, LaterBaseIndex at every step.
std::vector<std::string> ReferenceInterfaceOrder(std::vector<xml::NodePtr> list) {
  int p = 0;
  for (int steps = 0; p < static_cast<int>(list.size());) {
    if (LaterBaseIndex(list, p) == -1) {
      ++p;
    } else {
      xml::NodePtr moved = list[static_cast<std::size_t>(p)];
      list.erase(list.begin() + p);
      list.push_back(moved);
    }
    if (++steps >= 2000) break;
  }
  std::vector<std::string> names;
  for (const auto& node : list) names.push_back(node->Attributes()->Values()->ReadString("name", "", false));
  return names;
}

std::vector<std::string> InterfaceOrder(std::string_view interfaces) {
  const xml::DocumentPtr document = Description("<typelib name=\"L\"><interfaces>" + std::string(interfaces) +
                                                "</interfaces></typelib>");
  std::vector<xml::NodePtr> list;
  const xml::NodesPtr nodes = document->GetRoot()->FindNodes("interfaces/interface");
  for (int i = 0; i < nodes->Count(); ++i) list.push_back(nodes->GetNode(i));
  const std::vector<std::string> expected = ReferenceInterfaceOrder(list);
  OrderByInheritance(list);
  std::vector<std::string> names;
  for (const auto& node : list) names.push_back(node->Attributes()->Values()->ReadString("name", "", false));
  EXPECT_EQ(names, expected) << "differs from the step-by-step order";
  return names;
}

TEST(OrderByInheritance, BasesBeforeDerivedCyclesStopAfter2000Steps) {
  EXPECT_EQ(InterfaceOrder(R"(<interface name="Z" inherits="Y"/><interface name="Y" inherits="X"/>
                              <interface name="X" inherits="IUnknown"/>)"),
            (Lines{"X", "Y", "Z"}));
  // A two-cycle swaps at every step: 2000 steps bring it back to document order.
  EXPECT_EQ(InterfaceOrder(R"(<interface name="X" inherits="Y"/><interface name="Y" inherits="X"/>)"),
            (Lines{"X", "Y"}));
  // A three-cycle rotates by one per step: 2000 = 3 * 666 + 2.
  EXPECT_EQ(InterfaceOrder(R"(<interface name="X" inherits="Y"/><interface name="Y" inherits="Z"/>
                              <interface name="Z" inherits="X"/>)"),
            (Lines{"Z", "X", "Y"}));
  // Case-sensitive: "y" is not "Y".
  EXPECT_EQ(InterfaceOrder(R"(<interface name="Z" inherits="y"/><interface name="Y" inherits="IUnknown"/>)"),
            (Lines{"Z", "Y"}));
  // An empty or missing base matches a later interface without a name.
  EXPECT_EQ(InterfaceOrder(R"(<interface name="A"/><interface name="B" inherits="IUnknown"/><interface/>)"),
            (Lines{"B", "", "A"}));
  // An interface deriving from itself stays.
  EXPECT_EQ(InterfaceOrder(R"(<interface name="S" inherits="S"/><interface name="T" inherits="S"/>)"),
            (Lines{"S", "T"}));
}

TEST(OrderByInheritance, LongChainsAndRandomForestsFollowTheStepByStepOrder) {
  // A chain declared derived-first needs about n*n/2 steps: 120 interfaces stop halfway.
  std::string chain;
  for (int i = 0; i < 120; ++i) {
    chain += "<interface name=\"I" + std::to_string(i) + "\" inherits=\"I" + std::to_string(i + 1) + "\"/>";
  }
  const Lines order = InterfaceOrder(chain);
  ASSERT_EQ(order.size(), 120u);
  EXPECT_NE(order.front(), "I0");

  std::mt19937 random(6);
  for (int round = 0; round < 40; ++round) {
    const int count = 5 + static_cast<int>(random() % 70);
    std::string interfaces;
    for (int i = 0; i < count; ++i) {
      const int base = static_cast<int>(random() % static_cast<unsigned>(count + 3));
      // Duplicate names now and then, bases beyond the list (IUnknown-like) too.
      const int name = random() % 10 == 0 ? i / 2 : i;
      interfaces += "<interface name=\"N" + std::to_string(name) + "\" inherits=\"N" + std::to_string(base) + "\"/>";
    }
    InterfaceOrder(interfaces);
  }
}

TEST(BuildImportUnit, SectionsWithoutDeclarationsAndSecondDeclarationsAreLeftOut) {
  // A module without constants before one with them, an enumeration without members last,
  // and an enumeration, constants and records declared twice (letters folded): the first
  // declaration of each name stays; no keyword is left without declarations.
  EXPECT_EQ(UnitBody(R"(<typelib name="L"><modules>
      <module name="Empty"/>
      <module name="M"><consts><const name="A" value="1"/><const name="a" value="2"/></consts></module>
    </modules><enums>
      <enum name="E"><items><item name="A" value="0"/><item name="B" value="1"/></items></enum>
      <enum name="e"><items><item name="B" value="1"/></items></enum>
      <enum name="None"/>
    </enums><records>
      <record name="R"><items><item name="x" type="Longint"/></items></record>
      <record name="R"><items><item name="y" type="Double"/></items></record>
    </records></typelib>)"),
            (Lines{"", "const", "", "{ M }", "  A = 1;", "", "type", "  E = TOleEnum;", "", "const", "  B = 1;", "",
                   "type", "", "  R = packed record", "    x: Longint;", "  end;"}));
}

TEST(DropEmptySections, OnlyKeywordsFollowedByAnotherKeyword) {
  UnitText text{"uses", "", "const", "", "type", "  X = Y;", "", "const", "", "", "implementation", "", "end."};
  DropEmptySections(text);
  EXPECT_EQ(text, (Lines{"uses", "", "type", "  X = Y;", "", "implementation", "", "end."}));
  UnitText kept{"type", "  X = Y;", "const", "  A = 1;"};
  DropEmptySections(kept);
  EXPECT_EQ(kept, (Lines{"type", "  X = Y;", "const", "  A = 1;"}));
}

}  // namespace
}  // namespace quenlor::generator
