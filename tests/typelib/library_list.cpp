#include "library_list.h"

#include <algorithm>
#include <filesystem>

#include "base/file.h"
#include "typelib/reader/container.h"

namespace quenlor::typelib::testing {

std::vector<LibraryCase> FindLibraries(const std::string& folder, const std::string& prefix) {
  namespace fs = std::filesystem;
  std::vector<LibraryCase> cases;
  std::error_code ec;
  std::vector<fs::path> files;
  for (fs::directory_iterator it(fs::path(prefix + folder), ec), end; !ec && it != end; it.increment(ec))
    if (it->is_regular_file(ec)) files.push_back(it->path());
  std::sort(files.begin(), files.end());
  for (const auto& file : files) {
    const std::string path = file.string();
    const auto bytes = ReadWholeFile(path, 512ull << 20);
    if (!bytes || bytes->size() < 4) continue;
    const std::string name = file.filename().string();
    const reader::ImageFormat format = reader::DetectFormat(*bytes);
    if (format == reader::ImageFormat::Executable) {
      for (std::uint32_t id : reader::ListTypeLibResources(*bytes))
        cases.push_back({path, name + (id > 1 ? "\\" + std::to_string(id) : ""), id});
    } else if (format == reader::ImageFormat::Msft || format == reader::ImageFormat::Sltg) {
      cases.push_back({path, name, 1});
    }
  }
  return cases;
}

}  // namespace quenlor::typelib::testing
