// How the generator reads the description: every value through the XML layer's typed
// reads, so that a missing value reads as empty (and, forced, is created empty).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "xml/xml_objects.h"

namespace quenlor::generator::detail {

// An attribute, trimmed; a missing one is created empty.
inline std::string Attr(const xml::NodePtr& node, std::string_view name) {
  return node->Attributes()->Values()->ReadString(name, "", true);
}

// The text of a child element, trimmed; a missing one is created empty.
inline std::string ChildText(const xml::NodePtr& node, std::string_view name) {
  return node->Values()->ReadString(name, "", true);
}

// The `ref` attribute as a Boolean, false when missing; nothing is created.
inline bool RefAttr(const xml::NodePtr& node) {
  return node->Attributes()->Values()->ReadBool("ref", false, false);
}

// The element children of a node, in document order. Text and comment nodes (which a
// description read back from text may hold) have no attribute list and are passed over.
std::vector<xml::NodePtr> ElementChildren(const xml::NodePtr& node);

// The element children of the child element `name`, or nothing when there is none.
std::vector<xml::NodePtr> ChildItems(const xml::NodePtr& node, std::string_view name);

// The number of characters of a UTF-8 text, as the 80-column rule counts them.
std::size_t CharCount(std::string_view text);

}  // namespace quenlor::generator::detail
