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
#include <utility>

#include "base/file.h"
#include "typelib/builtin_access.h"
#include "typelib/builtin_library.h"
#include "typelib/locator_impl.h"
#include "typelib/platform_access.h"
#include "typelib/reader/reader.h"

namespace quenlor::typelib {
namespace builtin {

namespace {

// Type library images beyond this size are refused before they are read.
constexpr std::uint64_t kMaxFileSize = 256ull << 20;

struct UnresolvedList {
  std::mutex mutex;
  std::vector<UnresolvedLibrary> libraries;
};
UnresolvedList& Unresolved() {
  static UnresolvedList list;
  return list;
}

}  // namespace

// Each library once, however many libraries or references ask for it.
void NoteUnresolved(const reader::ImportedLibrary& imp) {
  UnresolvedList& list = Unresolved();
  std::lock_guard<std::mutex> lock(list.mutex);
  for (const auto& known : list.libraries) {
    if (known.libid == imp.libid && known.major == imp.major && known.minor == imp.minor) return;
  }
  list.libraries.push_back({imp.libid, imp.major, imp.minor, imp.lcid, imp.file_name});
}

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

namespace {

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
  const HResult hr = reader::ReadTypeLibrary(*bytes, resource, model).code;
  if (hr != kOk) return hr;
  out = std::make_shared<BuiltinLibrary>(std::move(model), file, locator);
  return kOk;
}


}  // namespace

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

}  // namespace builtin

// The entry points below use the reader's internals by their own names.
using namespace builtin;

namespace {

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
  const HResult hr = reader::ReadTypeLibrary(file, resource, model).code;
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
