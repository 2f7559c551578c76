// An in-memory type library behind the access port, where every call's failure can be staged.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "typelib/access.h"

namespace quenlor::description::testing {

typelib::TypeDesc Vt(std::uint16_t vt);
typelib::TypeDesc Ptr(typelib::TypeDesc pointee);
typelib::TypeDesc BadPtr();  // a VT_PTR whose target cannot be read
typelib::TypeDesc UserDefined(typelib::HRefType href);
typelib::TypeDesc CArray(typelib::TypeDesc element, std::vector<typelib::SafeArrayBound> bounds);
typelib::ElemDesc Param(typelib::TypeDesc type, std::uint16_t flags);

struct FakeFunc {
  typelib::FuncDesc desc;
  typelib::HResult hr = typelib::kOk;  // of GetFuncDesc
};

struct FakeVar {
  typelib::VarDesc desc;
  typelib::HResult hr = typelib::kOk;  // of GetVarDesc
};

class FakeTypeInfo : public typelib::ITypeInfoAccess {
 public:
  FakeTypeInfo(typelib::TypeKind kind, std::string name);

  // Staging.
  typelib::TypeAttr attr;
  typelib::HResult attr_hr = typelib::kOk;
  typelib::Documentation doc;
  typelib::HResult doc_hr = typelib::kOk;
  std::vector<FakeFunc> funcs;
  std::vector<FakeVar> vars;
  std::map<typelib::MemberId, std::vector<std::string>> names;  // GetNames; the first is the member's
  std::set<typelib::MemberId> names_fail;                       // GetNames fails
  std::set<typelib::MemberId> member_doc_fail;                  // GetDocumentation fails
  std::vector<typelib::HRefType> impl_types;
  std::map<unsigned, std::int32_t> impl_flags;  // GetImplTypeFlags; 0 when not given
  std::set<unsigned> impl_type_fail;
  std::map<typelib::HRefType, std::shared_ptr<typelib::ITypeInfoAccess>> refs;

  // Builders: a member is named through both GetNames and GetDocumentation.
  FakeTypeInfo& AddFunc(std::string name, typelib::MemberId memid, std::vector<typelib::ElemDesc> params,
                        std::vector<std::string> param_names, typelib::TypeDesc result = Vt(25),
                        std::uint32_t invkind = 1, std::uint32_t callconv = 4);
  FakeTypeInfo& AddVar(std::string name, typelib::MemberId memid, typelib::TypeDesc type, std::optional<Variant> value = {});
  typelib::HRefType AddRef(std::shared_ptr<typelib::ITypeInfoAccess> referenced);
  FakeTypeInfo& Inherit(std::shared_ptr<typelib::ITypeInfoAccess> base);

  typelib::HResult GetTypeAttr(typelib::TypeAttr& out) override;
  typelib::HResult GetDocumentation(typelib::MemberId memid, typelib::Documentation& out) override;
  typelib::HResult GetFuncDesc(unsigned index, typelib::FuncDesc& out) override;
  typelib::HResult GetVarDesc(unsigned index, typelib::VarDesc& out) override;
  typelib::HResult GetNames(typelib::MemberId memid, unsigned max_names, std::vector<std::string>& out) override;
  typelib::HResult GetRefTypeOfImplType(unsigned index, typelib::HRefType& out) override;
  typelib::HResult GetImplTypeFlags(unsigned index, std::int32_t& out) override;
  typelib::HResult GetRefTypeInfo(typelib::HRefType href, std::shared_ptr<typelib::ITypeInfoAccess>& out) override;
  typelib::HResult GetContainingTypeLib(std::shared_ptr<typelib::ITypeLibAccess>& out, unsigned& index) override;

 private:
  std::map<typelib::MemberId, std::string> member_names_;
};

class FakeTypeLib : public typelib::ITypeLibAccess {
 public:
  explicit FakeTypeLib(std::string name) { doc.name = std::move(name); }

  typelib::Documentation doc;
  typelib::HResult doc_hr = typelib::kOk;
  std::vector<std::shared_ptr<FakeTypeInfo>> types;
  std::set<unsigned> type_info_fail;

  std::shared_ptr<FakeTypeInfo> Add(typelib::TypeKind kind, std::string name);

  typelib::HResult GetDocumentation(int index, typelib::Documentation& out) override;
  unsigned GetTypeInfoCount() override { return static_cast<unsigned>(types.size()); }
  typelib::HResult GetTypeInfo(unsigned index, std::shared_ptr<typelib::ITypeInfoAccess>& out) override;
  typelib::HResult GetTypeInfoType(unsigned index, typelib::TypeKind& out) override;
  typelib::HResult GetLibAttr(typelib::LibAttr& out) override;
};

}  // namespace quenlor::description::testing
