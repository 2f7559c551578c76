// The Linux registry adapter: HKEY_CLASSES_ROOT of a Wine prefix or of a .reg export.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "base/error.h"
#include "base/file.h"
#include "platform/posix/wine_prefix.h"
#include "platform/registry_files.h"

namespace quenlor::platform {

namespace {

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

namespace {

struct HivesCache {
  std::mutex mutex;
  std::string stamp;
  std::shared_ptr<const RegistryHives> hives;
};

HivesCache& Cache() {
  // Never destroyed: freeing a large registry at exit costs time and gains nothing.
  static HivesCache* const cache = new HivesCache;
  return *cache;
}

std::shared_ptr<const RegistryHives> CachedHives(const std::string& stamp) {
  HivesCache& cache = Cache();
  std::lock_guard lock(cache.mutex);
  return cache.hives && stamp == cache.stamp ? cache.hives : nullptr;
}

}  // namespace

std::shared_ptr<const RegistryHives> LoadSourceHives(const RegistrySource& source) {
  const std::string path = SourcePath(source);
  const std::string stamp = FilesStamp(path);
  if (auto hives = CachedHives(stamp)) return hives;
  auto hives = LoadRegistryFiles(path);
  HivesCache& cache = Cache();
  std::lock_guard lock(cache.mutex);
  cache.stamp = stamp;
  cache.hives = hives;
  return hives;
}

std::string DrivePrefix(const RegistrySource& source) {
  std::error_code ec;
  if (!source.path.empty() && std::filesystem::is_directory(PathFromUtf8(source.path), ec)) {
    return source.path;
  }
  return DefaultWinePrefix();
}

bool RegistrySourceSupported() { return true; }

std::string DefaultRegistryProblem() {
  const std::string prefix = DefaultWinePrefix();
  std::error_code ec;
  if (std::filesystem::is_directory(prefix, ec)) return {};
  return "there is no Wine prefix at " + prefix + " (set WINEPREFIX, or make one with 'wineboot')";
}

std::unique_ptr<IRegistryReader> OpenClassesRoot(const RegistrySource& source) {
  return MakeClassesRootReader(LoadSourceHives(source));
}

std::unique_ptr<IRegistryReader> OpenClassesRootPart(std::string_view key_path, const RegistrySource& source) {
  const std::string path = SourcePath(source);
  if (auto hives = CachedHives(FilesStamp(path))) return MakeClassesRootReader(std::move(hives));
  // HKEY_CLASSES_ROOT is Software\Classes of both hives.
  std::vector<std::string> parts{"Software", "Classes"};
  for (std::string& part : SplitKeyPath(key_path)) parts.push_back(std::move(part));
  return MakeClassesRootReader(LoadRegistryFiles(path, parts));
}

}  // namespace quenlor::platform
