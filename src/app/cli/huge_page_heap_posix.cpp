// How the Linux command line's allocator (mimalloc) gets its memory.
//
// A description or a catalogue is tens of megabytes of small objects made within a fraction
// of a second, and on virtual machines every first touch of a 4 KiB page is a costly fault:
// more than half of `quenlor xml mshtml.tlb` and of `quenlor list` went to them. In 2 MiB
// pages (transparent huge pages, which the kernel gives to memory that asks for them with
// madvise) the same work faults a few hundred times instead of tens of thousands.
//
// mimalloc's own large-page option is read once, before any code of ours runs, and the
// memory it has by then is what later allocations use. So the first thing main does is map a
// large address range of its own (reserved, not committed: untouched pages cost nothing),
// ask for huge pages on it, and make it the main thread's heap; what static initialisers
// allocated before stays where it is. Where that cannot be done
// (a strict overcommit policy refusing the range, say) the default heap simply stays. A
// user's own MIMALLOC_LARGE_OS_PAGES setting is left to mimalloc.
#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <mimalloc.h>

#include "app/cli/huge_page_heap.h"

namespace quenlor::cli {
namespace {

// Far more than any library or registry needs; only what is touched is ever backed.
constexpr std::size_t kArenaSize = std::size_t{64} << 30;
// mimalloc carves segments aligned to their size out of an arena.
constexpr std::size_t kArenaAlignment = std::size_t{64} << 20;

}  // namespace

bool UseHugePageHeap() {
  if (std::getenv("MIMALLOC_LARGE_OS_PAGES")) return false;
  void* mapped = mmap(nullptr, kArenaSize + kArenaAlignment, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (mapped == MAP_FAILED) return false;
  const std::uintptr_t start =
      (reinterpret_cast<std::uintptr_t>(mapped) + kArenaAlignment - 1) & ~(kArenaAlignment - 1);
  void* arena_start = reinterpret_cast<void*>(start);
  madvise(arena_start, kArenaSize, MADV_HUGEPAGE);  // a hint: without it, 4 KiB pages
  mi_arena_id_t arena{};
  if (!mi_manage_os_memory_ex(arena_start, kArenaSize, /*is_committed=*/true, /*is_large=*/false,
                              /*is_zero=*/true, /*numa_node=*/-1, /*exclusive=*/true, &arena)) {
    munmap(mapped, kArenaSize + kArenaAlignment);
    return false;
  }
  mi_heap_t* heap = mi_heap_new_in_arena(arena);
  if (!heap) return false;
  mi_heap_set_default(heap);
  return true;
}

}  // namespace quenlor::cli
