#include <cstdlib>
#include <filesystem>

#include "base/text.h"
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

// Drive letters map through the prefix's dosdevices links; each component is matched
// without regard to case.
std::string MapRecordedPath(const std::string& windows_path) {
  namespace fs = std::filesystem;
  if (windows_path.size() < 3 || windows_path[1] != ':') return windows_path;
  const std::string prefix = WinePrefix();
  fs::path current = fs::path(prefix) / "dosdevices" / AsciiLower(windows_path.substr(0, 2));
  std::size_t pos = 2;
  std::error_code ec;
  while (pos < windows_path.size()) {
    while (pos < windows_path.size() && (windows_path[pos] == '\\' || windows_path[pos] == '/')) ++pos;
    const std::size_t end = windows_path.find_first_of("\\/", pos);
    const std::string part = windows_path.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    pos = end == std::string::npos ? windows_path.size() : end;
    if (part.empty()) continue;
    fs::path next = current / part;
    if (!fs::exists(next, ec)) {
      const std::string wanted = AsciiLower(part);
      for (fs::directory_iterator it(current, ec), stop; !ec && it != stop; it.increment(ec)) {
        if (AsciiLower(it->path().filename().string()) == wanted) {
          next = it->path();
          break;
        }
      }
    }
    current = next;
  }
  return current.string();
}

}  // namespace quenlor::typelib
