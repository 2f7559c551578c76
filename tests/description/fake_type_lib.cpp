#include "fake_type_lib.h"

#include <algorithm>

namespace quenlor::typelib::testing {

TypeDesc Vt(std::uint16_t vt) {
  TypeDesc desc;
  desc.vt = vt;
  return desc;
}

TypeDesc Ptr(TypeDesc pointee) {
  TypeDesc desc;
  desc.vt = VT_PTR_;
  desc.pointee = std::make_shared<const TypeDesc>(std::move(pointee));
  return desc;
}

TypeDesc BadPtr() { return Vt(VT_PTR_); }

TypeDesc UserDefined(HRefType href) {
  TypeDesc desc;
  desc.vt = VT_USERDEFINED_;
  desc.hreftype = href;
  return desc;
}

TypeDesc CArray(TypeDesc element, std::vector<SafeArrayBound> bounds) {
  TypeDesc desc;
  desc.vt = VT_CARRAY_;
  auto array = std::make_shared<ArrayDesc>();
  array->element = std::move(element);
  array->bounds = std::move(bounds);
  desc.array = std::move(array);
  return desc;
}

ElemDesc Param(TypeDesc type, std::uint16_t flags) {
  ElemDesc elem;
  elem.tdesc = std::move(type);
  elem.param_flags = flags;
  return elem;
}

FakeTypeInfo::FakeTypeInfo(TypeKind kind, std::string name) {
  attr.typekind = kind;
  doc.name = std::move(name);
}

FakeTypeInfo& FakeTypeInfo::AddFunc(std::string name, MemberId memid, std::vector<ElemDesc> params,
                                    std::vector<std::string> param_names, TypeDesc result, std::uint32_t invkind,
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

FakeTypeInfo& FakeTypeInfo::AddVar(std::string name, MemberId memid, TypeDesc type, std::optional<Variant> value) {
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

HRefType FakeTypeInfo::AddRef(std::shared_ptr<ITypeInfoAccess> referenced) {
  const HRefType href = 0x100 + static_cast<HRefType>(refs.size()) * 4;
  refs[href] = std::move(referenced);
  return href;
}

FakeTypeInfo& FakeTypeInfo::Inherit(std::shared_ptr<ITypeInfoAccess> base) {
  impl_types.push_back(AddRef(std::move(base)));
  attr.c_impl_types = static_cast<std::uint16_t>(impl_types.size());
  return *this;
}

HResult FakeTypeInfo::GetTypeAttr(TypeAttr& out) {
  if (Failed(attr_hr)) return attr_hr;
  out = attr;
  return attr_hr;
}

HResult FakeTypeInfo::GetDocumentation(MemberId memid, Documentation& out) {
  if (memid == kMemberIdNil) {
    if (Failed(doc_hr)) return doc_hr;
    out = doc;
    return doc_hr;
  }
  if (member_doc_fail.contains(memid)) return kTypeEElementNotFound;
  const auto found = member_names_.find(memid);
  if (found == member_names_.end()) return kTypeEElementNotFound;
  out = Documentation{};
  out.name = found->second;
  return kOk;
}

HResult FakeTypeInfo::GetFuncDesc(unsigned index, FuncDesc& out) {
  if (index >= funcs.size()) return kEInvalidArg;
  if (Failed(funcs[index].hr)) return funcs[index].hr;
  out = funcs[index].desc;
  return kOk;
}

HResult FakeTypeInfo::GetVarDesc(unsigned index, VarDesc& out) {
  if (index >= vars.size()) return kEInvalidArg;
  if (Failed(vars[index].hr)) return vars[index].hr;
  out = vars[index].desc;
  return kOk;
}

HResult FakeTypeInfo::GetNames(MemberId memid, unsigned max_names, std::vector<std::string>& out) {
  if (names_fail.contains(memid)) return kTypeEElementNotFound;
  const auto found = names.find(memid);
  if (found == names.end()) return kTypeEElementNotFound;
  out.assign(found->second.begin(), found->second.begin() + std::min<std::size_t>(max_names, found->second.size()));
  return kOk;
}

HResult FakeTypeInfo::GetRefTypeOfImplType(unsigned index, HRefType& out) {
  if (index >= impl_types.size() || impl_type_fail.contains(index)) return kTypeEElementNotFound;
  out = impl_types[index];
  return kOk;
}

HResult FakeTypeInfo::GetImplTypeFlags(unsigned index, std::int32_t& out) {
  if (index >= impl_types.size()) return kTypeEElementNotFound;
  const auto found = impl_flags.find(index);
  out = found == impl_flags.end() ? 0 : found->second;
  return kOk;
}

HResult FakeTypeInfo::GetRefTypeInfo(HRefType href, std::shared_ptr<ITypeInfoAccess>& out) {
  const auto found = refs.find(href);
  if (found == refs.end()) return kTypeEElementNotFound;
  out = found->second;
  return kOk;
}

HResult FakeTypeInfo::GetContainingTypeLib(std::shared_ptr<ITypeLibAccess>&, unsigned&) { return kENotImpl; }

std::shared_ptr<FakeTypeInfo> FakeTypeLib::Add(TypeKind kind, std::string name) {
  auto type = std::make_shared<FakeTypeInfo>(kind, std::move(name));
  types.push_back(type);
  return type;
}

HResult FakeTypeLib::GetDocumentation(int index, Documentation& out) {
  if (index != -1) return kEInvalidArg;
  if (Failed(doc_hr)) return doc_hr;
  out = doc;
  return doc_hr;
}

HResult FakeTypeLib::GetTypeInfo(unsigned index, std::shared_ptr<ITypeInfoAccess>& out) {
  if (index >= types.size() || type_info_fail.contains(index)) return kTypeEElementNotFound;
  out = types[index];
  return kOk;
}

HResult FakeTypeLib::GetTypeInfoType(unsigned index, TypeKind& out) {
  if (index >= types.size()) return kTypeEElementNotFound;
  out = types[index]->attr.typekind;
  return kOk;
}

HResult FakeTypeLib::GetLibAttr(LibAttr& out) {
  out = LibAttr{};
  return kOk;
}

}  // namespace quenlor::typelib::testing
