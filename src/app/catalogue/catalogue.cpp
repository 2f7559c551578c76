#include "app/catalogue/catalogue.h"

#include <vector>

#include "platform/folders.h"

namespace quenlor::catalogue {

// The walk follows the registry as it lists itself: the keys it opens have just been listed,
// so an open that fails (a key removed meanwhile) is not checked and the reader then stays on
// the key it had, exactly as the lists and names below assume.
xml::DocumentPtr WalkCatalogue(platform::IRegistryReader& registry) {
  auto document = xml::CreateDocument();
  auto entries = document->ForceRoot("typelibs")->Nodes();
  std::vector<std::string> ids;
  std::vector<std::string> versions;
  std::vector<std::string> locales;
  if (registry.OpenKey("\\TypeLib")) ids = registry.GetKeyNames();
  for (const auto& id : ids) {
    const std::string id_path = "\\TypeLib\\" + id;
    registry.OpenKey(id_path);
    versions = registry.GetKeyNames();
    for (const auto& version : versions) {
      const std::string version_path = id_path + "\\" + version;
      registry.OpenKey(version_path);
      const std::string name = registry.ReadDefaultString();
      locales = registry.GetKeyNames();
      for (const auto& locale : locales) {
        const std::string locale_path = version_path + "\\" + locale;
        registry.OpenKey(locale_path);
        if (!registry.OpenKey("win32")) continue;
        auto values = entries->Add("typelib")->Values();
        values->WriteString("id", id);
        values->WriteString("name", name);
        values->WriteString("regpath", locale_path + "\\win32");
        values->WriteString("filepath", registry.ReadDefaultString());
      }
    }
  }
  return document;
}

std::string CatalogueFile() { return platform::UserDataFile("velmora", "typelibs.xml"); }

xml::DocumentPtr BuildCatalogue(const platform::RegistrySource& source) {
  xml::DocumentPtr document;
  {
    auto registry = platform::OpenClassesRoot(source);
    document = WalkCatalogue(*registry);
  }
  document->SaveToFile(CatalogueFile());
  return document;
}

}  // namespace quenlor::catalogue
