// Functions, parameters, vtable interfaces and dispinterfaces.
#include <algorithm>
#include <set>
#include <unordered_map>
#include <vector>

#include "description/type_lib_scan.h"

namespace quenlor::description {

namespace {

// The inherited IUnknown and IDispatch functions a dispinterface lists but does not declare.
bool IsInheritedDispatchMember(typelib::MemberId id) {
  const auto u = static_cast<std::uint32_t>(id);
  return (u >= 0x60000000u && u <= 0x60000002u) || (u >= 0x60010000u && u <= 0x60010003u);
}

// Whether the comma-separated list holds the word.
bool HasWord(std::string_view list, std::string_view word) {
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t end = std::min(list.find(',', start), list.size());
    if (list.substr(start, end - start) == word) return true;
    start = end + 1;
  }
  return false;
}

void AppendTextChild(const xml::NodePtr& parent, std::string_view name, std::string_view text) {
  parent->Nodes()->Add(name)->SetText(text);
}

constexpr std::int32_t kInvokeGet = 2;
constexpr std::int32_t kInvokePut = 4;
constexpr std::int32_t kInvokePutRef = 8;

// Returns whether a parameter's `ref` came out as exactly "ptr", which makes a dispinterface
// method a plain function whatever its invocation kind. For a dispinterface setter whose
// value parameter is unnamed behind named index parameters, `setter_value` also writes the
// value's type as `prop`: that is the property's type, not the setter's result.
bool WriteSignatureChildren(const xml::NodePtr& node, typelib::ITypeInfoAccess& type_info, const typelib::FuncDesc& func,
                            bool setter_value = false) {
  bool has_bare_pointer = false;
  // cParams and the parameter list come from the reader separately; trust the smaller.
  const std::size_t param_count =
      std::min<std::size_t>(static_cast<std::size_t>(std::max<int>(func.c_params, 0)), func.params.size());
  if (func.c_params > 0) {
    const unsigned max_names = static_cast<unsigned>(func.c_params) + 2;
    std::vector<std::string> names;
    if (typelib::Succeeded(type_info.GetNames(func.memid, max_names, names)) && !names.empty()) {
      if (names.size() == 1) {
        // Only the function's own name: its parameter is unnamed, like a property setter's value.
        if (param_count > 0) AppendTextChild(node, "prop", TypeDescText(type_info, func.params[0].tdesc));
      } else {
        const xml::NodePtr params = node->Nodes()->Add("params");
        // The names may outnumber the parameters (GetNames answers for the member id, which
        // a getter with more parameters can share): names without a parameter are dropped.
        const std::size_t described = std::min(names.size() - 1, param_count);
        for (std::size_t i = 0; i < described; ++i) {
          const typelib::ElemDesc& param = func.params[i];
          const xml::NodePtr param_node = params->Nodes()->Add("param");
          const std::string ref = ParamFlagsText(param);
          if (ref == "ptr") has_bare_pointer = true;
          AppendTextChild(param_node, "ref", ref);
          AppendTextChild(param_node, "name", IdentifierText(names[i + 1]));
          AppendTextChild(param_node, "type", TypeDescText(type_info, param.tdesc));
        }
        if (setter_value && described < param_count)
          AppendTextChild(node, "prop", TypeDescText(type_info, func.params[param_count - 1].tdesc));
      }
    }
  }
  AppendTextChild(node, "result", TypeDescText(type_info, func.elemdesc_func.tdesc));
  return has_bare_pointer;
}

xml::NodePtr AppendMethod(const xml::NodePtr& methods, typelib::ITypeInfoAccess& type_info, const typelib::FuncDesc& func) {
  const xml::NodePtr method = methods->Nodes()->Add("method");
  const xml::NamedValuesPtr values = method->Attributes()->Values();
  values->WriteString("name", MemberName(type_info, func.memid));
  values->WriteString("call", CallConvText(func));
  WriteSignatureChildren(method, type_info, func);
  return method;
}

void WriteInherits(const xml::NodePtr& item, typelib::ITypeInfoAccess& type_info, const typelib::TypeAttr& type_attr) {
  for (unsigned index = 0; index < type_attr.c_impl_types; ++index) {
    typelib::HRefType href = 0;
    if (typelib::Failed(type_info.GetRefTypeOfImplType(index, href))) continue;
    std::shared_ptr<typelib::ITypeInfoAccess> base;
    if (typelib::Failed(type_info.GetRefTypeInfo(href, base)) || !base) continue;
    item->Attributes()->Values()->WriteString("inherits", MemberName(*base, typelib::kMemberIdNil));
  }
}

}  // namespace

