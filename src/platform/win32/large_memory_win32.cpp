#include <cstdlib>
#include <fstream>
#include <new>

#include "platform/large_memory.h"

namespace quenlor::platform {

void LargeMemoryFree::operator()(char* block) const { std::free(block); }

LargeMemory AllocateLargeMemory(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (!block) throw std::bad_alloc();
  return LargeMemory(static_cast<char*>(block));
}

std::optional<FileBytes> ReadFileBytes(const std::filesystem::path& path, std::size_t size) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  LargeMemory block = AllocateLargeMemory(size);
  if (size > 0 && !in.read(block.get(), static_cast<std::streamsize>(size))) return std::nullopt;
  return FileBytes(block.release(), size, [](const char* data, std::size_t) { LargeMemoryFree{}(const_cast<char*>(data)); });
}

}  // namespace quenlor::platform
