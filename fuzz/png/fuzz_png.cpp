// Feeds arbitrary bytes to the PNG reader: it must fail cleanly or give an image whose
// pixel buffer matches its size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ui/png/png_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto image = quenlor::png::Decode(data, size);
  if (image && image->rgba.size() != std::uint64_t{image->width} * image->height * 4) std::abort();
  return 0;
}
