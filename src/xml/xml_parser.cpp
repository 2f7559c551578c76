// The document layer's wrapper classes over the DOM port: TDocument, TNodes, TElement,
// TNode, TAttributes and TAttribute. Each operation is a thin translation into DOM calls;
// the wrappers hold DOM references only, never XML data of their own. Nothing is undone when
// a DOM call fails part-way: earlier changes of the same operation stay in the tree.
#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "base/error.h"
#include "base/text.h"
#include "xml/dom.h"
#include "xml/xml_objects.h"
#include "xml/xml_values.h"

namespace quenlor::xml {

namespace {

constexpr int kElementType = dom::kElementNode;
constexpr int kInstructionType = dom::kProcessingInstructionNode;
constexpr const char* kDeclarationData = "version=\"1.0\" encoding=\"ISO-8859-1\"";
constexpr const char* kStyleSheetTarget = "xml-stylesheet";

// The DOM node behind a wrapper given as an argument. A missing argument is what the DOM
// refuses as an invalid argument; an object that is not a DOM node is not supported.
dom::NodePtr DomNode(const IDocumentInterface* wrapper) {
  if (!wrapper) Fail(kSafecallException);
  auto node = std::dynamic_pointer_cast<dom::Node>(wrapper->Instance());
  if (!node) Fail(kInterfaceNotSupported);
  return node;
}

dom::NodePtr Required(dom::NodePtr node) {
  if (!node) Fail(kSafecallException);
  return node;
}

// Calls f with each of a path's steps: split at "/", a trailing "/" ending the last step
// rather than starting an empty one, the empty path being one (empty) step.
template <class F>
void ForEachStep(std::string_view path, F&& f) {
  size_t start = 0;
  bool any = false;
  for (;;) {
    const size_t slash = path.find('/', start);
    if (slash == std::string_view::npos) {
      if (start < path.size() || !any) f(path.substr(start));
      return;
    }
    f(path.substr(start, slash - start));
    any = true;
    start = slash + 1;
  }
}

dom::DocumentPtr OwnerOf(const dom::NodePtr& node) {
  auto owner = node->OwnerDocument();
  if (!owner) Fail(kSafecallException);
  return owner;
}

// The document that makes new children of node: node itself when it is the document.
dom::DocumentPtr CreatingDocument(const dom::NodePtr& node) {
  if (node->NodeType() == dom::kDocumentNode) {
    if (auto document = std::dynamic_pointer_cast<dom::Document>(node)) return document;
  }
  return OwnerOf(node);
}

class TDocument;
class TNode;
class TAttribute;

NodePtr WrapNode(dom::NodePtr node);
AttributePtr WrapAttribute(dom::NodePtr node);

// Typed values over a locator of elements or attributes by name.
class TNamedValues : public INamedValues {
 public:
  void ReadBinary(std::string_view name, IStream& stream) override {
    if (!HoldsElements()) return;
    std::string text;
    ReadText(name, true, text);
    if (text.size() < 2) return;
    std::vector<unsigned char> bytes(text.size() / 2);
    // A character that is not a hexadecimal digit counts as 0.
    auto digit = [&](size_t k) { return static_cast<unsigned>(std::max(HexDigitValue(text[k]), 0)); };
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(digit(2 * i) << 4 | digit(2 * i + 1));
    stream.Write(bytes.data(), bytes.size());
  }

  void WriteBinary(std::string_view name, IStream& stream) override {
    if (!HoldsElements()) return;
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    std::array<unsigned char, 256> chunk{};
    for (;;) {
      const size_t count = stream.Read(chunk.data(), chunk.size());
      for (size_t i = 0; i < count && i < chunk.size(); ++i) {
        text += kDigits[chunk[i] >> 4];
        text += kDigits[chunk[i] & 15];
      }
      if (count < chunk.size()) break;
    }
    WriteText(name, text);
  }

  bool ReadBool(std::string_view name, bool default_value, bool force) override {
    std::string raw;
    if (!ReadText(name, force, raw)) return default_value;
    const std::string text = AsciiUpper(TrimBlanks(raw));
    bool result = default_value;
    if (text == "1" || text == "Y" || text == "YES" || text == "TRUE") {
      result = true;
    } else if (text == "N" || text == "NO" || text == "FALSE") {
      result = false;
    }
    if (force) WriteText(name, result ? "true" : "false");
    return result;
  }
  void WriteBool(std::string_view name, bool value) override { WriteText(name, value ? "true" : "false"); }

