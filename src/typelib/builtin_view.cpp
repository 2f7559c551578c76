// The built-in reader's type views: one type of a loaded library presented as the platform
// presents it (dispatch and interface halves of a dual type, the Automation form of the
// functions of a base chain, handles into other libraries).
#include <algorithm>
#include <utility>

#include "typelib/builtin_library.h"

namespace quenlor::typelib::builtin {

namespace {

class BuiltinTypeInfo final : public ITypeInfoAccess {
 public:
  BuiltinTypeInfo(LibraryPtr lib, std::uint32_t index, View view)
      : lib_(std::move(lib)), index_(index), view_(view),
        list_(lib_->Functions(index, view == View::Dispatch && HasBase(lib_->model().types[index]))),
        funcs_(list_->funcs) {}

  const TypeInfo& type() const { return lib_->model().types[index_]; }

  HResult GetTypeAttr(TypeAttr& out) override {
    const TypeInfo& t = type();
    TypeAttr a;
    a.guid = t.guid;
    a.lcid = lib_->model().lcid;
    a.cb_size_instance = t.cb_size_instance;
    a.typekind = t.kind;
    a.c_funcs = list_->reported_count.value_or(static_cast<std::uint16_t>(funcs_.size()));
    a.c_vars = static_cast<std::uint16_t>(t.vars.size());
    a.c_impl_types = static_cast<std::uint16_t>(t.impls.size());
    a.cb_size_vft = t.cb_size_vft;
    a.cb_alignment = t.cb_alignment;
    a.w_type_flags = t.flags;
    a.w_major_ver_num = t.major;
    a.w_minor_ver_num = t.minor;
    if (t.kind == TKIND_ALIAS_) a.tdesc_alias = t.alias;
    if (lib_->StoredPointerSize() == kPointerSize || !lib_->model().msft) {
      // Sizes as stored: laid out for this pointer size, or (SLTG) never rescaled by the
      // platform.
    } else if (t.kind == TKIND_DISPATCH_ || t.kind == TKIND_INTERFACE_ || t.kind == TKIND_COCLASS_) {
      a.cb_size_instance = kPointerSize;
      a.cb_alignment = static_cast<std::uint16_t>(kPointerSize);
    } else if (t.kind == TKIND_ALIAS_) {
      const auto layout = Layout(t.alias, lib_.get(), 0);
      a.cb_size_instance = layout.first;
      a.cb_alignment = static_cast<std::uint16_t>(layout.second);
    }
    if (view_ == View::Interface) {
      a.typekind = TKIND_INTERFACE_;
    } else if (t.kind == TKIND_DISPATCH_) {
      a.c_impl_types = 1;
      a.cb_size_vft = static_cast<std::uint16_t>(7 * kPointerSize);
      if (IsDual(t)) a.w_type_flags = static_cast<std::uint16_t>(t.flags & ~kTypeFlagOleAutomation);
    }
    out = std::move(a);
    return kOk;
  }

  HResult GetDocumentation(MemberId memid, Documentation& out) override {
    const TypeInfo& t = type();
    if (memid == kMemberIdNil) {
      out = {t.name, t.doc_string, t.help_context, lib_->model().help_file};
      return kOk;
    }
    if (const PresentedFunc* p = list_->Find(memid)) {
      out = {p->func->name, p->func->doc_string, p->func->help_context, p->owner->model().help_file};
      return kOk;
    }
    for (const auto& v : t.vars) {
      if (v.memid != memid) continue;
      out = {v.name, v.doc_string, v.help_context, lib_->model().help_file};
      return kOk;
    }
    return kTypeEElementNotFound;
  }

