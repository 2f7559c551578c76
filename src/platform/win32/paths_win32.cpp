#include <windows.h>

#include <vector>

#include "base/win32/wide_text.h"
#include "platform/paths.h"

namespace quenlor::platform {

std::string CleanLibraryPath(std::string_view raw, const RegistrySource&) {
  const std::wstring wide = Wide(RemoveQuotes(raw));
  // MAX_PATH first, as the window always did; a longer expansion is made again at the size
  // the platform reports instead of leaving an unusable result.
  std::vector<wchar_t> buffer(MAX_PATH);
  DWORD needed = ExpandEnvironmentStringsW(wide.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (needed > buffer.size()) {
    buffer.assign(needed, 0);
    needed = ExpandEnvironmentStringsW(wide.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  }
  if (needed == 0 || needed > buffer.size()) return Narrow(wide);
  buffer.back() = 0;
  size_t length = 0;
  while (length < buffer.size() && buffer[length] != 0) ++length;
  return Narrow(std::wstring_view(buffer.data(), length));
}

}  // namespace quenlor::platform
