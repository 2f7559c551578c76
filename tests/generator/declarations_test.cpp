// Aliases, records and unions with their pointer aliases and order; parameter lists with
// their modifiers and line breaks; interface and dispinterface declarations.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "generator/import_unit.h"
#include "tests/generator/test_support.h"

namespace quenlor::generator {
namespace {

using testing::Description;
using testing::UnitBody;
using Lines = std::vector<std::string>;

std::string AttrOf(const xml::NodePtr& node, std::string_view name) {
  const xml::AttributePtr attribute = node->FindAttribute(name);
  return attribute ? attribute->GetText() : "<missing>";
}

// Declarations written after a "type" line, as when forward declarations came first.
Lines TypeDeclarations(const xml::DocumentPtr& document) {
  ImportUnitGenerator generator;
  generator.CurrentSection = "type";
  UnitText text{"type"};
  generator.WriteTypeDeclarations(text, document->GetRoot());
  return text;
}

TEST(TypeDeclarations, AliasPointerAliasRecordAndUnion) {
  const xml::DocumentPtr document = Description(R"(<typelib name="L">
      <aliases><alias name="Handle" type="Longint"/></aliases>
      <records><record name="Node"><items><item name="Next" type="Node" ref="true"/></items></record></records>
      <unions><union name="Value"><items><item name="I" type="Longint"/><item name="D" type="Double"/></items></union></unions>
    </typelib>)");
  EXPECT_EQ(TypeDeclarations(document),
            (Lines{"type", "", "  Handle = Longint;", "  PNode = ^Node;", "", "  Node = packed record",
                   "    Next: PNode;", "  end;", "", "  Value = packed record", "    case Integer of",
                   "      0: (I: Longint);", "      1: (D: Double);", "  end;"}));
  // The description now holds the pointer alias after the library's own, and the item uses it.
  const xml::NodePtr alias = document->GetRoot()->FindNode("aliases/alias[2]");
  ASSERT_TRUE(alias);
  EXPECT_EQ(AttrOf(alias, "name"), "PNode");
  EXPECT_EQ(AttrOf(alias, "type"), "Node");
  EXPECT_EQ(AttrOf(alias, "ref"), "true");
  const xml::NodePtr item = document->GetRoot()->FindNode("//item[@name='Next']");
  EXPECT_EQ(AttrOf(item, "type"), "PNode");
  EXPECT_EQ(AttrOf(item, "ref"), "false");
}

TEST(TypeDeclarations, OnePointerAliasPerTargetSharedAndReused) {
  // Two records point to R: one alias PR, both fields use it without "^". The aliases
  // collection is made at the end of the root.
  const xml::DocumentPtr shared = Description(R"(<typelib name="L"><records>
      <record name="A"><items><item name="f" type="R" ref="true"/></items></record>
      <record name="B"><items><item name="g" type="R" ref="true"/></items></record>
      <record name="R"><items><item name="x" type="Longint"/></items></record>
    </records><interfaces/></typelib>)");
  EXPECT_EQ(TypeDeclarations(shared),
            (Lines{"type", "", "  PR = ^R;", "", "  A = packed record", "    f: PR;", "  end;", "",
                   "  B = packed record", "    g: PR;", "  end;", "", "  R = packed record", "    x: Longint;",
                   "  end;"}));
  const xml::NodesPtr top = shared->GetRoot()->Nodes();
  EXPECT_EQ(top->GetNode(top->Count() - 1)->Name(), "aliases");
  EXPECT_EQ(shared->GetRoot()->FindNodes("//alias")->Count(), 1);

  // An alias already named "P" + the record's name that points to it is kept, not doubled;
  // items are still rewritten.
  const xml::DocumentPtr existing = Description(R"(<typelib name="L">
      <aliases><alias name="PR" type="R" ref="true"/></aliases>
      <records><record name="A"><items><item name="f" type="R" ref="true"/></items></record>
      <record name="R"/></records></typelib>)");
  EXPECT_EQ(TypeDeclarations(existing), (Lines{"type", "", "  PR = ^R;", "", "  A = packed record", "    f: PR;",
                                                "  end;", "", "  R = packed record", "  end;"}));
  EXPECT_EQ(existing->GetRoot()->FindNodes("//alias")->Count(), 1);
}

// "P" + the name may be another type of the library (in any letter case): the field would
// then mean that type, or one of the two declarations would be left out. The pointer alias
// takes "_" until its name is free.
TEST(TypeDeclarations, PointerAliasesDoNotTakeNamesOfOtherTypes) {
  const xml::DocumentPtr document = Description(R"(<typelib name="L">
      <aliases><alias name="PR" type="Other"/></aliases>
      <records><record name="A"><items><item name="f" type="R" ref="true"/></items></record>
      <record name="R"/><record name="pr_"/></records></typelib>)");
  EXPECT_EQ(TypeDeclarations(document),
            (Lines{"type", "", "  PR = Other;", "  PR__ = ^R;", "", "  A = packed record", "    f: PR__;", "  end;",
                   "", "  R = packed record", "  end;", "", "  pr_ = packed record", "  end;"}));
}

TEST(TypeDeclarations, FixedArraysAreWrittenAsDeclarationsTakeThem) {
  const xml::DocumentPtr document = Description(R"(<typelib name="L"><records>
      <record name="Blob"><items>
        <item name="grid" type="array[0..1][0..2] of Smallint"/>
        <item name="cube" type="array[1..2][-1..0][0..0] of Decimal"/>
        <item name="data" type="array[0..-1] of Byte"/>
        <item name="odd" type="array[0..x] of Byte"/>
      </items></record></records></typelib>)");
  EXPECT_EQ(TypeDeclarations(document),
            (Lines{"type", "", "  Blob = packed record", "    grid: array[0..1, 0..2] of Smallint;",
                   "    cube: array[1..2, -1..0, 0..0] of TDecimal;", "    data: array[0..0] of Byte;",
                   "    odd: array[0..x] of Byte;", "  end;"}));
}

TEST(TypeDeclarations, HelpTextsStayInsideTheirComment) {
  EXPECT_EQ(CommentLine("plain"), "{ plain }");
  EXPECT_EQ(CommentLine("a {b} c"), "(* a {b} c *)");
  EXPECT_EQ(CommentLine("x} (*y*)"), "{ x) (*y*) }");
}

TEST(TypeDeclarations, ByReferenceItemsThatAreNoRecordsKeepTheirPointer) {
  const xml::DocumentPtr document = Description(R"(<typelib name="L">
      <enums><enum name="E"><items><item name="a" value="0"/></items></enum></enums>
      <interfaces><interface name="I" inherits="IUnknown"><guid>{I}</guid></interface></interfaces>
      <records><record name="A"><items><item name="e" type="E" ref="true"/><item name="i" type="I" ref="true"/>
        <item name="l" type="Longint" ref="true"/></items></record></records>
      <unions><union name="U"><items><item name="e" type="E" ref="true"/><item name="i" type="i" ref="true"/>
      </items></union></unions></typelib>)");
  const Lines body = testing::Body(BuildImportUnit(document));
  const Lines expected{"  A = packed record", "    e: ^E;", "    i: ^I;", "    l: ^Longint;", "  end;", "",
                       "  U = packed record", "    case Integer of", "      0: (e: ^E);", "      1: (i: i);", "  end;"};
  EXPECT_TRUE(std::search(body.begin(), body.end(), expected.begin(), expected.end()) != body.end())
      << ::testing::PrintToString(body);
  EXPECT_FALSE(document->GetRoot()->FindNode("aliases"));
}

TEST(TypeDeclarations, UsersMoveBehindWhatTheyUsePointerAliasesNeverMove) {
  const xml::DocumentPtr document = Description(R"(<typelib name="L">
      <aliases><alias name="X" type="r"/></aliases>
      <records>
        <record name="A"><items><item name="b" type="B"/></items></record>
        <record name="A2"><items><item name="p" type="C" ref="true"/></items></record>
        <record name="B"><items><item name="x" type="Longint"/></items></record>
        <record name="C"/>
        <record name="R"/>
      </records></typelib>)");
  std::vector<xml::NodePtr> declarations;
  ImportUnitGenerator generator;
  generator.OrderTypeDeclarations(document->GetRoot(), declarations);
  Lines names;
  for (const auto& node : declarations) names.push_back(AttrOf(node, "name"));
  // X uses R (case-insensitive) and A uses B: both move to the end; PC stays first.
  EXPECT_EQ(names, (Lines{"PC", "A2", "B", "C", "R", "X", "A"}));

  // Records that hold each other go round until the 2000 steps are spent: a three-cycle
  // rotates by one per step, 2000 = 3 * 666 + 2.
  const xml::DocumentPtr cycle = Description(R"(<typelib name="L"><records>
      <record name="A"><items><item name="b" type="B"/></items></record>
      <record name="B"><items><item name="c" type="C"/></items></record>
      <record name="C"><items><item name="a" type="A"/></items></record></records></typelib>)");
  generator.OrderTypeDeclarations(cycle->GetRoot(), declarations);
  names.clear();
  for (const auto& node : declarations) names.push_back(AttrOf(node, "name"));
  EXPECT_EQ(names, (Lines{"C", "A", "B"}));
}

TEST(TypeDeclarations, AliasRunsHelpCommentsAndSeparation) {
  const xml::DocumentPtr document = Description(R"(<typelib name="L">
      <aliases><alias name="H1" type="Longint"/><alias name="H2" type="Double"><help>Two</help></alias>
        <alias name="H3" type="type"/><alias name="X" type="R"/></aliases>
      <records><record name="R"/></records></typelib>)");
  EXPECT_EQ(TypeDeclarations(document), (Lines{"type", "", "  H1 = Longint;", "{ Two }", "  H2 = Double;", "",
                                                "  H3 = type_;", "", "  R = packed record", "  end;", "",
                                                "  X = R;"}));
}

TEST(TypeDeclarations, UnionsWithoutItemsAndNamesWithQuotes) {
  // Names holding quotes must neither break nor confuse the queries that find targets,
  // users and existing pointer aliases.
  const xml::DocumentPtr document = Description(R"(<typelib name="L">
      <aliases><alias name='PA"B' type="A&quot;B" ref="true"/></aliases>
      <records>
        <record name='A"B'/>
        <record name="C&quot;D'E"/>
        <record name="User"><items><item name="f" type='A"B' ref="true"/>
          <item name="g" type="C&quot;D'E" ref="true"/><item name="h" type='A"B' ref="true"/></items></record>
      </records>
      <unions><union name="Empty"/></unions></typelib>)");
  EXPECT_EQ(TypeDeclarations(document),
            (Lines{"type", "", "  PA\"B = ^A\"B;", "  PC\"D'E = ^C\"D'E;", "", "  A\"B = packed record", "  end;", "",
                   "  C\"D'E = packed record", "  end;", "", "  User = packed record", "    f: PA\"B;",
                   "    g: PC\"D'E;", "    h: PA\"B;", "  end;", "", "  Empty = packed record", "  end;"}));
  // Generating again reuses the aliases instead of adding them twice.
  TypeDeclarations(document);
  EXPECT_EQ(document->GetRoot()->FindNodes("//alias")->Count(), 2);
}

// The reordering as written: DependsOnLater at every step, 2000 steps at most.
Lines ReferenceDeclarationOrder(const xml::NodePtr& root) {
  std::vector<xml::NodePtr> list;
  for (const char* path : {"//alias", "//record", "//union"}) {
    const xml::NodesPtr found = root->FindNodes(path);
    for (int i = 0; i < found->Count(); ++i) list.push_back(found->GetNode(i));
  }
  int index = 0;
  for (int steps = 0; index < static_cast<int>(list.size());) {
    if (DependsOnLater(list, index) != -1) {
      xml::NodePtr moved = list[static_cast<std::size_t>(index)];
      list.erase(list.begin() + index);
      list.push_back(moved);
    } else {
      ++index;
    }
    if (++steps >= 2000) break;
  }
  Lines names;
  for (const auto& node : list) names.push_back(AttrOf(node, "name"));
  return names;
}

TEST(TypeDeclarations, OrderFollowsTheStepByStepOrderOnRandomDescriptions) {
  std::mt19937 random(3);
  auto some_name = [&](int count) {
    std::string name = "T" + std::to_string(random() % static_cast<unsigned>(count + 2));
    if (random() % 4 == 0) name[0] = 't';  // names match without regard to case
    return name;
  };
  for (int round = 0; round < 30; ++round) {
    const int count = 4 + static_cast<int>(random() % 60);
    std::string aliases, records, unions;
    for (int i = 0; i < count; ++i) {
      const std::string name = "T" + std::to_string(i);
      const unsigned kind = random() % 5;
      if (kind == 0) {
        aliases += "<alias name=\"" + name + "\" type=\"" + some_name(count) + "\"/>";
        continue;
      }
      std::string items;
      for (unsigned f = random() % 4; f > 0; --f) {
        items += "<item name=\"f" + std::to_string(f) + "\" type=\"" + some_name(count) + "\"" +
                 (random() % 3 == 0 ? " ref=\"true\"" : "") + "/>";
      }
      (kind == 1 ? unions : records) += "<" + std::string(kind == 1 ? "union" : "record") + " name=\"" + name +
                                        "\"><items>" + items + "</items></" + (kind == 1 ? "union" : "record") + ">";
    }
    const xml::DocumentPtr document = Description("<typelib name=\"L\"><aliases>" + aliases + "</aliases><records>" +
                                                  records + "</records><unions>" + unions + "</unions></typelib>");
    std::vector<xml::NodePtr> declarations;
    ImportUnitGenerator generator;
    generator.OrderTypeDeclarations(document->GetRoot(), declarations);
    Lines names;
    for (const auto& node : declarations) names.push_back(AttrOf(node, "name"));
    // The pointer aliases are in place now; the reference starts from the same list.
    const Lines expected = ReferenceDeclarationOrder(document->GetRoot());
    EXPECT_EQ(names, expected) << "round " << round;
  }
}

// --- Parameter lists ------------------------------------------------------------------

xml::NodePtr Method(const xml::DocumentPtr& document, std::string_view name) {
  return document->GetRoot()->FindNode("//method[@name='" + std::string(name) + "']");
}

std::string Param(std::string_view ref, std::string_view name, std::string_view type) {
  return "<param><ref>" + std::string(ref) + "</ref><name>" + std::string(name) + "</name><type>" +
         std::string(type) + "</type></param>";
}

TEST(ParamModifier, FlagsAndTypesChooseTheModifier) {
  struct Case {
    const char* ref;
    const char* type;
    const char* modifier;
  };
  const Case cases[] = {
      {"in,out", "Longint", "var "},        {"ptr,in,out", "Longint", "var "},
      {"out", "Longint", "out "},           {"ptr,out,retval", "Longint", "out "},
      {"retval", "Longint", "out "},        {"ptr,in", "QRec", "var "},
      {"ptr,in", "IThing", "const "},       {"ptr,in", "ithing", "const "},
      {"ptr,in", "iunknown", "var "},       {"ptr", "IDispatch", "const "},
      {"in", "WideString", "const "},       {"in", "widestring", ""},
      {"in", "Integer", ""},                {"in", "IThing", "const "},
      {"xxx", "WideString", "const "},      {"xxx", "Longint", ""},
      {"", "IUnknown", "const "},           {"opt,in,out", "Longint", "{opt} var "},
      {"opt,in", "WideString", "{opt} const "}, {"opt,in", "Longint", "{opt} "},
      {"ptr,opt,in", "QRec", "{opt} var "}, {"ptr,opt,in", "IThing", "{opt} const "},
  };
  std::string params;
  for (const Case& c : cases) params += Param(c.ref, "p", c.type);
  const xml::DocumentPtr document =
      Description("<typelib name=\"L\"><method name=\"M\"><params>" + params + "</params></method></typelib>");
  ImportUnitGenerator generator;
  generator.InterfaceNames.Add("IThing");
  const xml::NodesPtr nodes = Method(document, "M")->FindNodes("params/param");
  ASSERT_EQ(nodes->Count(), static_cast<int>(std::size(cases)));
  for (int i = 0; i < nodes->Count(); ++i) {
    EXPECT_EQ(generator.ParamModifier(nodes->GetNode(i)), cases[i].modifier)
        << cases[i].ref << " " << cases[i].type;
  }
  EXPECT_EQ(generator.ConstPrefix(nodes->GetNode(0), "IUnknown"), "const ");
  EXPECT_EQ(generator.ConstPrefix(nodes->GetNode(0), "Longint"), "");
}

std::string Type(std::size_t length) { return "T" + std::string(length - 1, 'x'); }

std::string ParamList(std::string_view params, bool index = false, bool use_type_name = false) {
  const xml::DocumentPtr document = Description("<typelib name=\"L\"><method name=\"M\">" + std::string(params) +
                                                "</method></typelib>");
  ImportUnitGenerator generator;
  std::string line = index ? "property M" : "function M";
  if (index) {
    generator.AppendIndexParamList(Method(document, "M"), line, use_type_name);
  } else {
    generator.AppendParamList(Method(document, "M"), line, use_type_name);
  }
  return line;
}

TEST(AppendParamList, BreaksWhenAPieceWouldPassColumn80) {
  // "function M(" is 11 characters; "A: " and the type make the piece.
  EXPECT_EQ(ParamList("<params>" + Param("in", "A", Type(66)) + "</params>"), "function M(A: " + Type(66) + ")");
  EXPECT_EQ(ParamList("<params>" + Param("in", "A", Type(67)) + "</params>"),
            "function M(\r\n      A: " + Type(67) + ")");
  // The "; " separators are not counted: 11 + 23 + 46 = 80 stays, though the line is longer.
  EXPECT_EQ(ParamList("<params>" + Param("in", "A", Type(20)) + Param("in", "B", Type(43)) + "</params>"),
            "function M(A: " + Type(20) + "; B: " + Type(43) + ")");
  // Broken after the separator, which keeps its blank; the width restarts at 6 + piece.
  EXPECT_EQ(ParamList("<params>" + Param("in", "A", Type(20)) + Param("in", "B", Type(44)) +
                      Param("in", "C", Type(24)) + Param("in", "D", Type(1)) + "</params>"),
            "function M(A: " + Type(20) + "; \r\n      B: " + Type(44) + "; C: " + Type(24) + "; \r\n      D: T)");
  // Characters are counted, not the bytes of their encoding.
  EXPECT_EQ(ParamList("<params>" + Param("in", "A", Type(65) + "\xC3\xA9") + "</params>"),
            "function M(A: " + Type(65) + "\xC3\xA9)");
  // Modifiers count too: "const " + "S: WideString".
  EXPECT_EQ(ParamList("<params>" + Param("in", "S", "WideString") + "</params>"), "function M(const S: WideString)");
}

// No parameter may have an array type of its own: a vtable method's fixed-size array is the
// address of its first element, as C passes it; a dispinterface keeps the comment form.
TEST(AppendParamList, FixedArrayParametersPassTheirFirstElement) {
  const std::string params = "<params>" + Param("in", "grid", "array[0..1][0..2] of Decimal") +
                             Param("opt,in", "cells", "array[0..3] of QCell") + "</params>";
  EXPECT_EQ(ParamList(params), "function M(var grid: TDecimal; {opt} var cells: QCell)");
  EXPECT_EQ(ParamList(params, false, true),
            "function M(grid: {array[0..1][0..2] of Decimal}OleVariant; \r\n      {opt} cells: {array[0..3] of QCell}OleVariant)");
}

TEST(AppendParamList, ParenthesesNamesAndTypes) {
  EXPECT_EQ(ParamList(""), "function M");
  EXPECT_EQ(ParamList("<params/>"), "function M()");
  EXPECT_EQ(ParamList("<params>" + Param("out", "out", "string") + Param("in", "outer", "QRec") + "</params>"),
            "function M(out out_: string_; outer: QRec)");
  EXPECT_EQ(ParamList("<params>" + Param("out", "out", "string") + Param("in", "outer", "QRec") + "</params>",
                      false, true),
            "function M(out out_: {string_}OleVariant; outer: {QRec}OleVariant)");
  // Index lists: brackets, no modifiers, the same break rule.
  EXPECT_EQ(ParamList(""), "function M");
  EXPECT_EQ(ParamList("<params>" + Param("in,out", "Index", "Longint") + Param("opt", "to", "Word") + "</params>", true),
            "property M[Index: Longint; to_: Word]");
  EXPECT_EQ(ParamList("<params>" + Param("in", "A", Type(67)) + "</params>", true),
            "property M[\r\n      A: " + Type(67) + "]");
  EXPECT_EQ(ParamList("<params/>", true), "property M[]");
}

// --- Interface and dispinterface declarations ------------------------------------------

Lines Declaration(std::string_view element, bool dispinterface) {
  const xml::DocumentPtr document = Description("<typelib name=\"L\">" + std::string(element) + "</typelib>");
  ImportUnitGenerator generator;
  generator.InterfaceNames.Add("IThing");
  generator.CurrentSection = "type";
  UnitText text{"type"};
  const xml::NodePtr node = document->GetRoot()->FindNode(dispinterface ? "dispinterface" : "interface");
  if (dispinterface) {
    generator.WriteDispInterfaceDecl(text, node);
  } else {
    generator.WriteInterfaceDecl(text, node);
  }
  return {text.begin() + 1, text.end()};
}

TEST(InterfaceDecl, HeaderMethodsAndMissingParts) {
  EXPECT_EQ(Declaration(R"(<interface name="IThing" inherits="IUnknown"><guid>{G}</guid></interface>)", false),
            (Lines{"", "  IThing = interface(IUnknown)", "    ['{G}']", "  end;", ""}));
  EXPECT_EQ(Declaration(R"(<interface name="type" inherits="end"><guid>{G}</guid><methods>
        <method name="M" call="stdcall"><result>Longint</result></method>
        <method name="begin" call="stdcall"><params>)" +
                            Param("ptr,in", "record", "QRec") + Param("in", "s", "WideString") +
                            Param("ptr,out,retval", "r", "IThing") + R"(</params><result>HResult</result></method>
      </methods></interface>)",
                        false),
            (Lines{"", "  type_ = interface(end_)", "    ['{G}']", "    function M: HResult; stdcall;",
                   "    function begin_(var record_: QRec; const s: WideString; out r: IThing): HResult; stdcall;",
                   "  end;", ""}));
  // Without a base and without a GUID: no heritage list (empty parentheses do not
  // compile) and the null GUID.
  const xml::DocumentPtr document = Description(R"(<typelib name="L"><interface name="I"/></typelib>)");
  ImportUnitGenerator generator;
  generator.CurrentSection = "type";
  UnitText text{"type"};
  generator.WriteInterfaceDecl(text, document->GetRoot()->FindNode("interface"));
  EXPECT_EQ(text, (Lines{"type", "", "  I = interface", "    ['{00000000-0000-0000-0000-000000000000}']", "  end;",
                         ""}));
  EXPECT_EQ(AttrOf(document->GetRoot()->FindNode("interface"), "inherits"), "");
}