  HResult GetFuncDesc(unsigned index, FuncDesc& out) override {
    if (index >= funcs_.size()) return list_->beyond;
    const PresentedFunc& p = funcs_[index];
    const Func& f = *p.func;
    FuncDesc d;
    d.memid = f.memid;
    d.funckind = f.funckind;
    d.invkind = f.invkind;
    d.callconv = f.callconv;
    d.c_params_opt = f.c_params_opt;
    // Functions stored in their dispatch form have no vtable slot.
    d.o_vft = f.funckind == kFuncDispatch ? 0 : static_cast<std::int16_t>(p.owner->Scale(static_cast<std::uint16_t>(f.o_vft)));
    d.w_func_flags = f.flags;
    d.elemdesc_func = f.ret;
    const std::size_t count = PresentedParamCount(p);
    if (p.automation) {
      d.funckind = kFuncDispatch;
      if (HasRetval(f)) {
        d.elemdesc_func.tdesc = *f.params.back().elem.tdesc.pointee;
        d.elemdesc_func.param_flags = 0;
      } else if (d.elemdesc_func.tdesc.vt == VT_HRESULT_) {
        d.elemdesc_func.tdesc.vt = VT_VOID_;
      }
    }
    d.elemdesc_func.tdesc = Localize(d.elemdesc_func.tdesc, p.owner);
    d.params.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      ElemDesc e = f.params[i].elem;
      e.tdesc = Localize(e.tdesc, p.owner);
      d.params.push_back(std::move(e));
    }
    d.c_params = static_cast<std::int16_t>(count);
    out = std::move(d);
    return kOk;
  }

  HResult GetVarDesc(unsigned index, VarDesc& out) override {
    const TypeInfo& t = type();
    if (view_ == View::Dispatch && HasBase(t)) return kTypeEElementNotFound;
    if (index >= t.vars.size()) return kTypeEElementNotFound;
    const reader::Var& v = t.vars[index];
    VarDesc d;
    d.memid = v.memid;
    d.o_inst = v.o_inst;
    d.value = v.value;
    d.elemdesc_var = v.elem;
    d.w_var_flags = v.flags;
    d.varkind = v.varkind;
    out = std::move(d);
    return kOk;
  }

  HResult GetNames(MemberId memid, unsigned max_names, std::vector<std::string>& out) override {
    if (const PresentedFunc* p = list_->Find(memid)) {
      const Func& f = *p->func;
      const std::size_t shown = PresentedParamCount(*p);
      std::vector<std::string> names;
      if (max_names > 0) names.push_back(f.name);
      for (std::size_t i = 0; i < shown && names.size() < max_names; ++i) {
        if (f.params[i].name.empty()) break;
        names.push_back(f.params[i].name);
      }
      out = std::move(names);
      return kOk;
    }
    for (const auto& v : type().vars) {
      if (v.memid != memid) continue;
      out.clear();
      if (max_names > 0) out.push_back(v.name);
      return kOk;
    }
    return kTypeEElementNotFound;
  }

  HResult GetRefTypeOfImplType(unsigned index, HRefType& out) override {
    const TypeInfo& t = type();
    if (index == 0xFFFFFFFFu) {
      if (!IsDual(t)) return kTypeEElementNotFound;
      out = kPartnerHref;
      return kOk;
    }
    if (t.kind == TKIND_DISPATCH_ && view_ != View::Interface) {
      if (index != 0 || !lib_->model().dispatch_href) return kTypeEElementNotFound;
      out = *lib_->model().dispatch_href;
      return kOk;
    }
    if (index >= t.impls.size()) return kTypeEElementNotFound;
    if (t.kind == TKIND_COCLASS_) {
      out = t.impls[index].href;
    } else {
      out = Handle(lib_.get(), t.impls[index].href, true);
    }
    return kOk;
  }

  HResult GetImplTypeFlags(unsigned index, std::int32_t& out) override {
    const TypeInfo& t = type();
    if (t.kind == TKIND_DISPATCH_ && view_ != View::Interface) {
      if (index != 0) return kTypeEElementNotFound;
      out = 0;
      return kOk;
    }
    if (index >= t.impls.size()) return kTypeEElementNotFound;
    out = t.impls[index].flags;
    return kOk;
  }

  HResult GetRefTypeInfo(HRefType href, std::shared_ptr<ITypeInfoAccess>& out) override {
    if (href == kPartnerHref) {
      if (!IsDual(type())) return kTypeEElementNotFound;
      out = lib_->MakeView(index_, view_ != View::Interface);
      return kOk;
    }
    BuiltinLibrary* owner = lib_.get();
    bool interface_half = false;
    if (href >= kViewHandleBase && href - kViewHandleBase < handles_.size()) {
      const auto& h = handles_[href - kViewHandleBase];
      owner = h.owner;
      href = h.stored;
      interface_half = h.interface_half;
    }
    HResult hr = kOk;
    const auto target = owner->Target(href, &hr);
    if (!target) return hr;
    out = target->lib->MakeView(target->index, interface_half);
    return kOk;
  }

