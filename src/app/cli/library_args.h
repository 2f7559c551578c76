// The arguments shared by the commands that read one type library: FILE, --reader, -o.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "typelib/access.h"
#include "typelib/builtin_access.h"
#include "xml/xml_objects.h"

namespace quenlor::cli {

struct LibraryArgs {
  std::string file;
  std::string output;  // empty: standard output
  // --reader, else QUENLOR_READER, else the platform's advice (typelib/reader_choice.h).
  typelib::ReaderKind reader = typelib::ReaderKind::Builtin;
};

// Throws UsageError for an unknown option, a missing or second FILE, or a reader (named by
// --reader or QUENLOR_READER) that this build does not have. `verb` completes "only one FILE is ... at a time".
// Without `file_required`, no FILE is asked for (and a FILE given is taken).
LibraryArgs ParseLibraryArgs(const std::vector<std::string>& args, std::string_view verb, bool file_required = true);

// Names each library on `err` as one whose types are not described: id, version, recorded
// file name, and why the default registry may not have been read.
void ReportUnresolved(const std::vector<typelib::UnresolvedLibrary>& missing, std::ostream& err);

// The description of the library the arguments name, or null when it does not load. The
// description and the loaded library are left to the system at exit: a command that ends
// next need not free a quarter of a million nodes one by one. Each library it refers to that
// cannot be resolved is named on `err`.
xml::DocumentPtr DescribeUntilExit(const LibraryArgs& args, std::ostream& err);

}  // namespace quenlor::cli
