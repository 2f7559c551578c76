// A compact, order-preserving text of an element tree, so a test states a whole expected
// description in one line: name[attr=value,...](child child) or name:text for leaves.
#pragma once

#include <string>

#include "xml/xml_objects.h"

namespace quenlor::typelib::testing {

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
  const xml::NodesPtr children = node->Nodes();
  const int child_count = children->Count();
  if (child_count > 0) {
    text += "(";
    for (int i = 0; i < child_count; ++i) {
      if (i > 0) text += " ";
      text += TreeText(children->GetNode(i));
    }
    text += ")";
  } else {
    const std::string value = node->GetText();
    if (!value.empty()) text += ":" + value;
  }
  return text;
}

}  // namespace quenlor::typelib::testing
