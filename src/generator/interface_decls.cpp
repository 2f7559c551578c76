// Interface and dispinterface declarations.
#include "generator/description_reads.h"
#include "generator/import_unit.h"

namespace quenlor::generator {

using detail::Attr;
using detail::ChildItems;
using detail::ChildText;

namespace {

// The GUID line of a declaration. The description leaves out the null GUID; an empty one is
// what a forced read of the missing value left behind. Both are declared with the null
// GUID, which every compiler takes, rather than with an empty text, which none does.
std::string GuidLine(const xml::NodePtr& declaration) {
  const xml::NodePtr guid = declaration->FindNode("guid");
  std::string text = guid ? guid->GetText() : std::string();
  if (text.empty()) text = kNullGuidText;
  return "    ['" + text + "']";
}

// Accessors of one property in a vtable interface would be methods of one name whose
// parameters differ only in `out` against `const`, which no overload tells apart. The
// description marks them with their invocation kind; each gets a prefix, and the methods
// keep their places, so the slots stay in vtable order.
std::string AccessorPrefix(const xml::NodePtr& method) {
  const std::string invoke = method->Attributes()->Values()->ReadString("invoke", "", false);
  if (invoke == "get") return "Get_";
  if (invoke == "put") return "Set_";
  if (invoke == "putref") return "SetRef_";
  return "";
}

}  // namespace

void ImportUnitGenerator::WriteInterfaceDecl(UnitText& text, const xml::NodePtr& intf) {
  BeginDeclaration(text, "type");
  const std::string name = SafeName(Attr(intf, "name"));
  const std::string base = Attr(intf, "inherits");
  // An interface without a base is written without the empty parentheses, which are no
  // heritage list.
  text.push_back("  " + name + " = interface" + (base.empty() ? std::string() : "(" + SafeName(base) + ")"));
  text.push_back(GuidLine(intf));
  for (const xml::NodePtr& method : ChildItems(intf, "methods")) {
    std::string line = "function " + AccessorPrefix(method) + SafeName(Attr(method, "name"));
    AppendParamList(method, line, false);
    line += ": HResult; stdcall;";
    text.push_back("    " + line);
  }
  text.emplace_back("  end;");
  text.emplace_back();
}

void ImportUnitGenerator::WriteDispInterfaceDecl(UnitText& text, const xml::NodePtr& disp) {
  BeginDeclaration(text, "type");
  text.push_back("  " + SafeName(Attr(disp, "name")) + " = dispinterface");
  text.push_back(GuidLine(disp));
  for (const xml::NodePtr& member : ChildItems(disp, "methods")) {
    const std::string invoke = Attr(member, "invoke");
    const std::string result_type = TypeName(ChildText(member, "result"));
    std::string line;
    if (invoke == "func") {
      const bool procedure = result_type == "HResult";
      line = (procedure ? "procedure " : "function ") + SafeName(Attr(member, "name"));
      AppendParamList(member, line, true);
      line += procedure ? ";" : ": " + result_type + ";";
    } else {
      line = "property " + SafeName(Attr(member, "name"));
      AppendIndexParamList(member, line, false);
      const std::string prop = ChildText(member, "prop");
      line += ": " + (prop.empty() ? result_type : TypeName(prop));
      if (invoke == "get") line += " readonly";
    }
    text.push_back("    " + line + " dispid " + Attr(member, "dispid") + ";");
  }
  text.emplace_back("  end;");
}

}  // namespace quenlor::generator
