#include "app/cli/library_args.h"

#include "app/cli/command.h"
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

xml::DocumentPtr DescribeUntilExit(const LibraryArgs& args) {
  std::shared_ptr<typelib::ITypeLibAccess> library;
  xml::DocumentPtr description = typelib::scan::LoadTypeLibDescription(args.file, args.reader, library);
  KeepUntilExit(library);
  KeepUntilExit(description);
  return description;
}

}  // namespace quenlor::cli
