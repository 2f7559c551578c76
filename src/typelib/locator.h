// Where the built-in reader finds the libraries a library refers to, the way the platform
// finds them: the registry by library GUID, version and locale first, then the file name
// the library recorded, searched for as the platform searches for a bare file name.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "typelib/access.h"

namespace quenlor::typelib {

class TypeLibLocator {
 public:
  virtual ~TypeLibLocator() = default;
  // The file registered for the library (HKCR\TypeLib\{guid}\maj.min\lcid\<platform>),
  // mapped to a local path; empty when none is registered. Like the platform, it takes the
  // highest registered minor version >= `minor` of the same major, falls back from the
  // locale to its primary language, then to neutral, and reads the registration for the
  // SYSKIND of the library that asks (`syskind`): win32 for a 32-bit library, win64 then
  // win32 for a 64-bit one.
  virtual std::string FindRegistered(const Guid& libid, std::uint16_t major, std::uint16_t minor,
                                     std::uint32_t lcid, std::uint32_t syskind) = 0;
  // An existing file for the recorded `name`: as given when it is a path that exists, else
  // found in the current folder, then in the system folder. `beside` is the path of the
  // library that recorded the name; the platform does not search its folder, and neither
  // does the default locator. Empty when there is none.
  virtual std::string ResolveImportFile(const std::string& name, const std::string& beside) = 0;
};

// The build's locator: the platform registry on Windows, the Wine prefix's on Linux. It
// remembers each registry lookup for the life of the process.
std::shared_ptr<TypeLibLocator> DefaultLocator();
// A locator of the same kind that has looked nothing up yet (tests that change the registry).
std::shared_ptr<TypeLibLocator> NewDefaultLocator();

// Replaces the locator used by later loads (tests); null restores the default.
void SetLocatorForTesting(std::shared_ptr<TypeLibLocator> locator);

}  // namespace quenlor::typelib
