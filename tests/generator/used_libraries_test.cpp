// A unit beside the units of the libraries it uses: its name, its uses clause, and how the
// other libraries' types are written.
#include <gtest/gtest.h>

#include <algorithm>

#include "generator/import_unit.h"
#include "generator/used_libraries.h"
#include "tests/generator/test_support.h"

namespace quenlor::generator {
namespace {

using testing::Description;
using testing::SplitLines;
using Lines = std::vector<std::string>;

Lines UsesOf(const std::string& unit) {
  const Lines lines = SplitLines(unit);
  Lines uses;
  for (std::size_t i = 10; i < lines.size() && !lines[i].empty(); ++i) uses.push_back(lines[i]);
  return uses;
}

bool HasLine(const std::string& unit, const std::string& line) {
  const Lines lines = SplitLines(unit);
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// An interface and a dispinterface that take `type` as a parameter, and a record field of it.
std::string Using(const std::string& type, const std::string& more = "") {
  return R"(<typelib name="L">)" + more + R"(
      <records><record name="R"><items><item name="f" type=")" + type + R"("/></items></record></records>
      <interfaces><interface name="I" inherits="IUnknown"><guid>{I}</guid><methods>
        <method name="M" call="stdcall"><params><param><ref>in</ref><name>a</name><type>)" + type +
         R"(</type></param></params><result>HResult</result></method></methods></interface></interfaces>
      <dispinterfaces><dispinterface name="D"><guid>{D}</guid><methods>
        <method name="P" dispid="1" invoke="get,put"><prop>)" + type + R"(</prop><result>HResult</result></method>
      </methods></dispinterface></dispinterfaces></typelib>)";
}

TEST(UsedLibraries, UsesClauseNamesEachUnitOnceInOrderAndBreaksBeforeColumn80) {
  EXPECT_EQ(UsesClauseLines({}), (Lines{"  Windows, ActiveX, Variants;"}));
  // Units without a name are not listed; a unit named twice, or like one of the three
  // (letters folded), only once.
  EXPECT_EQ(UsesClauseLines({ListedLibrary("B_TLB", {}, {}), UsedLibrary{}, ListedLibrary("A_TLB", {}, {}),
                             ListedLibrary("b_tlb", {}, {}), ListedLibrary("activex", {}, {})}),
            (Lines{"  Windows, ActiveX, Variants, B_TLB, A_TLB;"}));
  std::vector<UsedLibrary> many;
  for (int i = 0; i < 8; ++i) many.push_back(ListedLibrary("Library" + std::to_string(i) + "_TLB", {}, {}));
  const Lines lines = UsesClauseLines(many);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "  Windows, ActiveX, Variants, Library0_TLB, Library1_TLB, Library2_TLB,");
  EXPECT_EQ(lines[1], "  Library3_TLB, Library4_TLB, Library5_TLB, Library6_TLB, Library7_TLB;");
  for (const std::string& line : lines) EXPECT_LE(line.size(), 80u);
}

TEST(UsedLibraries, UnitNameAndUsesClauseOfAUnitBesideOthers) {
  UnitContext context;
  context.unit_name = "L_2_0_TLB";
  context.used = {ListedLibrary("Other_TLB", {}, {}), StdoleLibrary()};
  const std::string unit = BuildImportUnit(Description(R"(<typelib name="L"/>)"), context);
  EXPECT_EQ(SplitLines(unit)[0], "unit L_2_0_TLB;");
  EXPECT_EQ(UsesOf(unit), (Lines{"  Windows, ActiveX, Variants, Other_TLB;"}));
  // Without a context the unit is the one the window shows.
  EXPECT_EQ(BuildImportUnit(Description(R"(<typelib name="L"/>)")),
            BuildImportUnit(Description(R"(<typelib name="L"/>)"), UnitContext{}));
}

