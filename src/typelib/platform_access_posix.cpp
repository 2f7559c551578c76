// Builds without OLE Automation: the built-in reader is the only one.
#include "typelib/platform_access.h"
#include "typelib/reader_choice.h"

namespace quenlor::typelib {

ReaderChoice PlatformReaderAdvice() { return {ReaderKind::Builtin, ReaderReason::OnlyReader, {}}; }

HResult LoadPlatformTypeLibrary(const std::string&, std::shared_ptr<ITypeLibAccess>&) { return kENotImpl; }

}  // namespace quenlor::typelib
