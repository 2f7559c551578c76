// The port's node, list, attribute map and document objects over libxml2 nodes.
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>
#include <typeinfo>

#include "base/error.h"
#include "base/file.h"
#include "base/text.h"
#include "xml/libxml2/adapter.h"

namespace quenlor::dom::lx {

bool IsPlainAscii(std::string_view text) {
  for (const char c : text) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b == 0 || b >= 0x80) return false;
  }
  return true;
}

std::string CleanText(std::string_view text) {
  if (IsPlainAscii(text)) return std::string(text);
  std::string s = Utf16ToUtf8(Utf8ToUtf16(text));
  s.erase(std::remove(s.begin(), s.end(), '\0'), s.end());
  return s;
}

std::string QualifiedName(const xmlNode* n) {
  std::string name = S(n->name);
  if (n->ns && n->ns->prefix) name = S(n->ns->prefix) + ":" + name;
  return name;
}

bool MayHoldChildren(const xmlNode* n) { return n->type == XML_ELEMENT_NODE || n->type == XML_DOCUMENT_NODE; }

bool MayBeChild(const xmlNode* n) {
  switch (n->type) {
    case XML_ELEMENT_NODE:
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_PI_NODE:
    case XML_COMMENT_NODE: return true;
    default: return false;
  }
}

const xmlChar* ValidName(Holder& h, std::string_view name) {
  if (name.empty() || name.size() > static_cast<size_t>(INT_MAX)) Failed();
  const std::size_t hash = name.size() * 131 + static_cast<unsigned char>(name.front()) * 7 +
                           static_cast<unsigned char>(name.back()) + static_cast<unsigned char>(name[name.size() / 2]);
  // A few slots from the hash on, so that names of one hash ("method", "result", "call")
  // do not keep evicting each other.
  constexpr std::size_t kProbes = 8;
  Holder::NameSlot* free_slot = nullptr;
  for (std::size_t k = 0; k < kProbes; ++k) {
    Holder::NameSlot& probe = h.valid_names[(hash + k) % h.valid_names.size()];
    if (!probe.name) {
      free_slot = &probe;
      break;
    }
    if (probe.size == name.size() && std::memcmp(probe.name, name.data(), name.size()) == 0) return probe.name;
  }
  if (name.find('\0') != std::string_view::npos) Failed();
  const xmlChar* interned =
      xmlDictLookup(h.doc->dict, reinterpret_cast<const xmlChar*>(name.data()), static_cast<int>(name.size()));
  if (!interned) Failed();
  if (!IsPlainAsciiName(name) && xmlValidateQName(interned, 0) != 0) Failed();
  (free_slot ? *free_slot : h.valid_names[hash % h.valid_names.size()]) = {interned, name.size()};
  return interned;
}

xmlAttr* FindAttribute(xmlNode* element, std::string_view name) {
  for (xmlAttr* a = element->properties; a; a = a->next) {
    if (!a->ns || !a->ns->prefix) {
      if (name == reinterpret_cast<const char*>(a->name)) return a;
    } else if (QualifiedName(reinterpret_cast<xmlNode*>(a)) == name) {
      return a;
    }
  }
  return nullptr;
}

namespace {

// A text node of the document, made here rather than by xmlNewDocTextLen, which clears and
// copies more than a node that is linked at once needs. A text shorter than two pointers is
// kept in the node itself, in the fields only elements use, as libxml2's own parser does
// and as its functions that free or replace content expect.
static_assert(offsetof(xmlNode, nsDef) == offsetof(xmlNode, properties) + sizeof(void*),
              "short text is kept in the two pointer fields after properties");

xmlNode* NewText(xmlDocPtr doc, std::string_view value) {
  auto* t = static_cast<xmlNode*>(xmlMalloc(sizeof(xmlNode)));
  if (!t) Failed();
  std::memset(t, 0, sizeof(xmlNode));
  t->type = XML_TEXT_NODE;
  t->name = xmlStringText;
  t->doc = doc;
  xmlChar* content;
  if (value.size() < 2 * sizeof(void*)) {
    content = reinterpret_cast<xmlChar*>(&t->properties);
  } else {
    content = static_cast<xmlChar*>(xmlMalloc(value.size() + 1));
    if (!content) {
      xmlFree(t);
      Failed();
    }
  }
  std::memcpy(content, value.data(), value.size());
  content[value.size()] = 0;
  t->content = content;
  return t;
}

}  // namespace

