#include "app/units/library_references.h"

namespace quenlor::units {

namespace {

using typelib::Failed;
using typelib::Succeeded;
using typelib::ITypeInfoAccess;
using typelib::ITypeLibAccess;
using typelib::TypeDesc;

// Pointer chains are short in real libraries; a hostile one stops here.
constexpr int kMaxTypeDepth = 64;

class ReferenceWalk {
 public:
  explicit ReferenceWalk(ITypeLibAccess& library) : own_(KeyOf(library)) {}

  void Type(ITypeInfoAccess& type_info) {
    typelib::TypeAttr attr;
    if (Failed(type_info.GetTypeAttr(attr))) return;
    // A coclass's interfaces give only its CLSID; a base interface is declared as derived from.
    const bool base = attr.typekind != typelib::TKIND_COCLASS_;
    for (unsigned i = 0; i < attr.c_impl_types; ++i) {
      typelib::HRefType href = 0;
      if (Failed(type_info.GetRefTypeOfImplType(i, href))) continue;
      Refer(type_info, href, base);
    }
    for (unsigned i = 0; i < attr.c_funcs; ++i) {
      typelib::FuncDesc func;
      if (Failed(type_info.GetFuncDesc(i, func))) continue;
      Desc(type_info, func.elemdesc_func.tdesc, 0);
      for (const typelib::ElemDesc& param : func.params) Desc(type_info, param.tdesc, 0);
    }
    for (unsigned i = 0; i < attr.c_vars; ++i) {
      typelib::VarDesc var;
      if (Failed(type_info.GetVarDesc(i, var))) continue;
      Desc(type_info, var.elemdesc_var.tdesc, 0);
    }
    if (attr.typekind == typelib::TKIND_ALIAS_) Desc(type_info, attr.tdesc_alias, 0);
  }

  std::vector<Reference> Take() { return std::move(found_); }

 private:
  void Desc(ITypeInfoAccess& type_info, const TypeDesc& desc, int depth) {
    if (depth > kMaxTypeDepth) return;
    constexpr std::uint16_t kPtr = 26, kSafeArray = 27, kCArray = 28, kUserDefined = 29;
    switch (desc.vt) {
      case kPtr:
      case kSafeArray:
        if (desc.pointee) Desc(type_info, *desc.pointee, depth + 1);
        break;
      case kCArray:
        if (desc.array) Desc(type_info, desc.array->element, depth + 1);
        break;
      case kUserDefined: Refer(type_info, desc.hreftype, false); break;
      default: break;
    }
  }

  void Refer(ITypeInfoAccess& type_info, typelib::HRefType href, bool base) {
    std::shared_ptr<ITypeInfoAccess> target;
    if (Failed(type_info.GetRefTypeInfo(href, target)) || !target) return;
    std::shared_ptr<ITypeLibAccess> library;
    unsigned index = 0;
    if (Failed(target->GetContainingTypeLib(library, index)) || !library) return;
    const std::optional<LibraryKey> key = KeyOf(*library);
    if (!key || key == own_) return;
    bool needs = base;
    if (typelib::TypeAttr attr; !needs && Succeeded(target->GetTypeAttr(attr))) {
      needs = attr.typekind == typelib::TKIND_RECORD_ || attr.typekind == typelib::TKIND_UNION_ ||
              attr.typekind == typelib::TKIND_ALIAS_;
    }
    for (std::size_t i = 0; i < keys_.size(); ++i) {
      if (keys_[i] == *key) {
        found_[i].needs_declarations = found_[i].needs_declarations || needs;
        return;
      }
    }
    keys_.push_back(*key);
    found_.push_back({std::move(library), needs});
  }

  std::optional<LibraryKey> own_;
  std::vector<LibraryKey> keys_;
  std::vector<Reference> found_;
};

}  // namespace

std::optional<LibraryKey> KeyOf(ITypeLibAccess& library) {
  typelib::LibAttr attr;
  if (Failed(library.GetLibAttr(attr))) return std::nullopt;
  return LibraryKey{attr.guid, attr.w_major_ver_num, attr.w_minor_ver_num, attr.lcid};
}

std::vector<Reference> ReferencedLibraries(ITypeLibAccess& library) {
  ReferenceWalk walk(library);
  const unsigned count = library.GetTypeInfoCount();
  for (unsigned index = 0; index < count; ++index) {
    std::shared_ptr<ITypeInfoAccess> type_info;
    if (Failed(library.GetTypeInfo(index, type_info)) || !type_info) continue;
    walk.Type(*type_info);
  }
  return walk.Take();
}

DeclaredNames NamesOf(ITypeLibAccess& library) {
  DeclaredNames names;
  const unsigned count = library.GetTypeInfoCount();
  for (unsigned index = 0; index < count; ++index) {
    std::shared_ptr<ITypeInfoAccess> type_info;
    if (Failed(library.GetTypeInfo(index, type_info)) || !type_info) continue;
    typelib::TypeAttr attr;
    typelib::Documentation doc;
    if (Failed(type_info->GetTypeAttr(attr)) || Failed(type_info->GetDocumentation(typelib::kMemberIdNil, doc))) {
      continue;
    }
    switch (attr.typekind) {
      case typelib::TKIND_INTERFACE_: names.interfaces.push_back(doc.name); break;
      case typelib::TKIND_DISPATCH_: names.dispinterfaces.push_back(doc.name); break;
      case typelib::TKIND_ENUM_:
        if (attr.c_vars > 0) names.enums.push_back(doc.name);
        break;
      default: break;
    }
  }
  return names;
}

}  // namespace quenlor::units
