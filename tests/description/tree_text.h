// A compact, order-preserving text of an element tree, so a test states a whole expected
// description in one line: name[attr=value,...](child child) or name:text for leaves.
#pragma once

#include <string>
#include <vector>

#include "xml/xml_objects.h"

namespace quenlor::description::testing {

inline std::string TreeText(const xml::NodePtr& node) {
  std::string text = node->Name();
  const xml::AttributesPtr attributes = node->Attributes();
  const int attribute_count = attributes->Count();
  if (attribute_count > 0) {
    text += "[";
    for (int i = 0; i < attribute_count; ++i) {
      const xml::AttributePtr attribute = attributes->GetAttribute(i);
      if (i > 0) text += ",";
      text += attribute->Name() + "=" + attribute->GetText();
    }
    text += "]";
  }
  // Child lists hold text nodes too; they are the ones without attributes.
  std::vector<xml::NodePtr> elements;
  const xml::NodesPtr children = node->Nodes();
  for (int i = 0, count = children->Count(); i < count; ++i) {
    xml::NodePtr child = children->GetNode(i);
    if (child->Attributes()) elements.push_back(std::move(child));
  }
  if (!elements.empty()) {
    text += "(";
    for (std::size_t i = 0; i < elements.size(); ++i) {
      if (i > 0) text += " ";
      text += TreeText(elements[i]);
    }
    text += ")";
  } else {
    const std::string value = node->GetText();
    if (!value.empty()) text += ":" + value;
  }
  return text;
}

}  // namespace quenlor::description::testing
