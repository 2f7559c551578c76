// Loads arbitrary bytes through the built-in reader and walks everything the access port
// delivers, references into other libraries included.
#include <cstddef>
#include <cstdint>

#include "common/stdole_locator.h"
#include "typelib/builtin_access.h"
#include "typelib/dump.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  quenlor::fuzzing::StdoleLocator::Install();
  std::shared_ptr<quenlor::typelib::ITypeLibAccess> lib;
  const std::uint32_t resource = size > 0 && (data[0] & 1) ? 2 : 1;
  if (quenlor::typelib::LoadBuiltinTypeLibraryFromMemory({data, size}, resource, "", lib) != quenlor::typelib::kOk)
    return 0;
  const std::string text = quenlor::typelib::DumpTypeLibrary(*lib);
  return text.empty() ? -1 : 0;
}
