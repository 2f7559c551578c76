#include "typelib/reader/reader.h"

namespace quenlor::typelib::reader {

ReadResult ReadTypeLibrary(Bytes file, std::uint32_t resource, Library& out) {
  Bytes image;
  const ReadResult found = FindTypeLibImage(file, resource, image);
  if (!found.ok()) return found;
  if (DetectFormat(image) == ImageFormat::Sltg) return ParseSltg(image, out);
  const ReadResult parsed = ParseMsft(image, out);
  out.msft = true;
  return parsed;
}

}  // namespace quenlor::typelib::reader
