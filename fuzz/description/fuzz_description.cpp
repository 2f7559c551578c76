// Describes arbitrary bytes end to end: the built-in reader, every description writer, the
// XML text and its display layout. Whatever the reader accepts, the writers must survive.
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "typelib/builtin_access.h"
#include "typelib/locator.h"
#include "description/type_lib_scan.h"

namespace {

// References into other libraries resolve to Wine's stdole2 when it is installed, without
// any registry.
class StdoleLocator final : public quenlor::typelib::TypeLibLocator {
 public:
  std::string FindRegistered(const quenlor::typelib::Guid&, std::uint16_t, std::uint16_t, std::uint32_t,
                             std::uint32_t) override {
    return Path();
  }
  std::string ResolveImportFile(const std::string&, const std::string&) override { return Path(); }

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
  using namespace quenlor;
  static const bool installed = [] {
    typelib::SetLocatorForTesting(std::make_shared<StdoleLocator>());
    return true;
  }();
  (void)installed;
  std::shared_ptr<typelib::ITypeLibAccess> lib;
  const std::uint32_t resource = size > 0 && (data[0] & 1) ? 2 : 1;
  if (typelib::LoadBuiltinTypeLibraryFromMemory({data, size}, resource, "", lib) != typelib::kOk) return 0;
  const xml::DocumentPtr document = xml::CreateDocument();
  description::ScanTypeLib(*lib, document->ForceRoot("typelib"));
  const std::string text = xml::FormatXml(document->GetXml());
  return text.empty() ? -1 : 0;
}
