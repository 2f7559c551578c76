// FormatXml's direct route against its DOM route on arbitrary text: wherever the direct route
// gives a layout (the empty text included), the DOM route must give the same bytes. Each input
// is tried as it is and as the content of a root element, so that fragments (text,
// references, mixed content) also arrive as well-formed documents.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "xml/xml_format.h"

namespace {

void Check(std::string_view text) {
  const std::optional<std::string> direct = quenlor::xml::FormatPlainXml(text);
  if (!direct) return;
  const std::string reference = quenlor::xml::FormatXmlThroughDom(text);
  if (*direct == reference) return;
  std::size_t at = 0;
  while (at < direct->size() && at < reference.size() && (*direct)[at] == reference[at]) ++at;
  std::fprintf(stderr, "layouts differ at byte %zu\ndirect: %s\nDOM:    %s\n", at, direct->substr(at, 80).c_str(),
               reference.substr(at, 80).c_str());
  __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  Check(input);
  std::string wrapped = "<r>";
  wrapped.append(input);
  wrapped += "</r>";
  Check(wrapped);
  return 0;
}
