// quenlor list: the catalogue of registered type libraries, built as the window builds it.
#include <optional>
#include <ostream>

#include "app/catalogue/catalogue.h"
#include "app/catalogue/catalogue_sort.h"
#include "app/cli/command.h"
#include "base/text.h"
#include "platform/registry.h"

namespace quenlor::cli {

namespace {

constexpr std::string_view kUsage =
    "Usage: quenlor list [--sort name|id|path|none] [--xml] [--registry PREFIX_OR_REG_FILE]\n"
    "\n"
    "Walks HKEY_CLASSES_ROOT\\TypeLib, rewrites the catalogue file typelibs.xml in the user's\n"
    "velmora data folder and prints one line per registered library version, locale and\n"
    "win32 file: name|id|filepath.\n"
    "\n"
    "  --sort KEY       order of the lines: name (default), id, path, or none for the\n"
    "                   registry's own order; letters compare without regard to case\n"
    "  --xml            print the catalogue document instead of the lines\n"
    "  --registry PATH  (Linux) a Wine prefix folder or a .reg export to read instead of\n"
    "                   $WINEPREFIX (default ~/.wine); the Windows build reads this\n"
    "                   machine's registry and refuses the option\n";

int ParseSort(const std::string& key) {
  if (key == "name") return catalogue::kSortByName;
  if (key == "id") return catalogue::kSortById;
  if (key == "path") return catalogue::kSortByPath;
  if (key == "none") return catalogue::kSortNone;
  throw UsageError{"unknown sort key '" + key + "' (name, id, path or none)"};
}

int RunList(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
  int sort = catalogue::kSortByName;
  bool as_xml = false;
  platform::RegistrySource source;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto option_value = [&](std::string_view option) -> std::optional<std::string> {
      if (arg == option) {
        if (i + 1 >= args.size()) throw UsageError{std::string(option) + " needs a value"};
        return args[++i];
      }
      if (arg.size() > option.size() && arg.compare(0, option.size(), option) == 0 && arg[option.size()] == '=') {
        return arg.substr(option.size() + 1);
      }
      return std::nullopt;
    };
    if (arg == "--xml") {
      as_xml = true;
    } else if (auto key = option_value("--sort")) {
      sort = ParseSort(*key);
    } else if (auto path = option_value("--registry")) {
      if (!platform::RegistrySourceSupported()) {
        throw UsageError{"--registry is not available in the Windows build, which reads this machine's registry"};
      }
      if (path->empty()) throw UsageError{"--registry needs a path"};
      source.path = *path;
    } else {
      throw UsageError{"unknown argument '" + arg + "'"};
    }
  }
  const auto document = catalogue::BuildCatalogue(source);
  std::string text;
  if (as_xml) {
    text = document->GetXml();
    if (!text.empty() && text.back() != '\n') text += '\n';
  } else {
    // The window's list items: name|id|filepath, each value trimmed as the window's reads
    // trim it. The entries were just written with exactly their four elements, so their
    // texts are taken in one pass instead of one path query per value.
    std::vector<std::string> items;
    const auto entries = document->GetRoot()->Nodes();
    const int count = entries->Count();
    items.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
      std::string_view fields[3];
      std::string texts[3];
      const auto values = entries->GetNode(i)->Nodes();
      for (int k = 0; k < values->Count(); ++k) {
        const auto value = values->GetNode(k);
        const std::string name = value->Name();
        const int slot = name == "name" ? 0 : name == "id" ? 1 : name == "filepath" ? 2 : -1;
        if (slot < 0 || !fields[slot].empty()) continue;
        texts[slot] = value->GetText();
        fields[slot] = TrimBlanks(texts[slot]);
      }
      std::string item(fields[0]);
      item += '|';
      item += fields[1];
      item += '|';
      item += fields[2];
      items.push_back(std::move(item));
    }
    catalogue::SortItems(items, sort);
    size_t size = 0;
    for (const auto& item : items) size += item.size() + 1;
    text.reserve(size);
    for (const auto& item : items) {
      text += item;
      text += '\n';
    }
  }
  WriteOutput("", text, out);
  return kExitOk;
}

const CommandRegistration kRegistration({"list", "list the registered type libraries (rewrites typelibs.xml)", kUsage, RunList});

}  // namespace

}  // namespace quenlor::cli
