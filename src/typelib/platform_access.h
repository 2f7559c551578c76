// The platform's type library access, where the build has one (Windows). Internal to
// quenlor_typelib: callers go through LoadTypeLibrary.
#pragma once

#include <memory>
#include <string>

#include "typelib/access.h"

namespace quenlor::typelib {

// LoadTypeLibEx(path, REGKIND_NONE). Any success code other than S_OK is reported as a
// failure: callers rely on exactly kOk. Without a platform: kENotImpl.
HResult LoadPlatformTypeLibrary(const std::string& path, std::shared_ptr<ITypeLibAccess>& out);

// The built-in reader.
HResult LoadBuiltinTypeLibrary(const std::string& path, std::shared_ptr<ITypeLibAccess>& out);

}  // namespace quenlor::typelib
