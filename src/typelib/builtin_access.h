// The built-in reader's entry points beyond LoadTypeLibrary, for tests, fuzzing and tools.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "typelib/access.h"

namespace quenlor::typelib {

// Loads a library from bytes already in memory (a type library image or an executable
// holding TYPELIB resource `resource`). References into other libraries are resolved as if
// the file were at `path_for_imports`.
HResult LoadBuiltinTypeLibraryFromMemory(std::span<const std::uint8_t> file, std::uint32_t resource,
                                         const std::string& path_for_imports,
                                         std::shared_ptr<ITypeLibAccess>& out);

}  // namespace quenlor::typelib
