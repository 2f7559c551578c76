// Node operations composed of the port's others.
#include "base/error.h"
#include "xml/dom.h"

namespace quenlor::dom {

bool IsPlainAsciiName(std::string_view name) {
  if (name.empty()) return false;
  auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (!letter(name.front())) return false;
  for (const char c : name) {
    if (!(letter(c) || (c >= '0' && c <= '9') || c == '-' || c == '.')) return false;
  }
  return true;
}

bool AttributeGetText(Node& node, std::string_view name, std::string& value) {
  const NamedNodeMapPtr map = node.Attributes();
  if (!map) return false;
  const NodePtr found = map->GetNamedItem(name);
  if (!found) return false;
  value = found->Text();
  return true;
}

bool SelectedText(Node& node, std::string_view step, std::string& text) {
  const NodePtr found = node.SelectSingleNode(step);
  if (!found) return false;
  text = found->Text();
  return true;
}

void AttributeSetText(Node& node, std::string_view name, std::string_view value) {
  const NamedNodeMapPtr map = node.Attributes();
  if (!map) Fail(kSafecallException);
  NodePtr attribute = map->GetNamedItem(name);
  if (!attribute) {
    const DocumentPtr owner = node.OwnerDocument();
    if (!owner) Fail(kSafecallException);
    attribute = owner->CreateAttribute(name);
    map->SetNamedItem(attribute);
  }
  attribute->SetText(value);
}

}  // namespace quenlor::dom