TEST(InterfaceDecl, AccessorsMarkedWithTheirKindGetNamesOfTheirOwnInVtableOrder) {
  const xml::DocumentPtr document = Description(R"(<typelib name="L"><interface name="I" inherits="IUnknown">
      <guid>{G}</guid><methods>
        <method name="Item" call="stdcall" invoke="putref"><params>)" +
                                                Param("in", "v", "IUnknown") + R"(</params><result>HResult</result></method>
        <method name="Item" call="stdcall" invoke="put"><params>)" +
                                                Param("in", "v", "OleVariant") + R"(</params><result>HResult</result></method>
        <method name="Item" call="stdcall" invoke="get"><params>)" +
                                                Param("ptr,out,retval", "v", "OleVariant") + R"(</params><result>HResult</result></method>
        <method name="Other" call="stdcall" invoke=""><result>HResult</result></method>
      </methods></interface></typelib>)");
  ImportUnitGenerator generator;
  generator.CurrentSection = "type";
  UnitText text{"type"};
  generator.WriteInterfaceDecl(text, document->GetRoot()->FindNode("interface"));
  EXPECT_EQ(text, (Lines{"type", "", "  I = interface(IUnknown)", "    ['{G}']",
                         "    function SetRef_Item(const v: IUnknown): HResult; stdcall;",
                         "    function Set_Item(v: OleVariant): HResult; stdcall;",
                         "    function Get_Item(out v: OleVariant): HResult; stdcall;",
                         "    function Other: HResult; stdcall;", "  end;", ""}));
}