  DateTime ReadDate(std::string_view name, DateTime default_value, bool force) override {
    return Read(name, default_value, force, values::ParseDate, values::FormatDate);
  }
  void WriteDate(std::string_view name, DateTime value) override { WriteText(name, values::FormatDate(value)); }

  DateTime ReadDateTime(std::string_view name, DateTime default_value, bool force) override {
    return Read(name, default_value, force, values::ParseDateTime, values::FormatDateTime);
  }
  void WriteDateTime(std::string_view name, DateTime value) override {
    WriteText(name, values::FormatDateTime(value));
  }

  DateTime ReadTime(std::string_view name, DateTime default_value, bool force) override {
    return Read(name, default_value, force, values::ParseTime, values::FormatTime);
  }
  void WriteTime(std::string_view name, DateTime value) override { WriteText(name, values::FormatTime(value)); }

  double ReadFloat(std::string_view name, double default_value, bool force) override {
    return Read(name, default_value, force, values::ParseFloat, values::FormatFloat);
  }
  void WriteFloat(std::string_view name, double value) override { WriteText(name, values::FormatFloat(value)); }

  std::int32_t ReadInteger(std::string_view name, std::int32_t default_value, bool force) override {
    return Read(name, default_value, force, values::ParseInteger,
                [](std::int32_t v) { return std::to_string(v); });
  }
  void WriteInteger(std::string_view name, std::int32_t value) override {
    WriteText(name, std::to_string(value));
  }

  std::string ReadString(std::string_view name, std::string_view default_value, bool force) override {
    std::string raw;
    if (!ReadText(name, force, raw)) return std::string(default_value);
    const std::string_view text = TrimBlanks(raw);
    if (!text.empty()) return text.size() == raw.size() ? raw : std::string(text);
    if (force) WriteText(name, default_value);
    return std::string(default_value);
  }
  void WriteString(std::string_view name, std::string_view value) override { WriteText(name, value); }

  Variant ReadVariant(std::string_view name) override {
    std::string text;
    ReadText(name, true, text);
    return Variant::String(HoldsElements() ? text : std::string(TrimBlanks(text)));
  }
  void WriteVariant(std::string_view name, const Variant& value) override {
    WriteText(name, values::VariantText(value));
  }

 protected:
  // The element or attribute holding the value; created (empty) when missing and force is set.
  virtual std::shared_ptr<IElement> Locate(std::string_view name, bool force) = 0;
  virtual bool HoldsElements() const = 0;

  // The text of the value, as Locate then GetText give it; false when it is missing and not
  // forced. Attributes answer without making objects for them.
  virtual bool ReadText(std::string_view name, bool force, std::string& text) {
    auto element = Locate(name, force);
    if (!element) return false;
    text = element->GetText();
    return true;
  }
  virtual void WriteText(std::string_view name, std::string_view text) { Locate(name, true)->SetText(text); }

 private:
  template <class T, class Parse, class Format>
  T Read(std::string_view name, T default_value, bool force, Parse parse, Format format) {
    std::string text;
    if (!ReadText(name, force, text)) return default_value;
    T value{};
    if (!parse(text, value)) value = default_value;
    if (force) WriteText(name, format(value));
    return value;
  }
};

class TNodes final : public INodes {
 public:
  // Without a list, the parent's child list is fetched when first needed: most collections
  // only ever have children added.
  TNodes(dom::NodePtr parent, dom::NodeListPtr list) : parent_(std::move(parent)), list_(std::move(list)) {}

  std::shared_ptr<dom::Object> Instance() const override { return List(); }
  int Count() override { return List()->Length(); }

  void SetNode(int index, const NodePtr& node) override {
    auto new_child = DomNode(node.get());
    parent_->ReplaceChild(new_child, Required(List()->Item(index)));
  }

  NodePtr GetNode(int index) override { return WrapNode(List()->Item(index)); }

  NodePtr Add(std::string_view path) override {
    const dom::DocumentPtr& document = Document();
    dom::NodePtr current = parent_;
    ForEachStep(path, [&](std::string_view step) {
      auto element = document->CreateElement(step);
      current->AppendChild(element);
      current = std::move(element);
    });
    return WrapNode(current);
  }

  void AddNode(const NodePtr& node) override { parent_->AppendChild(DomNode(node.get())); }

  void Clear() override {
    for (int i = List()->Length() - 1; i >= 0; --i) parent_->RemoveChild(Required(List()->Item(i)));
  }

