#include <filesystem>

#include "base/file.h"
#include "platform/folders.h"
#include "platform/folders_impl.h"

namespace quenlor::platform {

std::string UserDataFolder(std::string_view folder, bool create) {
  std::string path = UserDataRoot();
  // Either delimiter ends a folder on Windows; on Linux both tests are the same one.
  if (path.empty() || (path.back() != kPathDelimiter && path.back() != '/')) path += kPathDelimiter;
  path += folder;
  if (create) {
    std::error_code ignored;
    std::filesystem::create_directories(PathFromUtf8(path), ignored);
  }
  return path;
}

std::string UserDataFile(std::string_view folder, std::string_view file) {
  return UserDataFolder(folder, true) + kPathDelimiter + std::string(file);
}

}  // namespace quenlor::platform
