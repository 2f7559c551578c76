#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
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

// The mapping is private and read-only. Wine replaces a hive file by renaming a new one over
// it, which leaves a mapped old file whole; a file cut shorter while it is read would fault,
// so the size is checked once more after mapping, the one moment it can be refused cleanly.
std::optional<FileBytes> ReadFileBytes(const std::filesystem::path& path, std::size_t size) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  if (size == 0) {
    close(fd);
    return FileBytes();
  }
  void* mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
  struct stat st {};
  const bool whole = fstat(fd, &st) == 0 && static_cast<std::uint64_t>(st.st_size) >= size;
  close(fd);
  if (mapped == MAP_FAILED) return std::nullopt;
  if (!whole) {
    munmap(mapped, size);
    return std::nullopt;
  }
  return FileBytes(static_cast<const char*>(mapped), size,
                   [](const char* data, std::size_t length) { munmap(const_cast<char*>(data), length); });
}

}  // namespace quenlor::platform