xmlAttr* NewAttribute(Holder& h, const xmlChar* interned_name) {
  auto* a = static_cast<xmlAttr*>(xmlMalloc(sizeof(xmlAttr)));
  if (!a) Failed();
  std::memset(a, 0, sizeof(xmlAttr));
  a->type = XML_ATTRIBUTE_NODE;
  a->name = interned_name;
  a->doc = h.doc;
  return a;
}

void ReplaceContentText(Holder& h, xmlNode* n, std::string_view text) {
  // Nearly every value written is plain ASCII and needs no cleaning copy.
  std::string cleaned;
  const std::string_view value = IsPlainAscii(text) ? text : std::string_view(cleaned = CleanText(text));
  if (n->children) h.ClearChildren(n);
  if (!value.empty() || n->type == XML_ATTRIBUTE_NODE) {
    if (value.size() > static_cast<size_t>(INT_MAX)) Failed();
    h.LinkBefore(n, NewText(h.doc, value), nullptr);
  }
}

void CopyMarks(xmlNode* original, xmlNode* copy, bool deep) {
  if (!deep) {
    MarkPretty(copy, IsPretty(original));
    return;
  }
  std::vector<xmlNode*> a, b;
  Walk(original, [&](xmlNode* n) { a.push_back(n); });
  Walk(copy, [&](xmlNode* n) { b.push_back(n); });
  for (size_t i = 0; i < b.size() && i < a.size(); ++i) MarkPretty(b[i], IsPretty(a[i]));
}

namespace {

// ---- node lists and attribute maps ----

class ChildList final : public NodeList, private Handle {
 public:
  ChildList(HolderPtr holder, xmlNode* parent) : Handle(std::move(holder), parent) {}

  // Callers walk a list by index: the place of the last item is kept while the children
  // stay as they are, so that a walk is not quadratic.
  NodePtr Item(int index) override {
    if (index < 0) return nullptr;
    Holder& h = *holder();
    xmlNode* n = node()->children;
    int i = 0;
    if (generation_ == h.generation && cached_ && index >= cached_index_) {
      n = cached_;
      i = cached_index_;
    }
    for (; n && i < index; ++i) n = n->next;
    if (!n) return nullptr;
    generation_ = h.generation;
    cached_ = n;
    cached_index_ = i;
    return Wrap(holder(), n);
  }

  int Length() override {
    int count = 0;
    for (xmlNode* n = node()->children; n; n = n->next) ++count;
    return count;
  }

 private:
  std::uint64_t generation_ = ~0ull;
  xmlNode* cached_ = nullptr;
  int cached_index_ = 0;
};

class SelectedList final : public NodeList {
 public:
  SelectedList(HolderPtr holder, std::vector<xmlNode*> nodes) : holder_(std::move(holder)), nodes_(std::move(nodes)) {
    for (xmlNode* n : nodes_) holder_->AddRef(n);
  }
  ~SelectedList() override {
    for (xmlNode* n : nodes_) holder_->Release(n);
  }
  SelectedList(const SelectedList&) = delete;
  SelectedList& operator=(const SelectedList&) = delete;

  NodePtr Item(int index) override {
    if (index < 0 || static_cast<size_t>(index) >= nodes_.size()) return nullptr;
    return Wrap(holder_, nodes_[static_cast<size_t>(index)]);
  }
  int Length() override { return static_cast<int>(nodes_.size()); }

 private:
  HolderPtr holder_;
  std::vector<xmlNode*> nodes_;
};

class AttributeMap final : public NamedNodeMap, private Handle {
 public:
  AttributeMap(HolderPtr holder, xmlNode* element) : Handle(std::move(holder), element) {}

  NodePtr GetNamedItem(std::string_view name) override {
    xmlAttr* a = FindAttribute(node(), name);
    return a ? Wrap(holder(), reinterpret_cast<xmlNode*>(a)) : nullptr;
  }

