// The locator every reader fuzz target installs: references to stdole resolve to Wine's
// stdole2 when it is installed, so a walk crosses libraries without touching any registry;
// every other library is missing, so inputs whose bases live in another library (qderived,
// qfar) walk chains that cannot be loaded.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "typelib/locator.h"

namespace quenlor::fuzzing {

class StdoleLocator final : public typelib::TypeLibLocator {
 public:
  std::string FindRegistered(const typelib::Guid& libid, std::uint16_t, std::uint16_t, std::uint32_t,
                             std::uint32_t) override {
    return libid.data1 == 0x00020430 ? Path() : std::string();
  }
  std::string ResolveImportFile(const std::string& name, const std::string&) override {
    return name.find("stdole") != std::string::npos ? Path() : std::string();
  }

  // Installs it once per process.
  static void Install() {
    static const bool installed = [] {
      typelib::SetLocatorForTesting(std::make_shared<StdoleLocator>());
      return true;
    }();
    (void)installed;
  }

 private:
  static std::string Path() {
    static const std::string path = [] {
      const std::string candidate = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/stdole2.tlb";
      std::error_code ec;
      return std::filesystem::is_regular_file(candidate, ec) ? candidate : std::string();
    }();
    return path;
  }
};

}  // namespace quenlor::fuzzing
