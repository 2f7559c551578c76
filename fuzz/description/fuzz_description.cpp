// Describes arbitrary bytes end to end: the built-in reader, every description writer, the
// XML text and its display layout. Whatever the reader accepts, the writers must survive.
#include <cstddef>
#include <cstdint>

#include "common/stdole_locator.h"
#include "typelib/builtin_access.h"
#include "description/type_lib_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quenlor;
  quenlor::fuzzing::StdoleLocator::Install();
  std::shared_ptr<typelib::ITypeLibAccess> lib;
  const std::uint32_t resource = size > 0 && (data[0] & 1) ? 2 : 1;
  if (typelib::LoadBuiltinTypeLibraryFromMemory({data, size}, resource, "", lib) != typelib::kOk) return 0;
  const xml::DocumentPtr document = xml::CreateDocument();
  description::ScanTypeLib(*lib, document->ForceRoot("typelib"));
  const std::string text = xml::FormatXml(document->GetXml());
  return text.empty() ? -1 : 0;
}
