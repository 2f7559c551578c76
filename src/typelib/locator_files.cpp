// The locator of builds without the registry port: files beside the library and in the
// system folder only.
#include "typelib/locator_impl.h"

namespace quenlor::typelib {

std::shared_ptr<TypeLibLocator> DefaultLocator() {
  static const auto locator = std::make_shared<FileSearchLocator>();
  return locator;
}

}  // namespace quenlor::typelib
