// Both registry text readers on hostile input, then everything a reader can be asked of what
// they accepted. The first byte picks the reader: odd for a Wine hive, even for a .reg file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "platform/posix/wine_prefix.h"
#include "platform/registry_text.h"
#include "platform/registry_tree.h"

namespace {

using namespace quenlor::platform;

void Visit(IRegistryReader& reader, const std::string& path, int depth) {
  if (depth > 8 || !reader.OpenKey(path)) return;
  try {
    reader.ReadDefaultString();
  } catch (const quenlor::Error&) {
  }
  for (const auto& name : reader.GetKeyNames()) Visit(reader, path + "\\" + name, depth + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool hive = data[0] & 1;
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  RegistryHivesBuilder builder;
  try {
    if (hive) {
      std::string text(rest);
      if (!IsWineHive(text)) text.insert(0, "WINE REGISTRY Version 2\n");
      // The one-subtree read of a lookup first: it skips what it does not need.
      try {
        static const std::vector<std::string> kPart{"Software", "Classes", "TypeLib"};
        RegistryHivesBuilder part;
        ParseWineHive(text, "system.reg", part.machine, kPart);
        auto reader = MakeClassesRootReader(std::make_shared<const RegistryHives>(part.Finish()));
        Visit(*reader, "\\TypeLib", 0);
      } catch (const quenlor::Error&) {
      }
      ParseWineHive(text, "system.reg", builder.machine);
    } else {
      ParseRegExport(rest, "fuzz.reg", builder);
    }
  } catch (const quenlor::Error&) {
    return 0;
  }
  const auto hives = std::make_shared<const RegistryHives>(builder.Finish());
  auto reader = MakeClassesRootReader(hives);
  Visit(*reader, "\\", 0);
  try {
    PrefixEnvironment(*hives);
  } catch (const quenlor::Error&) {
  }
  return 0;
}