  NodePtr SetNamedItem(const NodePtr& attribute) override {
    Handle& arg = HandleOf(attribute);
    xmlNode* n = arg.node();
    if (n->type != XML_ATTRIBUTE_NODE || arg.holder() != holder()) Failed();
    if (n->parent == node()) return attribute;
    if (n->parent) Failed();  // an attribute in use by another element
    xmlAttr* old = FindAttribute(node(), QualifiedName(n));
    holder()->TakeOut(n);
    holder()->LinkAttribute(node(), reinterpret_cast<xmlAttr*>(n), old);
    return attribute;
  }

  NodePtr RemoveNamedItem(std::string_view name) override {
    xmlAttr* a = FindAttribute(node(), name);
    if (!a) return nullptr;
    NodePtr removed = Wrap(holder(), reinterpret_cast<xmlNode*>(a));
    holder()->Detach(reinterpret_cast<xmlNode*>(a));
    return removed;
  }

  NodePtr Item(int index) override {
    if (index < 0) return nullptr;
    xmlAttr* a = node()->properties;
    for (int i = 0; a && i < index; ++i) a = a->next;
    return a ? Wrap(holder(), reinterpret_cast<xmlNode*>(a)) : nullptr;
  }

  int Length() override {
    int count = 0;
    for (xmlAttr* a = node()->properties; a; a = a->next) ++count;
    return count;
  }
};

// ---- nodes ----

template <class Base>
class NodeImpl : public Base, public Handle {
 public:
  NodeImpl(HolderPtr holder, xmlNode* node) : Handle(std::move(holder), node) {}

  std::string NodeName() override {
    xmlNode* n = node();
    switch (n->type) {
      case XML_ELEMENT_NODE:
      case XML_ATTRIBUTE_NODE: return QualifiedName(n);
      case XML_TEXT_NODE: return "#text";
      case XML_CDATA_SECTION_NODE: return "#cdata-section";
      case XML_COMMENT_NODE: return "#comment";
      case XML_DOCUMENT_NODE: return "#document";
      default: return S(n->name);
    }
  }

  std::string NodeValue() override {
    xmlNode* n = node();
    switch (n->type) {
      case XML_ELEMENT_NODE:
      case XML_DOCUMENT_NODE: return std::string();
      case XML_ATTRIBUTE_NODE: return TextOf(n);
      default: return S(n->content);
    }
  }

  void SetNodeValue(std::string_view value) override {
    xmlNode* n = node();
    switch (n->type) {
      case XML_ATTRIBUTE_NODE: SetText(value); return;
      case XML_PI_NODE:
      case XML_COMMENT_NODE:
      case XML_TEXT_NODE:
      case XML_CDATA_SECTION_NODE: {
        const std::string text = CleanText(value);
        if (n->type == XML_PI_NODE && text.find("?>") != std::string::npos) Failed();
        xmlNodeSetContent(n, X(text));
        return;
      }
      default: Failed();
    }
  }

  int NodeType() override { return static_cast<int>(node()->type); }

  NodePtr ParentNode() override { return Wrap(holder(), node()->type == XML_ATTRIBUTE_NODE ? nullptr : node()->parent); }
  NodePtr FirstChild() override { return MayHoldChildren(node()) ? Wrap(holder(), node()->children) : nullptr; }
  NodePtr LastChild() override { return MayHoldChildren(node()) ? Wrap(holder(), node()->last) : nullptr; }
  NodeListPtr ChildNodes() override { return std::make_shared<ChildList>(holder(), node()); }

  NamedNodeMapPtr Attributes() override {
    if (node()->type != XML_ELEMENT_NODE) return nullptr;
    return std::make_shared<AttributeMap>(holder(), node());
  }

  NodePtr InsertBefore(const NodePtr& new_child, const NodePtr& reference) override {
    Handle& arg = HandleOf(new_child);
    if (arg.holder() != holder()) Failed();
    xmlNode* child = arg.node();
    xmlNode* ref = nullptr;
    if (reference) {
      Handle& r = HandleOf(reference);
      ref = r.node();
      if (r.holder() != holder() || ref->parent != node() || ref->type == XML_ATTRIBUTE_NODE) Failed();
    }
    CheckChild(child, nullptr);
    if (ref == child) return new_child;
    holder()->TakeOut(child);
    holder()->LinkBefore(node(), child, ref);
    return new_child;
  }

