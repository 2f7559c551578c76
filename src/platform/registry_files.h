// Loading a registry from files: a Wine prefix folder (system.reg as HKEY_LOCAL_MACHINE,
// user.reg as HKEY_CURRENT_USER) or one file, a .reg export or a single hive.
#pragma once

#include <memory>
#include <span>
#include <string>

#include "platform/registry_tree.h"

namespace quenlor::platform {

// Files larger than this are refused rather than read.
inline constexpr std::uint64_t kMaxRegistryFileBytes = 512ull << 20;

// The finished hives of a prefix folder or a file. Throws Error naming the path when it
// is neither, or naming the file and line when a file does not parse. With only_under,
// hive files are read for the keys at or below that path of each hive only (see
// ParseWineHive); a .reg export is read whole.
std::shared_ptr<const RegistryHives> LoadRegistryFiles(const std::string& path,
                                                       std::span<const std::string> only_under = {});

}  // namespace quenlor::platform
