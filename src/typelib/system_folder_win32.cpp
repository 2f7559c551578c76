#include <windows.h>

#include "base/text.h"
#include "typelib/locator_impl.h"

namespace quenlor::typelib {

std::string SystemFolder() {
  wchar_t buffer[MAX_PATH + 1];
  const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
  if (length == 0 || length > MAX_PATH) return {};
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(buffer), length));
}

std::string MapRecordedPath(const std::string& windows_path) { return windows_path; }

}  // namespace quenlor::typelib
