// What an import unit knows of the other libraries whose types its library uses: the units
// its uses clause names after Windows, ActiveX and Variants, the interface and enumeration
// names those units declare, and the names it writes as other types because no unit it can
// use declares them.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quenlor::generator {

struct UsedLibrary {
  std::string unit;                     // named in the uses clause; empty: not named
  std::vector<std::string> interfaces;  // interfaces and dispinterfaces the unit declares
  std::vector<std::string> enums;       // enumerations with members the unit declares
  // A type name of the library and the text written for it instead.
  std::vector<std::pair<std::string, std::string>> substitutes;
};

// How one unit is generated beside the units of the libraries it uses.
struct UnitContext {
  std::string unit_name;          // empty: the library's name followed by "_TLB"
  std::vector<UsedLibrary> used;  // in the order of the uses clause
};

// A library whose unit stands beside this one and is named in its uses clause.
UsedLibrary ListedLibrary(std::string unit, std::vector<std::string> interfaces, std::vector<std::string> enums);

// A library whose unit cannot be named here: naming it would close a cycle of uses
// clauses, which the compiler refuses. Its interfaces are written as IUnknown, its
// dispinterfaces as IDispatch and its enumerations as TOleEnum, which have their sizes and
// calling conventions; its records, unions and aliases keep their names.
UsedLibrary UnlistedLibrary(const std::vector<std::string>& interfaces, const std::vector<std::string>& dispinterfaces,
                            const std::vector<std::string>& enums);

// OLE Automation's own library (stdole): ActiveX and the run-time library declare its
// types, so it gets no unit; the few that they declare under other names are written as
// those (Font as IFontDisp, StdPicture as IPictureDisp, LoadPictureConstants as TOleEnum).
UsedLibrary StdoleLibrary();

// The library id of stdole, in registry form.
inline constexpr std::string_view kStdoleLibraryId = "{00020430-0000-0000-C000-000000000046}";

// The lines after "uses": Windows, ActiveX, Variants and then each unit named by `used`
// (once, letters folded), broken before column 80, the last ending in ";".
std::vector<std::string> UsesClauseLines(const std::vector<UsedLibrary>& used);

}  // namespace quenlor::generator