  void Delete(int index) override { parent_->RemoveChild(Required(List()->Item(index))); }

  void Insert(int index, const NodePtr& node) override {
    if (index < List()->Length()) {
      auto new_child = DomNode(node.get());
      parent_->InsertBefore(new_child, Required(List()->Item(index)));
    } else {
      parent_->AppendChild(DomNode(node.get()));
    }
  }

  void Move(int index, int before_index) override {
    auto item = Required(List()->Item(index));
    parent_->InsertBefore(item, List()->Item(before_index));
  }

  void Remove(const NodePtr& node) override { parent_->RemoveChild(DomNode(node.get())); }

  void Replace(const NodePtr& old_node, const NodePtr& new_node) override {
    auto new_child = DomNode(new_node.get());
    parent_->ReplaceChild(new_child, DomNode(old_node.get()));
  }

 private:
  const dom::NodeListPtr& List() const {
    if (!list_) list_ = parent_->ChildNodes();
    return list_;
  }

  // Asked once: a collection is mostly filled by one Add after another, and a node's
  // document never changes.
  const dom::DocumentPtr& Document() {
    if (!document_) document_ = CreatingDocument(parent_);
    return document_;
  }

  dom::NodePtr parent_;
  mutable dom::NodeListPtr list_;
  dom::DocumentPtr document_;
};

template <class Interface>
class TElement : public Interface {
 public:
  explicit TElement(dom::NodePtr node) : node_(std::move(node)) {}

  std::shared_ptr<dom::Object> Instance() const override { return node_; }
  std::string GetXml() override { return node_->Xml(); }
  void SetXml(std::string_view) override {}
  DocumentPtr Document() override;
  NodePtr Parent() override { return WrapNode(node_->ParentNode()); }
  std::string Name() override { return node_->NodeName(); }
  std::string GetText() override { return node_->Text(); }
  void SetText(std::string_view value) override { node_->SetText(value); }

 protected:
  dom::NodePtr node_;
};

class TAttribute final : public TElement<IAttribute> {
 public:
  using TElement<IAttribute>::TElement;
};

// Lives inside the node wrapper it belongs to (one allocation for both, as nearly every
// element read or written is asked for its attributes) and shares that wrapper's lifetime.
class TAttributes final : public IAttributes, public TNamedValues {
 public:
  TAttributes(TNode& wrapper, dom::NodePtr owner, dom::NamedNodeMapPtr map)
      : wrapper_(wrapper), owner_(std::move(owner)), map_(std::move(map)) {}

  std::shared_ptr<dom::Object> Instance() const override { return Map(); }
  int Count() override { return Map()->Length(); }
  NamedValuesPtr Values() override;

  AttributePtr ForceAttribute(std::string_view name) override {
    if (auto found = Map()->GetNamedItem(name)) return Attribute(found);
    auto created = OwnerOf(owner_)->CreateAttribute(name);
    Map()->SetNamedItem(created);
    return Attribute(created);
  }

  AttributePtr GetAttribute(int index) override { return WrapAttribute(Map()->Item(index)); }

  AttributePtr Add(std::string_view name) override {
    auto created = OwnerOf(owner_)->CreateAttribute(name);
    return WrapAttribute(Map()->SetNamedItem(created));
  }

  void Clear() override {
    for (int i = Map()->Length() - 1; i >= 0; --i) {
      Map()->RemoveNamedItem(Required(Map()->Item(i))->NodeName());
    }
  }

  void Remove(const AttributePtr& attribute) override {
    if (!attribute) Fail(kSafecallException);
    Map()->RemoveNamedItem(attribute->Name());
  }

 protected:
  std::shared_ptr<IElement> Locate(std::string_view name, bool force) override {
    if (force) return ForceAttribute(name);
    return WrapAttribute(Map()->GetNamedItem(name));
  }
  bool HoldsElements() const override { return false; }

  bool ReadText(std::string_view name, bool force, std::string& text) override {
    if (owner_->GetAttribute(name, text)) return true;
    if (!force) return false;
    owner_->SetAttribute(name, "");
    text.clear();
    return true;
  }
  void WriteText(std::string_view name, std::string_view text) override { owner_->SetAttribute(name, text); }

 private:
  static AttributePtr Attribute(const dom::NodePtr& node) {
    if (node->NodeType() != dom::kAttributeNode) Fail(kInterfaceNotSupported);
    return WrapAttribute(node);
  }

