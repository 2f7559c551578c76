// `quenlor xml FILE`: the type library description of one file, as the "XML" tab shows it.
#include <ostream>

#include "app/cli/command.h"
#include "app/cli/library_args.h"

namespace quenlor::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage: quenlor xml FILE [--reader builtin|platform] [-o OUTPUT]\n"
    "\n"
    "Prints the type library description of FILE (a type library, or an executable image\n"
    "holding one; FILE\\N picks its TYPELIB resource N) as indented XML.\n"
    "\n"
    "  --reader builtin   read the file with the built-in reader\n"
    "  --reader platform  read it with the platform's LoadTypeLibEx (Windows build only)\n"
    "                     Without --reader: $QUENLOR_READER, else the built-in reader under\n"
    "                     Wine and in the Linux build, the platform's on Windows\n"
    "  -o OUTPUT          write to OUTPUT instead of standard output\n"
    "\n"
    "Exit status: 0 described, 1 \"invalid typelib\" (the file does not load) or another\n"
    "failure, 2 usage error.\n";

int RunXml(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const LibraryArgs parsed = ParseLibraryArgs(args, "described");

  const xml::DocumentPtr description = DescribeUntilExit(parsed, err);
  if (!description) {
    err << "invalid typelib\n";
    return kExitFailure;
  }
  WriteOutput(parsed.output, xml::FormatXml(description->GetXml()), out);
  return kExitOk;
}

const CommandRegistration kRegistration{Command{
    "xml", "print the type library description of a file as XML", kUsage, RunXml}};

}  // namespace

}  // namespace quenlor::cli
