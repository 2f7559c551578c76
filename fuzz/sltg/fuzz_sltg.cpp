// The SLTG parser on arbitrary bytes, both as a bare image and as the TYPELIB resource of
// an executable: it must fail cleanly or produce a model whose references are in range.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "typelib/reader/container.h"
#include "typelib/reader/model.h"

using namespace quenlor::typelib;
using namespace quenlor::typelib::reader;

namespace {

void Check(const Library& lib) {
  for (const auto& [href, target] : lib.refs) {
    if (href >= 0x80000000u) std::abort();
    if (target.imported ? target.library >= lib.imports.size() : target.local_index >= lib.types.size())
      std::abort();
  }
}

void Parse(std::span<const std::uint8_t> image) {
  Library lib;
  const HResult hr = ParseSltg(image, lib).code;
  if (hr == kOk) Check(lib);
  else if (hr != kTypeECantLoadLibrary && hr != kEOutOfMemory) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  Parse(file);
  Bytes image;
  if (DetectFormat(file) == ImageFormat::Executable && FindTypeLibImage(file, 1, image).ok()) Parse(image);
  return 0;
}
