// The built-in reader's library object and the presentation rules it shares with its type
// views (see builtin_access.cpp for the rules themselves). Internal to the reader.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <string>
#include <unordered_map>
#include <vector>

#include "typelib/access.h"
#include "typelib/locator.h"
#include "typelib/reader/model.h"

namespace quenlor::typelib::builtin {

using reader::Func;
using reader::Library;
using reader::TypeInfo;

constexpr std::uint32_t kPointerSize = sizeof(void*);
constexpr HRefType kPartnerHref = 0xFFFFFFFEu;
constexpr HRefType kViewHandleBase = 0xC0000000u;
// Inheritance chains are a few levels deep; a longer one loops.
constexpr int kMaxChain = 64;

enum class View { Plain, Dispatch, Interface };

class BuiltinLibrary;
using LibraryPtr = std::shared_ptr<BuiltinLibrary>;

struct TypeRef {
  LibraryPtr lib;
  std::uint32_t index = 0;
};

// Loads a library for another one's reference, sharing it while anyone holds it.
HResult LoadCached(const std::string& path, const std::shared_ptr<TypeLibLocator>& locator, LibraryPtr& out);
// Remembers a referenced library that could not be loaded, for the caller to report.
void NoteUnresolved(const reader::ImportedLibrary& imp);

inline bool HasBase(const TypeInfo& t) { return t.kind == TKIND_DISPATCH_ && !t.impls.empty(); }
inline bool IsDual(const TypeInfo& t) { return HasBase(t) && (t.flags & kTypeFlagDual); }

// One function as a view presents it, with the library that stores it.
struct PresentedFunc {
  BuiltinLibrary* owner = nullptr;
  const Func* func = nullptr;
  bool automation = false;  // rewritten to its dispatch form
};

// A trailing [retval] pointer, which the Automation form turns into the result.
inline bool HasRetval(const Func& f) {
  if (f.params.empty()) return false;
  const ElemDesc& last = f.params.back().elem;
  return (last.param_flags & kParamRetval) && last.tdesc.vt == VT_PTR_ && last.tdesc.pointee;
}

// Parameters a view shows: the Automation form drops a [retval] and then an [lcid] one.
inline std::size_t PresentedParamCount(const PresentedFunc& p) {
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
std::pair<std::uint32_t, std::uint32_t> Layout(const TypeDesc& t, BuiltinLibrary* lib, int depth);

}  // namespace quenlor::typelib::builtin
