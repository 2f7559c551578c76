// The uses clause and the generator's knowledge of other libraries' types.
#include "generator/used_libraries.h"

#include "generator/import_unit.h"

namespace quenlor::generator {

UsedLibrary ListedLibrary(std::string unit, std::vector<std::string> interfaces, std::vector<std::string> enums) {
  UsedLibrary library;
  library.unit = std::move(unit);
  library.interfaces = std::move(interfaces);
  library.enums = std::move(enums);
  return library;
}

UsedLibrary UnlistedLibrary(const std::vector<std::string>& interfaces, const std::vector<std::string>& dispinterfaces,
                            const std::vector<std::string>& enums) {
  UsedLibrary library;
  for (const std::string& name : interfaces) library.substitutes.emplace_back(name, "IUnknown");
  for (const std::string& name : dispinterfaces) library.substitutes.emplace_back(name, "IDispatch");
  for (const std::string& name : enums) library.substitutes.emplace_back(name, "TOleEnum");
  return library;
}

UsedLibrary StdoleLibrary() {
  UsedLibrary library;
  // The interfaces ActiveX declares under stdole's names (IFontDisp and IPictureDisp are
  // aliases in stdole, interfaces in ActiveX); OLE_TRISTATE is an ordinal type there.
  library.interfaces = {"IUnknown", "IDispatch", "IEnumVARIANT", "IFont", "IFontDisp", "IPicture", "IPictureDisp"};
  library.enums = {"OLE_TRISTATE"};
  // Font and Picture are the dispinterfaces behind IFontDisp and IPictureDisp; the
  // coclasses stand for their default interfaces.
  library.substitutes = {{"Font", "IFontDisp"},         {"Picture", "IPictureDisp"},
                         {"StdFont", "IFontDisp"},      {"StdPicture", "IPictureDisp"},
                         {"FontEvents", "IDispatch"},   {"IFontEventsDisp", "IDispatch"},
                         {"LoadPictureConstants", "TOleEnum"}};
  return library;
}

std::vector<std::string> UsesClauseLines(const std::vector<UsedLibrary>& used) {
  constexpr std::size_t kWidth = 80;
  std::vector<std::string> names = {"Windows", "ActiveX", "Variants"};
  FoldedNameSet seen;
  for (const std::string& name : names) seen.Insert(name);
  for (const UsedLibrary& library : used) {
    if (!library.unit.empty() && seen.Insert(library.unit)) names.push_back(library.unit);
  }
  std::vector<std::string> lines;
  std::string line = "  ";
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string piece = names[i] + (i + 1 == names.size() ? ";" : ",");
    if (line.size() > 2 && line.size() + 1 + piece.size() > kWidth) {
      lines.push_back(std::move(line));
      line = "  ";
    }
    if (line.size() > 2) line += ' ';
    line += piece;
  }
  lines.push_back(std::move(line));
  return lines;
}

}  // namespace quenlor::generator
