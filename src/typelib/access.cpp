#include "typelib/access.h"

#include "typelib/platform_access.h"

namespace quenlor::typelib {

HResult LoadTypeLibrary(const std::string& path, ReaderKind reader, std::shared_ptr<ITypeLibAccess>& out) {
  std::shared_ptr<ITypeLibAccess> lib;
  const HResult hr = reader == ReaderKind::Platform ? LoadPlatformTypeLibrary(path, lib)
                                                    : LoadBuiltinTypeLibrary(path, lib);
  if (hr != kOk) return Failed(hr) ? hr : kEFail;
  out = std::move(lib);
  return kOk;
}

}  // namespace quenlor::typelib
