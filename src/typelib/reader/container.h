// Finding the type library image in a file: the whole file, or a TYPELIB resource of a
// PE32/PE32+ (or 16-bit NE) executable.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "typelib/access.h"
#include "typelib/reader/bytes.h"

namespace quenlor::typelib::reader {

// The image of TYPELIB resource `resource_id` when `file` is an executable, the whole file
// when it starts with a type library signature. Failures: kTypeECantLoadLibrary.
HResult FindTypeLibImage(Bytes file, std::uint32_t resource_id, Bytes& image);

// The integer IDs of all TYPELIB resources of an executable, in directory order (empty for
// anything else).
std::vector<std::uint32_t> ListTypeLibResources(Bytes file);

}  // namespace quenlor::typelib::reader