  NodePtr ReplaceChild(const NodePtr& new_child, const NodePtr& old_child) override {
    Handle& arg = HandleOf(new_child);
    Handle& old = HandleOf(old_child);
    if (arg.holder() != holder() || old.holder() != holder()) Failed();
    xmlNode* child = arg.node();
    xmlNode* replaced = old.node();
    if (replaced->parent != node() || replaced->type == XML_ATTRIBUTE_NODE) Failed();
    CheckChild(child, replaced);
    if (child == replaced) return old_child;
    holder()->TakeOut(child);
    holder()->LinkBefore(node(), child, replaced);
    holder()->Detach(replaced);
    return old_child;
  }

  NodePtr RemoveChild(const NodePtr& old_child) override {
    Handle& old = HandleOf(old_child);
    xmlNode* removed = old.node();
    if (old.holder() != holder() || removed->parent != node() || removed->type == XML_ATTRIBUTE_NODE) Failed();
    holder()->Detach(removed);
    return old_child;
  }

  NodePtr AppendChild(const NodePtr& new_child) override { return InsertBefore(new_child, nullptr); }
  DocumentPtr OwnerDocument() override { return NewDocument(holder()); }

  NodePtr CloneNode(bool deep) override {
    xmlNode* n = node();
    if (n->type == XML_DOCUMENT_NODE) {
      auto copy = std::make_shared<Holder>();
      for (xmlNode* c = n->children; c; c = c->next) {
        if (!MayBeChild(c) || (!deep && c->type == XML_ELEMENT_NODE)) continue;
        xmlNode* cc = xmlDocCopyNode(c, copy->doc, 1);
        if (!cc) Failed();
        CopyMarks(c, cc, true);
        copy->LinkBefore(copy->DocNode(), cc, nullptr);
      }
      return NewDocument(copy);
    }
    xmlNode* cc = xmlDocCopyNode(n, holder()->doc, deep ? 1 : 2);
    if (!cc) Failed();
    CopyMarks(n, cc, deep);
    holder()->Adopt(cc);
    return Wrap(holder(), cc);
  }

  std::string Text() override {
    const xmlNode* n = node();
    std::string text;
    if (n->type == XML_ELEMENT_NODE || n->type == XML_DOCUMENT_NODE) {
      AssignTrimmedTextOf(n, text);
    } else {
      AssignTextOf(n, text);
    }
    return text;
  }

  void SetText(std::string_view text) override {
    xmlNode* n = node();
    switch (n->type) {
      case XML_ELEMENT_NODE:
      case XML_ATTRIBUTE_NODE: ReplaceContentText(*holder(), n, text); return;
      case XML_DOCUMENT_NODE: Failed();
      default: SetNodeValue(text);
    }
  }

  bool GetAttribute(std::string_view name, std::string& value) override {
    xmlNode* n = node();
    if (n->type != XML_ELEMENT_NODE) return false;
    xmlAttr* a = FindAttribute(n, name);
    if (!a) return false;
    AssignTextOf(reinterpret_cast<xmlNode*>(a), value);
    return true;
  }

  void SetAttribute(std::string_view name, std::string_view value) override {
    xmlNode* element = node();
    if (element->type != XML_ELEMENT_NODE) Failed();
    Holder& h = *holder();
    xmlAttr* a = FindAttribute(element, name);
    if (!a) {
      a = NewAttribute(h, ValidName(h, name));
      h.LinkAttribute(element, a, nullptr);
    }
    ReplaceContentText(h, reinterpret_cast<xmlNode*>(a), value);
  }

  bool GetSelectedText(std::string_view step, std::string& text) override {
    if (!IsPlainAsciiName(step)) return SelectedText(*this, step, text);
    const xmlNode* found = FirstChildElementNamed(node(), step);
    if (!found) return false;
    AssignTrimmedTextOf(found, text);  // what an element's Text gives
    return true;
  }

  std::string Xml() override { return XmlOf(node()); }
  std::string TransformNode(const NodePtr& style_sheet) override { return Transform(node(), HandleOf(style_sheet).node()); }

  NodeListPtr SelectNodes(std::string_view xpath) override {
    return std::make_shared<SelectedList>(holder(), Select(*holder(), node(), xpath, false));
  }

  NodePtr SelectSingleNode(std::string_view xpath) override {
    std::vector<xmlNode*> nodes = Select(*holder(), node(), xpath, true);
    return nodes.empty() ? nullptr : Wrap(holder(), nodes.front());
  }

