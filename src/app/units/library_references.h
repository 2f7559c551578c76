// What one loaded library refers to in other libraries, and the names of the types it
// declares, found through the type library access port as the description's writers find
// them: both readers deliver the same answers.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "typelib/access.h"

namespace quenlor::units {

// A library as its references name it: id, version and locale.
struct LibraryKey {
  typelib::Guid libid;
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
  std::uint32_t lcid = 0;
  bool operator==(const LibraryKey&) const = default;
};

// The key the library reports for itself; nullopt when it reports none.
std::optional<LibraryKey> KeyOf(typelib::ITypeLibAccess& library);

// A library that another one refers to. `needs_declarations`: a unit cannot do without the
// other library's unit, because it derives an interface from one of its interfaces or names
// one of its records, unions or aliases; interfaces, dispinterfaces, enumerations and
// coclasses otherwise have stand-ins (generator/used_libraries.h).
struct Reference {
  std::shared_ptr<typelib::ITypeLibAccess> library;
  bool needs_declarations = false;
};

// Every other library whose types the types of `library` name (base interfaces and
// implemented interfaces, parameters, results, fields, alias targets), each once, in the
// order first met. A reference that does not resolve is passed over: the reader names it.
std::vector<Reference> ReferencedLibraries(typelib::ITypeLibAccess& library);

// The names under which the library's types appear in its description.
struct DeclaredNames {
  std::vector<std::string> interfaces;
  std::vector<std::string> dispinterfaces;
  std::vector<std::string> enums;  // those with members
};
DeclaredNames NamesOf(typelib::ITypeLibAccess& library);

}  // namespace quenlor::units
