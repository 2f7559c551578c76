#include <cstdlib>
#include <new>

#include "platform/large_memory.h"

namespace quenlor::platform {

void LargeMemoryFree::operator()(char* block) const { std::free(block); }

LargeMemory AllocateLargeMemory(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (!block) throw std::bad_alloc();
  return LargeMemory(static_cast<char*>(block));
}

}  // namespace quenlor::platform
