// The DOM port: what the document layer asks of an XML DOM, and nothing more. Two adapters
// implement it: MSXML through COM on Windows, libxml2 (with libxslt) elsewhere.
//
// Every object handed out is reference-counted and keeps what it stands for alive: a node
// removed from its tree stays usable (and is freed) with its last reference. A call that the
// DOM reports as a failure (a negative status) raises quenlor::Error with the message
// "Exception in safecall method"; a lookup that finds nothing is not a failure and yields a
// null pointer or an empty list.
//
// Text is UTF-8. The text form (`Xml`) is the same on both adapters: elements without
// content as <name/>, markup characters escaped, the top-level nodes of a document each
// followed by CR LF, and, inside elements whose children were separated by white space in
// the parsed text, every child on its own line after one tab per level.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace quenlor::dom {

class Node;
class Document;
class NodeList;
class NamedNodeMap;

using NodePtr = std::shared_ptr<Node>;
using DocumentPtr = std::shared_ptr<Document>;
using NodeListPtr = std::shared_ptr<NodeList>;
using NamedNodeMapPtr = std::shared_ptr<NamedNodeMap>;

enum NodeType : int {
  kElementNode = 1,
  kAttributeNode = 2,
  kTextNode = 3,
  kCDataNode = 4,
  kEntityReferenceNode = 5,
  kEntityNode = 6,
  kProcessingInstructionNode = 7,
  kCommentNode = 8,
  kDocumentNode = 9,
  kDocumentTypeNode = 10,
  kDocumentFragmentNode = 11,
  kNotationNode = 12,
};

// The base of everything an adapter hands out; the layer's `Instance`.
class Object {
 public:
  virtual ~Object() = default;
};

class Node : public Object {
 public:
  virtual std::string NodeName() = 0;
  virtual std::string NodeValue() = 0;
  virtual void SetNodeValue(std::string_view value) = 0;
  virtual int NodeType() = 0;
  virtual NodePtr ParentNode() = 0;
  virtual NodePtr FirstChild() = 0;
  virtual NodePtr LastChild() = 0;
  // Live: reflects every later change of the children.
  virtual NodeListPtr ChildNodes() = 0;
  // Null for nodes other than elements.
  virtual NamedNodeMapPtr Attributes() = 0;
  // A null reference node appends. A node already in a tree moves. Returns the new child.
  virtual NodePtr InsertBefore(const NodePtr& new_child, const NodePtr& reference) = 0;
  // Returns the old child, which leaves the tree.
  virtual NodePtr ReplaceChild(const NodePtr& new_child, const NodePtr& old_child) = 0;
  virtual NodePtr RemoveChild(const NodePtr& old_child) = 0;
  virtual NodePtr AppendChild(const NodePtr& new_child) = 0;
  virtual DocumentPtr OwnerDocument() = 0;
  virtual NodePtr CloneNode(bool deep) = 0;
  // The text of the node and its descendants; setting it makes that one text the content.
  virtual std::string Text() = 0;
  virtual void SetText(std::string_view text) = 0;
  virtual std::string Xml() = 0;
  // Applies the XSL style sheet (a document or its stylesheet element) to this node.
  virtual std::string TransformNode(const NodePtr& style_sheet) = 0;
  // XPath 1.0 with this node as context node; results in document order.
  virtual NodeListPtr SelectNodes(std::string_view xpath) = 0;
  virtual NodePtr SelectSingleNode(std::string_view xpath) = 0;
  // An element's attribute by name without an attribute object: the text of the attribute,
  // or false when there is none (always false on other nodes). Setting gives the attribute
  // that one text, creating it (last) when missing. Both act as the attribute map's
  // operations would (AttributeGetText and AttributeSetText below are exactly that).
  virtual bool GetAttribute(std::string_view name, std::string& value) = 0;
  virtual void SetAttribute(std::string_view name, std::string_view value) = 0;
  // The text of the first node that the path `step` (one step, no "/") selects, as
  // SelectSingleNode(step)'s Text gives it, or false when it selects nothing
  // (SelectedText below).
  virtual bool GetSelectedText(std::string_view step, std::string& text) = 0;
};

class Document : public Node {
 public:
  virtual NodePtr CreateProcessingInstruction(std::string_view target, std::string_view data) = 0;
  virtual NodePtr CreateAttribute(std::string_view name) = 0;
  // A new element, in no namespace; a name that is not a valid XML name fails.
  virtual NodePtr CreateElement(std::string_view name) = 0;
  // Replace the content. Text that does not parse leaves the document empty; the result says
  // whether it parsed.
  virtual bool Load(const std::string& file_name) = 0;
  virtual bool LoadXml(std::string_view text) = 0;
  // Writes the document as UTF-8 XML text (its declaration saying so), whole or not at all.
  virtual void Save(const std::string& file_name) = 0;
};

class NodeList : public Object {
 public:
  // Null outside the list.
  virtual NodePtr Item(int index) = 0;
  virtual int Length() = 0;
};

class NamedNodeMap : public Object {
 public:
  virtual NodePtr GetNamedItem(std::string_view name) = 0;
  // Replaces an attribute of the same name; returns the attribute set.
  virtual NodePtr SetNamedItem(const NodePtr& attribute) = 0;
  virtual NodePtr RemoveNamedItem(std::string_view name) = 0;
  virtual NodePtr Item(int index) = 0;
  virtual int Length() = 0;
};

// Letters, digits, '_', '-' and '.', not starting with a digit, '-' or '.': a name
// whatever the rest of the rules say, and all the names the program itself writes. As a
// path, such a name is the one step child::name.
bool IsPlainAsciiName(std::string_view name);

// Node's attribute and selected-text operations composed of the others, for adapters whose
// DOM has nothing quicker.
bool AttributeGetText(Node& node, std::string_view name, std::string& value);
void AttributeSetText(Node& node, std::string_view name, std::string_view value);
bool SelectedText(Node& node, std::string_view step, std::string& text);

// A new, empty document of the platform's DOM. Raises "com call failed" when none can be made.
DocumentPtr CreateDomDocument();

// The text written by Save: Xml with its XML declaration (added when missing) saying UTF-8.
std::string WithUtf8Declaration(std::string_view xml);

}  // namespace quenlor::dom
