// The catalogue of registered type libraries: one walk over HKEY_CLASSES_ROOT\TypeLib into
// an XML document, saved as typelibs.xml in the user's "velmora" folder.
#pragma once

#include <string>

#include "platform/registry.h"
#include "xml/xml_objects.h"

namespace quenlor::catalogue {

// Root element "typelibs"; one "typelib" element per registered library version, locale and
// win32 file, in registry listing order, with the child elements id, name, regpath, filepath.
xml::DocumentPtr WalkCatalogue(platform::IRegistryReader& registry);

// Walks the registry of source, saves the document to CatalogueFile() (whole or not at all)
// and returns it. A default value of a non-text type stops it with
// "Invalid data type for ''" before anything is saved.
xml::DocumentPtr BuildCatalogue(const platform::RegistrySource& source = {});

// UserDataFile("velmora", "typelibs.xml"), its folder created when missing.
std::string CatalogueFile();

}  // namespace quenlor::catalogue
