#include "app/cli/library_args.h"

#include <ostream>

#include "app/cli/command.h"
#include "platform/registry.h"
#include "typelib/builtin_access.h"
#include "typelib/dump.h"
#include "typelib/scan/type_lib_scan.h"

namespace quenlor::cli {

namespace {

typelib::ReaderKind ParseReader(const std::string& value) {
  if (value == "builtin") return typelib::ReaderKind::Builtin;
  if (value == "platform") {
    if (typelib::DefaultReader() != typelib::ReaderKind::Platform)
      throw UsageError{"--reader platform needs the Windows build; this build has only the built-in reader"};
    return typelib::ReaderKind::Platform;
  }
  throw UsageError{"--reader takes 'builtin' or 'platform', not '" + value + "'"};
}

}  // namespace

LibraryArgs ParseLibraryArgs(const std::vector<std::string>& args, std::string_view verb) {
  LibraryArgs parsed;
  bool have_file = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--reader" || arg == "-o") {
      if (i + 1 >= args.size()) throw UsageError{arg + " needs a value"};
      const std::string& value = args[++i];
      if (arg == "-o") {
        parsed.output = value;
      } else {
        parsed.reader = ParseReader(value);
      }
    } else if (arg.rfind("--reader=", 0) == 0) {
      parsed.reader = ParseReader(arg.substr(9));
    } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
      throw UsageError{"unknown option '" + arg + "'"};
    } else if (!have_file) {
      parsed.file = arg;
      have_file = true;
    } else {
      throw UsageError{"only one FILE is " + std::string(verb) + " at a time"};
    }
  }
  if (!have_file) throw UsageError{"FILE is missing"};
  return parsed;
}

namespace {

void ReportUnresolvedLibraries(const LibraryArgs& args, std::ostream& err) {
  const auto missing = args.reader == typelib::ReaderKind::Builtin ? typelib::TakeUnresolvedLibraries()
                                                                   : typelib::FindUnresolvedLibraries(args.file);
  if (missing.empty()) return;
  const std::string problem = platform::DefaultRegistryProblem();
  for (const auto& lib : missing) {
    err << "quenlor: warning: the referenced library "
        << (lib.file_name.empty() ? std::string() : lib.file_name + " ") << typelib::GuidText(lib.libid)
        << " version " << lib.major << "." << lib.minor
        << " is neither registered nor found by its file name; the types taken from it are not described";
    if (!problem.empty()) err << " (" << problem << ")";
    err << "\n";
  }
}

}  // namespace

xml::DocumentPtr DescribeUntilExit(const LibraryArgs& args, std::ostream& err) {
  std::shared_ptr<typelib::ITypeLibAccess> library;
  xml::DocumentPtr description = typelib::scan::LoadTypeLibDescription(args.file, args.reader, library);
  if (description) ReportUnresolvedLibraries(args, err);
  KeepUntilExit(library);
  KeepUntilExit(description);
  return description;
}

}  // namespace quenlor::cli
