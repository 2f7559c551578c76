// The display layout of an XML text: one tag per line, two blanks per nesting level.
#include "xml/xml_format.h"

#include "xml/xml_objects.h"

namespace quenlor::xml {

std::string FormatXmlThroughDom(std::string_view text) {
  const std::string split = ReplaceText(text, "><", ">\r\n<", false);
  auto document = CreateDocument();
  document->SetXml(split);
  return ReplaceText(document->GetXml(), "\t", "  ", false);
}

// Descriptions run to megabytes of plain XML, which the DOM takes a quarter of a second to
// read and write again (seconds under MSXML); they are laid out directly.
std::string FormatXml(std::string_view text) {
  if (std::optional<std::string> plain = FormatPlainXml(text)) return std::move(*plain);
  return FormatXmlThroughDom(text);
}

}  // namespace quenlor::xml
