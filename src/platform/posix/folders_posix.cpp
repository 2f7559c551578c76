#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/folders.h"
#include "platform/folders_impl.h"
#include "platform/posix/wine_prefix.h"

namespace quenlor::platform {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/";
}

const char kPathDelimiter = '/';

std::string UserDataRoot() {
  // The XDG rule: a relative $XDG_DATA_HOME is invalid and ignored.
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') return xdg;
  std::string home = HomeFolder();
  if (home.back() != '/') home += '/';
  return home + ".local/share";
}

}  // namespace quenlor::platform
