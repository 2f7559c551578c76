#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "base/file.h"
#include "platform/folders.h"
#include "platform/posix/wine_prefix.h"

namespace quenlor::platform {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/";
}

namespace {

std::string DataHome() {
  // The XDG rule: a relative $XDG_DATA_HOME is invalid and ignored.
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') return xdg;
  std::string home = HomeFolder();
  if (home.back() != '/') home += '/';
  return home + ".local/share";
}

}  // namespace

std::string UserDataFolder(std::string_view folder, bool create) {
  std::string path = DataHome();
  if (path.back() != '/') path += '/';
  path += folder;
  if (create) {
    std::error_code ignored;
    std::filesystem::create_directories(PathFromUtf8(path), ignored);
  }
  return path;
}

std::string UserDataFile(std::string_view folder, std::string_view file) {
  return UserDataFolder(folder, true) + "/" + std::string(file);
}

}  // namespace quenlor::platform
