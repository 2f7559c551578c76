// Finding the type library image in a file: the whole file, or a TYPELIB resource of a
// PE32/PE32+ (or 16-bit NE) executable.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "typelib/access.h"
#include "typelib/reader/bytes.h"
#include "typelib/reader/failure.h"

namespace quenlor::typelib::reader {

// The signatures a type library image starts with.
constexpr std::uint32_t kMsftMagic = 0x5446534D;
constexpr std::uint32_t kSltgMagic = 0x47544C53;

enum class ImageFormat { Unknown, Msft, Sltg, Executable };

// What `bytes` start with: a type library signature, an executable's (PE or NE, told apart
// only when its resources are read), or neither.
ImageFormat DetectFormat(Bytes bytes);

// The image of TYPELIB resource `resource_id` when `file` is an executable, the whole file
// when it starts with a type library signature. Failures: kTypeECantLoadLibrary.
ReadResult FindTypeLibImage(Bytes file, std::uint32_t resource_id, Bytes& image);

// The integer IDs of all TYPELIB resources of an executable, in directory order (empty for
// anything else).
std::vector<std::uint32_t> ListTypeLibResources(Bytes file);

}  // namespace quenlor::typelib::reader
