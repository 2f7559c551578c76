#include "fake_type_lib.h"

#include <algorithm>

namespace quenlor::description::testing {

typelib::TypeDesc Vt(std::uint16_t vt) {
  typelib::TypeDesc desc;
  desc.vt = vt;
  return desc;
}

typelib::TypeDesc Ptr(typelib::TypeDesc pointee) {
  typelib::TypeDesc desc;
  desc.vt = VT_PTR_;
  desc.pointee = std::make_shared<const typelib::TypeDesc>(std::move(pointee));
  return desc;
}

typelib::TypeDesc BadPtr() { return Vt(VT_PTR_); }

typelib::TypeDesc UserDefined(typelib::HRefType href) {
  typelib::TypeDesc desc;
  desc.vt = VT_USERDEFINED_;
  desc.hreftype = href;
  return desc;
}

typelib::TypeDesc CArray(typelib::TypeDesc element, std::vector<typelib::SafeArrayBound> bounds) {
  typelib::TypeDesc desc;
  desc.vt = VT_CARRAY_;
  auto array = std::make_shared<typelib::ArrayDesc>();
  array->element = std::move(element);
  array->bounds = std::move(bounds);
  desc.array = std::move(array);
  return desc;
}

typelib::ElemDesc Param(typelib::TypeDesc type, std::uint16_t flags) {
  typelib::ElemDesc elem;
  elem.tdesc = std::move(type);
  elem.param_flags = flags;
  return elem;
}

FakeTypeInfo::FakeTypeInfo(typelib::TypeKind kind, std::string name) {
  attr.typekind = kind;
  doc.name = std::move(name);
}

FakeTypeInfo& FakeTypeInfo::AddFunc(std::string name, typelib::MemberId memid, std::vector<typelib::ElemDesc> params,
                                    std::vector<std::string> param_names, typelib::TypeDesc result, std::uint32_t invkind,
                                    std::uint32_t callconv) {
  FakeFunc func;
  func.desc.memid = memid;
  func.desc.c_params = static_cast<std::int16_t>(params.size());
  func.desc.params = std::move(params);
  func.desc.elemdesc_func.tdesc = std::move(result);
  func.desc.invkind = invkind;
  func.desc.callconv = callconv;
  funcs.push_back(std::move(func));
  member_names_.emplace(memid, name);
  if (!names.contains(memid)) {
    std::vector<std::string> all{std::move(name)};
    all.insert(all.end(), param_names.begin(), param_names.end());
    names[memid] = std::move(all);
  }
  attr.c_funcs = static_cast<std::uint16_t>(funcs.size());
  return *this;
}

FakeTypeInfo& FakeTypeInfo::AddVar(std::string name, typelib::MemberId memid, typelib::TypeDesc type, std::optional<Variant> value) {
  FakeVar var;
  var.desc.memid = memid;
  var.desc.elemdesc_var.tdesc = std::move(type);
  var.desc.value = std::move(value);
  vars.push_back(std::move(var));
  member_names_[memid] = name;
  names[memid] = {std::move(name)};
  attr.c_vars = static_cast<std::uint16_t>(vars.size());
  return *this;
}

typelib::HRefType FakeTypeInfo::AddRef(std::shared_ptr<typelib::ITypeInfoAccess> referenced) {
  const typelib::HRefType href = 0x100 + static_cast<typelib::HRefType>(refs.size()) * 4;
  refs[href] = std::move(referenced);
  return href;
}

FakeTypeInfo& FakeTypeInfo::Inherit(std::shared_ptr<typelib::ITypeInfoAccess> base) {
  impl_types.push_back(AddRef(std::move(base)));
  attr.c_impl_types = static_cast<std::uint16_t>(impl_types.size());
  return *this;
}

typelib::HResult FakeTypeInfo::GetTypeAttr(typelib::TypeAttr& out) {
  if (typelib::Failed(attr_hr)) return attr_hr;
  out = attr;
  return attr_hr;
}

typelib::HResult FakeTypeInfo::GetDocumentation(typelib::MemberId memid, typelib::Documentation& out) {
  if (memid == typelib::kMemberIdNil) {
    if (typelib::Failed(doc_hr)) return doc_hr;
    out = doc;
    return doc_hr;
  }
  if (member_doc_fail.contains(memid)) return typelib::kTypeEElementNotFound;
  const auto found = member_names_.find(memid);
  if (found == member_names_.end()) return typelib::kTypeEElementNotFound;
  out = typelib::Documentation{};
  out.name = found->second;
  return typelib::kOk;
}

typelib::HResult FakeTypeInfo::GetFuncDesc(unsigned index, typelib::FuncDesc& out) {
  if (index >= funcs.size()) return typelib::kEInvalidArg;
  if (typelib::Failed(funcs[index].hr)) return funcs[index].hr;
  out = funcs[index].desc;
  return typelib::kOk;
}

typelib::HResult FakeTypeInfo::GetVarDesc(unsigned index, typelib::VarDesc& out) {
  if (index >= vars.size()) return typelib::kEInvalidArg;
  if (typelib::Failed(vars[index].hr)) return vars[index].hr;
  out = vars[index].desc;
  return typelib::kOk;
}

typelib::HResult FakeTypeInfo::GetNames(typelib::MemberId memid, unsigned max_names, std::vector<std::string>& out) {
  if (names_fail.contains(memid)) return typelib::kTypeEElementNotFound;
  const auto found = names.find(memid);
  if (found == names.end()) return typelib::kTypeEElementNotFound;
  out.assign(found->second.begin(), found->second.begin() + std::min<std::size_t>(max_names, found->second.size()));
  return typelib::kOk;
}

typelib::HResult FakeTypeInfo::GetRefTypeOfImplType(unsigned index, typelib::HRefType& out) {
  if (index >= impl_types.size() || impl_type_fail.contains(index)) return typelib::kTypeEElementNotFound;
  out = impl_types[index];
  return typelib::kOk;
}

typelib::HResult FakeTypeInfo::GetImplTypeFlags(unsigned index, std::int32_t& out) {
  if (index >= impl_types.size()) return typelib::kTypeEElementNotFound;
  const auto found = impl_flags.find(index);
  out = found == impl_flags.end() ? 0 : found->second;
  return typelib::kOk;
}

typelib::HResult FakeTypeInfo::GetRefTypeInfo(typelib::HRefType href, std::shared_ptr<typelib::ITypeInfoAccess>& out) {
  const auto found = refs.find(href);
  if (found == refs.end()) return typelib::kTypeEElementNotFound;
  out = found->second;
  return typelib::kOk;
}

typelib::HResult FakeTypeInfo::GetContainingTypeLib(std::shared_ptr<typelib::ITypeLibAccess>&, unsigned&) { return typelib::kENotImpl; }

std::shared_ptr<FakeTypeInfo> FakeTypeLib::Add(typelib::TypeKind kind, std::string name) {
  auto type = std::make_shared<FakeTypeInfo>(kind, std::move(name));
  types.push_back(type);
  return type;
}

typelib::HResult FakeTypeLib::GetDocumentation(int index, typelib::Documentation& out) {
  if (index != -1) return typelib::kEInvalidArg;
  if (typelib::Failed(doc_hr)) return doc_hr;
  out = doc;
  return doc_hr;
}

typelib::HResult FakeTypeLib::GetTypeInfo(unsigned index, std::shared_ptr<typelib::ITypeInfoAccess>& out) {
  if (index >= types.size() || type_info_fail.contains(index)) return typelib::kTypeEElementNotFound;
  out = types[index];
  return typelib::kOk;
}

typelib::HResult FakeTypeLib::GetTypeInfoType(unsigned index, typelib::TypeKind& out) {
  if (index >= types.size()) return typelib::kTypeEElementNotFound;
  out = types[index]->attr.typekind;
  return typelib::kOk;
}

typelib::HResult FakeTypeLib::GetLibAttr(typelib::LibAttr& out) {
  out = typelib::LibAttr{};
  return typelib::kOk;
}

}  // namespace quenlor::description::testing