  // Values are read and written through the element itself; the attribute map is fetched
  // only for the operations that need it.
  const dom::NamedNodeMapPtr& Map() const {
    if (!map_) {
      map_ = owner_->Attributes();
      if (!map_) Fail(kSafecallException);
    }
    return map_;
  }

  TNode& wrapper_;
  dom::NodePtr owner_;
  mutable dom::NamedNodeMapPtr map_;
};

class TNode final : public TElement<INode>, public TNamedValues, public std::enable_shared_from_this<TNode> {
 public:
  using TElement<INode>::TElement;

  AttributesPtr Attributes() override {
    if (!attributes_) {
      if (node_->NodeType() == dom::kElementNode) {
        attributes_.emplace(*this, node_, nullptr);
      } else if (auto map = node_->Attributes()) {
        attributes_.emplace(*this, node_, std::move(map));
      } else {
        return nullptr;
      }
    }
    return AttributesPtr(shared_from_this(), &*attributes_);
  }

  NamedValuesPtr Values() override { return NamedValuesPtr(shared_from_this(), static_cast<INamedValues*>(this)); }

  NodesPtr Nodes() override {
    if (!nodes_) nodes_ = std::make_shared<TNodes>(node_, nullptr);
    return nodes_;
  }

  NodePtr Clone(bool deep) override { return WrapNode(node_->CloneNode(deep)); }

  AttributePtr FindAttribute(std::string_view name) override {
    auto map = node_->Attributes();
    return map ? WrapAttribute(map->GetNamedItem(name)) : nullptr;
  }

  NodePtr FindNode(std::string_view xpath) override { return WrapNode(node_->SelectSingleNode(xpath)); }

  NodesPtr FindNodes(std::string_view xpath) override {
    return std::make_shared<TNodes>(node_, node_->SelectNodes(xpath));
  }

  NodePtr ForceNode(std::string_view path) override {
    auto document = CreatingDocument(node_);
    dom::NodePtr current = node_;
    ForEachStep(path, [&](std::string_view step) {
      auto found = current->SelectSingleNode(step);
      if (!found) {
        found = document->CreateElement(step);
        current->AppendChild(found);
      }
      current = std::move(found);
    });
    return WrapNode(current);
  }

 protected:
  std::shared_ptr<IElement> Locate(std::string_view name, bool force) override {
    return force ? ForceNode(name) : FindNode(name);
  }
  bool HoldsElements() const override { return true; }

  // A value that exists is read and written on the node the query finds, without a wrapper
  // for it; creating a missing one is ForceNode's business.
  bool ReadText(std::string_view name, bool force, std::string& text) override {
    if (name.find('/') == std::string_view::npos) {
      if (node_->GetSelectedText(name, text)) return true;
      if (!force) return false;
    }
    return TNamedValues::ReadText(name, force, text);
  }
  void WriteText(std::string_view name, std::string_view text) override {
    if (name.find('/') == std::string_view::npos) {
      if (auto found = node_->SelectSingleNode(name)) return found->SetText(text);
      // What ForceNode does for a one-step path that finds nothing, without asking again.
      auto element = CreatingDocument(node_)->CreateElement(name);
      node_->AppendChild(element);
      return element->SetText(text);
    }
    TNamedValues::WriteText(name, text);
  }

 private:
  std::optional<TAttributes> attributes_;
  NodesPtr nodes_;
};

NamedValuesPtr TAttributes::Values() {
  return NamedValuesPtr(wrapper_.shared_from_this(), static_cast<INamedValues*>(this));
}

class TDocument final : public IDocument {
 public:
  explicit TDocument(dom::DocumentPtr document) : document_(std::move(document)) {}

  std::shared_ptr<dom::Object> Instance() const override { return document_; }
  std::string GetXml() override { return document_->Xml(); }
  void SetXml(std::string_view text) override { document_->LoadXml(text); }

  NodesPtr Nodes() override { return std::make_shared<TNodes>(document_, document_->ChildNodes()); }

  NodePtr GetRoot() override {
    auto last = document_->LastChild();
    if (last && last->NodeType() == kElementType) return WrapNode(last);
    return nullptr;
  }

  void SetRoot(const NodePtr& node) override {
    auto last = document_->LastChild();
    if (last && last->NodeType() == kElementType) document_->RemoveChild(last);
    if (node) document_->AppendChild(DomNode(node.get()));
  }

