#include <windows.h>
#include <shlobj.h>

#include <filesystem>

#include "base/file.h"
#include "base/text.h"
#include "platform/folders.h"

namespace quenlor::platform {

namespace {

std::string AppDataFolder() {
  wchar_t buffer[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer))) return {};
  const std::wstring w(buffer);
  return Utf16ToUtf8(std::u16string(w.begin(), w.end()));
}

}  // namespace

std::string UserDataFolder(std::string_view folder, bool create) {
  std::string path = AppDataFolder();
  if (path.empty() || (path.back() != '\\' && path.back() != '/')) path += '\\';
  path += folder;
  if (create) {
    std::error_code ignored;
    std::filesystem::create_directories(PathFromUtf8(path), ignored);
  }
  return path;
}

std::string UserDataFile(std::string_view folder, std::string_view file) {
  return UserDataFolder(folder, true) + "\\" + std::string(file);
}

}  // namespace quenlor::platform
