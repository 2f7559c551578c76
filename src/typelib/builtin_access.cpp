// The built-in reader behind the access port: loads the file, has the format parser build
// the model, and presents the model the way the platform presents a loaded library.
//
// Presentation rules that the model does not hold:
//   - a dispatch type with a base (dual interface, "dispinterface X { interface Y; }") is
//     seen as TKIND_DISPATCH with the functions of its whole base chain, root first, in
//     their Automation form; a dual one has a TKIND_INTERFACE partner (handle -2) holding
//     its own vtable functions;
//     when a base of that chain cannot be reached (its library does not load), the view
//     reports the stored vtable's slot count as its function count and delivers what the
//     platform delivers: nothing, each index failing with the reference's code, when the
//     type's own base is the one missing; else the functions of the levels below the
//     missing base, and TYPE_E_ELEMENTNOTFOUND for the other indexes;
//   - every dispatch view reports IDispatch as its one implemented type;
//   - offsets and sizes that depend on the pointer size are reported for this process's
//     pointer size, whatever the library's SYSKIND;
//   - handles handed out by a view for types of other libraries, or for the interface
//     half of a dual base, are view-local numbers from kViewHandleBase up.
#include <algorithm>
#include <filesystem>
#include <map>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "base/file.h"
#include "typelib/locator.h"
#include "typelib/locator_impl.h"
#include "typelib/platform_access.h"
#include "typelib/builtin_access.h"
#include "typelib/reader/container.h"
#include "typelib/reader/model.h"

namespace quenlor::typelib {

namespace {

using reader::Func;
using reader::Library;
using reader::TypeInfo;

constexpr std::uint32_t kPointerSize = sizeof(void*);
constexpr HRefType kPartnerHref = 0xFFFFFFFEu;
constexpr HRefType kViewHandleBase = 0xC0000000u;
constexpr std::uint16_t kFlagDual = 0x40;
constexpr std::uint16_t kFlagOleAutomation = 0x100;
constexpr std::uint16_t kParamRetval = 0x8;
constexpr std::uint16_t kParamLcid = 0x4;
constexpr std::uint32_t kFuncDispatch = 4;
// Inheritance chains are a few levels deep; a longer one loops.
constexpr int kMaxChain = 64;
// Type library images beyond this size are refused before they are read.
constexpr std::uint64_t kMaxFileSize = 256ull << 20;

enum class View { Plain, Dispatch, Interface };

class BuiltinLibrary;
using LibraryPtr = std::shared_ptr<BuiltinLibrary>;

struct TypeRef {
  LibraryPtr lib;
  std::uint32_t index = 0;
};

HResult LoadCached(const std::string& path, const std::shared_ptr<TypeLibLocator>& locator, LibraryPtr& out);

struct UnresolvedList {
  std::mutex mutex;
  std::vector<UnresolvedLibrary> libraries;
};
UnresolvedList& Unresolved() {
  static UnresolvedList list;
  return list;
}

// Each library once, however many libraries or references ask for it.
void NoteUnresolved(const reader::ImportedLibrary& imp) {
  UnresolvedList& list = Unresolved();
  std::lock_guard<std::mutex> lock(list.mutex);
  for (const auto& known : list.libraries) {
    if (known.libid == imp.libid && known.major == imp.major && known.minor == imp.minor) return;
  }
  list.libraries.push_back({imp.libid, imp.major, imp.minor, imp.lcid, imp.file_name});
}

bool HasBase(const TypeInfo& t) { return t.kind == TKIND_DISPATCH_ && !t.impls.empty(); }
bool IsDual(const TypeInfo& t) { return HasBase(t) && (t.flags & kFlagDual); }

class BuiltinTypeInfo;

// One function as a view presents it, with the library that stores it.
struct PresentedFunc {
  BuiltinLibrary* owner = nullptr;
  const Func* func = nullptr;
  bool automation = false;  // rewritten to its dispatch form
};

// A trailing [retval] pointer, which the Automation form turns into the result.
bool HasRetval(const Func& f) {
  if (f.params.empty()) return false;
  const ElemDesc& last = f.params.back().elem;
  return (last.param_flags & kParamRetval) && last.tdesc.vt == VT_PTR_ && last.tdesc.pointee;
}

// Parameters a view shows: the Automation form drops a [retval] and then an [lcid] one.
std::size_t PresentedParamCount(const PresentedFunc& p) {
  const Func& f = *p.func;
  std::size_t count = f.params.size();
  if (!p.automation) return count;
  if (HasRetval(f)) --count;
  if (count > 0 && (f.params[count - 1].elem.param_flags & kParamLcid)) --count;
  return count;
}

// The functions of one view of a type, computed once per library and shared by its views.
struct FunctionList {
  std::vector<PresentedFunc> funcs;
  std::optional<std::uint16_t> reported_count;  // the count a broken chain reports
  HResult beyond = kTypeEElementNotFound;       // the code of an index without a function
  std::vector<LibraryPtr> keep;  // other libraries of the base chain, alive with the list
  std::unordered_map<MemberId, std::size_t> first_by_memid;  // lookups by member id