  std::string GetStyleSheet() override {
    auto instruction = FindInstruction(kStyleSheetTarget);
    if (!instruction) return std::string();
    const std::string data = instruction->NodeValue();
    static constexpr std::string_view kHref = " href=\"";
    const size_t at = data.find(kHref);
    if (at == std::string::npos) return std::string();
    const size_t start = at + kHref.size();
    const size_t end = data.find('"', start);
    if (end == std::string::npos) return std::string();
    return data.substr(start, end - start);
  }

  void SetStyleSheet(std::string_view href) override {
    const std::string data = "type=\"text/xsl\" href=\"" + std::string(href) + "\"";
    if (auto instruction = FindInstruction(kStyleSheetTarget)) {
      instruction->SetNodeValue(data);
      return;
    }
    auto created = document_->CreateProcessingInstruction(kStyleSheetTarget, data);
    if (auto last = document_->LastChild()) {
      document_->InsertBefore(created, last);
    } else {
      document_->AppendChild(created);
    }
  }

  NodePtr CreateNode(std::string_view name) override { return WrapNode(document_->CreateElement(name)); }

  NodePtr ForceRoot(std::string_view name) override {
    if (auto root = GetRoot(); root && root->Name() == name) return root;
    auto created = CreateNode(name);
    SetRoot(created);
    return created;
  }

  void SetInstruction(std::string_view target, std::string_view data) override {
    auto declaration = document_->CreateProcessingInstruction("xml", kDeclarationData);
    if (auto first = document_->FirstChild()) {
      if (!(first->NodeType() == kInstructionType && first->NodeName() == "xml")) {
        document_->InsertBefore(declaration, first);
      }
    } else {
      document_->AppendChild(declaration);
    }
    if (auto instruction = FindInstruction(target)) {
      instruction->SetNodeValue(data);
      return;
    }
    auto created = document_->CreateProcessingInstruction(target, data);
    auto last = document_->LastChild();
    if (last && last->NodeType() == kElementType) {
      document_->InsertBefore(created, last);
    } else {
      document_->AppendChild(created);
    }
  }

  void LoadFromFile(const std::string& file_name) override { document_->Load(file_name); }
  void SaveToFile(const std::string& file_name) override { document_->Save(file_name); }

  std::string Transform(const std::shared_ptr<IDocumentInterface>& style_sheet) override {
    if (!style_sheet) return std::string();
    return document_->TransformNode(DomNode(style_sheet.get()));
  }

 private:
  dom::NodePtr FindInstruction(std::string_view target) {
    auto children = document_->ChildNodes();
    const int count = children->Length();
    for (int i = 0; i < count; ++i) {
      auto child = children->Item(i);
      if (child && child->NodeType() == kInstructionType && child->NodeName() == target) return child;
    }
    return nullptr;
  }

  dom::DocumentPtr document_;
};

template <class Interface>
DocumentPtr TElement<Interface>::Document() {
  auto document = node_->OwnerDocument();
  if (!document) {
    // The document node itself, met as the parent of the root element.
    document = std::dynamic_pointer_cast<dom::Document>(node_);
  }
  return document ? std::make_shared<TDocument>(std::move(document)) : nullptr;
}

NodePtr WrapNode(dom::NodePtr node) { return node ? std::make_shared<TNode>(std::move(node)) : nullptr; }
AttributePtr WrapAttribute(dom::NodePtr node) { return node ? std::make_shared<TAttribute>(std::move(node)) : nullptr; }

}  // namespace

DocumentPtr CreateDocument() { return std::make_shared<TDocument>(dom::CreateDomDocument()); }

std::string XPathLiteral(std::string_view value) {
  if (value.find('"') == std::string_view::npos) return "\"" + std::string(value) + "\"";
  if (value.find('\'') == std::string_view::npos) return "'" + std::string(value) + "'";
  std::string out = "concat(";
  bool first = true;
  auto add = [&](const std::string& piece) {
    if (!first) out += ", ";
    out += piece;
    first = false;
  };
  size_t start = 0;
  for (;;) {
    const size_t quote = value.find('"', start);
    const std::string_view segment = value.substr(start, quote == std::string_view::npos ? std::string_view::npos : quote - start);
    if (!segment.empty()) add("\"" + std::string(segment) + "\"");
    if (quote == std::string_view::npos) break;
    add("'\"'");
    start = quote + 1;
  }
  out += ")";
  return out;
}

}  // namespace quenlor::xml
