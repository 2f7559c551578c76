// Whole-file reading and all-or-nothing file writing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenlor {

// A path from its UTF-8 text, and the UTF-8 text of a path (C++20 spells UTF-8 as char8_t).
std::filesystem::path PathFromUtf8(std::string_view text);
std::string PathToUtf8(const std::filesystem::path& path);

// Reads a whole file; nullopt when it cannot be opened or read. Files above max_bytes
// are refused rather than read, so hostile paths cannot exhaust memory.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path,
                                                       std::uint64_t max_bytes = 1ull << 31);

// Writes the file whole or not at all: the bytes go to a temporary file beside the target,
// which is then renamed over it. Throws Error naming the path on failure.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace quenlor