  void Index() {
    first_by_memid.reserve(funcs.size());
    for (std::size_t i = 0; i < funcs.size(); ++i) first_by_memid.emplace(funcs[i].func->memid, i);
  }
  const PresentedFunc* Find(MemberId memid, std::size_t* index = nullptr) const {
    const auto it = first_by_memid.find(memid);
    if (it == first_by_memid.end()) return nullptr;
    if (index) *index = it->second;
    return &funcs[it->second];
  }
};

class BuiltinLibrary final : public ITypeLibAccess, public std::enable_shared_from_this<BuiltinLibrary> {
 public:
  BuiltinLibrary(Library model, std::string path, std::shared_ptr<TypeLibLocator> locator)
      : model_(std::move(model)), path_(std::move(path)), locator_(std::move(locator)),
        imports_(model_.imports.size()), import_tried_(model_.imports.size(), false),
        import_self_(model_.imports.size(), false), own_lists_(model_.types.size()),
        chain_lists_(model_.types.size()) {}

  const Library& model() const { return model_; }
  std::uint32_t StoredPointerSize() const { return model_.syskind == 3 ? 8 : 4; }
  std::uint32_t Scale(std::uint32_t value) const { return value * kPointerSize / StoredPointerSize(); }

  // The type a stored handle of this library refers to.
  // `failure` receives the platform's code when there is none: an unknown handle, or a
  // library that does not load.
  std::optional<TypeRef> Target(HRefType href, HResult* failure = nullptr) {
    if (failure) *failure = kTypeEElementNotFound;
    const auto it = model_.refs.find(href);
    if (it == model_.refs.end()) return std::nullopt;
    const reader::RefTarget& target = it->second;
    if (!target.imported) {
      if (target.local_index >= model_.types.size()) return std::nullopt;
      return TypeRef{shared_from_this(), target.local_index};
    }
    LibraryPtr lib = Import(target.library);
    if (!lib) {
      if (failure) *failure = kTypeECantLoadLibrary;
      return std::nullopt;
    }
    const auto& types = lib->model().types;
    if (target.by_guid) {
      for (std::uint32_t i = 0; i < types.size(); ++i)
        if (types[i].guid == target.guid) return TypeRef{lib, i};
      return std::nullopt;
    }
    if (target.index >= types.size()) return std::nullopt;
    return TypeRef{lib, target.index};
  }

  std::shared_ptr<ITypeInfoAccess> MakeView(std::uint32_t index, bool interface_half);

  // The functions a view of type `index` presents: the whole base chain in Automation form
  // for the dispatch view of a type with a base, the stored ones otherwise.
  std::shared_ptr<const FunctionList> Functions(std::uint32_t index, bool dispatch_chain) {
    auto& slot = (dispatch_chain ? chain_lists_ : own_lists_)[index];
    if (!slot) slot = BuildFunctions(index, dispatch_chain);
    return slot;
  }

  HResult GetDocumentation(int index, Documentation& out) override {
    if (index == -1) {
      out = {model_.name, model_.doc_string, model_.help_context, model_.help_file};
      return kOk;
    }
    if (index < 0 || static_cast<std::size_t>(index) >= model_.types.size()) return kTypeEElementNotFound;
    const TypeInfo& t = model_.types[static_cast<std::size_t>(index)];
    out = {t.name, t.doc_string, t.help_context, model_.help_file};
    return kOk;
  }

  unsigned GetTypeInfoCount() override { return static_cast<unsigned>(model_.types.size()); }

  HResult GetTypeInfo(unsigned index, std::shared_ptr<ITypeInfoAccess>& out) override {
    if (index >= model_.types.size()) return kTypeEElementNotFound;
    out = MakeView(index, false);
    return kOk;
  }

  HResult GetTypeInfoType(unsigned index, TypeKind& out) override {
    if (index >= model_.types.size()) return kTypeEElementNotFound;
    out = model_.types[index].kind;
    return kOk;
  }

  void ResolveAllImports() {
    for (std::uint32_t i = 0; i < imports_.size(); ++i) Import(i);
  }

  HResult GetLibAttr(LibAttr& out) override {
    out.guid = model_.guid;
    out.lcid = model_.lcid;
    out.syskind = model_.syskind;
    out.w_major_ver_num = model_.major;
    out.w_minor_ver_num = model_.minor;
    // The platform marks libraries read from an MSFT image as having a disk image.
    out.w_lib_flags = static_cast<std::uint16_t>(model_.lib_flags | (model_.msft ? 0x08 : 0));
    return kOk;
  }

