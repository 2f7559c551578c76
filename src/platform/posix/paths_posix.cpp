// Path cleaning on Linux: the prefix's environment, then the process's, then the prefix's drives.
#include <cstdlib>

#include "base/error.h"
#include "base/text.h"
#include "platform/paths.h"
#include "platform/posix/wine_prefix.h"

namespace quenlor::platform {

namespace {

const RegistryKey* FindKey(const RegistryTree& tree, const std::vector<std::string>& path) { return tree.Find(path); }

std::optional<std::string> TextValue(const RegistryKey* key, std::string_view name) {
  if (!key) return std::nullopt;
  const RegistryValue* value = key->FindValue(name);
  if (!value || (value->type != kRegSz && value->type != kRegExpandSz)) return std::nullopt;
  return RegistryValueText(*value, name);
}

}  // namespace

std::map<std::string, std::string> PrefixEnvironment(const RegistryHives& hives) {
  std::map<std::string, std::string> env;
  auto lookup = [&env](std::string_view name) -> std::optional<std::string> {
    auto it = env.find(AsciiUpper(name));
    if (it == env.end()) return std::nullopt;
    return it->second;
  };
  auto set = [&env](std::string_view name, std::string value) { env[AsciiUpper(name)] = std::move(value); };

  // What Wine sets up for every process before the registry's variables.
  const RegistryKey* nt = FindKey(hives.machine, {"Software", "Microsoft", "Windows NT", "CurrentVersion"});
  const std::string system_root = TextValue(nt, "SystemRoot").value_or("C:\\windows");
  set("SystemDrive", system_root.size() >= 2 && system_root[1] == ':' ? system_root.substr(0, 2) : "C:");
  set("SystemRoot", system_root);
  set("windir", system_root);
  const RegistryKey* cv = FindKey(hives.machine, {"Software", "Microsoft", "Windows", "CurrentVersion"});
  const std::string program_files = TextValue(cv, "ProgramFilesDir").value_or("C:\\Program Files");
  const std::string program_files_x86 = TextValue(cv, "ProgramFilesDir (x86)").value_or("C:\\Program Files (x86)");
  const std::string common_files = TextValue(cv, "CommonFilesDir").value_or(program_files + "\\Common Files");
  const std::string common_files_x86 =
      TextValue(cv, "CommonFilesDir (x86)").value_or(program_files_x86 + "\\Common Files");
  set("ProgramFiles", program_files);
  set("ProgramFiles(x86)", program_files_x86);
  set("ProgramW6432", program_files);
  set("CommonProgramFiles", common_files);
  set("CommonProgramFiles(x86)", common_files_x86);
  set("CommonProgramW6432", common_files);
  set("ProgramData", "C:\\ProgramData");
  set("ALLUSERSPROFILE", "C:\\ProgramData");
  set("PUBLIC", "C:\\users\\Public");
  const char* user = std::getenv("USER");
  const std::string user_name = user && *user ? user : "root";
  set("USERNAME", user_name);
  set("USERPROFILE", "C:\\users\\" + user_name);
  set("APPDATA", "C:\\users\\" + user_name + "\\AppData\\Roaming");
  set("LOCALAPPDATA", "C:\\users\\" + user_name + "\\AppData\\Local");

  for (const auto* key : {FindKey(hives.machine, {"System", "CurrentControlSet", "Control", "Session Manager", "Environment"}),
                          FindKey(hives.user, {"Environment"})}) {
    if (!key) continue;
    for (const RegistryValueEntry& entry : key->values) {
      const RegistryValue& value = entry.value;
      if (entry.name.empty() || (value.type != kRegSz && value.type != kRegExpandSz)) continue;
      std::string text = RegistryValueText(value, entry.name);
      if (value.type == kRegExpandSz) text = ExpandReferences(text, lookup);
      set(entry.name, std::move(text));
    }
  }
  return env;
}

std::string CleanLibraryPath(std::string_view raw, const RegistrySource& source) {
  const std::string unquoted = RemoveQuotes(raw);
  // The prefix's environment needs its whole registry, so it is read only for a path that
  // refers to a variable.
  std::optional<std::map<std::string, std::string>> env;
  const std::string expanded = ExpandReferences(unquoted, [&](std::string_view name) -> std::optional<std::string> {
    if (!env) {
      env.emplace();
      try {
        *env = PrefixEnvironment(*LoadSourceHives(source));
      } catch (const Error&) {
        // Without a readable registry only the process's environment can expand the path.
      }
    }
    if (auto it = env->find(AsciiUpper(name)); it != env->end()) return it->second;
    if (const char* value = std::getenv(std::string(name).c_str())) return std::string(value);
    return std::nullopt;
  });
  return MapWindowsPath(expanded, DrivePrefix(source));
}

}  // namespace quenlor::platform
