// Memory for large, short-lived data (a registry file's bytes, the keys parsed from it), where
// first touching fresh pages is what costs: on Linux each 4 KiB page of new memory is a fault,
// so blocks are asked for in huge pages there.
#pragma once

#include <cstddef>
#include <memory>

namespace quenlor::platform {

struct LargeMemoryFree {
  void operator()(char* block) const;
};
using LargeMemory = std::unique_ptr<char[], LargeMemoryFree>;

// An uninitialised block of at least size bytes (never null; throws std::bad_alloc).
LargeMemory AllocateLargeMemory(std::size_t size);

}  // namespace quenlor::platform
