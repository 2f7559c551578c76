// `quenlor unit FILE`: the Pascal import unit of one file, as the "Source" tab shows it;
// with --with-dependencies or --all, a folder of units that use one another.
#include <algorithm>
#include <ostream>

#include "app/catalogue/catalogue.h"
#include "app/catalogue/catalogue_sort.h"
#include "app/cli/command.h"
#include "app/cli/library_args.h"
#include "app/units/unit_set.h"
#include "base/text.h"
#include "generator/import_unit.h"
#include "platform/paths.h"
#include "platform/terminal.h"
#include "typelib/builtin_access.h"
#include "typelib/dump.h"

namespace quenlor::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage: quenlor unit FILE [--reader builtin|platform] [-o OUTPUT]\n"
    "       quenlor unit FILE --with-dependencies -o DIR [--reader builtin|platform]\n"
    "       quenlor unit --all -o DIR [--with-dependencies] [--reader builtin|platform]\n"
    "\n"
    "Prints the Pascal import unit of FILE (a type library, or an executable image holding\n"
    "one; FILE\\N picks its TYPELIB resource N). Lines end in CR LF.\n"
    "\n"
    "  --reader builtin     read the file with the built-in reader\n"
    "  --reader platform    read it with the platform's LoadTypeLibEx (Windows build only)\n"
    "                       Without --reader: $QUENLOR_READER, else the built-in reader under\n"
    "                       Wine and in the Linux build, the platform's on Windows\n"
    "  -o OUTPUT            write to OUTPUT instead of standard output (whole or not at all)\n"
    "  --with-dependencies  write into the folder DIR the unit of FILE and of every library\n"
    "                       it refers to, transitively, that resolves (registry, then the\n"
    "                       recorded file name); each unit's uses clause names, after\n"
    "                       Windows, ActiveX and Variants, the units of the libraries it\n"
    "                       refers to, by unit name. stdole gets no unit: ActiveX declares\n"
    "                       its types. Of a cycle of references, a unit that can do\n"
    "                       without the other's (it names no record, union or alias of it,\n"
    "                       derives from none of its interfaces) names that library's\n"
    "                       interfaces as IUnknown, dispinterfaces as IDispatch and\n"
    "                       enumerations as TOleEnum instead of using its unit\n"
    "  --all                write into DIR the unit of every library `quenlor list` lists\n"
    "                       (a progress line on a terminal, a summary at the end)\n"
    "\n"
    "Units are written as DIR/NAME_TLB.pas, each whole or not at all, NAME being the library's\n"
    "name. Of libraries whose units would share a name, the highest version keeps NAME_TLB\n"
    "and each other is written as NAME_<major>_<minor>_TLB (the unit line says the same).\n"
    "\n"
    "Exit status: 0 written, 1 \"invalid typelib\" (the file does not load; with --all: a\n"
    "library did not load or a unit could not be written) or another failure, 2 usage\n"
    "error, 3 (--with-dependencies) every unit written but a referenced library did not\n"
    "resolve (each is named on standard error).\n";

struct UnitArgs {
  LibraryArgs library;
  bool with_dependencies = false;
  bool all = false;
};

UnitArgs ParseUnitArgs(const std::vector<std::string>& args) {
  UnitArgs parsed;
  std::vector<std::string> rest;
  for (const std::string& arg : args) {
    if (arg == "--with-dependencies") parsed.with_dependencies = true;
    else if (arg == "--all") parsed.all = true;
    else rest.push_back(arg);
  }
  parsed.library = ParseLibraryArgs(rest, "imported", !parsed.all);
  if (parsed.all && !parsed.library.file.empty()) throw UsageError{"--all takes no FILE"};
  if ((parsed.all || parsed.with_dependencies) && (parsed.library.output.empty() || parsed.library.output == "-")) {
    throw UsageError{std::string(parsed.all ? "--all" : "--with-dependencies") + " needs -o DIR"};
  }
  return parsed;
}

struct LoadFailure {
  std::string what;
  std::string reason;
};

// The unresolved libraries of every load so far, each once.
std::vector<typelib::UnresolvedLibrary> Unresolved(const UnitArgs& args, const std::vector<std::string>& paths) {
  std::vector<typelib::UnresolvedLibrary> found;
  if (args.library.reader == typelib::ReaderKind::Builtin) {
    found = typelib::TakeUnresolvedLibraries();
  } else {
    for (const std::string& path : paths) {
      for (auto& lib : typelib::FindUnresolvedLibraries(path)) found.push_back(std::move(lib));
    }
  }
  std::vector<typelib::UnresolvedLibrary> distinct;
  for (auto& lib : found) {
    const bool seen = std::any_of(distinct.begin(), distinct.end(), [&](const typelib::UnresolvedLibrary& other) {
      return other.libid == lib.libid && other.major == lib.major && other.minor == lib.minor && other.lcid == lib.lcid;
    });
    if (!seen) distinct.push_back(std::move(lib));
  }
  return distinct;
}

