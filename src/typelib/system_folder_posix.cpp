#include <cstdlib>
#include <filesystem>

#include "base/text.h"
#include "typelib/locator_impl.h"

namespace quenlor::typelib {

namespace {

std::string WinePrefix() {
  if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) return prefix;
  if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.wine";
  return {};
}

}  // namespace

std::string SystemFolder() {
  const std::string prefix = WinePrefix();
  return prefix.empty() ? std::string() : prefix + "/drive_c/windows/system32";
}

// Drive letters map through the prefix's dosdevices links; each component is matched
// without regard to case.
std::string MapRecordedPath(const std::string& windows_path) {
  namespace fs = std::filesystem;
  if (windows_path.size() < 3 || windows_path[1] != ':') return windows_path;
  const std::string prefix = WinePrefix();
  if (prefix.empty()) return {};
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
