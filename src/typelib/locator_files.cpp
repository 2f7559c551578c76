// The locator of builds without the registry port: files beside the library and in the
// system folder only.
#include "typelib/locator_impl.h"

namespace quenlor::typelib {

std::shared_ptr<TypeLibLocator> NewDefaultLocator() { return std::make_shared<FileSearchLocator>(); }

std::shared_ptr<TypeLibLocator> DefaultLocator() {
  static const auto locator = NewDefaultLocator();
  return locator;
}

}  // namespace quenlor::typelib
