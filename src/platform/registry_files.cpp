#include "base/file.h"
#include "platform/registry_files.h"

#include <filesystem>
#include <string_view>

#include "base/error.h"
#include "platform/large_memory.h"
#include "platform/registry_text.h"

namespace quenlor::platform {

namespace {

namespace fs = std::filesystem;

FileBytes ReadRegistryFile(const std::string& path) {
  std::error_code ec;
  const fs::path p = PathFromUtf8(path);
  const auto size = fs::file_size(p, ec);
  if (ec) throw Error("cannot read '" + path + "'");
  if (size > kMaxRegistryFileBytes) throw Error(path + ": file too large for a registry (over 512 MiB)");
  auto bytes = ReadFileBytes(p, static_cast<size_t>(size));
  if (!bytes) throw Error("cannot read '" + path + "'");
  return std::move(*bytes);
}

void ParseHiveFile(const std::string& path, RegistryTreeBuilder& tree, std::span<const std::string> only_under) {
  const FileBytes bytes = ReadRegistryFile(path);
  ParseWineHive(bytes.View(), path, tree, only_under);
}

}  // namespace

std::shared_ptr<const RegistryHives> LoadRegistryFiles(const std::string& path, std::span<const std::string> only_under) {
  RegistryHivesBuilder hives;
  std::error_code ec;
  const fs::path p = PathFromUtf8(path);
  if (fs::is_directory(p, ec)) {
    const std::string system = PathToUtf8((p / "system.reg"));
    if (!fs::is_regular_file(PathFromUtf8(system), ec)) {
      throw Error("'" + path + "' is not a Wine prefix: it has no system.reg");
    }
    ParseHiveFile(system, hives.machine, only_under);
    // A prefix that no user has started a program in yet has no user.reg.
    const std::string user = PathToUtf8((p / "user.reg"));
    if (fs::is_regular_file(PathFromUtf8(user), ec)) ParseHiveFile(user, hives.user, only_under);
  } else if (fs::exists(p, ec)) {
    const FileBytes bytes = ReadRegistryFile(path);
    const std::string_view text = bytes.View();
    if (IsWineHive(text)) {
      // One hive on its own: HKEY_CURRENT_USER when it is a prefix's user.reg.
      const bool is_user = PathToUtf8(p.filename()) == "user.reg";
      ParseWineHive(text, path, is_user ? hives.user : hives.machine, only_under);
    } else if (IsRegExport(text)) {
      ParseRegExport(text, path, hives);
    } else {
      throw Error(path + ":1: neither a .reg export nor a Wine registry file");
    }
  } else {
    throw Error("no Wine prefix or .reg file at '" + path + "'");
  }
  return std::make_shared<const RegistryHives>(hives.Finish());
}

}  // namespace quenlor::platform
