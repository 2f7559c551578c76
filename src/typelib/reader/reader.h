// The built-in reader's entry: from the bytes of a file to the model of the type library it
// holds, whatever the format and container.
#pragma once

#include <cstdint>

#include "typelib/reader/bytes.h"
#include "typelib/reader/container.h"
#include "typelib/reader/failure.h"
#include "typelib/reader/model.h"

namespace quenlor::typelib::reader {

// Parses type library `resource` of `file` (an executable's TYPELIB resource, or the whole
// file) into `out`, with the parser its format calls for.
ReadResult ReadTypeLibrary(Bytes file, std::uint32_t resource, Library& out);

}  // namespace quenlor::typelib::reader
