// Pieces of the locators, shared by the build's variants (internal to quenlor_typelib).
#pragma once

#include <filesystem>
#include <string>

#include "base/file.h"
#include "typelib/locator.h"

namespace quenlor::typelib {


// The platform's system folder: GetSystemDirectory on Windows, the Wine prefix's
// drive_c/windows/system32 on Linux ($WINEPREFIX, else ~/.wine).
std::string SystemFolder();

// A Windows path recorded in a library or the registry, as a local path (Linux: mapped
// into the Wine prefix).
std::string MapRecordedPath(const std::string& windows_path);

// Finds imported files beside the library and in the system folder; knows no registry.
class FileSearchLocator : public TypeLibLocator {
 public:
  std::string FindRegistered(const Guid&, std::uint16_t, std::uint16_t, std::uint32_t, std::uint32_t) override {
    return {};
  }
  std::string ResolveImportFile(const std::string& name, const std::string& beside) override;
};

}  // namespace quenlor::typelib
