// quenlor dump FILE [--reader builtin|platform] [-o OUT]: everything the type library access
// delivers for one library, in the canonical text form.
#include <ostream>

#include "app/cli/command.h"
#include "app/cli/library_args.h"
#include "typelib/access.h"
#include "typelib/dump.h"

namespace quenlor::cli {

namespace {

int RunDump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const LibraryArgs parsed = ParseLibraryArgs(args, "dumped");

  std::shared_ptr<typelib::ITypeLibAccess> lib;
  const typelib::HResult hr = typelib::LoadTypeLibrary(parsed.file, parsed.reader, lib);
  if (hr != typelib::kOk) {
    err << "quenlor dump: cannot load " << parsed.file << ": " << typelib::HResultText(hr) << "\n";
    return kExitFailure;
  }
  WriteOutput(parsed.output, typelib::DumpTypeLibrary(*lib), out);
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
    "  --reader builtin   the built-in reader\n"
    "  --reader platform  the platform's LoadTypeLibEx (Windows build only)\n"
    "                     Without --reader: $QUENLOR_READER, else the built-in reader under\n"
    "                     Wine and in the Linux build, the platform's on Windows\n"
    "  -o OUT             write to OUT instead of standard output\n\n"
    "Exit status: 0 printed, 1 the library does not load (its status code is printed), 2 usage.\n",
    RunDump,
}};

}  // namespace

}  // namespace quenlor::cli
