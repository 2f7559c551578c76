// quenlor dump FILE [--reader builtin|platform] [-o OUT]: everything the type library access
// delivers for one library, in the canonical text form.
#include <ostream>

#include "app/cli/command.h"
#include "typelib/access.h"
#include "typelib/dump.h"

namespace quenlor::cli {

namespace {

int RunDump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string file;
  std::string output;
  typelib::ReaderKind reader = typelib::DefaultReader();
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--reader" || arg == "-o") {
      if (i + 1 >= args.size()) throw UsageError{arg + " needs a value"};
      const std::string& value = args[++i];
      if (arg == "-o") {
        output = value;
      } else if (value == "builtin") {
        reader = typelib::ReaderKind::Builtin;
      } else if (value == "platform") {
        reader = typelib::ReaderKind::Platform;
      } else {
        throw UsageError{"unknown reader '" + value + "' (builtin or platform)"};
      }
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      throw UsageError{"unknown option '" + arg + "'"};
    } else if (file.empty()) {
      file = arg;
    } else {
      throw UsageError{"more than one FILE"};
    }
  }
  if (file.empty()) throw UsageError{"FILE is missing"};

  std::shared_ptr<typelib::ITypeLibAccess> lib;
  const typelib::HResult hr = typelib::LoadTypeLibrary(file, reader, lib);
  if (hr == typelib::kENotImpl && reader == typelib::ReaderKind::Platform) {
    err << "quenlor dump: the platform reader exists only in the Windows build\n";
    return kExitFailure;
  }
  if (hr != typelib::kOk) {
    err << "quenlor dump: cannot load " << file << ": " << typelib::HResultText(hr) << "\n";
    return kExitFailure;
  }
  WriteOutput(output, typelib::DumpTypeLibrary(*lib), out);
  return kExitOk;
}

const CommandRegistration registration{{
    "dump",
    "print everything a type library delivers, in a canonical text form",
    "Usage: quenlor dump FILE [--reader builtin|platform] [-o OUT]\n\n"
    "Loads the type library FILE (a .tlb file, or an executable with TYPELIB resources;\n"
    "FILE\\N picks resource N) without registering it and prints its documentation,\n"
    "attributes, every type with its functions, variables, names, implemented types and\n"
    "the names of the types it refers to.\n\n"
    "  --reader builtin   the built-in reader (the default without the platform's)\n"
    "  --reader platform  the platform's LoadTypeLibEx (Windows build; the default there)\n"
    "  -o OUT             write to OUT instead of standard output\n\n"
    "Exit status: 0 printed, 1 the library does not load (its status code is printed), 2 usage.\n",
    RunDump,
}};

}  // namespace

}  // namespace quenlor::cli
