#include <sys/mman.h>

#include <cstdlib>
#include <new>

#include "platform/large_memory.h"

namespace quenlor::platform {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

}  // namespace

void LargeMemoryFree::operator()(char* block) const { std::free(block); }

// Blocks of a huge page or more are aligned to it and advised as such, so the kernel backs
// them with 2 MiB pages (one fault each) where transparent huge pages are on request.
LargeMemory AllocateLargeMemory(std::size_t size) {
  if (size < kHugePage) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (!block) throw std::bad_alloc();
    return LargeMemory(static_cast<char*>(block));
  }
  const std::size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
  void* block = std::aligned_alloc(kHugePage, rounded);
  if (!block) throw std::bad_alloc();
  madvise(block, rounded, MADV_HUGEPAGE);  // advice only: a refusal leaves ordinary pages
  return LargeMemory(static_cast<char*>(block));
}

}  // namespace quenlor::platform
