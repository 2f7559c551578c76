// Cleaning a type library path from the registry before it is loaded: double quotes removed,
// environment references expanded, and on Linux the Windows path mapped to a file of the
// Wine prefix.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace quenlor::platform {

std::string RemoveQuotes(std::string_view path);

// Replaces each %NAME% whose lookup has a value, as the platform's ExpandEnvironmentStrings
// does: an unknown reference, "%%" included, is copied whole with both percent signs and the
// scan goes on after it; a lone "%" without a closing one stays as it is.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;
std::string ExpandReferences(std::string_view text, const EnvironmentLookup& lookup);

// Windows: quotes removed, then ExpandEnvironmentStrings. The expansion is first made into
// a 260-character buffer; when it does not fit, it is made again with the size the platform
// asks for, so a long path is kept whole rather than lost.
// Linux: quotes removed, references expanded from the prefix's environment then the
// process's, then mapped through the prefix's dosdevices drive letters, each component
// matched without regard to case. A trailing "\N" after a file (a resource number) is kept.
// The source names the registry (and so the prefix) the path came from.
std::string CleanLibraryPath(std::string_view raw, const RegistrySource& source = {});

// The file of the prefix that a Windows path names (see CleanLibraryPath). Paths without a
// drive letter, UNC paths and drives the prefix lacks come back unchanged.
std::string MapWindowsPath(std::string_view windows_path, const std::string& prefix);

}  // namespace quenlor::platform
