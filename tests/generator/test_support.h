// Small descriptions from XML text, and the unit text split back into lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "generator/import_unit.h"
#include "xml/xml_objects.h"

namespace quenlor::generator::testing {

inline xml::DocumentPtr Description(std::string_view text) {
  xml::DocumentPtr document = xml::CreateDocument();
  document->SetXml(text);
  return document;
}

// The lines of a unit; every line must end in CR LF, the last one included.
inline std::vector<std::string> SplitLines(const std::string& unit) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < unit.size()) {
    const std::size_t end = unit.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back("<no CR LF>" + unit.substr(start));
      break;
    }
    lines.push_back(unit.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// The lines between the 11 header lines and the closing blank, "implementation", blank,
// "end." of a unit.
inline std::vector<std::string> Body(const std::string& unit) {
  std::vector<std::string> lines = SplitLines(unit);
  if (lines.size() < 15) return {"<too short>"};
  return {lines.begin() + 11, lines.end() - 4};
}

inline std::vector<std::string> UnitBody(std::string_view description) {
  return Body(BuildImportUnit(Description(description)));
}

}  // namespace quenlor::generator::testing
