#include <windows.h>
#include <shlobj.h>

#include "base/win32/wide_text.h"
#include "platform/folders.h"
#include "platform/folders_impl.h"

namespace quenlor::platform {

const char kPathDelimiter = '\\';

std::string UserDataRoot() {
  wchar_t buffer[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer))) return {};
  return Narrow(buffer);
}

}  // namespace quenlor::platform
