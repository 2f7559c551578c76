// `quenlor unit FILE`: the Pascal import unit of one file, as the "Source" tab shows it.
#include <ostream>

#include "app/cli/command.h"
#include "generator/import_unit.h"
#include "typelib/scan/type_lib_scan.h"

namespace quenlor::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage: quenlor unit FILE [--reader builtin|platform] [-o OUTPUT]\n"
    "\n"
    "Prints the Pascal import unit of FILE (a type library, or an executable image holding\n"
    "one; FILE\\N picks its TYPELIB resource N). Lines end in CR LF.\n"
    "\n"
    "  --reader builtin   read the file with the built-in reader\n"
    "  --reader platform  read it with the platform's LoadTypeLibEx (Windows build only;\n"
    "                     the default there)\n"
    "  -o OUTPUT          write to OUTPUT instead of standard output (whole or not at all)\n"
    "\n"
    "Exit status: 0 written, 1 \"invalid typelib\" (the file does not load) or another\n"
    "failure, 2 usage error.\n";

typelib::ReaderKind ParseReader(const std::string& value) {
  if (value == "builtin") return typelib::ReaderKind::Builtin;
  if (value == "platform") {
    if (typelib::DefaultReader() != typelib::ReaderKind::Platform)
      throw UsageError{"--reader platform needs the Windows build; this build has only the built-in reader"};
    return typelib::ReaderKind::Platform;
  }
  throw UsageError{"--reader takes 'builtin' or 'platform', not '" + value + "'"};
}

int RunUnit(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string file;
  std::string output;
  bool have_file = false;
  typelib::ReaderKind reader = typelib::DefaultReader();
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--reader" || arg == "-o") {
      if (i + 1 >= args.size()) throw UsageError{arg + " needs a value"};
      const std::string& value = args[++i];
      if (arg == "-o") {
        output = value;
      } else {
        reader = ParseReader(value);
      }
    } else if (arg.rfind("--reader=", 0) == 0) {
      reader = ParseReader(arg.substr(9));
    } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
      throw UsageError{"unknown option '" + arg + "'"};
    } else if (!have_file) {
      file = arg;
      have_file = true;
    } else {
      throw UsageError{"only one FILE is imported at a time"};
    }
  }
  if (!have_file) throw UsageError{"FILE is missing"};

  const xml::DocumentPtr description = typelib::scan::LoadTypeLibDescription(file, reader);
  if (!description) {
    err << "invalid typelib\n";
    return kExitFailure;
  }
  WriteOutput(output, generator::BuildImportUnit(description), out);
  return kExitOk;
}

const CommandRegistration kRegistration{Command{
    "unit", "print the Pascal import unit of a type library", kUsage, RunUnit}};

}  // namespace

}  // namespace quenlor::cli