  HResult GetContainingTypeLib(std::shared_ptr<ITypeLibAccess>& out, unsigned& index) override {
    out = lib_;
    index = index_;
    return kOk;
  }

 private:
  struct HandleEntry {
    BuiltinLibrary* owner;
    HRefType stored;
    bool interface_half;
  };

  HRefType Handle(BuiltinLibrary* owner, HRefType stored, bool interface_half) {
    for (std::size_t i = 0; i < handles_.size(); ++i) {
      const auto& h = handles_[i];
      if (h.owner == owner && h.stored == stored && h.interface_half == interface_half)
        return kViewHandleBase + static_cast<HRefType>(i);
    }
    handles_.push_back({owner, stored, interface_half});
    return kViewHandleBase + static_cast<HRefType>(handles_.size() - 1);
  }

  // A type description of another library's function, with its handles made usable here.
  TypeDesc Localize(const TypeDesc& t, BuiltinLibrary* owner) {
    if (owner == lib_.get()) return t;
    TypeDesc out = t;
    if (t.vt == VT_USERDEFINED_) {
      out.hreftype = Handle(owner, t.hreftype, false);
    } else if (t.pointee) {
      out.pointee = std::make_shared<const TypeDesc>(Localize(*t.pointee, owner));
    } else if (t.array) {
      auto array = std::make_shared<ArrayDesc>(*t.array);
      array->element = Localize(t.array->element, owner);
      out.array = std::move(array);
    }
    return out;
  }

  LibraryPtr lib_;
  std::uint32_t index_;
  View view_;
  std::shared_ptr<const FunctionList> list_;
  const std::vector<PresentedFunc>& funcs_;
  std::vector<HandleEntry> handles_;
};

}  // namespace

std::pair<std::uint32_t, std::uint32_t> Layout(const TypeDesc& t, BuiltinLibrary* lib, int depth) {
  switch (t.vt) {
    case VT_I1_: case VT_UI1_: return {1, 1};
    case VT_I2_: case VT_UI2_: case VT_BOOL_: return {2, 2};
    case VT_I4_: case VT_UI4_: case VT_INT_: case VT_UINT_: case VT_R4_: case VT_ERROR_: case VT_HRESULT_:
      return {4, 4};
    case VT_I8_: case VT_UI8_: case VT_R8_: case VT_CY_: case VT_DATE_: case VT_FILETIME_: return {8, 8};
    case VT_DECIMAL_: return {16, 8};
    case VT_VARIANT_: return {kPointerSize == 8 ? 24u : 16u, 8};
    case VT_CARRAY_: {
      if (!t.array || depth > 32) return {0, 0};
      std::uint64_t count = 1;
      for (const auto& b : t.array->bounds) count = std::min<std::uint64_t>(count * b.elements, 0xFFFFFFFFu);
      const auto element = Layout(t.array->element, lib, depth + 1);
      return {static_cast<std::uint32_t>(std::min<std::uint64_t>(count * element.first, 0xFFFFFFFFu)), element.second};
    }
    case VT_USERDEFINED_: {
      if (depth > 32) return {0, 0};
      const auto target = lib->Target(t.hreftype);
      if (!target) return {0, 0};
      const TypeInfo& tt = target->lib->model().types[target->index];
      if (tt.kind == TKIND_ALIAS_) return Layout(tt.alias, target->lib.get(), depth + 1);
      if (tt.kind == TKIND_DISPATCH_ || tt.kind == TKIND_INTERFACE_ || tt.kind == TKIND_COCLASS_)
        return {kPointerSize, kPointerSize};
      return {tt.cb_size_instance, tt.cb_alignment};
    }
    default: return {kPointerSize, kPointerSize};
  }
}


std::shared_ptr<ITypeInfoAccess> BuiltinLibrary::MakeView(std::uint32_t index, bool interface_half) {
  const TypeInfo& t = model_.types[index];
  View view = View::Plain;
  if (HasBase(t)) view = interface_half && IsDual(t) ? View::Interface : View::Dispatch;
  return std::make_shared<BuiltinTypeInfo>(shared_from_this(), index, view);
}

}  // namespace quenlor::typelib::builtin