// No interface can derive from a dispinterface. One built on a dual dispinterface derives
// from IDispatch and declares the dual's slots first, one per accessor, in their order; one
// built on a plain dispinterface has no slots of it to declare.
TEST(InterfaceDecl, InterfacesBuiltOnDispinterfacesDeriveFromIDispatch) {
  const std::vector<std::string> body = UnitBody(R"(<typelib name="L">
      <dispinterfaces>
        <dispinterface name="IVideo" dual="true" inherits="IDispatch"><guid>{A}</guid><methods>
          <method name="Width" dispid="1" invoke="get"><result>Longint</result></method>
          <method name="Left" dispid="2" invoke="put,get"><result>Longint</result></method>
          <method name="Item" dispid="3" invoke="get,putref"><params>)" + Param("in", "Key", "OleVariant") +
                                                    R"(</params><result>IVideo</result></method>
          <method name="Title" dispid="4" invoke="func"><params>)" + Param("in", "Lang", "Longint") +
                                                    R"(</params><result>WideString</result></method>
          <method name="Stop" dispid="5" invoke="func"><result>HResult</result></method>
        </methods></dispinterface>
        <dispinterface name="IEvents" inherits="IDispatch"><guid>{B}</guid></dispinterface>
      </dispinterfaces>
      <interfaces>
        <interface name="IVideo2" inherits="IVideo"><guid>{C}</guid><methods>
          <method name="Own" call="stdcall"><result>HResult</result></method></methods></interface>
        <interface name="IEvents2" inherits="ievents"><guid>{D}</guid></interface>
      </interfaces></typelib>)");
  const auto start = std::find(body.begin(), body.end(), "  IVideo2 = interface(IDispatch)");
  ASSERT_NE(start, body.end()) << ::testing::PrintToString(body);
  EXPECT_EQ(std::vector<std::string>(start, start + 17),
            (Lines{"  IVideo2 = interface(IDispatch)", "    ['{C}']",
                   "    function Width(out Value: Longint): HResult; stdcall;",
                   "    function Set_Left(Value: Longint): HResult; stdcall;",
                   "    function Get_Left(out Value: Longint): HResult; stdcall;",
                   "    function Get_Item(Key: OleVariant; out Value: IVideo): HResult; stdcall;",
                   "    function SetRef_Item(Key: OleVariant; const Value: IVideo): HResult; stdcall;",
                   "    function Title(Lang: Longint; out Result: WideString): HResult; stdcall;",
                   "    function Stop: HResult; stdcall;", "    function Own: HResult; stdcall;", "  end;", "",
                   "  IEvents2 = interface(IDispatch)", "    ['{D}']", "  end;", "", "  IVideo = dispinterface"}));
}

