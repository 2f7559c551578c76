// The XML document layer's interfaces: the only way the program reads and writes XML.
// Documents, node lists, nodes, attribute lists and attributes are reference-counted
// (std::shared_ptr); a wrapper keeps its DOM object alive, so a node removed from its tree
// stays usable while anything refers to it. Text is UTF-8.
//
// Failures raise quenlor::Error with the layer's messages: "com call failed" (no DOM document
// can be made), "Exception in safecall method" (a DOM call fails: invalid names, empty path
// steps, invalid XPath, a node that is not a child of the list's parent) and
// "Interface not supported" (an argument whose Instance is not a DOM node of this layer).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/variant.h"

namespace quenlor::dom {
class Object;  // what a DOM adapter hands out; see xml/dom.h
}

namespace quenlor::xml {

class IDocument;
class INodes;
class INode;
class IAttributes;
class IAttribute;
class INamedValues;

using DocumentPtr = std::shared_ptr<IDocument>;
using NodesPtr = std::shared_ptr<INodes>;
using NodePtr = std::shared_ptr<INode>;
using AttributesPtr = std::shared_ptr<IAttributes>;
using AttributePtr = std::shared_ptr<IAttribute>;
using NamedValuesPtr = std::shared_ptr<INamedValues>;

// Days since 1899-12-30 00:00, the fraction being the time of day.
using DateTime = double;

// A byte stream in the shape the binary values need: Read before Write, each moving up to
// count bytes and reporting how many moved.
class IStream {
 public:
  virtual ~IStream() = default;
  virtual std::size_t Read(void* buffer, std::size_t count) = 0;
  virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
};

class IDocumentInterface {
 public:
  virtual ~IDocumentInterface() = default;
  // The DOM object behind the wrapper: the document, node list, node or attribute map.
  virtual std::shared_ptr<dom::Object> Instance() const = 0;
};

class ITextInterface : public IDocumentInterface {
 public:
  virtual std::string GetXml() = 0;
  // On a document: parses Text and replaces the whole content (ill-formed text leaves the
  // document empty, without error). On an element or attribute: does nothing.
  virtual void SetXml(std::string_view text) = 0;
};

class IDocument : public ITextInterface {
 public:
  virtual NodesPtr Nodes() = 0;
  virtual NodePtr GetRoot() = 0;
  virtual void SetRoot(const NodePtr& node) = 0;
  virtual std::string GetStyleSheet() = 0;
  virtual void SetStyleSheet(std::string_view href) = 0;
  virtual NodePtr CreateNode(std::string_view name) = 0;
  virtual NodePtr ForceRoot(std::string_view name) = 0;
  virtual void SetInstruction(std::string_view target, std::string_view data) = 0;
  virtual void LoadFromFile(const std::string& file_name) = 0;
  // Writes the document as UTF-8 XML text, whole or not at all.
  virtual void SaveToFile(const std::string& file_name) = 0;
  virtual std::string Transform(const std::shared_ptr<IDocumentInterface>& style_sheet) = 0;
};

class INodes : public IDocumentInterface {
 public:
  virtual int Count() = 0;
  virtual void SetNode(int index, const NodePtr& node) = 0;
  virtual NodePtr GetNode(int index) = 0;
  virtual NodePtr Add(std::string_view path) = 0;
  virtual void AddNode(const NodePtr& node) = 0;
  virtual void Clear() = 0;
  virtual void Delete(int index) = 0;
  virtual void Insert(int index, const NodePtr& node) = 0;
  virtual void Move(int index, int before_index) = 0;
  virtual void Remove(const NodePtr& node) = 0;
  virtual void Replace(const NodePtr& old_node, const NodePtr& new_node) = 0;
};

class IElement : public ITextInterface {
 public:
  virtual DocumentPtr Document() = 0;
  virtual NodePtr Parent() = 0;
  virtual std::string Name() = 0;
  virtual std::string GetText() = 0;
  virtual void SetText(std::string_view value) = 0;
};

class INode : public IElement {
 public:
  // Made on the first request and kept: the same wrapper answers the same object.
  virtual AttributesPtr Attributes() = 0;
  virtual NamedValuesPtr Values() = 0;
  virtual NodesPtr Nodes() = 0;
  virtual NodePtr Clone(bool deep) = 0;
  virtual AttributePtr FindAttribute(std::string_view name) = 0;
  virtual NodePtr FindNode(std::string_view xpath) = 0;
  virtual NodesPtr FindNodes(std::string_view xpath) = 0;
  virtual NodePtr ForceNode(std::string_view path) = 0;
};

class IAttributes : public IDocumentInterface {
 public:
  virtual int Count() = 0;
  virtual NamedValuesPtr Values() = 0;
  virtual AttributePtr ForceAttribute(std::string_view name) = 0;
  virtual AttributePtr GetAttribute(int index) = 0;
  virtual AttributePtr Add(std::string_view name) = 0;
  virtual void Clear() = 0;
  virtual void Remove(const AttributePtr& attribute) = 0;
};

class IAttribute : public IElement {};

// Typed values by name: through INode::Values a name is the path of a descendant element and
// the value its text; through IAttributes::Values a name is an attribute name.
class INamedValues {
 public:
  virtual ~INamedValues() = default;
  virtual void ReadBinary(std::string_view name, IStream& stream) = 0;
  virtual void WriteBinary(std::string_view name, IStream& stream) = 0;
  virtual bool ReadBool(std::string_view name, bool default_value, bool force) = 0;
  virtual void WriteBool(std::string_view name, bool value) = 0;
  virtual DateTime ReadDate(std::string_view name, DateTime default_value, bool force) = 0;
  virtual void WriteDate(std::string_view name, DateTime value) = 0;
  virtual DateTime ReadDateTime(std::string_view name, DateTime default_value, bool force) = 0;
  virtual void WriteDateTime(std::string_view name, DateTime value) = 0;
  virtual DateTime ReadTime(std::string_view name, DateTime default_value, bool force) = 0;
  virtual void WriteTime(std::string_view name, DateTime value) = 0;
  virtual double ReadFloat(std::string_view name, double default_value, bool force) = 0;
  virtual void WriteFloat(std::string_view name, double value) = 0;
  virtual std::int32_t ReadInteger(std::string_view name, std::int32_t default_value, bool force) = 0;
  virtual void WriteInteger(std::string_view name, std::int32_t value) = 0;
  virtual std::string ReadString(std::string_view name, std::string_view default_value, bool force) = 0;
  virtual void WriteString(std::string_view name, std::string_view value) = 0;
  virtual Variant ReadVariant(std::string_view name) = 0;
  virtual void WriteVariant(std::string_view name, const Variant& value) = 0;
};

// A new, empty document over the platform's DOM.
DocumentPtr CreateDocument();

// The display layout of an XML text: one tag per line, two blanks per level, CR LF.
// Text that does not parse gives the empty text.
std::string FormatXml(std::string_view text);

// Source with every occurrence of Pattern replaced by Replacement, left to right, without
// overlaps; without match_case, ASCII letters compare without regard to case.
std::string ReplaceText(std::string_view source, std::string_view pattern, std::string_view replacement,
                        bool match_case);

// An XPath 1.0 string literal that stands for Value whatever characters it holds, for path
// queries built from names (a name holding both quote characters becomes a concat() call).
std::string XPathLiteral(std::string_view value);

}  // namespace quenlor::xml
