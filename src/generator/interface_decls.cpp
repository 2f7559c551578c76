// Interface and dispinterface declarations.
#include <algorithm>

#include "base/text.h"
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
  std::string base = Attr(intf, "inherits");
  // No interface can derive from a dispinterface. One built on a dispinterface derives from
  // IDispatch; a dual one is described by its dispinterface only, so its methods are
  // declared first, in the vtable form their slots have.
  const auto dispatch = DispatchBases.find(AsciiLower(base));
  if (dispatch != DispatchBases.end()) base = "IDispatch";
  // An interface without a base is written without the empty parentheses, which are no
  // heritage list.
  text.push_back("  " + name + " = interface" + (base.empty() ? std::string() : "(" + SafeName(base) + ")"));
  text.push_back(GuidLine(intf));
  if (dispatch != DispatchBases.end() && dispatch->second->Attributes()->Values()->ReadBool("dual", false, false))
    WriteDualSlots(text, dispatch->second);
  for (const xml::NodePtr& method : ChildItems(intf, "methods")) {
    std::string line = "function " + AccessorPrefix(method) + SafeName(Attr(method, "name"));
    AppendParamList(method, line, false);
    line += ": HResult; stdcall;";
    text.push_back("    " + line);
  }
  text.emplace_back("  end;");
  text.emplace_back();
}

void ImportUnitGenerator::WriteDualSlots(UnitText& text, const xml::NodePtr& disp) const {
  for (const xml::NodePtr& member : ChildItems(disp, "methods")) {
    const std::string invoke = Attr(member, "invoke");
    const std::string name = SafeName(Attr(member, "name"));
    const std::string result = ChildText(member, "result");
    const std::string prop = ChildText(member, "prop");
    const std::string value_type = DeclaredType(prop.empty() ? result : prop);
    const bool accessors = invoke.find(',') != std::string::npos;
    std::size_t start = 0;
    while (start <= invoke.size()) {
      const std::size_t end = std::min(invoke.find(',', start), invoke.size());
      const std::string_view word = std::string_view(invoke).substr(start, end - start);
      start = end + 1;
      // The value a vtable slot passes last: the result of a function or getter, the new
      // value of a setter. A function without one has no such parameter.
      std::string prefix;
      std::string value;
      if (word == "get") {
        prefix = "Get_";
        value = "out Value: " + value_type;
      } else if (word == "put" || word == "putref") {
        prefix = word == "put" ? "Set_" : "SetRef_";
        value = ModifierOf(word == "put" ? "in" : "ptr,in", prop.empty() ? result : prop) + "Value: " + value_type;
      } else if (result != "HResult") {
        value = "out Result: " + DeclaredType(result);
      }
      std::string line = "function " + (accessors ? prefix : std::string()) + name;
      AppendParamList(member, line, false);
      if (!value.empty()) {
        if (line.ends_with(")")) {
          line.insert(line.size() - 1, "; " + value);
        } else {
          line += "(" + value + ")";
        }
      }
      text.push_back("    " + line + ": HResult; stdcall;");
    }
  }
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
