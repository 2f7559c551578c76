// Asks a loaded library for everything the description writer could ask for: every type's
// attributes and documentation, every function and variable with names and documentation,
// every implemented type and every referenced type's name. Shared by the benchmark and the
// timing program that runs both readers under Wine.
#pragma once

#include <cstddef>

#include "typelib/access.h"

namespace quenlor::typelib::testing {

struct WalkCount {
  std::size_t types = 0, funcs = 0, vars = 0, refs = 0;
};

inline void WalkRef(ITypeInfoAccess& info, const TypeDesc& t, WalkCount& count, int depth = 0) {
  if (depth > 16) return;
  if (t.vt == VT_USERDEFINED_) {
    std::shared_ptr<ITypeInfoAccess> ref;
    if (info.GetRefTypeInfo(t.hreftype, ref) == kOk) {
      Documentation doc;
      ref->GetDocumentation(kMemberIdNil, doc);
      ++count.refs;
    }
  } else if (t.pointee) {
    WalkRef(info, *t.pointee, count, depth + 1);
  } else if (t.array) {
    WalkRef(info, t.array->element, count, depth + 1);
  }
}

inline WalkCount WalkLibrary(ITypeLibAccess& lib) {
  WalkCount count;
  Documentation doc;
  lib.GetDocumentation(-1, doc);
  LibAttr lib_attr;
  lib.GetLibAttr(lib_attr);
  const unsigned n = lib.GetTypeInfoCount();
  for (unsigned i = 0; i < n; ++i) {
    std::shared_ptr<ITypeInfoAccess> info;
    if (lib.GetTypeInfo(i, info) != kOk) continue;
    TypeAttr attr;
    if (info->GetTypeAttr(attr) != kOk) continue;
    ++count.types;
    info->GetDocumentation(kMemberIdNil, doc);
    if (attr.typekind == TKIND_ALIAS_) WalkRef(*info, attr.tdesc_alias, count);
    std::vector<std::string> names;
    for (unsigned f = 0; f < attr.c_funcs; ++f) {
      FuncDesc desc;
      if (info->GetFuncDesc(f, desc) != kOk) continue;
      ++count.funcs;
      info->GetNames(desc.memid, static_cast<unsigned>(desc.params.size()) + 1, names);
      info->GetDocumentation(desc.memid, doc);
      WalkRef(*info, desc.elemdesc_func.tdesc, count);
      for (const auto& p : desc.params) WalkRef(*info, p.tdesc, count);
    }
    for (unsigned v = 0; v < attr.c_vars; ++v) {
      VarDesc desc;
      if (info->GetVarDesc(v, desc) != kOk) continue;
      ++count.vars;
      info->GetNames(desc.memid, 1, names);
      info->GetDocumentation(desc.memid, doc);
      WalkRef(*info, desc.elemdesc_var.tdesc, count);
    }
    for (unsigned k = 0; k < attr.c_impl_types; ++k) {
      HRefType href = 0;
      std::int32_t flags = 0;
      info->GetImplTypeFlags(k, flags);
      if (info->GetRefTypeOfImplType(k, href) != kOk) continue;
      std::shared_ptr<ITypeInfoAccess> ref;
      if (info->GetRefTypeInfo(href, ref) == kOk) {
        ref->GetDocumentation(kMemberIdNil, doc);
        ++count.refs;
      }
    }
  }
  return count;
}

}  // namespace quenlor::typelib::testing