std::string ParamFlagsText(const typelib::ElemDesc& param) {
  std::string words;
  const auto append = [&words](std::string_view word) {
    if (!words.empty()) words += ',';
    words += word;
  };
  // A pointer to nothing is passed as the untyped Pointer it is named, by value.
  if (param.tdesc.vt == VT_PTR_ && param.tdesc.pointee && param.tdesc.pointee->vt != VT_VOID_) append("ptr");
  const std::uint16_t flags = param.param_flags & static_cast<std::uint16_t>(~typelib::kParamHasDefault);
  if (flags == 0) return "in";
  if (flags & typelib::kParamOpt) append("opt");
  if (flags & typelib::kParamIn) append("in");
  if (flags & typelib::kParamOut) append("out");
  if (flags & typelib::kParamRetval) append("retval");
  return words.empty() ? std::string(kUnknownParamFlags) : words;
}

std::string CallConvText(const typelib::FuncDesc& func) {
  switch (func.callconv) {
    case 0: return "safecall";
    case 1: return "cdecl";
    case 2: return "pascal";
    case 4: return "stdcall";
    case 5: return "register";
    default: return "";
  }
}

std::string InvokeKindText(const typelib::FuncDesc& func) {
  switch (func.invkind) {
    case 1: return "func";
    case 2: return "get";
    case 4: return "put";
    case 8: return "putref";
    default: return "";
  }
}

void WriteSignature(const xml::NodePtr& node, typelib::ITypeInfoAccess& type_info, const typelib::FuncDesc& func) {
  WriteSignatureChildren(node, type_info, func);
}

xml::NodePtr WriteMethod(const xml::NodePtr& item, typelib::ITypeInfoAccess& type_info, const typelib::FuncDesc& func) {
  xml::NodePtr methods = item->FindNode("methods");
  if (!methods) methods = item->Nodes()->Add("methods");
  return AppendMethod(methods, type_info, func);
}

void WriteInterface(const xml::NodePtr& root, typelib::ITypeInfoAccess& type_info, const typelib::TypeAttr& type_attr) {
  const xml::NodePtr item = AddTypeItem(root, "interfaces", "interface");
  WriteTypeHeader(type_info, type_attr, item);
  WriteInherits(item, type_info, type_attr);
  // The item is new, so its `methods` is the one this loop appends; keeping it saves a
  // path query per function.
  xml::NodePtr methods;
  std::vector<std::pair<xml::NodePtr, std::string>> accessors;  // method, invocation kind
  std::unordered_map<std::string, int> uses_of_name;
  for (unsigned index = 0; index < type_attr.c_funcs; ++index) {
    typelib::FuncDesc func;
    if (typelib::Failed(type_info.GetFuncDesc(index, func))) continue;
    if (!methods) methods = item->Nodes()->Add("methods");
    const xml::NodePtr method = AppendMethod(methods, type_info, func);
    ++uses_of_name[method->Attributes()->Values()->ReadString("name", "", false)];
    if (func.invkind != 1) accessors.emplace_back(method, InvokeKindText(func));
  }
  // Accessors of one property share its name, which the unit cannot declare twice; they
  // carry their invocation kind so that each gets a name of its own. Names used once stay
  // as they are.
  for (const auto& [method, invoke] : accessors) {
    const xml::NamedValuesPtr values = method->Attributes()->Values();
    if (uses_of_name[values->ReadString("name", "", false)] > 1) values->WriteString("invoke", invoke);
  }
}

