#include "typelib/access.h"

#include <cstdio>

#include "typelib/platform_access.h"

namespace quenlor::typelib {

std::string GuidText(const Guid& g) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.data1, g.data2, g.data3,
                g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4], g.data4[5], g.data4[6], g.data4[7]);
  return buffer;
}

HResult LoadTypeLibrary(const std::string& path, ReaderKind reader, std::shared_ptr<ITypeLibAccess>& out) {
  std::shared_ptr<ITypeLibAccess> lib;
  const HResult hr = reader == ReaderKind::Platform ? LoadPlatformTypeLibrary(path, lib)
                                                    : LoadBuiltinTypeLibrary(path, lib);
  if (hr != kOk) return Failed(hr) ? hr : kEFail;
  out = std::move(lib);
  return kOk;
}

}  // namespace quenlor::typelib
