// Loads arbitrary bytes through the built-in reader and walks everything the access port
// delivers, references into other libraries included.
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "typelib/builtin_access.h"
#include "typelib/dump.h"
#include "typelib/locator.h"

namespace {

// References to stdole resolve to Wine's stdole2 when it is installed, so the walk crosses
// libraries without touching any registry; every other library is missing, so the seeds
// whose bases live in another library (qderived, qfar) walk chains that cannot be loaded.
class StdoleLocator final : public quenlor::typelib::TypeLibLocator {
 public:
  std::string FindRegistered(const quenlor::typelib::Guid& libid, std::uint16_t, std::uint16_t, std::uint32_t,
                             std::uint32_t) override {
    return libid.data1 == 0x00020430 ? Path() : std::string();
  }
  std::string ResolveImportFile(const std::string& name, const std::string&) override {
    return name.find("stdole") != std::string::npos ? Path() : std::string();
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool installed = [] {
    quenlor::typelib::SetLocatorForTesting(std::make_shared<StdoleLocator>());
    return true;
  }();
  (void)installed;
  std::shared_ptr<quenlor::typelib::ITypeLibAccess> lib;
  const std::uint32_t resource = size > 0 && (data[0] & 1) ? 2 : 1;
  if (quenlor::typelib::LoadBuiltinTypeLibraryFromMemory({data, size}, resource, "", lib) != quenlor::typelib::kOk)
    return 0;
  const std::string text = quenlor::typelib::DumpTypeLibrary(*lib);
  return text.empty() ? -1 : 0;
}
