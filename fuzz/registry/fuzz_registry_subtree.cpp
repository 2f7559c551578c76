// The one-subtree read of a Wine hive against the whole read of the same text: wherever the
// whole read accepts the file, reading only the keys at or below a path must accept it too
// and give that subtree exactly (names, order, values), and nothing beside the path. The
// first byte picks the path from a few, so that plain, escaped and case-changed headers
// meet each.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "platform/registry_text.h"
#include "platform/registry_tree.h"

namespace {

using namespace quenlor::platform;

const std::vector<std::vector<std::string>> kPaths = {
    {"Software", "Classes", "TypeLib"},
    {"Software", "Classes"},
    {"software", "CLASSES", "typelib"},
    {"A"},
    {"A", "b c"},
    {"Software", "Classes", "TypeLib", "{00020430-0000-0000-C000-000000000046}"},
    {"A", "\xC3\xA9"},
    {"Software", "Classes", "TypeLib", "{A}"},
};

void Describe(const RegistryKey& key, std::string& out, int depth) {
  out += std::string(static_cast<size_t>(depth), ' ') + "[" + std::string(key.name) + "]\n";
  for (const RegistryValueEntry& entry : key.values) {
    out += std::string(static_cast<size_t>(depth), ' ') + "\"" + std::string(entry.name) + "\" " +
           std::to_string(entry.value.type) + " " + std::to_string(entry.value.data.size()) + ":" +
           std::string(entry.value.data) + "\n";
  }
  for (const RegistryKey* child : key.children) Describe(*child, out, depth + 1);
}

std::string Subtree(const RegistryTree& tree, const std::vector<std::string>& path) {
  const RegistryKey* key = tree.Find(path);
  if (!key) return "(none)";
  std::string out;
  Describe(*key, out, 0);
  return out;
}

[[noreturn]] void Differ(const std::string& whole, const std::string& part) {
  std::fprintf(stderr, "subtree differs\nwhole read:\n%s\none-subtree read:\n%s\n", whole.c_str(), part.c_str());
  __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::vector<std::string>& path = kPaths[data[0] % kPaths.size()];
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  if (!IsWineHive(text)) text.insert(0, "WINE REGISTRY Version 2\n");
  RegistryTreeBuilder builder;
  try {
    ParseWineHive(text, "system.reg", builder);
  } catch (const quenlor::Error&) {
    return 0;  // the subtree read skips unchecked what the whole read refuses
  }
  const RegistryTree whole = builder.Finish();
  try {
    ParseWineHive(text, "system.reg", builder, path);
  } catch (const quenlor::Error& e) {
    Differ(Subtree(whole, path), std::string("failed: ") + e.what());
  }
  const RegistryTree part = builder.Finish();
  const std::string a = Subtree(whole, path), b = Subtree(part, path);
  if (a != b) Differ(a, b);
  // Above the subtree, only the path itself.
  std::vector<std::string> above;
  for (size_t depth = 0; depth < path.size(); ++depth) {
    const RegistryKey* key = part.Find(above);
    if (!key) break;
    if (key->children.size() > 1 || !key->values.empty()) Differ(Subtree(whole, above), Subtree(part, above));
    above.push_back(path[depth]);
  }
  return 0;
}
