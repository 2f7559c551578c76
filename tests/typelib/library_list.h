// The type libraries the reader tests walk: the corpus, Wine's own libraries and the
// widl-compiled fixtures, each with the resource numbers that hold a type library.
#pragma once

#include <string>
#include <vector>

namespace quenlor::typelib::testing {

struct LibraryCase {
  std::string path;       // local path of the file
  std::string display;    // short name for messages
  unsigned resource = 1;  // TYPELIB resource, 1 for bare files
  // The path as a loader is given it: path, or path + "\N" for N > 1.
  std::string LoadPath() const { return resource > 1 ? path + "\\" + std::to_string(resource) : path; }
};

// Every file of `folder` (not recursive) that holds a type library: one case per TYPELIB
// resource of an executable, one for a bare type library. `prefix` is put before each
// path (e.g. "Z:" for Windows programs reading Linux folders under Wine).
std::vector<LibraryCase> FindLibraries(const std::string& folder, const std::string& prefix = "");

inline constexpr const char* kWineLibraryFolder = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows";

}  // namespace quenlor::typelib::testing