 private:
  LibraryPtr Import(std::uint32_t i) {
    if (i >= imports_.size()) return nullptr;
    if (!import_tried_[i]) {
      import_tried_[i] = true;
      const reader::ImportedLibrary& imp = model_.imports[i];
      std::string path = locator_ ? locator_->FindRegistered(imp.libid, imp.major, imp.minor, imp.lcid, model_.syskind) : std::string();
      if (path.empty() && locator_) path = locator_->ResolveImportFile(imp.file_name, path_);
      // A library importing itself is served by itself: no second copy, no ownership cycle.
      if (!path.empty() && path == path_) import_self_[i] = true;
      else if (!path.empty()) LoadCached(path, locator_, imports_[i]);
      if (!import_self_[i] && !imports_[i]) NoteUnresolved(imp);
    }
    if (import_self_[i]) return shared_from_this();
    return imports_[i];
  }

  Library model_;
  std::string path_;
  std::shared_ptr<TypeLibLocator> locator_;
  std::vector<LibraryPtr> imports_;
  std::vector<bool> import_tried_;
  std::vector<bool> import_self_;
  std::vector<std::shared_ptr<const FunctionList>> own_lists_;
  std::vector<std::shared_ptr<const FunctionList>> chain_lists_;

  std::shared_ptr<const FunctionList> BuildFunctions(std::uint32_t index, bool dispatch_chain);
};

// Size and alignment of a type in this process, as the platform computes them for aliases.
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
      if (IsDual(t)) a.w_type_flags = static_cast<std::uint16_t>(t.flags & ~kFlagOleAutomation);
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

std::shared_ptr<const FunctionList> BuiltinLibrary::BuildFunctions(std::uint32_t index, bool dispatch_chain) {
  auto list = std::make_shared<FunctionList>();
  const TypeInfo& t = model_.types[index];
  if (!dispatch_chain) {
    list->funcs.reserve(t.funcs.size());
    for (const auto& f : t.funcs) list->funcs.push_back({this, &f, false});
    list->Index();
    return list;
  }
  // The base chain, from this type up to the root.
  std::vector<TypeRef> chain{{shared_from_this(), index}};
  TypeRef current = chain.front();
  for (int depth = 0; depth < kMaxChain; ++depth) {
    const TypeInfo& ct = current.lib->model().types[current.index];
    if (ct.kind != TKIND_INTERFACE_ && ct.kind != TKIND_DISPATCH_) {
      // A base that is no interface at all (widl writes one for a library imported twice)
      // has no functions to give; the platform still counts the stored vtable.
      list->reported_count = static_cast<std::uint16_t>(t.cb_size_vft / StoredPointerSize());
      break;
    }
    if (ct.impls.empty()) break;
    HResult failure = kOk;
    const auto next = current.lib->Target(ct.impls[0].href, &failure);
    if (!next) {
      // The platform gathers the chain from the root down: the level whose base fails
      // contributes nothing, and its failure is the answer only when it is this type.
      chain.pop_back();
      if (chain.empty()) list->beyond = failure;
      list->reported_count = static_cast<std::uint16_t>(t.cb_size_vft / StoredPointerSize());
      break;
    }
    const bool seen = std::any_of(chain.begin(), chain.end(), [&](const TypeRef& r) {
      return r.lib == next->lib && r.index == next->index;
    });
    if (seen) break;
    chain.push_back(*next);
    current = *next;
  }
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    // This library is kept alive by the view itself; holding it here would be a cycle.
    if (it->lib.get() != this &&
        std::find(list->keep.begin(), list->keep.end(), it->lib) == list->keep.end())
      list->keep.push_back(it->lib);
    for (const auto& f : it->lib->model().types[it->index].funcs)
      list->funcs.push_back({it->lib.get(), &f, f.funckind != kFuncDispatch});
  }
  list->Index();
  return list;
}

std::shared_ptr<ITypeInfoAccess> BuiltinLibrary::MakeView(std::uint32_t index, bool interface_half) {
  const TypeInfo& t = model_.types[index];
  View view = View::Plain;
  if (HasBase(t)) view = interface_half && IsDual(t) ? View::Interface : View::Dispatch;
  return std::make_shared<BuiltinTypeInfo>(shared_from_this(), index, view);
}

// Splits "file\N" into the file and resource N (1 when there is no number).
std::pair<std::string, std::uint32_t> SplitResource(const std::string& path) {
  const auto slash = path.rfind('\\');
  if (slash == std::string::npos || slash + 1 >= path.size() || path.size() - slash - 1 > 9) return {path, 1};
  std::uint32_t id = 0;
  for (std::size_t i = slash + 1; i < path.size(); ++i) {
    if (path[i] < '0' || path[i] > '9') return {path, 1};
    id = id * 10 + static_cast<std::uint32_t>(path[i] - '0');
  }
  return {path.substr(0, slash), id};
}

HResult ParseImage(reader::Bytes file, std::uint32_t resource, Library& model) {
  reader::Bytes image;
  const HResult hr = reader::FindTypeLibImage(file, resource, image);
  if (hr != kOk) return hr;
  if (image[0] != 'M') return reader::ParseSltg(image, model);
  const HResult parsed = reader::ParseMsft(image, model);
  model.msft = true;
  return parsed;
}

HResult LoadFile(const std::string& path, const std::shared_ptr<TypeLibLocator>& locator, LibraryPtr& out) {
  auto [file, resource] = SplitResource(path);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(PathFromUtf8(file), ec)) {
    // A bare name is looked for where the platform looks: the system folder.
    if (file.find_first_of("/\\") != std::string::npos || !locator) return kTypeECantLoadLibrary;
    file = locator->ResolveImportFile(file, std::string());
    if (file.empty()) return kTypeECantLoadLibrary;
  }
  const auto bytes = ReadWholeFile(file, kMaxFileSize);
  if (!bytes) return kTypeECantLoadLibrary;
  Library model;
  const HResult hr = ParseImage(*bytes, resource, model);
  if (hr != kOk) return hr;
  out = std::make_shared<BuiltinLibrary>(std::move(model), file, locator);
  return kOk;
}

