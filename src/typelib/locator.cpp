#include "typelib/locator.h"

#include <filesystem>

#include "base/text.h"
#include "typelib/locator_impl.h"

namespace quenlor::typelib {

namespace {

namespace fs = std::filesystem;

// `name` inside `dir`, matched without regard to case as the platform's file system does.
std::string FindInFolder(const fs::path& dir, const std::string& name) {
  std::error_code ec;
  if (dir.empty() || name.empty()) return {};
  const fs::path exact = dir / PathFromUtf8(name);
  if (fs::is_regular_file(exact, ec)) return PathToUtf8(exact);
  const std::string wanted = AsciiLower(name);
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (AsciiLower(PathToUtf8(it->path().filename())) == wanted && it->is_regular_file(ec))
      return PathToUtf8(it->path());
  }
  return {};
}

}  // namespace

std::string FileSearchLocator::ResolveImportFile(const std::string& name, const std::string& beside) {
  if (name.empty()) return {};
  std::error_code ec;
  // Recorded names are usually bare; a recorded path is taken as it is when it exists.
  if (name.find_first_of("/\\") != std::string::npos) {
    const std::string mapped = MapRecordedPath(name);
    if (!mapped.empty() && fs::is_regular_file(PathFromUtf8(mapped), ec)) return mapped;
    const auto cut = name.find_last_of("/\\");
    return ResolveImportFile(name.substr(cut + 1), beside);
  }
  // The platform searches for the recorded name as for any bare file name: the current
  // folder, then the system folder; not the folder of the library that recorded it.
  (void)beside;
  if (auto found = FindInFolder(fs::current_path(ec), name); !found.empty()) return found;
  return FindInFolder(PathFromUtf8(SystemFolder()), name);
}

}  // namespace quenlor::typelib