void WriteDispInterface(const xml::NodePtr& root, typelib::ITypeInfoAccess& type_info, const typelib::TypeAttr& type_attr) {
  const xml::NodePtr item = AddTypeItem(root, "dispinterfaces", "dispinterface");
  WriteTypeHeader(type_info, type_attr, item);
  WriteInherits(item, type_info, type_attr);

  xml::NodePtr methods;
  // The first `method` of each dispatch id, properties included: what the path query
  // method[@dispid="N"] would find, without a query per function.
  std::unordered_map<typelib::MemberId, xml::NodePtr> by_dispid;
  std::set<xml::NodePtr> with_bare_pointer;

  for (unsigned index = 0; index < type_attr.c_vars; ++index) {
    typelib::VarDesc var;
    if (typelib::Failed(type_info.GetVarDesc(index, var))) continue;
    if (!methods) methods = item->Nodes()->Add("methods");
    const xml::NodePtr method = methods->Nodes()->Add("method");
    const xml::NamedValuesPtr values = method->Attributes()->Values();
    values->WriteString("name", MemberName(type_info, var.memid));
    values->WriteInteger("dispid", var.memid);
    values->WriteString("invoke", "get,put");
    values->WriteString("call", "stdcall");
    AppendTextChild(method, "prop", TypeDescText(type_info, var.elemdesc_var.tdesc));
    AppendTextChild(method, "result", "HResult");
    by_dispid.emplace(var.memid, method);
  }

  for (unsigned index = 0; index < type_attr.c_funcs; ++index) {
    typelib::FuncDesc func;
    if (typelib::Failed(type_info.GetFuncDesc(index, func))) continue;
    if (IsInheritedDispatchMember(func.memid)) continue;
    if (!methods) methods = item->Nodes()->Add("methods");
    const auto found = by_dispid.find(func.memid);
    if (found == by_dispid.end()) {
      const xml::NodePtr method = methods->Nodes()->Add("method");
      const xml::NamedValuesPtr values = method->Attributes()->Values();
      values->WriteString("name", MemberName(type_info, func.memid));
      values->WriteInteger("dispid", func.memid);
      values->WriteString("invoke", InvokeKindText(func));
      values->WriteString("call", CallConvText(func));
      const bool setter = func.invkind == kInvokePut || func.invkind == kInvokePutRef;
      if (WriteSignatureChildren(method, type_info, func, setter)) with_bare_pointer.insert(method);
      by_dispid.emplace(func.memid, method);
    } else {
      // Accessors sharing a dispatch id share one method: the invocation kinds add up, and
      // the signature is the getter's, whichever accessor came first. A setter's result is
      // no property type, and its parameters hold the value behind the index parameters.
      const xml::NodePtr& method = found->second;
      const xml::NamedValuesPtr values = method->Attributes()->Values();
      const std::string invoke = values->ReadString("invoke", "", true);
      if (func.invkind == kInvokeGet && !HasWord(invoke, "get")) {
        const xml::NodesPtr children = method->Nodes();
        for (std::string_view child : {"params", "prop", "result"}) {
          if (const xml::NodePtr node = method->FindNode(child)) children->Remove(node);
        }
        with_bare_pointer.erase(method);
        if (WriteSignatureChildren(method, type_info, func)) with_bare_pointer.insert(method);
      }
      values->WriteString("invoke", invoke + "," + InvokeKindText(func));
    }
  }

  for (const auto& method : with_bare_pointer) method->Attributes()->Values()->WriteString("invoke", "func");
}

}  // namespace quenlor::description
