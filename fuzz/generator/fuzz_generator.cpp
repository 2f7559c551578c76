// Generates the import unit of arbitrary XML text taken as a type library description.
// Whatever shape the text has (missing collections, items, attributes; comments and text
// between items; names with quotes; cycles), generation must end and never crash; a text
// without a root element is refused with an error.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/error.h"
#include "generator/import_unit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quenlor;
  if (size > (1u << 16)) return 0;
  const xml::DocumentPtr description = xml::CreateDocument();
  description->SetXml(std::string_view(reinterpret_cast<const char*>(data), size));
  try {
    const std::string unit = generator::BuildImportUnit(description);
    if (unit.size() < 6 || unit.compare(unit.size() - 6, 6, "end.\r\n") != 0) __builtin_trap();
  } catch (const Error&) {
    // A description without a root element.
  }
  return 0;
}