 private:
  // Checks that child may stand below this node, before anything changes.
  void CheckChild(xmlNode* child, xmlNode* replaced) {
    xmlNode* parent = node();
    if (!MayHoldChildren(parent) || !MayBeChild(child)) Failed();
    if (child->doc != holder()->doc) Failed();
    if (child == parent) Failed();
    for (xmlNode* p = parent->parent; p; p = p->parent) {
      if (p == child) Failed();
    }
    if (parent->type == XML_DOCUMENT_NODE) {
      if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) Failed();
      if (child->type == XML_ELEMENT_NODE) {
        for (xmlNode* c = parent->children; c; c = c->next) {
          if (c->type == XML_ELEMENT_NODE && c != child && c != replaced) Failed();
        }
      }
    }
  }
};

class LxNode final : public NodeImpl<Node> {
 public:
  using NodeImpl<Node>::NodeImpl;
};

}  // namespace

class LxDocument final : public NodeImpl<Document> {
 public:
  explicit LxDocument(const HolderPtr& holder) : NodeImpl<Document>(holder, holder->DocNode()) {}

  NodePtr CreateProcessingInstruction(std::string_view target, std::string_view data) override {
    const std::string name(target);
    const std::string text = CleanText(data);
    if (name.find('\0') != std::string::npos || xmlValidateName(X(name), 0) != 0 || name.find(':') != std::string::npos ||
        text.find("?>") != std::string::npos) {
      Failed();
    }
    xmlNode* pi = xmlNewDocPI(holder()->doc, X(name), text.empty() ? nullptr : X(text));
    if (!pi) Failed();
    holder()->Adopt(pi);
    return Wrap(holder(), pi);
  }

  NodePtr CreateAttribute(std::string_view name) override {
    xmlAttr* a = NewAttribute(*holder(), ValidName(*holder(), name));
    holder()->Adopt(reinterpret_cast<xmlNode*>(a));
    return Wrap(holder(), reinterpret_cast<xmlNode*>(a));
  }

  NodePtr CreateElement(std::string_view name) override {
    xmlNode* e = xmlNewDocNode(holder()->doc, nullptr, ValidName(*holder(), name), nullptr);
    if (!e) Failed();
    holder()->Adopt(e);
    return Wrap(holder(), e);
  }

  bool Load(const std::string& file_name) override {
    auto bytes = ReadWholeFile(file_name, INT_MAX);
    if (!bytes) return ParseInto(*holder(), nullptr, 0, nullptr);
    return ParseInto(*holder(), reinterpret_cast<const char*>(bytes->data()), bytes->size(), nullptr);
  }

  bool LoadXml(std::string_view text) override { return ParseInto(*holder(), text.data(), text.size(), "UTF-8"); }

  void Save(const std::string& file_name) override { WriteFileAtomically(file_name, WithUtf8Declaration(Xml())); }
};

Handle& HandleOf(const NodePtr& node) {
  if (!node) Failed();
  // Nearly every argument is one of this file's own two classes; the exact type check spares
  // the cross-cast, which costs more than the operation it guards.
  Node* const object = node.get();
  if (typeid(*object) == typeid(LxNode)) return *static_cast<LxNode*>(object);
  if (typeid(*object) == typeid(LxDocument)) return *static_cast<LxDocument*>(object);
  auto* handle = dynamic_cast<Handle*>(object);
  if (!handle) Fail(kInterfaceNotSupported);
  return *handle;
}

NodePtr Wrap(const HolderPtr& holder, xmlNode* node) {
  if (!node) return nullptr;
  if (node->type == XML_DOCUMENT_NODE) return NewDocument(holder);
  return std::make_shared<LxNode>(holder, node);
}

std::shared_ptr<Document> NewDocument(HolderPtr holder) {
  if (auto existing = holder->document_object.lock()) return existing;
  auto created = std::make_shared<LxDocument>(holder);
  holder->document_object = created;
  return created;
}

}  // namespace quenlor::dom::lx

namespace quenlor::dom {

DocumentPtr CreateDomDocument() { return lx::NewDocument(std::make_shared<lx::Holder>()); }

}  // namespace quenlor::dom