// Libraries loaded as imports stay shared while anyone holds them, as the platform caches
// loaded libraries.
HResult LoadCached(const std::string& path, const std::shared_ptr<TypeLibLocator>& locator, LibraryPtr& out) {
  static std::mutex mutex;
  static std::map<std::string, std::weak_ptr<BuiltinLibrary>> cache;
  {
    std::lock_guard<std::mutex> lock(mutex);
    if (auto it = cache.find(path); it != cache.end()) {
      if (auto lib = it->second.lock()) {
        out = std::move(lib);
        return kOk;
      }
    }
  }
  LibraryPtr lib;
  const HResult hr = LoadFile(path, locator, lib);
  if (hr != kOk) return hr;
  std::lock_guard<std::mutex> lock(mutex);
  for (auto it = cache.begin(); it != cache.end();) it = it->second.expired() ? cache.erase(it) : std::next(it);
  cache[path] = lib;
  out = std::move(lib);
  return kOk;
}

std::mutex& LocatorMutex() {
  static std::mutex mutex;
  return mutex;
}
std::shared_ptr<TypeLibLocator>& LocatorOverride() {
  static std::shared_ptr<TypeLibLocator> locator;
  return locator;
}

std::shared_ptr<TypeLibLocator> CurrentLocator() {
  std::lock_guard<std::mutex> lock(LocatorMutex());
  if (LocatorOverride()) return LocatorOverride();
  return DefaultLocator();
}

}  // namespace

void SetLocatorForTesting(std::shared_ptr<TypeLibLocator> locator) {
  std::lock_guard<std::mutex> lock(LocatorMutex());
  LocatorOverride() = std::move(locator);
}

HResult LoadBuiltinTypeLibrary(const std::string& path, std::shared_ptr<ITypeLibAccess>& out) {
  LibraryPtr lib;
  const HResult hr = LoadFile(path, CurrentLocator(), lib);
  if (hr != kOk) return hr;
  out = std::move(lib);
  return kOk;
}

HResult LoadBuiltinTypeLibraryFromMemory(std::span<const std::uint8_t> file, std::uint32_t resource,
                                         const std::string& path_for_imports,
                                         std::shared_ptr<ITypeLibAccess>& out) {
  Library model;
  const HResult hr = ParseImage(file, resource, model);
  if (hr != kOk) return hr;
  out = std::make_shared<BuiltinLibrary>(std::move(model), path_for_imports, CurrentLocator());
  return kOk;
}

std::vector<UnresolvedLibrary> TakeUnresolvedLibraries() {
  UnresolvedList& list = Unresolved();
  std::lock_guard<std::mutex> lock(list.mutex);
  return std::exchange(list.libraries, {});
}

std::vector<UnresolvedLibrary> FindUnresolvedLibraries(const std::string& path) {
  const std::vector<UnresolvedLibrary> earlier = TakeUnresolvedLibraries();
  LibraryPtr lib;
  if (LoadFile(path, CurrentLocator(), lib) == kOk) lib->ResolveAllImports();
  std::vector<UnresolvedLibrary> found = TakeUnresolvedLibraries();
  std::lock_guard<std::mutex> lock(Unresolved().mutex);
  Unresolved().libraries = earlier;
  return found;
}

}  // namespace quenlor::typelib
