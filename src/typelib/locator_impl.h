// Pieces of the locators, shared by the build's variants (internal to quenlor_typelib).
#pragma once

#include <filesystem>
#include <string>

#include "typelib/locator.h"

namespace quenlor::typelib {

inline std::filesystem::path PathFromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}
inline std::string PathToUtf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

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