TEST(DispInterfaceDecl, MethodsPropertiesAndReadonly) {
  EXPECT_EQ(Declaration(R"(<dispinterface name="D"><guid>{G}</guid></dispinterface>)", true),
            (Lines{"", "  D = dispinterface", "    ['{G}']", "  end;"}));
  EXPECT_EQ(
      Declaration(R"(<dispinterface name="D"><methods>
        <method name="RO" dispid="1" invoke="get"><prop>Longint</prop><result>HResult</result></method>
        <method name="RW" dispid="2" invoke="get,put"><prop>WideString</prop><result>HResult</result></method>
        <method name="WO" dispid="3" invoke="put"><prop>IThing</prop><result>HResult</result></method>
        <method name="Ref" dispid="4" invoke="putref"><prop>QRec</prop><result>HResult</result></method>
        <method name="Item" dispid="5" invoke="get"><params>)" +
                      Param("in", "Index", "Longint") + Param("in", "Key", "string") +
                      R"(</params><result>WideString</result></method>
        <method name="Empty" dispid="6" invoke="get"><prop/><result>Double</result></method>
        <method name="Go" dispid="7" invoke="func"><result>HResult</result></method>
        <method name="Run" dispid="8" invoke="func"><params>)" +
                      Param("ptr,in", "r", "QRec") + Param("opt,in", "v", "OleVariant") +
                      R"(</params><result>HResult</result></method>
        <method name="Name" dispid="9" invoke="func"><params/><result>WideString</result></method>
        <method name="Rec" dispid="10" invoke="func"><result>QRec</result></method>
        <method name="end" dispid="-4" invoke="func"><result>hresult</result></method>
      </methods></dispinterface>)",
                  true),
      (Lines{"", "  D = dispinterface", "    ['{00000000-0000-0000-0000-000000000000}']",
             "    property RO: Longint readonly dispid 1;", "    property RW: WideString dispid 2;",
             "    property WO: IThing dispid 3;", "    property Ref: {QRec}OleVariant dispid 4;",
             "    property Item[Index: Longint; Key: string_]: WideString readonly dispid 5;",
             "    property Empty: Double readonly dispid 6;", "    procedure Go; dispid 7;",
             "    procedure Run(var r: {QRec}OleVariant; {opt} v: OleVariant); dispid 8;",
             "    function Name(): WideString; dispid 9;", "    function Rec: {QRec}OleVariant; dispid 10;",
             "    function end_: hresult; dispid -4;", "  end;"}));
}

}  // namespace
}  // namespace quenlor::generator