struct CatalogueEntry {
  std::string name;
  std::string id;
  std::string path;
};

// The catalogue's entries in the order `quenlor list` prints them. The fields are kept as
// they are, not cut out of the list's "name|id|path" text again: a name may hold a "|".
std::vector<CatalogueEntry> CatalogueEntries() {
  const auto document = catalogue::BuildCatalogue();
  std::vector<CatalogueEntry> entries;
  std::vector<std::string> texts;
  const auto nodes = document->GetRoot()->Nodes();
  for (int i = 0; i < nodes->Count(); ++i) {
    const auto values = nodes->GetNode(i)->Values();
    CatalogueEntry entry{std::string(TrimBlanks(values->ReadString("name", "", false))),
                         std::string(TrimBlanks(values->ReadString("id", "", false))),
                         std::string(TrimBlanks(values->ReadString("filepath", "", false)))};
    texts.push_back(entry.name + "|" + entry.id + "|" + entry.path);
    entries.push_back(std::move(entry));
  }
  std::vector<CatalogueEntry> sorted;
  for (const std::size_t i : catalogue::SortOrder(texts, catalogue::kSortByName))
    sorted.push_back(std::move(entries[i]));
  return sorted;
}

int RunUnitSet(const UnitArgs& args, std::ostream& err) {
  units::UnitSet set(args.with_dependencies);
  std::vector<std::string> paths;
  std::vector<LoadFailure> load_failures;
  std::size_t repeated = 0;  // catalogue entries naming a library already in the set
  auto add = [&](const std::string& what, const std::string& path) {
    std::shared_ptr<typelib::ITypeLibAccess> library;
    const typelib::HResult hr = typelib::LoadTypeLibrary(path, args.library.reader, library);
    if (hr != typelib::kOk || !library) {
      load_failures.push_back({what, typelib::HResultText(hr)});
      return;
    }
    paths.push_back(path);
    if (!set.Add(std::move(library))) ++repeated;
  };
  if (args.all) {
    for (const CatalogueEntry& entry : CatalogueEntries())
      add(entry.name + " " + entry.id + " (" + entry.path + ")", platform::CleanLibraryPath(entry.path));
  } else {
    add(args.library.file, args.library.file);
    if (!load_failures.empty()) {
      err << "invalid typelib\n";
      return kExitFailure;
    }
  }
  set.AddDependencies();

  const bool show_progress = args.all && platform::StandardErrorIsTerminal();
  std::size_t progress_width = 0;
  set.WriteAll(args.library.output, [&](std::size_t position, std::size_t count, const std::string& unit) {
    if (!show_progress) return;
    std::string line = "[" + std::to_string(position) + "/" + std::to_string(count) + "] " + unit;
    const std::size_t width = line.size();
    line.resize(std::max(width, progress_width), ' ');  // blanks over a longer previous line
    progress_width = width;
    err << '\r' << line << std::flush;
  });
  if (show_progress) err << '\r' << std::string(progress_width, ' ') << '\r';

  const std::vector<typelib::UnresolvedLibrary> missing = Unresolved(args, paths);
  ReportUnresolved(missing, err);
  for (const units::UnitFailure& failure : set.Failures()) {
    err << "quenlor unit: " << failure.unit_name << " not written: " << failure.reason << "\n";
  }
  if (args.all) {
    const auto& written = set.Written();
    const auto dependencies = std::count_if(written.begin(), written.end(), [](const units::WrittenUnit& unit) {
      return !unit.asked_for;
    });
    err << "quenlor unit: " << written.size() << " units written to " << args.library.output;
    if (dependencies > 0) err << " (" << dependencies << " of libraries the catalogue's refer to)";
    err << "; " << set.Failures().size() << " not written; " << load_failures.size() << " libraries failed to load";
    if (repeated > 0) err << "; " << repeated << " catalogue entries name a library already written";
    err << "\n";
    for (const LoadFailure& failure : load_failures) err << "  failed to load " << failure.what << ": " << failure.reason << "\n";
  }
  if (!load_failures.empty() || !set.Failures().empty()) return kExitFailure;
  if (args.with_dependencies && !missing.empty()) return kExitUnresolved;
  return kExitOk;
}

int RunUnit(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const UnitArgs parsed = ParseUnitArgs(args);
  if (parsed.all || parsed.with_dependencies) return RunUnitSet(parsed, err);

  const xml::DocumentPtr description = DescribeUntilExit(parsed.library, err);
  if (!description) {
    err << "invalid typelib\n";
    return kExitFailure;
  }
  WriteOutput(parsed.library.output, generator::BuildImportUnit(description), out);
  return kExitOk;
}

const CommandRegistration kRegistration{Command{
    "unit", "print the Pascal import unit of a type library, or write a folder of them", kUsage, RunUnit}};

}  // namespace

}  // namespace quenlor::cli
