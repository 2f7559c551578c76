// The display layout of an XML text: one tag per line, two blanks per nesting level.
#include <string>

#include "xml/xml_objects.h"

namespace quenlor::xml {

std::string FormatXml(std::string_view text) {
  const std::string split = ReplaceText(text, "><", ">\r\n<", false);
  auto document = CreateDocument();
  document->SetXml(split);
  return ReplaceText(document->GetXml(), "\t", "  ", false);
}

}  // namespace quenlor::xml
