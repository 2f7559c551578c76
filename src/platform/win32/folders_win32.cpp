#include <windows.h>
#include <shlobj.h>


#include "base/text.h"
#include "platform/folders.h"

namespace quenlor::platform {

std::string UserDataRoot() {
  wchar_t buffer[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer))) return {};
  const std::wstring w(buffer);
  return Utf16ToUtf8(std::u16string(w.begin(), w.end()));
}

}  // namespace quenlor::platform
