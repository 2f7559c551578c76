// The Linux registry adapter: HKEY_CLASSES_ROOT of a Wine prefix or of a .reg export.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "base/error.h"
#include "platform/posix/wine_prefix.h"
#include "platform/registry_files.h"

namespace quenlor::platform {

namespace {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/";
}

// What identifies a loaded registry: its path and the size and time of its files.
std::string FilesStamp(const std::string& path) {
  std::string stamp = path;
  for (const char* name : {"", "/system.reg", "/user.reg"}) {
    struct stat st {};
    if (stat((path + name).c_str(), &st) == 0) {
      stamp += "|" + std::to_string(st.st_size) + ":" + std::to_string(st.st_mtim.tv_sec) + "." +
               std::to_string(st.st_mtim.tv_nsec);
    }
  }
  return stamp;
}

std::string SourcePath(const RegistrySource& source) {
  return source.path.empty() ? DefaultWinePrefix() : source.path;
}

}  // namespace

std::string DefaultWinePrefix() {
  if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) return prefix;
  return HomeFolder() + "/.wine";
}

std::shared_ptr<const RegistryHives> LoadSourceHives(const RegistrySource& source) {
  struct Cache {
    std::mutex mutex;
    std::string stamp;
    std::shared_ptr<const RegistryHives> hives;
  };
  // Never destroyed: freeing a large registry at exit costs time and gains nothing.
  static Cache* const cache = new Cache;
  const std::string path = SourcePath(source);
  const std::string stamp = FilesStamp(path);
  {
    std::lock_guard lock(cache->mutex);
    if (cache->hives && stamp == cache->stamp) return cache->hives;
  }
  auto hives = LoadRegistryFiles(path);
  std::lock_guard lock(cache->mutex);
  cache->stamp = stamp;
  cache->hives = hives;
  return hives;
}

std::string DrivePrefix(const RegistrySource& source) {
  std::error_code ec;
  if (!source.path.empty() && std::filesystem::is_directory(std::filesystem::u8path(source.path), ec)) {
    return source.path;
  }
  return DefaultWinePrefix();
}

bool RegistrySourceSupported() { return true; }

std::unique_ptr<IRegistryReader> OpenClassesRoot(const RegistrySource& source) {
  return MakeClassesRootReader(LoadSourceHives(source));
}

}  // namespace quenlor::platform
