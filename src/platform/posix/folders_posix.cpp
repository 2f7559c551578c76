#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/folders.h"

namespace quenlor::platform {

namespace {

std::string DataHome() {
  // The XDG rule: a relative $XDG_DATA_HOME is invalid and ignored.
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') return xdg;
  std::string home;
  if (const char* h = std::getenv("HOME"); h && *h) home = h;
  else if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) home = pw->pw_dir;
  else home = "/";
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
    std::filesystem::create_directories(std::filesystem::u8path(path), ignored);
  }
  return path;
}

std::string UserDataFile(std::string_view folder, std::string_view file) {
  return UserDataFolder(folder, true) + "/" + std::string(file);
}

}  // namespace quenlor::platform
