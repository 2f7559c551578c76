// The built-in reader's entry points beyond LoadTypeLibrary, for tests, fuzzing and tools.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "typelib/access.h"

namespace quenlor::typelib {

// Loads a library from bytes already in memory (a type library image or an executable
// holding TYPELIB resource `resource`). References into other libraries are resolved as if
// the file were at `path_for_imports`.
HResult LoadBuiltinTypeLibraryFromMemory(std::span<const std::uint8_t> file, std::uint32_t resource,
                                         const std::string& path_for_imports,
                                         std::shared_ptr<ITypeLibAccess>& out);

// A library that a loaded library refers to but that neither the registry nor a search by
// its recorded file name finds, or that does not load.
struct UnresolvedLibrary {
  Guid libid;
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
  std::uint32_t lcid = 0;
  std::string file_name;  // as the referring library recorded it
};

// The libraries the built-in reader's loads have failed to resolve since the last call, each
// once, in the order first met; the list starts again empty.
std::vector<UnresolvedLibrary> TakeUnresolvedLibraries();

// Resolves every library that the library at `path` refers to, as its references would be
// resolved, and returns those that cannot be: for loads by a reader that does not say.
std::vector<UnresolvedLibrary> FindUnresolvedLibraries(const std::string& path);

}  // namespace quenlor::typelib
