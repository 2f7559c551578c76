// An in-memory type library behind the access port, where every call's failure can be staged.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "typelib/access.h"

namespace quenlor::typelib::testing {

TypeDesc Vt(std::uint16_t vt);
TypeDesc Ptr(TypeDesc pointee);
TypeDesc BadPtr();  // a VT_PTR whose target cannot be read
TypeDesc UserDefined(HRefType href);
TypeDesc CArray(TypeDesc element, std::vector<SafeArrayBound> bounds);
ElemDesc Param(TypeDesc type, std::uint16_t flags);

struct FakeFunc {
  FuncDesc desc;
  HResult hr = kOk;  // of GetFuncDesc
};

struct FakeVar {
  VarDesc desc;
  HResult hr = kOk;  // of GetVarDesc
};

class FakeTypeInfo : public ITypeInfoAccess {
 public:
  FakeTypeInfo(TypeKind kind, std::string name);

  // Staging.
  TypeAttr attr;
  HResult attr_hr = kOk;
  Documentation doc;
  HResult doc_hr = kOk;
  std::vector<FakeFunc> funcs;
  std::vector<FakeVar> vars;
  std::map<MemberId, std::vector<std::string>> names;  // GetNames; the first is the member's
  std::set<MemberId> names_fail;                       // GetNames fails
  std::set<MemberId> member_doc_fail;                  // GetDocumentation fails
  std::vector<HRefType> impl_types;
  std::map<unsigned, std::int32_t> impl_flags;  // GetImplTypeFlags; 0 when not given
  std::set<unsigned> impl_type_fail;
  std::map<HRefType, std::shared_ptr<ITypeInfoAccess>> refs;

  // Builders: a member is named through both GetNames and GetDocumentation.
  FakeTypeInfo& AddFunc(std::string name, MemberId memid, std::vector<ElemDesc> params,
                        std::vector<std::string> param_names, TypeDesc result = Vt(25),
                        std::uint32_t invkind = 1, std::uint32_t callconv = 4);
  FakeTypeInfo& AddVar(std::string name, MemberId memid, TypeDesc type, std::optional<Variant> value = {});
  HRefType AddRef(std::shared_ptr<ITypeInfoAccess> referenced);
  FakeTypeInfo& Inherit(std::shared_ptr<ITypeInfoAccess> base);

  HResult GetTypeAttr(TypeAttr& out) override;
  HResult GetDocumentation(MemberId memid, Documentation& out) override;
  HResult GetFuncDesc(unsigned index, FuncDesc& out) override;
  HResult GetVarDesc(unsigned index, VarDesc& out) override;
  HResult GetNames(MemberId memid, unsigned max_names, std::vector<std::string>& out) override;
  HResult GetRefTypeOfImplType(unsigned index, HRefType& out) override;
  HResult GetImplTypeFlags(unsigned index, std::int32_t& out) override;
  HResult GetRefTypeInfo(HRefType href, std::shared_ptr<ITypeInfoAccess>& out) override;
  HResult GetContainingTypeLib(std::shared_ptr<ITypeLibAccess>& out, unsigned& index) override;

 private:
  std::map<MemberId, std::string> member_names_;
};

class FakeTypeLib : public ITypeLibAccess {
 public:
  explicit FakeTypeLib(std::string name) { doc.name = std::move(name); }

  Documentation doc;
  HResult doc_hr = kOk;
  std::vector<std::shared_ptr<FakeTypeInfo>> types;
  std::set<unsigned> type_info_fail;

  std::shared_ptr<FakeTypeInfo> Add(TypeKind kind, std::string name);

  HResult GetDocumentation(int index, Documentation& out) override;
  unsigned GetTypeInfoCount() override { return static_cast<unsigned>(types.size()); }
  HResult GetTypeInfo(unsigned index, std::shared_ptr<ITypeInfoAccess>& out) override;
  HResult GetTypeInfoType(unsigned index, TypeKind& out) override;
  HResult GetLibAttr(LibAttr& out) override;
};

}  // namespace quenlor::typelib::testing
