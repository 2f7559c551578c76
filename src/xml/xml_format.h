// The two ways to the display layout of FormatXml. Inside the XML layer, its tests, fuzz
// target and benchmark; the rest of the program calls FormatXml.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quenlor::xml {

// The layout by its definition: the text, split between adjacent tags, parsed into a DOM
// document and written out again. Takes any XML the DOM reads, and its time.
std::string FormatXmlThroughDom(std::string_view text);

// The same layout written straight from the text, for plain XML: an optional leading
// declaration, elements, attributes, text, character references and the predefined
// entities, ASCII names without prefixes. The empty text when the text is plainly not
// well-formed (no root, an element left open, end tags that do not match, an attribute given
// twice, "<" in an attribute value); nothing when the text holds anything else or anything
// on which DOMs may differ, which is then the DOM's to lay out.
std::optional<std::string> FormatPlainXml(std::string_view text);

}  // namespace quenlor::xml
