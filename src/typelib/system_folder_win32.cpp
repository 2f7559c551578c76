#include <windows.h>

#include "base/win32/wide_text.h"
#include "typelib/locator_impl.h"

namespace quenlor::typelib {

std::string SystemFolder() {
  wchar_t buffer[MAX_PATH + 1];
  const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
  if (length == 0 || length > MAX_PATH) return {};
  return Narrow(std::wstring_view(buffer, length));
}

std::string MapRecordedPath(const std::string& windows_path) { return windows_path; }

}  // namespace quenlor::typelib
