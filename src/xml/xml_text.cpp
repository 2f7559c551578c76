#include <string>

#include "xml/dom.h"

namespace quenlor::dom {

std::string WithUtf8Declaration(std::string_view xml) {
  static constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
  std::string out(kDeclaration);
  if (xml.starts_with("<?xml") && xml.size() > 5 &&
      (xml[5] == ' ' || xml[5] == '\t' || xml[5] == '\r' || xml[5] == '\n' || xml[5] == '?')) {
    const size_t end = xml.find("?>");
    const std::string_view old = xml.substr(0, end == std::string_view::npos ? xml.size() : end + 2);
    if (old.find("standalone=\"yes\"") != std::string_view::npos) {
      out.insert(out.size() - 2, " standalone=\"yes\"");
    }
    out.append(xml.substr(old.size()));
    return out;
  }
  out += "\r\n";
  out.append(xml);
  return out;
}

}  // namespace quenlor::dom
