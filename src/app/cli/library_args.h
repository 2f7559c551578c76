// The arguments shared by the commands that read one type library: FILE, --reader, -o.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "typelib/access.h"

namespace quenlor::cli {

struct LibraryArgs {
  std::string file;
  std::string output;  // empty: standard output
  typelib::ReaderKind reader = typelib::DefaultReader();
};

// Throws UsageError for an unknown option, a missing or second FILE, or a reader this
// build does not have. `verb` completes "only one FILE is ... at a time".
LibraryArgs ParseLibraryArgs(const std::vector<std::string>& args, std::string_view verb);

}  // namespace quenlor::cli
