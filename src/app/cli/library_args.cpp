#include "app/cli/library_args.h"

#include <ostream>

#include "app/cli/command.h"
#include "base/error.h"
#include "platform/registry.h"
#include "typelib/builtin_access.h"
#include "typelib/dump.h"
#include "typelib/reader_choice.h"
#include "description/type_lib_scan.h"

namespace quenlor::cli {

namespace {

// An empty `value` asks for the reader QUENLOR_READER or the platform chooses.
typelib::ReaderKind ChooseReader(const std::string& value) {
  try {
    return typelib::ChooseReader(value).kind;
  } catch (const Error& e) {
    throw UsageError{e.what()};
  }
}

}  // namespace

LibraryArgs ParseLibraryArgs(const std::vector<std::string>& args, std::string_view verb, bool file_required) {
  LibraryArgs parsed;
  std::string reader;
  bool have_file = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--reader" || arg == "-o") {
      if (i + 1 >= args.size()) throw UsageError{arg + " needs a value"};
      const std::string& value = args[++i];
      if (arg == "-o") {
        parsed.output = value;
      } else {
        reader = value;
        if (reader.empty()) throw UsageError{"--reader needs a value"};
      }
    } else if (arg.rfind("--reader=", 0) == 0) {
      reader = arg.substr(9);
      if (reader.empty()) throw UsageError{"--reader needs a value"};
    } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
      throw UsageError{"unknown option '" + arg + "'"};
    } else if (!have_file) {
      parsed.file = arg;
      have_file = true;
    } else {
      throw UsageError{"only one FILE is " + std::string(verb) + " at a time"};
    }
  }
  if (!have_file && file_required) throw UsageError{"FILE is missing"};
  parsed.reader = ChooseReader(reader);
  return parsed;
}

void ReportUnresolved(const std::vector<typelib::UnresolvedLibrary>& missing, std::ostream& err) {
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

namespace {

void ReportUnresolvedLibraries(const LibraryArgs& args, std::ostream& err) {
  ReportUnresolved(args.reader == typelib::ReaderKind::Builtin ? typelib::TakeUnresolvedLibraries()
                                                               : typelib::FindUnresolvedLibraries(args.file),
                   err);
}

}  // namespace

xml::DocumentPtr DescribeUntilExit(const LibraryArgs& args, std::ostream& err) {
  std::shared_ptr<typelib::ITypeLibAccess> library;
  xml::DocumentPtr description = description::LoadTypeLibDescription(args.file, args.reader, library);
  if (description) ReportUnresolvedLibraries(args, err);
  KeepUntilExit(library);
  KeepUntilExit(description);
  return description;
}

}  // namespace quenlor::cli