TEST(UsedLibraries, AnotherUnitsInterfacesAndEnumerationsAreTypesHere) {
  UnitContext context;
  context.used = {ListedLibrary("Other_TLB", {"IOther", "DOther"}, {"OtherKind"})};
  const std::string with_interface = BuildImportUnit(Description(Using("IOther")), context);
  EXPECT_TRUE(HasLine(with_interface, "    property P: IOther dispid 1;")) << with_interface;
  EXPECT_TRUE(HasLine(with_interface, "    function M(const a: IOther): HResult; stdcall;")) << with_interface;
  EXPECT_TRUE(HasLine(with_interface, "    f: IOther;")) << with_interface;
  const std::string with_enum = BuildImportUnit(Description(Using("otherkind")), context);
  EXPECT_TRUE(HasLine(with_enum, "    property P: otherkind dispid 1;")) << with_enum;
  EXPECT_TRUE(HasLine(with_enum, "    function M(a: otherkind): HResult; stdcall;")) << with_enum;
  // A record of the library's own hides another unit's interface of its name.
  const std::string own = BuildImportUnit(
      Description(Using("IOther", R"(<aliases><alias name="IOther" type="Longint"/></aliases>)")), context);
  EXPECT_TRUE(HasLine(own, "    property P: {IOther}OleVariant dispid 1;")) << own;
  EXPECT_TRUE(HasLine(own, "    function M(a: IOther): HResult; stdcall;")) << own;
  // Alone, the same description knows neither.
  EXPECT_TRUE(HasLine(BuildImportUnit(Description(Using("IOther"))), "    property P: {IOther}OleVariant dispid 1;"));
}

TEST(UsedLibraries, AnUnlistedLibrarysTypesAreWrittenAsTheirKinds) {
  UnitContext context;
  context.used = {UnlistedLibrary({"IBack"}, {"DBack"}, {"BackKind"})};
  const std::string interface_unit = BuildImportUnit(Description(Using("IBack")), context);
  EXPECT_TRUE(HasLine(interface_unit, "    function M(const a: IUnknown): HResult; stdcall;")) << interface_unit;
  EXPECT_TRUE(HasLine(interface_unit, "    property P: IUnknown dispid 1;")) << interface_unit;
  EXPECT_TRUE(HasLine(interface_unit, "    f: IUnknown;")) << interface_unit;
  const std::string disp_unit = BuildImportUnit(Description(Using("DBack")), context);
  EXPECT_TRUE(HasLine(disp_unit, "    property P: IDispatch dispid 1;")) << disp_unit;
  const std::string enum_unit = BuildImportUnit(Description(Using("BackKind")), context);
  EXPECT_TRUE(HasLine(enum_unit, "    function M(a: TOleEnum): HResult; stdcall;")) << enum_unit;
  EXPECT_TRUE(HasLine(enum_unit, "    property P: TOleEnum dispid 1;")) << enum_unit;
  EXPECT_EQ(UsesOf(enum_unit), (Lines{"  Windows, ActiveX, Variants;"}));
}

TEST(UsedLibraries, StdoleTypesAreActiveXsAndTheLibrarysOwnNamesWin) {
  UnitContext context;
  context.used = {StdoleLibrary()};
  const std::string font = BuildImportUnit(Description(Using("Font")), context);
  EXPECT_TRUE(HasLine(font, "    property P: IFontDisp dispid 1;")) << font;
  EXPECT_TRUE(HasLine(font, "    function M(const a: IFontDisp): HResult; stdcall;")) << font;
  const std::string picture = BuildImportUnit(Description(Using("StdPicture")), context);
  EXPECT_TRUE(HasLine(picture, "    property P: IPictureDisp dispid 1;")) << picture;
  const std::string font_disp = BuildImportUnit(Description(Using("IFontDisp")), context);
  EXPECT_TRUE(HasLine(font_disp, "    property P: IFontDisp dispid 1;")) << font_disp;
  // A library that declares a Font of its own means its own.
  const std::string own = BuildImportUnit(
      Description(Using("Font", R"(<enums><enum name="Font"><items><item name="fA" value="1"/></items></enum></enums>)")),
      context);
  EXPECT_TRUE(HasLine(own, "    property P: Font dispid 1;")) << own;
  EXPECT_TRUE(HasLine(own, "    function M(a: Font): HResult; stdcall;")) << own;
}

}  // namespace
}  // namespace quenlor::generator
