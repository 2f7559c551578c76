// The program's own PNG reader: decodes the images it carries as resources (the tab strip's
// close buttons). Any PNG of the published format is read; damaged or hostile data gives a
// clear failure, never a crash or an unbounded allocation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quenlor::png {

struct Image {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  // Rows top to bottom, 4 bytes a pixel: red, green, blue, alpha (straight, not premultiplied).
  std::vector<std::uint8_t> rgba;
};

// Images above this many pixels are refused (the decoded form would exceed 256 MiB).
inline constexpr std::uint64_t kMaxPixels = 64ull * 1024 * 1024;

// Decodes a PNG file held in memory. On failure returns nullopt and, when error is given,
// says why.
std::optional<Image> Decode(const std::uint8_t* data, std::size_t size, std::string* error = nullptr);

}  // namespace quenlor::png
