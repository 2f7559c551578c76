#include "platform/folders.h"

#include <filesystem>
#include <system_error>

#include "base/file.h"

namespace quenlor::platform {

namespace {

constexpr char kDelimiter = static_cast<char>(std::filesystem::path::preferred_separator);

bool EndsWithDelimiter(const std::string& path) {
  return !path.empty() && (path.back() == '/' || path.back() == kDelimiter);
}

}  // namespace

std::string UserDataFolder(std::string_view folder, bool create) {
  std::string path = UserDataRoot();
  if (!EndsWithDelimiter(path)) path += kDelimiter;
  path += folder;
  if (create) {
    std::error_code ignored;
    std::filesystem::create_directories(PathFromUtf8(path), ignored);
  }
  return path;
}

std::string UserDataFile(std::string_view folder, std::string_view file) {
  return UserDataFolder(folder, true) + kDelimiter + std::string(file);
}

}  // namespace quenlor::platform
