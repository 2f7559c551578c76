// Builds without OLE Automation: the built-in reader is the only one.
#include "typelib/platform_access.h"

namespace quenlor::typelib {

ReaderKind DefaultReader() { return ReaderKind::Builtin; }

HResult LoadPlatformTypeLibrary(const std::string&, std::shared_ptr<ITypeLibAccess>&) { return kENotImpl; }

}  // namespace quenlor::typelib
