// Memory for large, short-lived data (the keys parsed from a registry file, and the file's
// bytes), where first touching fresh pages is what costs: on Linux each 4 KiB page of new
// memory is a fault, so blocks are asked for in huge pages there, and files are mapped.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

namespace quenlor::platform {

struct LargeMemoryFree {
  void operator()(char* block) const;
};
using LargeMemory = std::unique_ptr<char[], LargeMemoryFree>;

// An uninitialised block of at least size bytes (never null; throws std::bad_alloc).
LargeMemory AllocateLargeMemory(std::size_t size);

// A whole file's bytes, read-only, for as long as the object lives. On Linux the file is
// mapped: its pages are already in the page cache, and copying them into fresh memory cost
// more than parsing them (bench_catalogue BM_ReadHiveBytes).
class FileBytes {
 public:
  using Release = void (*)(const char* data, std::size_t size);
  FileBytes() = default;
  FileBytes(const char* data, std::size_t size, Release release) : data_(data), size_(size), release_(release) {}
  FileBytes(FileBytes&& other) noexcept { *this = std::move(other); }
  FileBytes& operator=(FileBytes&& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(release_, other.release_);
    return *this;
  }
  ~FileBytes() {
    if (release_) release_(data_, size_);
  }
  std::string_view View() const { return {data_, size_}; }

 private:
  const char* data_ = nullptr;
  std::size_t size_ = 0;
  Release release_ = nullptr;
};

// The first size bytes of the file (its size as just measured); nullopt when it cannot be
// opened or holds fewer.
std::optional<FileBytes> ReadFileBytes(const std::filesystem::path& path, std::size_t size);

}  // namespace quenlor::platform
