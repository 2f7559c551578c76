// `quenlor unit FILE`: the Pascal import unit of one file, as the "Source" tab shows it.
#include <ostream>

#include "app/cli/command.h"
#include "app/cli/library_args.h"
#include "generator/import_unit.h"

namespace quenlor::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage: quenlor unit FILE [--reader builtin|platform] [-o OUTPUT]\n"
    "\n"
    "Prints the Pascal import unit of FILE (a type library, or an executable image holding\n"
    "one; FILE\\N picks its TYPELIB resource N). Lines end in CR LF.\n"
    "\n"
    "  --reader builtin   read the file with the built-in reader\n"
    "  --reader platform  read it with the platform's LoadTypeLibEx (Windows build only)\n"
    "                     Without --reader: $QUENLOR_READER, else the built-in reader under\n"
    "                     Wine and in the Linux build, the platform's on Windows\n"
    "  -o OUTPUT          write to OUTPUT instead of standard output (whole or not at all)\n"
    "\n"
    "Exit status: 0 written, 1 \"invalid typelib\" (the file does not load) or another\n"
    "failure, 2 usage error.\n";

int RunUnit(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const LibraryArgs parsed = ParseLibraryArgs(args, "imported");

  const xml::DocumentPtr description = DescribeUntilExit(parsed, err);
  if (!description) {
    err << "invalid typelib\n";
    return kExitFailure;
  }
  WriteOutput(parsed.output, generator::BuildImportUnit(description), out);
  return kExitOk;
}

const CommandRegistration kRegistration{Command{
    "unit", "print the Pascal import unit of a type library", kUsage, RunUnit}};

}  // namespace

}  // namespace quenlor::cli
