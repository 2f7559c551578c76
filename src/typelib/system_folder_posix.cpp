#include <cstdlib>
#include <filesystem>

#include "platform/paths.h"
#include "platform/posix/wine_prefix.h"
#include "typelib/locator_impl.h"

namespace quenlor::typelib {

namespace {

std::string WinePrefix() { return platform::DefaultWinePrefix(); }

// Where Wine installs the Windows libraries it copies into every new prefix's system32
// (Debian's path first, then those of Wine's own builds).
std::string WineInstalledLibraries() {
  std::error_code ec;
  for (const char* folder : {"/usr/lib/x86_64-linux-gnu/wine/x86_64-windows", "/usr/lib64/wine/x86_64-windows",
                             "/usr/lib/wine/x86_64-windows", "/usr/local/lib/wine/x86_64-windows",
                             "/opt/wine-stable/lib64/wine/x86_64-windows"}) {
    if (std::filesystem::is_directory(folder, ec)) return folder;
  }
  return {};
}

}  // namespace

// Without a prefix, a library that names stdole2.tlb (nearly every one) is served the copy
// that a new prefix would hold, rather than losing the base interfaces it declares.
std::string SystemFolder() {
  const std::string system32 = WinePrefix() + "/drive_c/windows/system32";
  std::error_code ec;
  if (std::filesystem::is_directory(system32, ec)) return system32;
  if (!std::filesystem::exists(WinePrefix(), ec)) return WineInstalledLibraries();
  return system32;
}

std::string MapRecordedPath(const std::string& windows_path) {
  return platform::MapWindowsPath(windows_path, WinePrefix());
}

}  // namespace quenlor::typelib
